#pragma once
// Waiting for a change asked of the desktop to show: the window manager or
// compositor applies it within a few milliseconds (a Wayland client once it
// has drawn its new size), or not at all. After half a second the window is
// taken as it stands, so that what is read right after is its real state.
#include <chrono>
#include <thread>

namespace platform::x11 {

constexpr std::chrono::milliseconds changeTimeout{500};

// Looks every 5 ms until the condition holds (true) or the time is up (false).
template <typename Condition>
bool waitForChange(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + changeTimeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds{5});
    }
    return true;
}

}  // namespace platform::x11
