#pragma once
// The invisible resize borders that Windows 10 and 11 put around a window's
// visible frame, as the desktop window manager (DWM) tells them.
#include <windows.h>

#include "platform/desktop.h"
#include "platform/win32/win32_handles.h"

namespace platform::win32 {

class DwmMargins {
public:
    // All zero where the DWM tells nothing: a system without it (dwmapi.dll
    // or its function missing, composition off), a window that is gone, or
    // one not shown in its normal state.
    Margins of(HWND window);

private:
    using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    // Loaded at the first use, once; a system without it runs on.
    GetWindowAttribute getWindowAttribute();

    bool loaded_ = false;
    OwnedModule dwmapi_;
    GetWindowAttribute getWindowAttribute_ = nullptr;
};

}  // namespace platform::win32
