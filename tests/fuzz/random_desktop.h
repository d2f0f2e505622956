#pragma once
// Random monitors, work areas, placements, margins and entry texts for the
// sizing fuzzer, from the fuzzer's input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/desktop.h"

namespace fuzz {

using platform::Margins;
using platform::Rect;

constexpr std::int64_t int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
// As wide as a client's shadow at a high scale may be.
constexpr std::int32_t realisticMargin = 64;

inline std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, int32Min, int32Max));
}

// Monitors of sizes real ones have, near the origin or anywhere.
inline Rect randomMonitor(FuzzedDataProvider& in) {
    const std::int32_t width = in.ConsumeIntegralInRange<std::int32_t>(1, 1 << 16);
    const std::int32_t height = in.ConsumeIntegralInRange<std::int32_t>(1, 1 << 16);
    const bool nearOrigin = in.ConsumeBool();
    const std::int32_t left = nearOrigin ? in.ConsumeIntegralInRange<std::int32_t>(-8192, 8192)
                                         : in.ConsumeIntegralInRange<std::int32_t>(int32Min, int32Max - width);
    const std::int32_t top = nearOrigin ? in.ConsumeIntegralInRange<std::int32_t>(-8192, 8192)
                                        : in.ConsumeIntegralInRange<std::int32_t>(int32Min, int32Max - height);
    return {left, top, left + width, top + height};
}

// The monitor less panels on any of its edges: narrow ones, or any up to
// leaving no work area at all.
inline Rect randomWorkArea(FuzzedDataProvider& in, const Rect& m) {
    const bool narrow = in.ConsumeBool();
    const auto panel = [&](std::int32_t room) {
        return in.ConsumeIntegralInRange<std::int32_t>(0, narrow ? std::min(room, 64) : room);
    };
    const std::int32_t left = panel(m.right - m.left);
    const std::int32_t right = panel(m.right - m.left - left);
    const std::int32_t top = panel(m.bottom - m.top);
    const std::int32_t bottom = panel(m.bottom - m.top - top);
    return {m.left + left, m.top + top, m.right - right, m.bottom - bottom};
}

inline Rect randomNormal(FuzzedDataProvider& in, const Rect& monitor) {
    if (in.ConsumeBool())
        return {in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
    const std::int64_t left = monitor.left + std::int64_t{in.ConsumeIntegralInRange<std::int32_t>(-4096, 4096)};
    const std::int64_t top = monitor.top + std::int64_t{in.ConsumeIntegralInRange<std::int32_t>(-4096, 4096)};
    return {clamped(left), clamped(top), clamped(left + in.ConsumeIntegralInRange<std::int32_t>(0, 8192)),
            clamped(top + in.ConsumeIntegralInRange<std::int32_t>(0, 8192))};
}

inline Margins randomMargins(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: return {};
        case 1: {
            const auto side = [&] { return in.ConsumeIntegralInRange<std::int32_t>(0, realisticMargin); };
            return {side(), side(), side(), side()};
        }
        default:
            return {in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                    in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
    }
}

inline platform::ShowState randomShowState(FuzzedDataProvider& in) {
    const platform::ShowState states[] = {platform::showNormal, platform::showMinimized, platform::showMaximized};
    return states[in.ConsumeIntegralInRange(0, 2)];
}

inline std::wstring randomEntry(FuzzedDataProvider& in) {
    std::wstring text;
    for (const char c : in.ConsumeRandomLengthString(8)) text.push_back(static_cast<unsigned char>(c));
    return text;
}

}  // namespace fuzz
