#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_optRes_Click(std::int16_t) {}
void MainWindow::frmAmbrisk2_chkBorder_Click() {}
void MainWindow::frmAmbrisk2_chkTask_Click() {}
void MainWindow::frmAmbrisk2_txtBreit_GotFocus() {}
void MainWindow::frmAmbrisk2_txtHoch_GotFocus() {}
void MainWindow::frmAmbrisk2_txtBorder_GotFocus() {}
void MainWindow::frmAmbrisk2_txtTask_GotFocus() {}
void MainWindow::frmAmbrisk2_txtBreit_KeyPress(std::int16_t&) {}
void MainWindow::frmAmbrisk2_txtHoch_KeyPress(std::int16_t&) {}
void MainWindow::frmAmbrisk2_txtBorder_KeyPress(std::int16_t&) {}
void MainWindow::frmAmbrisk2_txtTask_KeyPress(std::int16_t&) {}
void MainWindow::NormaliseEntries() {}
void MainWindow::FilterNumericKey(std::int16_t&) {}

}  // namespace ui
