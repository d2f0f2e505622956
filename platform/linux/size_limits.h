#pragma once
// The limits a program puts on its window's size (minimum, maximum, size
// steps from a base size, aspect ratio), and how to widen them just enough to
// let the window take a size that the user chose. The window manager keeps a
// window within its limits; a program that sizes other programs' windows to
// an exact size has to lift the ones in the way.
#include <optional>

#include "platform/desktop.h"

namespace platform::x11 {

struct AspectRange {
    Size lowest, highest;  // width : height ratios
    bool operator==(const AspectRange&) const = default;
};

struct SizeLimits {
    std::optional<Size> minimum, maximum, base, step;
    std::optional<AspectRange> aspect;
    bool operator==(const SizeLimits&) const = default;
};

// The limits with the smallest changes that allow a client of this size:
// a minimum is lowered and a maximum raised to it, size steps and the aspect
// ratio go only when the size breaks them.
SizeLimits allowing(SizeLimits limits, Size client);

}  // namespace platform::x11
