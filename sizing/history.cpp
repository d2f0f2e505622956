#include "ui/main_window.h"

namespace ui {

void MainWindow::RememberPlacement(const platform::WindowPlacement&, platform::WindowHandle) {}
bool MainWindow::RecallPlacement(platform::WindowPlacement&, platform::WindowHandle) { return false; }

}  // namespace ui
