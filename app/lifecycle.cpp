#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_Form_Load() {}
void MainWindow::frmAmbrisk2_Form_Unload(std::int16_t&) {}

}  // namespace ui
