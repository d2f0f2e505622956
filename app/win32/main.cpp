// Entry point of Ambrisk2.exe: the platform, the main window and its Win32
// view, wired together for the program's one run.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>

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
    const platform::win32::WindowSpec window{ui::windowTitle, ui::clientWidthTwips,
                                             ui::clientHeightTwips, ui::TimerCount, appIconId};
    platform::win32::FormBinding binding(mainWindow.form(), window, instance, [&mainWindow] {
        std::int16_t cancel = 0;  // closing cannot be refused
        mainWindow.frmAmbrisk2_Form_Unload(cancel);
    });
    if (!binding.created()) {
        // Say so rather than end without a word; the settings stay untouched.
        messageDialog.show(L"Ambrisk 2 could not create its window.", platform::MessageKind::Error, ui::windowTitle);
        return 1;
    }

    mainWindow.frmAmbrisk2_Form_Load();
    binding.show(showCommand);
    return binding.runMessageLoop();
}
