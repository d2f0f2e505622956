#pragma once
// Which desktop the Linux edition works with, chosen at start-up from what
// the session offers.
#include <optional>

namespace app {

enum class SessionDesktop { x11, sway, kwin, gnomeShell };

// What the session offers, read from its environment and its session bus.
struct Session {
    bool x11Display = false;      // DISPLAY
    bool waylandDisplay = false;  // WAYLAND_DISPLAY
    bool swaySocket = false;      // SWAYSOCK: Sway, or a compositor speaking its IPC
    bool kwinOnBus = false;       // org.kde.KWin
    bool gnomeShellOnBus = false; // org.gnome.Shell
};

// A Wayland session is worked with through its compositor's own channel; with
// none that this program speaks, XWayland's X11 windows are still in reach.
// nullopt where no desktop can be worked with.
std::optional<SessionDesktop> chooseDesktop(const Session& session);

// Said when no desktop can be worked with, before the program ends.
inline constexpr const wchar_t* unsupportedSession =
    L"Ambrisk 2 sizes windows on X11 desktops and, on Wayland, on GNOME (with the Ambrisk 2 extension), "
    L"KDE Plasma and Sway. This session is none of them, so no program may move another program's "
    L"windows here.";

}  // namespace app
