#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window)); }

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
    return SetWindowPlacement(toHwnd(window), &native) != 0;
}

std::wstring Win32Desktop::titleBuffer(WindowHandle window) {
    std::wstring buffer(256, L' ');
    GetWindowTextW(toHwnd(window), buffer.data(), 256);
    return buffer;
}

Rect Win32Desktop::workAreaFor(const Rect&) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {0, 0, work.right - work.left, work.bottom - work.top};
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
