#include "platform/rectangles.h"

#include <limits>

namespace platform {

bool fitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

std::optional<Rect> rectangleWithin32Bits(std::int64_t left, std::int64_t top, std::int64_t right,
                                          std::int64_t bottom) {
    if (!fitsInt32(left) || !fitsInt32(top) || !fitsInt32(right) || !fitsInt32(bottom)) return std::nullopt;
    return Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
                static_cast<std::int32_t>(bottom)};
}

}  // namespace platform
