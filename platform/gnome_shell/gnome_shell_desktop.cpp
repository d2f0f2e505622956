#include "platform/gnome_shell/gnome_shell_desktop.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <utility>

#include "platform/gnome_shell/extension_bus.h"
#include "platform/linux/change_wait.h"
#include "platform/linux/monitor_layout.h"
#include "platform/linux/wide_text.h"
#include "platform/window_handles.h"

namespace platform::gnome_shell {

namespace {

// One sizing asks for the same window's facts, frame and title several times
// within a few milliseconds: one answer serves them all for this long.
constexpr std::chrono::milliseconds answerLifetime{50};

// A window as the extension reported it, checked.
struct ShellWindow {
    std::wstring title;
    std::uint32_t pid = 0;
    WindowKind kind = WindowKind::ordinary;
    ShowState state = showNormal;
    Rect frame;
};

std::optional<ShellWindow> checked(const WindowReply& reply) {
    const std::optional<WindowKind> kind = kindNamed(reply.kind);
    const std::optional<ShowState> state = stateNamed(reply.state);
    const std::optional<Rect> frame = rectangleFrom(reply.frame);
    if (!kind || !state || !frame) return std::nullopt;
    return ShellWindow{posix::fromUtf8Lossy(reply.title), reply.pid, *kind, *state, *frame};
}

class GnomeShellDesktop final : public Desktop {
public:
    // The extension is connected afterwards: its events refer to this object.
    GnomeShellDesktop() = default;

    bool connect(std::wstring& refusal) {
        WatchReply first;
        ExtensionEvents events{
            [this](const Focus& focus) { takeFocus(focus); },
            [this](const MonitorReply& monitors) { takeMonitors(monitors); },
            [this](const WatchReply& reply) { takeAll(reply); },
            [this] {
                focus_ = 0;
                recent_.reset();
            },
        };
        extension_ = ExtensionBus::connect(std::move(events), first, refusal);
        if (!extension_) return false;
        takeAll(first);
        if (!layout_) {
            refusal = L"GNOME Shell reported no monitors that Ambrisk 2 can work with.";
            return false;
        }
        return true;
    }

    WindowHandle foregroundWindow() override { return focus_; }

    bool getPlacement(WindowHandle window, WindowPlacement& placement) override {
        const std::optional<ShellWindow> found = read(window);
        if (!found) return false;
        placement = placementOnScreen(found->state, found->frame);
        return true;
    }

    bool setPlacement(WindowHandle window, const WindowPlacement& placement) override {
        return place(window, placement.showCmd, placement.rcNormalPosition);
    }

    bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) override {
        return place(window, showCmd, screenRectangle);
    }

    // The shell applies a change at once; a client that does not draw keeps
    // its old size, which the size read back then shows.
    bool changePending(WindowHandle) override { return false; }

    std::optional<Rect> windowRectangle(WindowHandle window) override {
        const std::optional<ShellWindow> found = read(window);
        return found ? std::optional<Rect>(found->frame) : std::nullopt;
    }

    // The frame GNOME reports is the one the user sees: no margins.
    WindowFacts facts(WindowHandle window) override {
        WindowFacts facts;
        if (const std::optional<ShellWindow> found = read(window)) facts.kind = found->kind;
        return facts;
    }

    // The shell moves a window without waiting for its program.
    bool answers(WindowHandle window, std::chrono::milliseconds) override { return read(window).has_value(); }

    std::wstring title(WindowHandle window) override {
        const std::optional<ShellWindow> found = read(window);
        return found ? found->title : std::wstring();
    }

    std::optional<Monitor> monitorFor(const Rect& screenRectangle) override {
        return layout_ ? x11::monitorFor(layout_->monitors, screenRectangle) : std::nullopt;
    }

    Size screenSize() override { return layout_ ? x11::sizeOf(layout_->monitors[layout_->primary].area) : Size{}; }

    bool anyMonitorIntersects(const Rect& screenPixels) override {
        return layout_ && x11::anyMonitorIntersects(layout_->monitors, screenPixels);
    }

    // While a toggle is down, the windows that take the focus stand for the
    // windows clicked, as GNOME gives the focus to the window clicked. The
    // focus last heard of when the toggle went down does not count: the shell
    // tells of a change a moment after it, so that may still be the window
    // that had the focus before the click on this program's own window.
    void watchPresses(bool watching) override {
        watching_ = watching;
        focusTaken_.clear();
    }

    std::optional<std::vector<WindowHandle>> pressedWindows() override {
        if (!watching_) return std::nullopt;
        return std::exchange(focusTaken_, {});
    }

    void listenForegroundChanges(std::function<void()> listener) override {
        foregroundListener_ = std::move(listener);
    }

    bool ofThisProgram(WindowHandle window) override {
        const auto known = pids_.find(window);
        return known != pids_.end() && known->second == ownPid_;
    }

private:
    std::optional<std::uint64_t> idOf(WindowHandle window) const {
        const std::string* id = handles_.idOf(window);
        std::uint64_t value = 0;
        if (!id || std::from_chars(id->data(), id->data() + id->size(), value).ec != std::errc())
            return std::nullopt;
        return value;
    }

    WindowHandle handleOf(std::uint64_t id) { return id == 0 ? 0 : handles_.handleFor(std::to_string(id)); }

    std::optional<ShellWindow> read(WindowHandle window) {
        const auto now = std::chrono::steady_clock::now();
        if (recent_ && recent_->window == window && now - recent_->at < answerLifetime) return recent_->found;
        return readAnew(window);
    }

    std::optional<ShellWindow> readAnew(WindowHandle window) {
        recent_.reset();
        const std::optional<std::uint64_t> id = idOf(window);
        if (!id) return std::nullopt;
        const std::optional<WindowReply> reply = extension_->window(*id);
        if (!reply) return std::nullopt;
        std::optional<ShellWindow> found = checked(*reply);
        if (found) pids_[window] = found->pid;
        recent_ = RecentAnswer{window, std::chrono::steady_clock::now(), found};
        return found;
    }

    // The shell places the frame at once, but a Wayland client takes the
    // size when it next draws: the frame is read back until it is the one
    // asked for, in the state asked for.
    bool place(WindowHandle window, ShowState state, const Rect& frame) {
        const std::optional<std::uint64_t> id = idOf(window);
        const std::optional<ShellRectangle> asked = shellRectangleOf(frame);
        recent_.reset();
        if (!id || !asked || !extension_->place(*id, stateName(state), *asked)) return false;
        const ShowState wanted = state == showRestore ? showNormal : state;
        // A program that keeps a size of its own: the size read back tells.
        bool gone = false;
        x11::waitForChange([&] {
            const std::optional<ShellWindow> now = readAnew(window);
            gone = !now;
            return gone || (now->state == wanted &&
                            (wanted == showMinimized || now->frame == settledFrame(wanted, frame)));
        });
        return !gone;
    }

    // The frame a window has once its program has taken the state: the one
    // asked for, or a maximised window's work area.
    Rect settledFrame(ShowState state, const Rect& asked) {
        if (state != showMaximized) return asked;
        const std::optional<Monitor> monitor = monitorFor(asked);
        return monitor ? monitor->workArea : asked;
    }

    void takeFocus(const Focus& focus) {
        recent_.reset();
        focus_ = handleOf(focus.window);
        if (focus_ == 0) return;
        pids_[focus_] = focus.pid;
        if (watching_) focusTaken_.push_back(focus_);
        if (foregroundListener_) foregroundListener_();
    }

    void takeMonitors(const MonitorReply& reply) {
        // A layout that makes no sense leaves the last good one in place.
        if (std::optional<MonitorLayout> layout = monitorLayoutFrom(reply.primary, reply.values))
            layout_ = std::move(layout);
    }

    void takeAll(const WatchReply& reply) {
        takeFocus(reply.focus);
        takeMonitors(reply.monitors);
    }

    struct RecentAnswer {
        WindowHandle window;
        std::chrono::steady_clock::time_point at;
        std::optional<ShellWindow> found;
    };

    std::unique_ptr<ExtensionBus> extension_;
    std::optional<RecentAnswer> recent_;
    WindowHandles handles_;
    std::map<WindowHandle, std::uint32_t> pids_;
    const std::uint32_t ownPid_ = static_cast<std::uint32_t>(getpid());
    WindowHandle focus_ = 0;
    bool watching_ = false;
    std::vector<WindowHandle> focusTaken_;
    std::function<void()> foregroundListener_;
    std::optional<MonitorLayout> layout_;
};

}  // namespace

GnomeShellConnection connectGnomeShell() {
    auto desktop = std::make_unique<GnomeShellDesktop>();
    std::wstring refusal;
    if (!desktop->connect(refusal)) return {nullptr, refusal};
    return {std::move(desktop), {}};
}

}  // namespace platform::gnome_shell
