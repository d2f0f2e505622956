#pragma once
// What the program writes for the KWin script: the private copy of the
// shipped script, with where it calls back written into it, and the commands
// it answers the script's questions with.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace platform::kwin {

// Where the script's calls go: this program's unique name on the session
// bus and the object it exports there, and the token that proves a call
// comes from the script this program wrote.
struct CallBack {
    std::string service, path, token;
};

// nullopt when the script has no place for the call-back.
std::optional<std::string> scriptText(std::string_view shipped, const CallBack& callBack);

enum class CommandKind { query, apply, forget };

struct ScriptCommand {
    CommandKind kind = CommandKind::query;
    std::uint32_t serial = 0;
    std::string windowId;         // query and apply
    ShowState show = showNormal;  // apply
    Rect frame;                   // apply
};

// The command as JSON; nullopt for a window id that is not one, which is
// never passed on.
std::optional<std::string> commandText(const ScriptCommand& command);

}  // namespace platform::kwin
