#pragma once
// Coordinates worked out beyond the 32-bit range (sizes added to positions,
// a compositor's numbers) become a rectangle only when they fit it, so that
// no wrapped-around value ever reaches a window.
#include <cstdint>
#include <optional>

#include "platform/desktop.h"

namespace platform {

// Whether a coordinate worked out in 64 bits fits the signed 32-bit range.
bool fitsInt32(std::int64_t value);
// The rectangle with these coordinates; nullopt when one leaves that range.
std::optional<Rect> rectangleWithin32Bits(std::int64_t left, std::int64_t top, std::int64_t right,
                                          std::int64_t bottom);

}  // namespace platform
