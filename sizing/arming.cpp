#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_Timer1_Timer() {}
void MainWindow::frmAmbrisk2_chkGo_Click() {}
void MainWindow::frmAmbrisk2_chkBack_Click() {}

}  // namespace ui
