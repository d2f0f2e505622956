#pragma once
// Window management of other applications' top-level windows, and the
// screen. Implemented over user32 on Windows and by a fake desktop in tests.
#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = std::uint32_t;

struct Point {
    std::int32_t x = 0, y = 0;
};

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

// The platform's WINDOWPLACEMENT, field for field (44 bytes).
struct WindowPlacement {
    std::uint32_t length = 0;
    std::uint32_t flags = 0;
    std::int32_t showCmd = 0;
    Point ptMinPosition;
    Point ptMaxPosition;
    Rect rcNormalPosition;
};

constexpr std::uint32_t placementLength = 44;
// Show states of a placement (the platform's SW_ values).
constexpr std::int32_t showNormal = 1;
constexpr std::int32_t showMinimized = 2;
constexpr std::int32_t showMaximized = 3;
constexpr std::int32_t showRestore = 9;

struct Size {
    std::int32_t width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // 0 when there is no foreground window.
    virtual WindowHandle foregroundWindow() = 0;
    virtual bool getPlacement(WindowHandle window, WindowPlacement& placement) = 0;
    virtual bool setPlacement(WindowHandle window, const WindowPlacement& placement) = 0;
    // The title as read into a buffer of 256 characters that was filled with
    // spaces beforehand: the title, its terminating NUL, then the filler.
    virtual std::wstring titleBuffer(WindowHandle window) = 0;
    // The work area of the monitor that holds the largest part of the given
    // normal rectangle (the nearest one when it lies on none), in the same
    // workspace coordinates as rcNormalPosition. All zero on failure.
    virtual Rect workAreaFor(const Rect& normalRectangle) = 0;
    // The primary screen in physical pixels.
    virtual Size screenSize() = 0;
    // True when some part of the rectangle (screen pixels) lies on a monitor.
    virtual bool anyMonitorIntersects(const Rect& screenPixels) = 0;
};

}  // namespace platform
