#include "platform/win32/dwm_margins.h"

#include <dwmapi.h>

#include <string>

namespace platform::win32 {

namespace {

// From the system folder only, so that no file beside the program is loaded
// in its place.
OwnedModule loadSystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return OwnedModule(LoadLibraryW(path.c_str()));
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left < inner.right && inner.top < inner.bottom && inner.left >= outer.left &&
           inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

}  // namespace

DwmMargins::GetWindowAttribute DwmMargins::getWindowAttribute() {
    if (!loaded_) {
        loaded_ = true;
        dwmapi_ = loadSystemLibrary(L"dwmapi.dll");
        if (dwmapi_) {
            // Through void(*)() so that the cast from FARPROC does not warn.
            getWindowAttribute_ = reinterpret_cast<GetWindowAttribute>(
                reinterpret_cast<void (*)()>(GetProcAddress(dwmapi_.get(), "DwmGetWindowAttribute")));
        }
    }
    return getWindowAttribute_;
}

Margins DwmMargins::of(HWND window) {
    // A maximised window's frame reaches past its monitor and a minimised
    // one's is an icon: neither tells the borders of the normal frame.
    if (IsIconic(window) || IsZoomed(window)) return {};
    const GetWindowAttribute get = getWindowAttribute();
    RECT outer{}, visible{};
    if (!get || !GetWindowRect(window, &outer) ||
        FAILED(get(window, DWMWA_EXTENDED_FRAME_BOUNDS, &visible, sizeof visible)))
        return {};
    // The DWM gives the frame in physical pixels whatever the caller's DPI
    // awareness; GetWindowRect does so only for a per-monitor aware program,
    // as the manifest makes this one, so the two compare as they are.
    // Anything but a frame within the window's rectangle is no answer.
    if (!inside(visible, outer)) return {};
    return {visible.left - outer.left, visible.top - outer.top, outer.right - visible.right,
            outer.bottom - visible.bottom};
}

}  // namespace platform::win32
