#pragma once
// Other applications' windows and the monitors of an X11 desktop, through
// the conventions of EWMH window managers and XRandR. A window's placement is
// its outer frame on the screen with its show state; it is changed by asking
// the window manager, and each change is awaited (within half a second) so
// that what is read right after is the window's real size.
#include <memory>

#include "platform/desktop.h"

namespace platform::x11 {

class X11Desktop final : public platform::Desktop {
public:
    // On a connection of its own to the display (nullptr: $DISPLAY); null
    // when that cannot be reached.
    static std::unique_ptr<X11Desktop> connect(const char* displayName = nullptr);
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    WindowHandle foregroundWindow() override;
    bool getPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool setPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) override;
    // The X server carries out a change without waiting for the window's program.
    bool changePending(WindowHandle) override { return false; }
    std::optional<Rect> windowRectangle(WindowHandle window) override;
    WindowFacts facts(WindowHandle window) override;
    bool answers(WindowHandle window, std::chrono::milliseconds timeout) override;
    std::wstring title(WindowHandle window) override;
    std::optional<Monitor> monitorFor(const Rect& screenRectangle) override;
    Size screenSize() override;
    bool anyMonitorIntersects(const Rect& screenPixels) override;
    void watchPresses(bool watching) override;
    std::optional<std::vector<WindowHandle>> pressedWindows() override;

private:
    class Session;
    explicit X11Desktop(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

}  // namespace platform::x11
