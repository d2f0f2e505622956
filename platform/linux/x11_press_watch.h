#pragma once
// The presses of the pointer's buttons anywhere on the screen, for as long as
// a watch lives: XInput 2 raw events on the root window, which reach a
// program that asks for them whoever holds the pointer, and take nothing
// from anyone. The watch has a connection of its own, read from the main
// loop as soon as something arrives, so that each press is turned into the
// window under the pointer before the user moves on.
#include <X11/Xlib.h>

#include <memory>
#include <vector>

#include "platform/linux/x11_connection.h"

namespace platform::x11 {

class PressWatch {
public:
    // Null where the X server cannot be reached or has no XInput 2.1 (the
    // version from which raw events come during another program's grab).
    static std::unique_ptr<PressWatch> start(const char* displayName);
    ~PressWatch();
    PressWatch(const PressWatch&) = delete;
    PressWatch& operator=(const PressWatch&) = delete;

    // The top-level client windows pressed since the last call, oldest
    // first. A press on no program's window (the bare root, a menu) is
    // left out.
    std::vector<Window> takePressedWindows();

private:
    class MainLoopWatch;
    PressWatch(DisplayConnection connection, int inputOpcode);
    void readArrived();
    Window clientUnderPointer();
    Window clientWithin(Window window);

    DisplayConnection connection_;
    Display* display_;
    int inputOpcode_;
    Atom clientState_;
    std::vector<Window> pressed_;
    std::unique_ptr<MainLoopWatch> mainLoopWatch_;
};

}  // namespace platform::x11
