#pragma once
// The monitors of the X screen (XRandR, or Xinerama), their work areas, and the primary
// monitor's size for the screen watch, which asks for it every 100 ms: that
// answer is kept and read again only after the screen reported a change, so
// that watching an unchanged screen sends nothing to the X server.
#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/linux/x11_connection.h"

namespace platform::x11 {

class Monitors {
public:
    Monitors(Display* display, const Atoms& atoms);

    Size primarySize();
    // Every monitor with its work area, the primary one first.
    std::vector<Monitor> withWorkAreas();
    // The monitors' rectangles, the primary one first; never empty.
    std::vector<Rect> areas();

private:
    bool screenChangedSinceLastLook();
    std::vector<Rect> rectanglesFromRandr();
    std::vector<Rect> rectanglesFromXinerama();
    Size rootSize();
    // Work area of the current desktop as the window manager publishes it.
    std::optional<Rect> publishedWorkArea();

    Display* display_;
    const Atoms& atoms_;
    Window root_;
    int randrEventBase_ = -1;
    std::optional<Size> primarySize_;
};

}  // namespace platform::x11
