#pragma once
#include <cstdint>
#include <vector>

#include "platform/desktop.h"

namespace sizing {

// A record of one sized window: its show state and normal rectangle from
// just before its most recent sizing.
struct HistoryRecord {
    platform::WindowHandle hwnd = 0;
    std::int32_t showCmd = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const HistoryRecord&) const = default;
};

// Marks a record that has been used for a restore.
constexpr std::int32_t restoredMarker = -12345;

}  // namespace sizing
