#pragma once
// Handles for the windows of a desktop whose own ids are not small numbers
// (KWin's UUIDs, GNOME's 64-bit ids). Each id gets the next handle the first
// time it is seen and keeps it for the run, so the history, which keys on
// handles, tells windows apart by the desktop's own stable id.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace platform {

class WindowHandles {
public:
    // 0 (no window) for an empty id, and once the handles that the core
    // takes for windows (below 2^31) are all given out.
    WindowHandle handleFor(const std::string& id) {
        if (id.empty()) return 0;
        const auto known = handles_.find(id);
        if (known != handles_.end()) return known->second;
        if (ids_.size() >= lastHandle) return 0;
        ids_.push_back(id);
        const auto handle = static_cast<WindowHandle>(ids_.size());
        handles_.emplace(id, handle);
        return handle;
    }

    // The id a handle was given for; nullptr for any other handle.
    const std::string* idOf(WindowHandle handle) const {
        if (handle == 0 || handle > ids_.size()) return nullptr;
        return &ids_[handle - 1];
    }

private:
    static constexpr std::size_t lastHandle = 0x7FFFFFFF;
    std::map<std::string, WindowHandle> handles_;
    std::vector<std::string> ids_;
};

}  // namespace platform
