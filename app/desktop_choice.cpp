#include "app/desktop_choice.h"

namespace app {

std::optional<SessionDesktop> chooseDesktop(const Session& session) {
    if (session.waylandDisplay) {
        if (session.swaySocket) return SessionDesktop::sway;
        if (session.kwinOnBus) return SessionDesktop::kwin;
        if (session.gnomeShellOnBus) return SessionDesktop::gnomeShell;
    }
    if (session.x11Display) return SessionDesktop::x11;
    return std::nullopt;
}

}  // namespace app
