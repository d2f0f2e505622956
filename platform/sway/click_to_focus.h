#pragma once
// Sway gives the focus to the window under the pointer by default, so a
// pointer passing over other windows on its way to the target would be taken
// for the user's choice. While an object of this class lives, the focus goes
// only where the user clicks; then the setting is put back as the
// configuration file has it.
#include <string>

#include "platform/sway/ipc_socket.h"

namespace platform::sway {

class ClickToFocus {
public:
    explicit ClickToFocus(IpcSocket& socket);
    ~ClickToFocus();
    ClickToFocus(const ClickToFocus&) = delete;
    ClickToFocus& operator=(const ClickToFocus&) = delete;

private:
    IpcSocket& socket_;
    std::string previous_;
};

}  // namespace platform::sway
