#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_cmdHelp_Click() {}

}  // namespace ui
