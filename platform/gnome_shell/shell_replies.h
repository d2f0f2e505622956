#pragma once
// What the Ambrisk 2 extension of GNOME Shell answers, checked and turned into
// the desktop's terms. The answers come from another program: a rectangle that
// leaves the 32-bit range, a name this program does not know or a monitor list
// that makes no sense is refused here rather than used.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace platform::gnome_shell {

// A rectangle as GNOME gives it: its corner and its size.
struct ShellRectangle {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ShellRectangle&) const = default;
};

// nullopt for a negative size, or an edge beyond the 32-bit range.
std::optional<Rect> rectangleFrom(const ShellRectangle& shell);
// nullopt for a size that is not positive or leaves the 32-bit range.
std::optional<ShellRectangle> shellRectangleOf(const Rect& rectangle);

std::optional<WindowKind> kindNamed(std::string_view name);
std::optional<ShowState> stateNamed(std::string_view name);
// The state the extension is asked for; restoring means the normal state.
std::string_view stateName(ShowState state);

// Each monitor as eight numbers: its area, then its work area, each as a
// corner and a size.
using MonitorValues = std::array<std::int32_t, 8>;

struct MonitorLayout {
    std::vector<Monitor> monitors;
    std::size_t primary = 0;
};

// nullopt for no monitors, a primary monitor that is not among them, or a
// work area that is empty or not inside its monitor.
std::optional<MonitorLayout> monitorLayoutFrom(std::int32_t primary, const std::vector<MonitorValues>& values);

// What GNOME Shell reports of an installed extension (org.gnome.Shell.Extensions).
inline constexpr const char* extensionUuid = "ambrisk2@ambrisk2.invalid";

// The sentence for the user when the extension is not on the bus, from the
// state GNOME Shell gives for it; nullopt when GNOME Shell does not know it.
std::wstring absentExtension(std::optional<double> state);

inline constexpr const wchar_t* extensionRefused =
    L"The Ambrisk 2 extension of GNOME Shell serves only the ambrisk2 program installed with it, not this copy.";
inline constexpr const wchar_t* extensionSilent =
    L"The Ambrisk 2 extension of GNOME Shell did not answer; log out and in again.";

}  // namespace platform::gnome_shell
