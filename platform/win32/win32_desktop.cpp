#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

// Handles are 32-bit values also in a 64-bit process; the system extends
// them with their sign.
HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

WINDOWPLACEMENT toNative(const WindowPlacement& p) {
    WINDOWPLACEMENT native{};
    native.length = p.length;
    native.flags = p.flags;
    native.showCmd = static_cast<UINT>(p.showCmd);
    native.ptMinPosition = {p.ptMinPosition.x, p.ptMinPosition.y};
    native.ptMaxPosition = {p.ptMaxPosition.x, p.ptMaxPosition.y};
    native.rcNormalPosition = {p.rcNormalPosition.left, p.rcNormalPosition.top,
                               p.rcNormalPosition.right, p.rcNormalPosition.bottom};
    return native;
}

WindowPlacement fromNative(const WINDOWPLACEMENT& n) {
    WindowPlacement p;
    p.length = n.length;
    p.flags = n.flags;
    p.showCmd = static_cast<std::int32_t>(n.showCmd);
    p.ptMinPosition = {n.ptMinPosition.x, n.ptMinPosition.y};
    p.ptMaxPosition = {n.ptMaxPosition.x, n.ptMaxPosition.y};
    p.rcNormalPosition = {n.rcNormalPosition.left, n.rcNormalPosition.top,
                          n.rcNormalPosition.right, n.rcNormalPosition.bottom};
    return p;
}

// rcNormalPosition of an ordinary top-level window counts from the primary
// monitor's work area, not from the screen's corner.
std::optional<POINT> workspaceOrigin() {
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    if (!GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary)) return std::nullopt;
    return POINT{primary.rcWork.left, primary.rcWork.top};
}

// Wine applies SetWindowPlacement only to its caller's own windows; for
// another program's window the same show state and normal rectangle are
// applied with the calls it does carry across processes. A window that
// refuses these as well (one of a program with higher rights) stays refused.
bool applyByPosition(HWND window, const WINDOWPLACEMENT& placement) {
    const std::optional<POINT> origin = workspaceOrigin();
    if (!origin) return false;
    // The normal rectangle is the one of the normal state; a minimised
    // window may come back maximised first.
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (IsZoomed(window)) ShowWindow(window, SW_RESTORE);
    RECT normal = placement.rcNormalPosition;
    OffsetRect(&normal, origin->x, origin->y);
    if (!SetWindowPos(window, nullptr, normal.left, normal.top, normal.right - normal.left,
                      normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    if (placement.showCmd != SW_RESTORE && placement.showCmd != SW_SHOWNORMAL)
        ShowWindow(window, static_cast<int>(placement.showCmd));
    return true;
}

}  // namespace

WindowHandle Win32Desktop::foregroundWindow() {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(GetForegroundWindow()));
}

bool Win32Desktop::getPlacement(WindowHandle window, WindowPlacement& placement) {
    WINDOWPLACEMENT native = toNative(placement);
    if (GetWindowPlacement(toHwnd(window), &native) == 0) return false;
    placement = fromNative(native);
    return true;
}

bool Win32Desktop::setPlacement(WindowHandle window, const WindowPlacement& placement) {
    const WINDOWPLACEMENT native = toNative(placement);
    return SetWindowPlacement(toHwnd(window), &native) != 0 || applyByPosition(toHwnd(window), native);
}

std::wstring Win32Desktop::titleBuffer(WindowHandle window) {
    std::wstring buffer(256, L' ');
    GetWindowTextW(toHwnd(window), buffer.data(), 256);
    return buffer;
}

Rect Win32Desktop::workAreaFor(const Rect& normalRectangle) {
    const std::optional<POINT> origin = workspaceOrigin();
    if (!origin) return {};
    RECT onScreen{normalRectangle.left, normalRectangle.top, normalRectangle.right, normalRectangle.bottom};
    OffsetRect(&onScreen, origin->x, origin->y);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &monitor)) return {};
    const RECT& work = monitor.rcWork;
    return {work.left - origin->x, work.top - origin->y, work.right - origin->x, work.bottom - origin->y};
}

Size Win32Desktop::screenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Used to keep the main window reachable when its stored position lies on a
// monitor that is gone.
bool Win32Desktop::anyMonitorIntersects(const Rect& screenPixels) {
    const RECT rect{screenPixels.left, screenPixels.top, screenPixels.right, screenPixels.bottom};
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace platform::win32
