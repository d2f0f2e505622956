#include "sizing/history.h"
#include "ui/main_window.h"

namespace ui {

void MainWindow::RememberPlacement(const platform::WindowPlacement& placement, platform::WindowHandle window) {
    sizing::remember(state_.resizedWindows, placement, window);
}

bool MainWindow::RecallPlacement(platform::WindowPlacement& placement, platform::WindowHandle window) {
    return sizing::recall(state_.resizedWindows, placement, window);
}

void MainWindow::ReopenPlacement(platform::WindowHandle window, platform::ShowState showCmd) {
    sizing::reopen(state_.resizedWindows, window, showCmd);
}

}  // namespace ui
