#pragma once
// The arithmetic of a sizing: the size the entries ask for, where the
// window's frame goes with that size, and the frame the user sees within the
// window's outer rectangle. They work beyond the 32-bit range and refuse a
// result that does not fit it, so that no wrapped-around value ever reaches a
// window.
#include <cstdint>
#include <optional>

#include "platform/desktop.h"
#include "platform/rectangles.h"

namespace sizing {

struct SizeRequest {
    double width = 0, height = 0;   // the preset or the custom entries
    std::optional<double> border{};  // added on both sides in both directions
    std::optional<double> taskbar{}; // taken from the height, or the width
    bool horizontalTaskbar = true;
};

// No side is given less than this.
constexpr std::int32_t smallestSide = 16;

// The size of the frame the user will see. nullopt when the base size or a
// side after the border and the taskbar lies outside the signed 32-bit range.
std::optional<platform::Size> askedSize(const SizeRequest& request);

// The frame the user sees of the window's normal rectangle, with the new
// size: it keeps its top-left corner where the size fits from there,
// otherwise moves left or up just far enough to end at the work area's right
// or bottom edge, but never past the work area's top-left corner. nullopt
// when a coordinate would leave the 32-bit range.
std::optional<platform::Rect> placedRectangle(const platform::Rect& visible, platform::Size size,
                                              const platform::Rect& workArea);

// The frame the user sees of a window, and the invisible margins between it
// and the window's outer rectangle.
struct VisibleFrame {
    platform::Rect rectangle;
    platform::Margins margins;
};

// The outer rectangle less the margins the window announces. Other programs
// set those and may set anything: they count only where none is negative and
// each two opposite ones leave some of the outer rectangle between them;
// otherwise the window counts as having none, and the user gets the outer
// size, as from a window that announces nothing.
VisibleFrame visibleFrame(const platform::Rect& outer, const platform::Margins& announced);

// The outer rectangle around a visible frame; nullopt when a coordinate would
// leave the 32-bit range.
std::optional<platform::Rect> outerRectangle(const platform::Rect& visible, const platform::Margins& margins);

}  // namespace sizing
