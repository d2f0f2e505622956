#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

int Win32MessageBox::show(const std::wstring& text, int style, const std::wstring& title) {
    // Owned by the active window (the main window while the user clicks it),
    // so that the main window cannot be used while the box is open.
    return ::MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), static_cast<UINT>(style));
}

}  // namespace platform::win32
