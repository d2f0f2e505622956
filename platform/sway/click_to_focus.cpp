#include "platform/sway/click_to_focus.h"

#include "platform/sway/sway_tree.h"

namespace platform::sway {

// Sway tells the configuration as its file was read, not the setting in
// force: a change made since with swaymsg is not seen here.
ClickToFocus::ClickToFocus(IpcSocket& socket)
    : socket_(socket), previous_(focusFollowsMouseIn(socket.request(MessageType::getConfig).value_or(""))) {
    socket_.request(MessageType::runCommand, "focus_follows_mouse no");
}

ClickToFocus::~ClickToFocus() { socket_.request(MessageType::runCommand, "focus_follows_mouse " + previous_); }

}  // namespace platform::sway
