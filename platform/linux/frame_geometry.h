#pragma once
// The window manager's frame around a client window: the widths it adds on
// each side, and how the frame's outer rectangle and the client's geometry
// follow from each other.
#include <cstdint>
#include <span>

#include "platform/desktop.h"

namespace platform::x11 {

struct FrameExtents {
    std::int32_t left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const FrameExtents&) const = default;
};

// The four widths as the window manager publishes them (left, right, top,
// bottom); no frame when they are missing or make no sense.
FrameExtents frameExtentsFrom(std::span<const long> values);

// A client window on the root: the corner inside its own border, its inner
// size and the width of that border.
struct ClientGeometry {
    Point origin;
    Size size;
    std::int32_t borderWidth = 0;
};

Rect outerRectangle(const ClientGeometry& client, const FrameExtents& extents);

// The frame of a window manager that announces none (i3): the widths between
// the client's outer edge and the outer edge of the window it was put in. No
// frame where that window does not hold the client.
FrameExtents extentsAround(const ClientGeometry& client, const Rect& frameWindow);

// The shadow a client draws inside its own window (GTK publishes it left,
// right, top, bottom) for a client of the given size; none when the values
// are not four, make no sense, or would leave nothing of the window to see.
Margins clientMarginsFrom(std::span<const long> values, Size clientSize);

// Where the frame goes and what size the client gets inside it, for a frame
// with the given outer rectangle. Kept within what the X protocol carries: a
// client is at least 1 pixel and at most 32767 pixels on each side.
struct FramePlacement {
    Point frameOrigin;
    Size clientSize;
};

FramePlacement framePlacement(const Rect& outer, const FrameExtents& extents, std::int32_t borderWidth);

}  // namespace platform::x11
