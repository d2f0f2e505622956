#pragma once
// Where a window's normal rectangle (rcNormalPosition) counts from. Windows
// counts it from the work area of the monitor that holds it, so a taskbar on
// the top or left of that monitor shifts it; a tool window's counts from the
// screen's corner; Wine reports every other program's window on the screen.
// Which of these a window uses is read from what the platform reports for it,
// not assumed from the platform's name.
#include <optional>

#include "platform/desktop.h"

namespace sizing {

struct PlacementFrame {
    // Added to a rectangle in the window's placement coordinates, gives
    // screen pixels.
    platform::Point toScreen;
    // The work area of the rectangle's monitor in placement coordinates; all
    // zero when the platform cannot tell.
    platform::Rect workArea;
};

// `reported` is the normal rectangle the platform reported for the window
// just now; `rectangle` the one (in the same coordinates) whose monitor counts.
PlacementFrame placementFrame(platform::Desktop& desktop, platform::WindowHandle window,
                              const platform::Rect& reported, const platform::Rect& rectangle);

// The rectangle moved by the offset; nullopt when a coordinate would leave
// the 32-bit range.
std::optional<platform::Rect> moved(const platform::Rect& rectangle, platform::Point offset);

}  // namespace sizing
