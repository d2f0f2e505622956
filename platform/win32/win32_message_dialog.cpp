#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

UINT styleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information: return MB_OK | MB_ICONINFORMATION;
        case MessageKind::Error: return MB_OK | MB_ICONERROR;
    }
    return MB_OK;
}

}  // namespace

void Win32MessageDialog::show(const std::wstring& text, MessageKind kind, const std::wstring& title) {
    // Owned by the active window (the main window while the user clicks it),
    // so that the main window cannot be used while the box is open.
    MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), styleOf(kind));
}

}  // namespace platform::win32
