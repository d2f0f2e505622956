#pragma once
// The history of the windows sized in this run: for each, the show state and
// normal rectangle from just before its most recent sizing, so that a
// restore can undo that sizing once.
#include <cstdint>
#include <vector>

#include "platform/desktop.h"

namespace sizing {

struct HistoryRecord {
    platform::WindowHandle hwnd = 0;
    platform::ShowState showCmd = platform::showNormal;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const HistoryRecord&) const = default;
};

// Marks a record that has been used for a restore; no desktop reports it as
// a show state.
constexpr platform::ShowState restoredMarker{-12345};

// Element 0 is a placeholder that is never searched, read or written;
// records live from index 1 on, in the order their windows were first sized,
// one per window, and are never removed.
using History = std::vector<HistoryRecord>;

// Stores the placement as the window's record, updating the record it has
// or adding one at the end.
void remember(History& history, const platform::WindowPlacement& placement, platform::WindowHandle window);

// Hands the window's stored show state and normal rectangle back in the
// placement and marks the record used; false, and the placement untouched,
// for a window without a record.
bool recall(History& history, platform::WindowPlacement& placement, platform::WindowHandle window);

// Takes back the mark of a recall whose placement the window refused, so
// that the user can try the restore again.
void reopen(History& history, platform::WindowHandle window, platform::ShowState showCmd);

}  // namespace sizing
