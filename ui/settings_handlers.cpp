#include "settings/settings.h"
#include "ui/main_window.h"
#include "ui/settings_controls.h"

namespace ui {

void MainWindow::frmAmbrisk2_cmdRestoreDefaults_Click() {
    settings::restoreDefaults(form_, settingsControls, platform_.process.decimalMark());
}

}  // namespace ui
