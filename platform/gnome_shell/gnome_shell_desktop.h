#pragma once
// Other applications' windows and the monitors of a GNOME Shell session on
// Wayland, through the Ambrisk 2 extension that runs inside the shell. The
// focused window and the monitors are kept as the extension's signals tell
// them, so that asking for them costs no call; a change is awaited (within
// half a second) until the window's program has taken it, as a Wayland client
// takes a new size only when it next draws.
#include <memory>
#include <string>

#include "platform/desktop.h"

namespace platform::gnome_shell {

struct GnomeShellConnection {
    std::unique_ptr<Desktop> desktop;
    // Why there is none, in a sentence for the user.
    std::wstring refusal;
};

// On the session bus; to be made on the thread that runs GLib's main loop,
// which then delivers the extension's signals.
GnomeShellConnection connectGnomeShell();

}  // namespace platform::gnome_shell
