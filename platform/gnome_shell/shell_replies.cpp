#include "platform/gnome_shell/shell_replies.h"

#include "platform/rectangles.h"

namespace platform::gnome_shell {

namespace {

bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// GNOME Shell's numbers for an extension's state (org.gnome.Shell.Extensions).
enum ExtensionState { enabled = 1, disabled = 2, failed = 3, outOfDate = 4, initialized = 6, deactivating = 7 };

}  // namespace

std::optional<Rect> rectangleFrom(const ShellRectangle& shell) {
    if (shell.width < 0 || shell.height < 0) return std::nullopt;
    return rectangleWithin32Bits(shell.x, shell.y, std::int64_t{shell.x} + shell.width,
                                 std::int64_t{shell.y} + shell.height);
}

std::optional<ShellRectangle> shellRectangleOf(const Rect& rectangle) {
    const std::int64_t width = std::int64_t{rectangle.right} - rectangle.left;
    const std::int64_t height = std::int64_t{rectangle.bottom} - rectangle.top;
    if (width <= 0 || height <= 0 || !fitsInt32(width) || !fitsInt32(height)) return std::nullopt;
    return ShellRectangle{rectangle.left, rectangle.top, static_cast<std::int32_t>(width),
                          static_cast<std::int32_t>(height)};
}

std::optional<WindowKind> kindNamed(std::string_view name) {
    if (name == "ordinary") return WindowKind::ordinary;
    if (name == "desktop") return WindowKind::desktop;
    if (name == "panel") return WindowKind::panel;
    return std::nullopt;
}

std::optional<ShowState> stateNamed(std::string_view name) {
    if (name == "normal") return showNormal;
    if (name == "minimized") return showMinimized;
    if (name == "maximized") return showMaximized;
    return std::nullopt;
}

std::string_view stateName(ShowState state) {
    switch (state) {
        case showMinimized: return "minimized";
        case showMaximized: return "maximized";
        case showNormal:
        case showRestore: break;
    }
    return "normal";
}

std::optional<MonitorLayout> monitorLayoutFrom(std::int32_t primary, const std::vector<MonitorValues>& values) {
    if (primary < 0 || static_cast<std::size_t>(primary) >= values.size()) return std::nullopt;
    MonitorLayout layout;
    layout.primary = static_cast<std::size_t>(primary);
    for (const MonitorValues& v : values) {
        const std::optional<Rect> area = rectangleFrom({v[0], v[1], v[2], v[3]});
        const std::optional<Rect> work = rectangleFrom({v[4], v[5], v[6], v[7]});
        if (!area || !work || v[6] == 0 || v[7] == 0 || !inside(*work, *area)) return std::nullopt;
        layout.monitors.push_back({*area, *work});
    }
    return layout;
}

std::wstring absentExtension(std::optional<double> state) {
    if (!state)
        return L"GNOME Shell has no Ambrisk 2 extension, which Ambrisk 2 needs to size windows on GNOME: install "
               L"it "
               L"with the program's package, then log out and in again.";
    switch (static_cast<int>(*state)) {
        case disabled:
        case initialized:
        case deactivating:
            return L"The Ambrisk 2 extension of GNOME Shell is switched off: switch it on in the Extensions app "
                   L"or "
                   L"with \"gnome-extensions enable ambrisk2@ambrisk2.invalid\", then log out and in again, which "
                   L"GNOME needs on Wayland.";
        case failed:
            return L"GNOME Shell could not start the Ambrisk 2 extension: install the program's package again, "
                   L"then "
                   L"log out and in again.";
        case outOfDate:
            return L"The Ambrisk 2 extension installed does not support this release of GNOME Shell: install the "
                   L"program's package made for it.";
        case enabled: break;
    }
    return extensionSilent;
}

}  // namespace platform::gnome_shell
