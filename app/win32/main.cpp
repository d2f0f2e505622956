// Entry point of Ambrisk2.exe: the platform, the main window and its Win32
// view, wired together for the program's one run.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/closing.h"
#include "platform/platform.h"
#include "platform/win32/form_binding.h"
#include "platform/win32/win32_platform.h"
#include "resources/resource_ids.h"
#include "ui/layout.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    platform::win32::Win32Desktop desktop;
    platform::win32::Win32SettingsStore settings;
    platform::win32::Win32MessageDialog messageDialog;
    platform::win32::Win32Process process;
    platform::Platform platform{desktop, settings, messageDialog, process};

    ui::MainWindow mainWindow(platform);
    app::Closing closing(mainWindow);
    const forms::WindowDesign window{ui::windowTitle, ui::clientWidthTwips, ui::clientHeightTwips};
    const std::unique_ptr<forms::ViewWindow> view = platform::win32::createFormWindow(
        mainWindow.form(), window, appIconId, instance, showCommand, [&closing] { closing.run(); });
    if (!view) {
        app::tellWindowFailed(messageDialog);
        return 1;
    }

    mainWindow.frmAmbrisk2_Form_Load();
    return view->run();
}
