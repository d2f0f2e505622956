#pragma once
// What Sway's replies say, read as untrusted JSON: the windows of the tree
// with their frames, the workspaces, the outputs, whether commands ran, and
// the configuration's focus rule. A value of the wrong type or range makes
// its window, workspace or output count as absent, never as zero.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace platform::sway {

// Where a tiled container sits among its siblings, so that it can be put
// back there: the containers before and after it (0: none), and whether its
// parent stacks them from top to bottom.
struct TiledPlace {
    WindowHandle previous = 0, next = 0;
    bool vertical = false;
};

// A container that holds a window. Its id is below 2^31, so that it serves
// as the window's handle.
struct Container {
    WindowHandle id = 0;
    std::int64_t pid = 0;
    std::string name;
    // The frame the user sees: the container with its title bar above it.
    Rect frame;
    bool floating = false;
    bool fullscreen = false;
    TiledPlace place{};
};

struct Workspace {
    std::string name;
    Rect area;
};

struct Tree {
    std::vector<Container> windows;
    std::vector<Workspace> workspaces;
    // 0 when the focus is on no window (an empty workspace, a split).
    WindowHandle focused = 0;

    const Container* find(WindowHandle id) const;
};

struct Output {
    std::string name;
    Rect area;
    std::string currentWorkspace;
};

std::optional<Tree> parsedTree(std::string_view json);
// The active outputs.
std::optional<std::vector<Output>> parsedOutputs(std::string_view json);

// Each output with the area of the workspace it shows as its work area.
std::vector<Monitor> monitorsOf(const std::vector<Output>& outputs, const std::vector<Workspace>& workspaces);
// The output at the layout's origin, else the first; none without outputs.
std::optional<Rect> primaryArea(const std::vector<Output>& outputs);

// True when the reply to a run_command says every command succeeded.
bool commandsSucceeded(std::string_view json);

// The focus_follows_mouse value (yes, no or always) that the configuration
// text in a get_config reply sets last; Sway's default, yes, when none.
std::string focusFollowsMouseIn(std::string_view json);

}  // namespace platform::sway
