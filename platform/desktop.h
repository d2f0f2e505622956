#pragma once
// Window management of other applications' top-level windows, and the
// screen. Implemented over user32 on Windows, over Xlib on X11, over each
// Wayland desktop's own channel (Sway's IPC, a KWin script, a GNOME Shell
// extension), and by a fake desktop in tests.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

using WindowHandle = std::uint32_t;

// What foregroundWindow gives when the foreground is a window that this
// program cannot reach (a Wayland window seen from XWayland). No real handle
// has this value: window handles and X window ids stay below 2^31.
constexpr WindowHandle unreachableWindow = 0xFFFFFFFFu;

struct Point {
    std::int32_t x = 0, y = 0;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

// The show states of a placement. Each desktop maps them to and from its own
// (Windows' SW_ values, the EWMH states on X11); a desktop reports the first
// three, and showRestore is only ever applied: it takes a minimised or
// maximised window back to its normal rectangle.
enum class ShowState : std::int32_t { showNormal, showMinimized, showMaximized, showRestore };
using enum ShowState;

// A window's placement: its show state and the rectangles of its normal,
// minimised and maximised states, with the platform's own flags.
struct WindowPlacement {
    std::uint32_t flags = 0;
    ShowState showCmd = showNormal;
    Point ptMinPosition;
    Point ptMaxPosition;
    Rect rcNormalPosition;
};

// The placement of a desktop that keeps no normal rectangle a program may
// read (X11, the Wayland desktops): the state, and the frame as it is now on
// the screen.
inline WindowPlacement placementOnScreen(ShowState state, const Rect& frame) {
    return {0, state, {-1, -1}, {-1, -1}, frame};
}

struct Size {
    std::int32_t width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// What a desktop tells of one window besides its placement and title. A new
// fact joins as a field whose default says "nothing special", so that a
// desktop that does not tell it yet needs no change.
// The desktop and its panels are part of the desktop itself, never sized.
enum class WindowKind { ordinary, desktop, panel };

// How far the frame the user sees lies inside the window's outer rectangle
// on each side: a shadow the client draws itself (GTK's header-bar windows),
// or Windows' invisible resize borders. All zero where there is none.
struct Margins {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Margins&) const = default;
};

struct WindowFacts {
    // A tool window (a floating palette) reports its placement from the
    // screen's corner.
    bool toolWindow = false;
    WindowKind kind = WindowKind::ordinary;
    Margins invisibleMargins{};
};

// A monitor and its work area (the monitor less its taskbars and panels), in
// screen pixels.
struct Monitor {
    Rect area;
    Rect workArea;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // 0 when there is no foreground window; unreachableWindow when there is
    // one that the platform cannot act on.
    virtual WindowHandle foregroundWindow() = 0;
    // The placement as the platform reports it. Its rcNormalPosition may count
    // from the screen's corner or from the work area of the window's monitor
    // (see sizing/coordinates.h).
    virtual bool getPlacement(WindowHandle window, WindowPlacement& placement) = 0;
    // False when the platform refused the placement (a window of a program
    // with higher rights; under Wine, any other program's window).
    virtual bool setPlacement(WindowHandle window, const WindowPlacement& placement) = 0;
    // Gives the window a show state and a normal rectangle in screen pixels
    // with the calls that work across programs (show, then move and size).
    // False when refused.
    virtual bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) = 0;
    // True while the last of those changes asked of the window waits for the
    // window's program, which has not carried it out in time; it may still
    // take effect when that program answers.
    virtual bool changePending(WindowHandle window) = 0;
    // The outer rectangle the window has now, in screen pixels.
    virtual std::optional<Rect> windowRectangle(WindowHandle window) = 0;
    // The facts of the window; the defaults for a window that is gone.
    virtual WindowFacts facts(WindowHandle window) = 0;
    // True when the window's program handles a message within the timeout.
    // Changing a window of a program that does not would wait for it.
    virtual bool answers(WindowHandle window, std::chrono::milliseconds timeout) = 0;
    // The window's title, whole; empty for a window without one or that is
    // gone. How much of it is shown is the core's business (sizing/title.h).
    virtual std::wstring title(WindowHandle window) = 0;
    // The monitor that holds the largest part of the rectangle (the nearest
    // one when it lies on none); nullopt when the platform cannot tell.
    virtual std::optional<Monitor> monitorFor(const Rect& screenRectangle) = 0;
    // The primary screen in physical pixels.
    virtual Size screenSize() = 0;
    // True when some part of the rectangle (screen pixels) lies on a monitor.
    virtual bool anyMonitorIntersects(const Rect& screenPixels) = 0;

    // Presses of the pointer's buttons, where the platform watches them: on
    // X11 the focus may follow the pointer away from the window clicked. While
    // watched, each press on a program's top-level window is kept with that
    // window, and pressedWindows hands out the windows pressed since it was
    // last asked, oldest first. nullopt where presses are not watched, as on
    // Windows, whose foreground window is the one clicked.
    virtual void watchPresses(bool /*watching*/) {}
    virtual std::optional<std::vector<WindowHandle>> pressedWindows() { return std::nullopt; }

    // True for a window of this program that its view could not name when it
    // was made: a Wayland desktop tells its own ids only to the code that
    // moves windows, and knows which program each window belongs to.
    virtual bool ofThisProgram(WindowHandle /*window*/) { return false; }

    // Where the desktop hears of a new foreground window as it happens (the
    // Wayland desktops' events), it calls the listener from the program's
    // main loop then, so that a pressed toggle catches at once instead of at
    // the next tick. Elsewhere the tick alone finds the change. An empty
    // listener stops the calls.
    virtual void listenForegroundChanges(std::function<void()> /*listener*/) {}
};

}  // namespace platform
