#pragma once
// The monitors of an X screen: which one holds a rectangle, and the work area
// of each, which is the monitor less the space that panels and docks reserve
// at the edges of the screen ("struts").
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "platform/desktop.h"

namespace platform::x11 {

enum class ScreenEdge { left, right, top, bottom };

// Space reserved along one edge of the screen, as a rectangle on the root.
struct ReservedEdge {
    ScreenEdge edge;
    Rect area;
};

// From the twelve values of a partial strut (thickness from the left, right,
// top and bottom of the screen, then the first and last pixel covered along
// each of those edges). Nothing when the values make no sense.
std::vector<ReservedEdge> reservedEdgesFromPartialStrut(std::span<const long> values, Size screen);
// From the older four values, which cover each edge over its whole length.
std::vector<ReservedEdge> reservedEdgesFromStrut(std::span<const long> values, Size screen);

// A strut shrinks the monitors it lies on from the side of its edge. One that
// would swallow a monitor whole is meant for a monitor further in (the
// strut's edge is the screen's, not the monitor's) and is passed over there.
Rect workAreaOf(const Rect& monitor, std::span<const ReservedEdge> reserved);

// The index of the monitor that holds the largest part of the rectangle, or
// of the nearest one when it lies on none; `monitors` is not empty.
std::size_t monitorHolding(std::span<const Rect> monitors, const Rect& rectangle);

bool overlaps(const Rect& a, const Rect& b);

// The same questions over the monitors any of the Linux desktops reports:
// the one that holds the largest part of the rectangle (nullopt when there
// are none), whether some part of it lies on one, and a monitor's size.
std::optional<Monitor> monitorFor(std::span<const Monitor> monitors, const Rect& rectangle);
bool anyMonitorIntersects(std::span<const Monitor> monitors, const Rect& rectangle);
Size sizeOf(const Rect& area);

}  // namespace platform::x11
