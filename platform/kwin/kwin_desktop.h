#pragma once
// Other applications' windows in a KDE Plasma session on Wayland, through a
// script that this program loads into KWin for its run and unloads when the
// desktop goes. The script reports the active window and the outputs as they
// change, so that the program's tick reads them from what it last heard,
// without a call; what the program wants to know of a window, or to change,
// is a command answered to the script's standing question.
#include <memory>
#include <string>

#include "platform/desktop.h"

namespace platform::kwin {

class KWinDesktop final : public platform::Desktop {
public:
    struct Connection {
        std::unique_ptr<KWinDesktop> desktop;
        std::wstring refusal;  // why there is none, in a sentence for the user
    };
    static Connection connect();
    ~KWinDesktop() override;
    KWinDesktop(const KWinDesktop&) = delete;
    KWinDesktop& operator=(const KWinDesktop&) = delete;

    WindowHandle foregroundWindow() override;
    bool getPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool setPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) override;
    bool changePending(WindowHandle window) override;
    std::optional<Rect> windowRectangle(WindowHandle window) override;
    WindowFacts facts(WindowHandle window) override;
    bool answers(WindowHandle window, std::chrono::milliseconds timeout) override;
    std::wstring title(WindowHandle window) override;
    std::optional<Monitor> monitorFor(const Rect& screenRectangle) override;
    Size screenSize() override;
    bool anyMonitorIntersects(const Rect& screenPixels) override;
    bool ofThisProgram(WindowHandle window) override;
    // There is no watch on presses: a toggle is caught by the window that
    // becomes active, heard at once while the toggle is down.
    void watchPresses(bool watching) override;
    void listenForegroundChanges(std::function<void()> listener) override;

private:
    class Session;
    explicit KWinDesktop(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

}  // namespace platform::kwin
