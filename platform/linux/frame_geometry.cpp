#include "platform/linux/frame_geometry.h"

#include <algorithm>
#include <array>

namespace platform::x11 {

namespace {

constexpr std::int64_t largestCoordinate = 32767;
constexpr std::int64_t smallestCoordinate = -32768;

std::int32_t clamped(std::int64_t value, std::int64_t low, std::int64_t high) {
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

}  // namespace

FrameExtents frameExtentsFrom(std::span<const long> values) {
    if (values.size() < 4) return {};
    for (std::size_t i = 0; i < 4; ++i)
        if (values[i] < 0 || values[i] > largestCoordinate) return {};
    return {static_cast<std::int32_t>(values[0]), static_cast<std::int32_t>(values[1]),
            static_cast<std::int32_t>(values[2]), static_cast<std::int32_t>(values[3])};
}

Rect outerRectangle(const ClientGeometry& client, const FrameExtents& extents) {
    const std::int32_t border = client.borderWidth;
    return {client.origin.x - border - extents.left, client.origin.y - border - extents.top,
            client.origin.x + client.size.width + border + extents.right,
            client.origin.y + client.size.height + border + extents.bottom};
}

FrameExtents extentsAround(const ClientGeometry& client, const Rect& frameWindow) {
    const Rect inner = outerRectangle(client, {});
    const std::array<std::int64_t, 4> widths{
        std::int64_t{inner.left} - frameWindow.left, std::int64_t{frameWindow.right} - inner.right,
        std::int64_t{inner.top} - frameWindow.top, std::int64_t{frameWindow.bottom} - inner.bottom};
    for (const std::int64_t width : widths)
        if (width < 0 || width > largestCoordinate) return {};
    return {static_cast<std::int32_t>(widths[0]), static_cast<std::int32_t>(widths[1]),
            static_cast<std::int32_t>(widths[2]), static_cast<std::int32_t>(widths[3])};
}

Margins clientMarginsFrom(std::span<const long> values, Size clientSize) {
    if (values.size() != 4) return {};
    for (const long value : values)
        if (value < 0 || value > largestCoordinate) return {};
    const long left = values[0], right = values[1], top = values[2], bottom = values[3];
    if (left + right >= clientSize.width || top + bottom >= clientSize.height) return {};
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
            static_cast<std::int32_t>(bottom)};
}

FramePlacement framePlacement(const Rect& outer, const FrameExtents& extents, std::int32_t borderWidth) {
    const std::int64_t width =
        std::int64_t{outer.right} - outer.left - extents.left - extents.right - 2 * std::int64_t{borderWidth};
    const std::int64_t height =
        std::int64_t{outer.bottom} - outer.top - extents.top - extents.bottom - 2 * std::int64_t{borderWidth};
    return {{clamped(outer.left, smallestCoordinate, largestCoordinate),
             clamped(outer.top, smallestCoordinate, largestCoordinate)},
            {clamped(width, 1, largestCoordinate), clamped(height, 1, largestCoordinate)}};
}

}  // namespace platform::x11
