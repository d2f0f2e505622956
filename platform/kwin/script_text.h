#pragma once
// The private copy of the KWin script for one use: the shipped script with
// where it calls back and what it is asked to do written into it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace platform::kwin {

// Where the script's reports go: this program's unique name on the session
// bus and the object it exports there, and the token that proves a report
// comes from a script this program wrote.
struct CallBack {
    std::string service, path, token;
};

enum class RequestKind { watch, query, apply };

struct ScriptRequest {
    RequestKind kind = RequestKind::watch;
    std::uint32_t serial = 0;
    std::string windowId;         // query and apply
    ShowState show = showNormal;  // apply
    Rect frame;                   // apply
};

// nullopt when the script has no place for the setup, or when a value
// could not be written safely (a window id that is not one).
std::optional<std::string> scriptText(std::string_view shipped, const CallBack& callBack,
                                      const ScriptRequest& request);

}  // namespace platform::kwin
