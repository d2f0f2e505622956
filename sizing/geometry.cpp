#include "sizing/geometry.h"

#include <cstdint>

#include "platform/numbers.h"

namespace sizing {

namespace {

bool plausible(const platform::Margins& m, const platform::Rect& outer) {
    if (m.left < 0 || m.top < 0 || m.right < 0 || m.bottom < 0) return false;
    return std::int64_t{m.left} + m.right < std::int64_t{outer.right} - outer.left &&
           std::int64_t{m.top} + m.bottom < std::int64_t{outer.bottom} - outer.top;
}

}  // namespace

std::optional<platform::Size> askedSize(const SizeRequest& request) {
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

std::optional<platform::Rect> placedRectangle(const platform::Rect& visible, platform::Size size,
                                              const platform::Rect& workArea) {
    std::int64_t left = visible.left, top = visible.top;
    if (left + size.width > workArea.right) left = std::int64_t{workArea.right} - size.width;
    if (top + size.height > workArea.bottom) top = std::int64_t{workArea.bottom} - size.height;
    if (left < workArea.left) left = workArea.left;
    if (top < workArea.top) top = workArea.top;
    return platform::rectangleWithin32Bits(left, top, left + size.width, top + size.height);
}

VisibleFrame visibleFrame(const platform::Rect& outer, const platform::Margins& announced) {
    if (!plausible(announced, outer)) return {outer, {}};
    // Plausible margins keep every side between the outer ones: no overflow.
    return {{outer.left + announced.left, outer.top + announced.top, outer.right - announced.right,
             outer.bottom - announced.bottom},
            announced};
}

std::optional<platform::Rect> outerRectangle(const platform::Rect& visible, const platform::Margins& margins) {
    return platform::rectangleWithin32Bits(
        std::int64_t{visible.left} - margins.left, std::int64_t{visible.top} - margins.top,
        std::int64_t{visible.right} + margins.right, std::int64_t{visible.bottom} + margins.bottom);
}

}  // namespace sizing
