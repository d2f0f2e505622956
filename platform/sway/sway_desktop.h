#pragma once
// Other programs' windows and the outputs of Sway (or a compositor speaking
// its IPC), through its IPC socket. A window is its container: the frame the
// user sees is the container with its title bar, and a tiled container counts
// as maximised, with its place in the layout as its normal rectangle, so that
// a new size floats it and restoring tiles it again. Sway's events, read on
// GLib's main loop, keep the focus and the outputs known without asking.
#include <memory>
#include <string>

#include "platform/desktop.h"

namespace platform::sway {

class SwayDesktop final : public platform::Desktop {
public:
    // Null when the socket cannot be reached or sends no events.
    static std::unique_ptr<SwayDesktop> connect(const std::string& socketPath);
    ~SwayDesktop() override;
    SwayDesktop(const SwayDesktop&) = delete;
    SwayDesktop& operator=(const SwayDesktop&) = delete;

    WindowHandle foregroundWindow() override;
    bool getPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool setPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) override;
    // Sway applies a change itself once the window's program answers, or
    // after its own short timeout; what it reports is what it applied.
    bool changePending(WindowHandle) override { return false; }
    std::optional<Rect> windowRectangle(WindowHandle window) override;
    // Sway's tree holds only windows: panels and backgrounds are layers
    // beside it.
    WindowFacts facts(WindowHandle) override { return {}; }
    bool answers(WindowHandle window, std::chrono::milliseconds timeout) override;
    std::wstring title(WindowHandle window) override;
    std::optional<Monitor> monitorFor(const Rect& screenRectangle) override;
    Size screenSize() override;
    bool anyMonitorIntersects(const Rect& screenPixels) override;
    void watchPresses(bool watching) override;
    bool ofThisProgram(WindowHandle window) override;
    void listenForegroundChanges(std::function<void()> listener) override;

private:
    class Session;
    explicit SwayDesktop(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

}  // namespace platform::sway
