#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_Timer2_Timer() { form_.setTimerEnabled(Timer2, false); }

}  // namespace ui
