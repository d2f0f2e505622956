#pragma once
// Arming: a pressed toggle waits for the window the user clicks.
#include <optional>
#include <vector>

#include "platform/desktop.h"

namespace sizing {

// This program's own windows never catch a toggle nor are acted on: the one
// its view was made with, and those its desktop knows to be its own.
inline bool isOwnWindow(platform::Desktop& desktop, platform::WindowHandle window, platform::WindowHandle ownWindow) {
    return window == ownWindow || desktop.ofThisProgram(window);
}

// What a pressed toggle caught: the window the user pressed, where the
// desktop watches presses; otherwise nullopt, and the action takes the
// foreground window of its moment.
struct Catch {
    std::optional<platform::WindowHandle> pressedWindow;
};

// A pressed toggle (value 1) is caught by the first press on a window other
// than this program's own, where presses are watched; elsewhere once another
// window, or none, is in the foreground: the click that the user aimed at the
// target has landed. The desktop is asked only while the toggle is pressed.
inline std::optional<Catch> caughtTarget(int toggleValue, platform::Desktop& desktop,
                                         platform::WindowHandle ownWindow) {
    if (toggleValue != 1) return std::nullopt;
    const std::optional<std::vector<platform::WindowHandle>> pressed = desktop.pressedWindows();
    if (!pressed) {
        if (!isOwnWindow(desktop, desktop.foregroundWindow(), ownWindow)) return Catch{};
        return std::nullopt;
    }
    for (const platform::WindowHandle window : *pressed)
        if (!isOwnWindow(desktop, window, ownWindow)) return Catch{window};
    // A click on a window beyond the desktop's reach (a Wayland window seen
    // from XWayland) shows only in the foreground.
    if (desktop.foregroundWindow() == platform::unreachableWindow) return Catch{};
    return std::nullopt;
}

// Presses are watched only while a toggle is pressed.
inline void watchPressesWhileArmed(platform::Desktop& desktop, int sizingToggle, int restoreToggle) {
    desktop.watchPresses(sizingToggle == 1 || restoreToggle == 1);
}

// How long after the catch the action fires, in milliseconds.
constexpr int actionDelay = 400;

}  // namespace sizing
