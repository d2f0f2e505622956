#pragma once
// The desktop of this session, reached through its own channel.
#include <memory>
#include <string>

#include "app/desktop_choice.h"
#include "platform/desktop.h"

namespace app::linux_edition {

// What the session offers: its environment, and on Wayland which
// compositors own their names on the session bus.
Session readSession();

// The desktop, or why it cannot be worked with, in a sentence for the user.
struct DesktopConnection {
    std::unique_ptr<platform::Desktop> desktop;
    std::wstring refusal;
};

// After GTK is open on the display the choice asks for.
DesktopConnection connectDesktop(SessionDesktop choice);

}  // namespace app::linux_edition
