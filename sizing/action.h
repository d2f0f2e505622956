#pragma once
// The action on the window the user caught: sizing it to the size asked
// for, or restoring the placement it had before its last sizing. Each gives
// the text for the result field.
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "sizing/geometry.h"

namespace sizing {

// Where the action keeps the placements it changes: the main window's
// history, through the main window's own operations on it.
class PlacementMemory {
public:
    virtual void RememberPlacement(const platform::WindowPlacement& placement, platform::WindowHandle window) = 0;
    // Hands back the stored placement and marks the record used; false for
    // a window without a record.
    virtual bool RecallPlacement(platform::WindowPlacement& placement, platform::WindowHandle window) = 0;
    // Takes back the mark of a recall whose placement was not applied.
    virtual void ReopenPlacement(platform::WindowHandle window, platform::ShowState showCmd) = 0;

protected:
    ~PlacementMemory() = default;
};

// The new text of the result field: the window's title, a line break and
// what became of it; nullopt leaves the field as it is.
using ResultText = std::optional<std::wstring>;

// The window the action is for when it fires: the one the user pressed where
// the desktop watched presses (the focus may have followed the pointer away
// from it since), else the foreground window.
platform::WindowHandle actionTarget(platform::Desktop& desktop, std::optional<platform::WindowHandle> pressedWindow);

// Neither touches this program's own window, a handle that is not greater
// than 0, nor the desktop or a panel (those are said so).
ResultText sizeTarget(platform::Desktop& desktop, platform::WindowHandle target, platform::WindowHandle ownWindow,
                      const SizeRequest& request, PlacementMemory& memory);
ResultText restoreTarget(platform::Desktop& desktop, platform::WindowHandle target, platform::WindowHandle ownWindow,
                         PlacementMemory& memory);

}  // namespace sizing
