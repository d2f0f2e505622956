#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

// Handles are 32-bit values also in a 64-bit process; the system extends
// them with their sign.
HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

RECT toNative(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Rect fromNative(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

UINT toNative(ShowState state) {
    switch (state) {
        case showMinimized: return SW_SHOWMINIMIZED;
        case showMaximized: return SW_SHOWMAXIMIZED;
        case showRestore: return SW_RESTORE;
        case showNormal: break;
    }
    return SW_SHOWNORMAL;
}

// GetWindowPlacement reports a window as minimised, maximised or shown
// normally, and nothing else.
ShowState fromNative(UINT showCmd) {
    if (showCmd == SW_SHOWMINIMIZED) return showMinimized;
    if (showCmd == SW_SHOWMAXIMIZED) return showMaximized;
    return showNormal;
}

WINDOWPLACEMENT toNative(const WindowPlacement& p) {
    WINDOWPLACEMENT native{};
    native.length = sizeof native;
    native.flags = p.flags;
    native.showCmd = toNative(p.showCmd);
    native.ptMinPosition = {p.ptMinPosition.x, p.ptMinPosition.y};
    native.ptMaxPosition = {p.ptMaxPosition.x, p.ptMaxPosition.y};
    native.rcNormalPosition = toNative(p.rcNormalPosition);
    return native;
}

WindowPlacement fromNative(const WINDOWPLACEMENT& n) {
    WindowPlacement p;
    p.flags = n.flags;
    p.showCmd = fromNative(n.showCmd);
    p.ptMinPosition = {n.ptMinPosition.x, n.ptMinPosition.y};
    p.ptMaxPosition = {n.ptMaxPosition.x, n.ptMaxPosition.y};
    p.rcNormalPosition = fromNative(n.rcNormalPosition);
    return p;
}

bool showAndMoveNow(HWND hwnd, ShowState showCmd, const Rect& r) {
    // The rectangle is the one of the normal state; a minimised window may
    // come back maximised first.
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    if (IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    if (!SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    if (showCmd == showMinimized || showCmd == showMaximized)
        ShowWindow(hwnd, static_cast<int>(toNative(showCmd)));
    return true;
}

// The shell's desktop (and the windows it draws the wallpaper and icons in)
// and its taskbars, one per monitor.
WindowKind kindOf(HWND window) {
    const HWND shell = GetShellWindow();  // none where no shell runs
    if (shell && window == shell) return WindowKind::desktop;
    wchar_t name[32]{};  // longer than every name asked for below
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    const std::wstring_view className = name;
    if (className == L"WorkerW" || className == L"Progman") return WindowKind::desktop;
    if (className == L"Shell_TrayWnd" || className == L"Shell_SecondaryTrayWnd") return WindowKind::panel;
    return WindowKind::ordinary;
}

}  // namespace

WindowHandle Win32Desktop::foregroundWindow() {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(GetForegroundWindow()));
}

bool Win32Desktop::getPlacement(WindowHandle window, WindowPlacement& placement) {
    WINDOWPLACEMENT native{};
    native.length = sizeof native;
    if (GetWindowPlacement(toHwnd(window), &native) == 0) return false;
    placement = fromNative(native);
    return true;
}

// Setting a placement, showing and moving another program's window wait for
// that program, so they run where a hang cannot block this program's window.
bool Win32Desktop::setPlacement(WindowHandle window, const WindowPlacement& placement) {
    const HWND hwnd = toHwnd(window);
    return changes_.run(hwnd,
                        [hwnd, native = toNative(placement)] { return SetWindowPlacement(hwnd, &native) != 0; });
}

bool Win32Desktop::showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) {
    const HWND hwnd = toHwnd(window);
    return changes_.run(hwnd, [hwnd, showCmd, r = screenRectangle] { return showAndMoveNow(hwnd, showCmd, r); });
}

bool Win32Desktop::changePending(WindowHandle window) { return changes_.pending(toHwnd(window)); }

std::optional<Rect> Win32Desktop::windowRectangle(WindowHandle window) {
    RECT outer;
    if (!GetWindowRect(toHwnd(window), &outer)) return std::nullopt;
    return fromNative(outer);
}

WindowFacts Win32Desktop::facts(WindowHandle window) {
    const HWND hwnd = toHwnd(window);
    const LONG extendedStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    return {.toolWindow = (extendedStyle & WS_EX_TOOLWINDOW) != 0,
            .kind = kindOf(hwnd),
            .invisibleMargins = margins_.of(hwnd)};
}

bool Win32Desktop::answers(WindowHandle window, std::chrono::milliseconds timeout) {
    // WM_NULL does nothing; it only shows that the window's thread handles
    // messages. A program the system already knows as hung is not waited for.
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(toHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(timeout.count()), &ignored) != 0;
}

// GetWindowText copies another program's title without asking that program,
// but GetWindowTextLength would send it a message, and it may hang; so the
// buffer grows until the title fits with room over.
std::wstring Win32Desktop::title(WindowHandle window) {
    std::wstring buffer(256, L'\0');
    for (;;) {
        const int capacity = static_cast<int>(buffer.size());
        const int length = GetWindowTextW(toHwnd(window), buffer.data(), capacity);
        if (length < capacity - 1) {
            buffer.resize(static_cast<std::size_t>(length > 0 ? length : 0));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<Monitor> Win32Desktop::monitorFor(const Rect& screenRectangle) {
    const RECT rect = toNative(screenRectangle);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor)) return std::nullopt;
    return Monitor{fromNative(monitor.rcMonitor), fromNative(monitor.rcWork)};
}

Size Win32Desktop::screenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Used to keep the main window reachable when its stored position lies on a
// monitor that is gone.
bool Win32Desktop::anyMonitorIntersects(const Rect& screenPixels) {
    const RECT rect = toNative(screenPixels);
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace platform::win32
