#include "app/linux/desktop_connection.h"

#include <gio/gio.h>

#include <cstdlib>
#include <memory>

#include "platform/gnome_shell/gnome_shell_desktop.h"
#include "platform/kwin/kwin_desktop.h"
#include "platform/linux/session_bus.h"
#include "platform/linux/wide_text.h"
#include "platform/linux/x11_desktop.h"
#include "platform/sway/sway_desktop.h"

namespace app::linux_edition {

namespace {

bool environmentHas(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

bool nameHasOwner(GDBusConnection* bus, const char* name) {
    return !platform::posix::ownerOf(bus, name, 2000).empty();
}

DesktopConnection connectX11() {
    std::unique_ptr<platform::Desktop> desktop = platform::x11::X11Desktop::connect();
    if (desktop) return {std::move(desktop), {}};
    return {nullptr, L"cannot reach the windows of the X display " +
                         platform::posix::fromUtf8Lossy(std::getenv("DISPLAY")) + L"."};
}

DesktopConnection connectSway() {
    const char* variable = std::getenv("SWAYSOCK");
    const std::string socket = variable != nullptr ? variable : "";
    std::unique_ptr<platform::Desktop> desktop = platform::sway::SwayDesktop::connect(socket);
    if (desktop) return {std::move(desktop), {}};
    return {nullptr, L"Sway does not answer on its IPC socket " + platform::posix::fromUtf8Lossy(socket) +
                         L", so Ambrisk 2 cannot reach its windows."};
}

DesktopConnection connectKWin() {
    platform::kwin::KWinDesktop::Connection connection = platform::kwin::KWinDesktop::connect();
    return {std::move(connection.desktop), std::move(connection.refusal)};
}

}  // namespace

Session readSession() {
    Session session;
    session.x11Display = environmentHas("DISPLAY");
    session.waylandDisplay = environmentHas("WAYLAND_DISPLAY");
    session.swaySocket = environmentHas("SWAYSOCK");
    // The bus is asked only where its answer can matter.
    if (session.waylandDisplay && !session.swaySocket) {
        const platform::posix::Bus bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
        if (bus) {
            session.kwinOnBus = nameHasOwner(bus.get(), "org.kde.KWin");
            session.gnomeShellOnBus = nameHasOwner(bus.get(), "org.gnome.Shell");
        }
    }
    return session;
}

DesktopConnection connectDesktop(SessionDesktop choice) {
    switch (choice) {
        case SessionDesktop::x11:
            return connectX11();
        case SessionDesktop::sway:
            return connectSway();
        case SessionDesktop::kwin:
            return connectKWin();
        case SessionDesktop::gnomeShell: {
            platform::gnome_shell::GnomeShellConnection shell = platform::gnome_shell::connectGnomeShell();
            return {std::move(shell.desktop), std::move(shell.refusal)};
        }
    }
    return {nullptr, app::unsupportedSession};
}

}  // namespace app::linux_edition
