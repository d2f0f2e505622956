#include "sizing/geometry.h"

#include <cstdint>
#include <limits>

#include "platform/numbers.h"

namespace sizing {

namespace {

bool fitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::optional<platform::Size> outerSize(const SizeRequest& request) {
    const std::optional<std::int32_t> baseWidth = numbers::toInt32(request.width);
    const std::optional<std::int32_t> baseHeight = numbers::toInt32(request.height);
    if (!baseWidth || !baseHeight) return std::nullopt;

    // In double precision, exact for the whole numbers the entries hold.
    double width = *baseWidth, height = *baseHeight;
    if (request.border) {
        width += 2 * *request.border;
        height += 2 * *request.border;
    }
    if (request.taskbar) (request.horizontalTaskbar ? height : width) -= *request.taskbar;

    std::optional<std::int32_t> outerWidth = numbers::toInt32(width);
    std::optional<std::int32_t> outerHeight = numbers::toInt32(height);
    if (!outerWidth || !outerHeight) return std::nullopt;
    if (*outerHeight <= smallestSide) outerHeight = smallestSide;
    if (*outerWidth <= smallestSide) outerWidth = smallestSide;
    return platform::Size{*outerWidth, *outerHeight};
}

std::optional<platform::Rect> placedRectangle(const platform::Rect& normal, platform::Size size,
                                              const platform::Rect& workArea) {
    std::int64_t left = normal.left, top = normal.top;
    if (left + size.width > workArea.right) left = std::int64_t{workArea.right} - size.width;
    if (top + size.height > workArea.bottom) top = std::int64_t{workArea.bottom} - size.height;
    if (left < workArea.left) left = workArea.left;
    if (top < workArea.top) top = workArea.top;
    const std::int64_t right = left + size.width, bottom = top + size.height;
    if (!fitsInt32(left) || !fitsInt32(top) || !fitsInt32(right) || !fitsInt32(bottom)) return std::nullopt;
    return platform::Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                          static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

}  // namespace sizing
