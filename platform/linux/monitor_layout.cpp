#include "platform/linux/monitor_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform::x11 {

namespace {

constexpr long largestCoordinate = 32767;

bool sensible(std::span<const long> values) {
    return std::all_of(values.begin(), values.end(), [](long v) { return v >= 0 && v <= largestCoordinate; });
}

std::int32_t to32(long value) { return static_cast<std::int32_t>(value); }

// Thickness and the covered range along the edge (first and last pixel).
struct EdgeStrut {
    long thickness, first, last;
};

std::vector<ReservedEdge> reservedEdges(const std::array<EdgeStrut, 4>& struts, Size screen) {
    std::vector<ReservedEdge> edges;
    const auto add = [&](ScreenEdge edge, const EdgeStrut& s, Rect area) {
        if (s.thickness > 0 && s.last >= s.first) edges.push_back({edge, area});
    };
    const auto& [left, right, top, bottom] = struts;
    add(ScreenEdge::left, left, {0, to32(left.first), to32(left.thickness), to32(left.last + 1)});
    add(ScreenEdge::right, right,
        {screen.width - to32(right.thickness), to32(right.first), screen.width, to32(right.last + 1)});
    add(ScreenEdge::top, top, {to32(top.first), 0, to32(top.last + 1), to32(top.thickness)});
    add(ScreenEdge::bottom, bottom,
        {to32(bottom.first), screen.height - to32(bottom.thickness), to32(bottom.last + 1), screen.height});
    return edges;
}

std::int64_t overlapArea(const Rect& a, const Rect& b) {
    const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between the nearest points of two rectangles.
std::int64_t gap(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
    const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
    return dx * dx + dy * dy;
}

}  // namespace

std::vector<ReservedEdge> reservedEdgesFromPartialStrut(std::span<const long> v, Size screen) {
    if (v.size() < 12 || !sensible(v.first(12))) return {};
    return reservedEdges({{{v[0], v[4], v[5]}, {v[1], v[6], v[7]}, {v[2], v[8], v[9]}, {v[3], v[10], v[11]}}},
                         screen);
}

std::vector<ReservedEdge> reservedEdgesFromStrut(std::span<const long> v, Size screen) {
    if (v.size() < 4 || !sensible(v.first(4))) return {};
    const long lastRow = screen.height - 1, lastColumn = screen.width - 1;
    return reservedEdges({{{v[0], 0, lastRow}, {v[1], 0, lastRow}, {v[2], 0, lastColumn}, {v[3], 0, lastColumn}}},
                         screen);
}

bool overlaps(const Rect& a, const Rect& b) { return overlapArea(a, b) > 0; }

Rect workAreaOf(const Rect& monitor, std::span<const ReservedEdge> reserved) {
    Rect work = monitor;
    for (const ReservedEdge& r : reserved) {
        const Rect& a = r.area;
        if (!overlaps(a, monitor)) continue;
        switch (r.edge) {
            case ScreenEdge::left:
                if (a.right < monitor.right) work.left = std::max(work.left, a.right);
                break;
            case ScreenEdge::right:
                if (a.left > monitor.left) work.right = std::min(work.right, a.left);
                break;
            case ScreenEdge::top:
                if (a.bottom < monitor.bottom) work.top = std::max(work.top, a.bottom);
                break;
            case ScreenEdge::bottom:
                if (a.top > monitor.top) work.bottom = std::min(work.bottom, a.top);
                break;
        }
    }
    // Panels on opposite sides that meet leave nothing; the monitor is then
    // more use than an empty area.
    return work.left < work.right && work.top < work.bottom ? work : monitor;
}

std::size_t monitorHolding(std::span<const Rect> monitors, const Rect& rectangle) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < monitors.size(); ++i) {
        const std::int64_t a = overlapArea(rectangle, monitors[i]), b = overlapArea(rectangle, monitors[best]);
        if (a > b || (a == 0 && b == 0 && gap(rectangle, monitors[i]) < gap(rectangle, monitors[best]))) best = i;
    }
    return best;
}

std::optional<Monitor> monitorFor(std::span<const Monitor> monitors, const Rect& rectangle) {
    if (monitors.empty()) return std::nullopt;
    std::vector<Rect> areas;
    for (const Monitor& m : monitors) areas.push_back(m.area);
    return monitors[monitorHolding(areas, rectangle)];
}

bool anyMonitorIntersects(std::span<const Monitor> monitors, const Rect& rectangle) {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const Monitor& m) { return overlaps(m.area, rectangle); });
}

Size sizeOf(const Rect& area) { return {area.right - area.left, area.bottom - area.top}; }

}  // namespace platform::x11
