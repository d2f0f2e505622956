#include "platform/linux/size_limits.h"

#include <algorithm>
#include <cstdint>

namespace platform::x11 {

namespace {

// Without its own base size, a window's steps count from its minimum size.
Size stepBase(const SizeLimits& limits) { return limits.base ? *limits.base : limits.minimum.value_or(Size{}); }

bool onSteps(std::int32_t length, std::int32_t base, std::int32_t step) {
    return step <= 1 || (length >= base && (length - base) % step == 0);
}

bool withinAspect(const AspectRange& aspect, Size size) {
    const std::int64_t w = size.width, h = size.height;
    const bool aboveLowest = std::int64_t{aspect.lowest.width} * h <= w * aspect.lowest.height;
    const bool belowHighest = w * aspect.highest.height <= std::int64_t{aspect.highest.width} * h;
    return aboveLowest && belowHighest;
}

}  // namespace

SizeLimits allowing(SizeLimits limits, Size client) {
    const Size base = stepBase(limits);
    if (limits.step && !(onSteps(client.width, base.width, limits.step->width) &&
                         onSteps(client.height, base.height, limits.step->height)))
        limits.step.reset();
    if (limits.minimum)
        limits.minimum = Size{std::min(limits.minimum->width, client.width), std::min(limits.minimum->height, client.height)};
    if (limits.maximum)
        limits.maximum = Size{std::max(limits.maximum->width, client.width), std::max(limits.maximum->height, client.height)};
    if (limits.aspect) {
        // The ratio applies to the size beyond the base size, where one is given.
        const Size beyondBase =
            limits.base ? Size{client.width - limits.base->width, client.height - limits.base->height} : client;
        if (!withinAspect(*limits.aspect, beyondBase)) limits.aspect.reset();
    }
    return limits;
}

}  // namespace platform::x11
