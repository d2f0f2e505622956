#pragma once
// The arithmetic of a sizing: the outer size the entries ask for, and where
// the window's normal rectangle goes with that size. Both work beyond the
// 32-bit range and refuse a result that does not fit it, so that no
// wrapped-around value ever reaches a window.
#include <optional>

#include "platform/desktop.h"

namespace sizing {

struct SizeRequest {
    double width = 0, height = 0;   // the preset or the custom entries
    std::optional<double> border{};  // added on both sides in both directions
    std::optional<double> taskbar{}; // taken from the height, or the width
    bool horizontalTaskbar = true;
};

// No side is given less than this.
constexpr std::int32_t smallestSide = 16;

// nullopt when the base size or a side after the border and the taskbar lies
// outside the signed 32-bit range.
std::optional<platform::Size> outerSize(const SizeRequest& request);

// The normal rectangle with the new size: it keeps its top-left corner where
// the size fits from there, otherwise moves left or up just far enough to end
// at the work area's right or bottom edge, but never past the work area's
// top-left corner. nullopt when a coordinate would leave the 32-bit range.
std::optional<platform::Rect> placedRectangle(const platform::Rect& normal, platform::Size size,
                                              const platform::Rect& workArea);

}  // namespace sizing
