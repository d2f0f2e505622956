#pragma once
// The Ambrisk 2 extension of GNOME Shell, reached over the session bus: its
// calls, each with a timeout and a reply of the declared type, and its
// signals, which the extension sends to this program alone.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gnome_shell/shell_replies.h"

namespace platform::gnome_shell {

struct Focus {
    std::uint64_t window = 0;  // GNOME's window id; 0: none
    std::uint32_t pid = 0;     // 0: unknown
};

struct MonitorReply {
    std::int32_t primary = 0;
    std::vector<MonitorValues> values;
};

// What the extension tells when the program starts to watch it.
struct WatchReply {
    Focus focus;
    MonitorReply monitors;
};

struct WindowReply {
    std::string title;
    std::uint32_t pid = 0;
    std::string kind, state;
    ShellRectangle frame;
};

// What becomes of the extension while the program runs.
struct ExtensionEvents {
    std::function<void(const Focus&)> focusChanged;
    std::function<void(const MonitorReply&)> monitorsChanged;
    // The extension is back after it was switched off (the screen was
    // locked): what it tells then replaces what was known.
    std::function<void(const WatchReply&)> returned;
    std::function<void()> left;
};

class ExtensionBus {
public:
    // The extension with the events subscribed and its first answer; nullptr
    // with the sentence for the user in `refusal` when it cannot be used.
    static std::unique_ptr<ExtensionBus> connect(ExtensionEvents events, WatchReply& first, std::wstring& refusal);
    ~ExtensionBus();
    ExtensionBus(const ExtensionBus&) = delete;
    ExtensionBus& operator=(const ExtensionBus&) = delete;

    // nullopt when the window is gone or the extension does not answer.
    std::optional<WindowReply> window(std::uint64_t id);
    // Asks for the show state and frame; false when refused or unanswered.
    bool place(std::uint64_t id, std::string_view state, const ShellRectangle& frame);

private:
    class Connection;
    explicit ExtensionBus(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> connection_;
};

}  // namespace platform::gnome_shell
