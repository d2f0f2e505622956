#pragma once
// Arming: a pressed toggle waits for the window the user clicks.
#include "platform/desktop.h"

namespace sizing {

// A pressed toggle (value 1) is caught once another window, or none, is in
// the foreground: the click that the user aimed at the target has landed.
// The foreground is asked for only while the toggle is pressed.
inline bool targetCaught(int toggleValue, platform::Desktop& desktop, platform::WindowHandle ownWindow) {
    return toggleValue == 1 && desktop.foregroundWindow() != ownWindow;
}

// How long after the catch the action fires, in milliseconds.
constexpr int actionDelay = 400;

}  // namespace sizing
