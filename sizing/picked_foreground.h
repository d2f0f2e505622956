#pragma once
// The desktop as the action sees it: where the user's press picked the
// target, the window pressed stands as the foreground window, whatever window
// the focus has followed the pointer to since. Everything else is the
// desktop's own.
#include <optional>

#include "platform/desktop.h"

namespace sizing {

class PickedForeground : public platform::Desktop {
public:
    PickedForeground(platform::Desktop& desktop, std::optional<platform::WindowHandle> pressedWindow)
        : desktop_(desktop), pressedWindow_(pressedWindow) {}

    platform::WindowHandle foregroundWindow() override {
        return pressedWindow_ ? *pressedWindow_ : desktop_.foregroundWindow();
    }
    bool getPlacement(platform::WindowHandle window, platform::WindowPlacement& placement) override {
        return desktop_.getPlacement(window, placement);
    }
    bool setPlacement(platform::WindowHandle window, const platform::WindowPlacement& placement) override {
        return desktop_.setPlacement(window, placement);
    }
    bool showAndMove(platform::WindowHandle window, platform::ShowState showCmd,
                     const platform::Rect& rect) override {
        return desktop_.showAndMove(window, showCmd, rect);
    }
    bool changePending(platform::WindowHandle window) override { return desktop_.changePending(window); }
    std::optional<platform::Rect> windowRectangle(platform::WindowHandle window) override {
        return desktop_.windowRectangle(window);
    }
    platform::WindowFacts facts(platform::WindowHandle window) override { return desktop_.facts(window); }
    bool answers(platform::WindowHandle window, std::chrono::milliseconds timeout) override {
        return desktop_.answers(window, timeout);
    }
    std::wstring title(platform::WindowHandle window) override { return desktop_.title(window); }
    std::optional<platform::Monitor> monitorFor(const platform::Rect& rect) override {
        return desktop_.monitorFor(rect);
    }
    platform::Size screenSize() override { return desktop_.screenSize(); }
    bool anyMonitorIntersects(const platform::Rect& rect) override { return desktop_.anyMonitorIntersects(rect); }
    void watchPresses(bool watching) override { desktop_.watchPresses(watching); }
    std::optional<std::vector<platform::WindowHandle>> pressedWindows() override {
        return desktop_.pressedWindows();
    }

private:
    platform::Desktop& desktop_;
    std::optional<platform::WindowHandle> pressedWindow_;
};

}  // namespace sizing
