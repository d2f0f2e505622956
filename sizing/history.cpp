#include "sizing/history.h"

namespace sizing {

namespace {

// A plain scan from index 1: one record per window sized by hand in one run
// stays far below the size where a scan costs anything a user could notice.
HistoryRecord* find(History& history, platform::WindowHandle window) {
    for (std::size_t i = 1; i < history.size(); ++i)
        if (history[i].hwnd == window) return &history[i];
    return nullptr;
}

}  // namespace

void remember(History& history, const platform::WindowPlacement& placement, platform::WindowHandle window) {
    // Even an empty list gets its placeholder first, so the first record is
    // at index 1.
    if (history.empty()) history.emplace_back();
    HistoryRecord* record = find(history, window);
    if (!record) record = &history.emplace_back();
    const platform::Rect& normal = placement.rcNormalPosition;
    *record = {window, placement.showCmd, normal.left, normal.top, normal.right, normal.bottom};
}

bool recall(History& history, platform::WindowPlacement& placement, platform::WindowHandle window) {
    HistoryRecord* record = find(history, window);
    if (!record) return false;
    placement.showCmd = record->showCmd;
    placement.rcNormalPosition = {record->left, record->top, record->right, record->bottom};
    record->showCmd = restoredMarker;
    return true;
}

void reopen(History& history, platform::WindowHandle window, platform::ShowState showCmd) {
    if (HistoryRecord* record = find(history, window)) record->showCmd = showCmd;
}

}  // namespace sizing
