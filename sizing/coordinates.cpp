#include "sizing/coordinates.h"

#include <cstdint>

#include "sizing/geometry.h"

namespace sizing {

namespace {

// A platform that reports the normal rectangle on the screen reports the
// window's outer rectangle as it is now. Where it counts from the work area,
// the two differ unless that work area starts at its monitor's corner, and
// then both conventions give the same numbers.
bool countsFromScreen(platform::Desktop& desktop, platform::WindowHandle window, const platform::Rect& reported) {
    if (desktop.facts(window).toolWindow) return true;
    const std::optional<platform::Rect> outer = desktop.windowRectangle(window);
    return outer && *outer == reported;
}

std::optional<platform::Rect> offsetBy(const platform::Rect& r, std::int64_t dx, std::int64_t dy) {
    return platform::rectangleWithin32Bits(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

}  // namespace

std::optional<platform::Rect> moved(const platform::Rect& rectangle, platform::Point offset) {
    return offsetBy(rectangle, offset.x, offset.y);
}

PlacementFrame placementFrame(platform::Desktop& desktop, platform::WindowHandle window,
                              const platform::Rect& reported, const platform::Rect& rectangle) {
    // Windows picks the monitor from the rectangle as it stands, as if it
    // were on the screen; the work area's inset is too small to change that.
    const std::optional<platform::Monitor> monitor = desktop.monitorFor(rectangle);
    if (!monitor) return {};
    const platform::Rect& area = monitor->area;
    const platform::Rect& work = monitor->workArea;
    std::int64_t dx = 0, dy = 0;
    if (!countsFromScreen(desktop, window, reported)) {
        dx = std::int64_t{work.left} - area.left;
        dy = std::int64_t{work.top} - area.top;
    }
    const std::optional<platform::Rect> workArea = offsetBy(work, -dx, -dy);
    if (!workArea || !platform::fitsInt32(dx) || !platform::fitsInt32(dy)) return {};
    return {{static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)}, *workArea};
}

}  // namespace sizing
