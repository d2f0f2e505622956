#include "ui/main_window.h"

namespace ui {

void MainWindow::frmAmbrisk2_cmdRestoreDefaults_Click() {}

}  // namespace ui
