#include "platform/kwin/kwin_desktop.h"

#include <glib.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <map>
#include <optional>
#include <set>

#include "platform/kwin/kwin_scripting.h"
#include "platform/kwin/script_channel.h"
#include "platform/linux/change_wait.h"
#include "platform/linux/monitor_layout.h"
#include "platform/linux/wide_text.h"
#include "platform/window_handles.h"

namespace platform::kwin {

namespace {

// A loaded script answers within milliseconds; a second means KWin is stuck.
constexpr std::chrono::milliseconds answerTimeout{1000};
// A script that has not reported by then was not run.
constexpr std::chrono::milliseconds firstNewsTimeout{300};
// The script asks again within milliseconds of an answer; longer means its
// question was lost.
constexpr std::chrono::milliseconds questionTimeout{200};

constexpr const char* scriptName = "ambrisk2-kwin.js";

// The shipped script: beside the program in the build tree, in the shared
// data folder once installed.
std::optional<std::string> shippedScript() {
    gchar* exe = g_file_read_link("/proc/self/exe", nullptr);
    if (exe == nullptr) return std::nullopt;
    gchar* folder = g_path_get_dirname(exe);
    g_free(exe);
    std::optional<std::string> text;
    for (const char* place : {".", "../share/ambrisk2/kwin"}) {
        gchar* path = g_build_filename(folder, place, scriptName, nullptr);
        gchar* contents = nullptr;
        gsize length = 0;
        if (g_file_get_contents(path, &contents, &length, nullptr)) text = std::string(contents, length);
        g_free(contents);
        g_free(path);
        if (text) break;
    }
    g_free(folder);
    return text;
}

bool reached(const ScriptWindow& window, ShowState show, const Rect& frame) {
    if (show == showMaximized) return window.state == showMaximized;
    const ShowState wanted = show == showMinimized ? showMinimized : showNormal;
    return window.state == wanted && window.frame == frame;
}

}  // namespace

class KWinDesktop::Session {
public:
    explicit Session(std::string shipped) : shipped_(std::move(shipped)) {}
    ~Session() { watchActivations(false); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void listen(std::function<void()> listener) { listener_ = std::move(listener); }

    // While a toggle is down the reports are taken every 10 ms, from the
    // channel's own context (no call to anyone), so that a window the user
    // activates is caught at once rather than at the next tick.
    void watchActivations(bool watching) {
        if (watching && poll_ == 0) poll_ = g_timeout_add(armedPollMilliseconds, onArmedPoll, this);
        if (!watching && poll_ != 0) g_source_remove(std::exchange(poll_, 0));
    }

    std::wstring open() {
        const std::wstring cannot = L" so Ambrisk 2 cannot size windows in this KDE Plasma session.";
        channel_ = ScriptChannel::open([this](const ScriptReport& report) { take(report); });
        if (!channel_) return L"KWin cannot be reached on the session bus," + cannot;
        std::optional<ScriptFolder> folder = ScriptFolder::make();
        if (!folder)
            return L"There is no private folder for Ambrisk 2's KWin script in the user's runtime folder," +
                   cannot;
        scripting_.emplace(channel_->bus(), std::move(*folder));
        switch (startScript()) {
            case LoadFailure::none: return {};
            case LoadFailure::unreachable: return L"KWin's scripting interface cannot be reached," + cannot;
            case LoadFailure::refused: return L"KWin did not load or run Ambrisk 2's script," + cannot;
            case LoadFailure::notWritten: break;
        }
        return L"Ambrisk 2's KWin script could not be written to the user's runtime folder," + cannot;
    }

    void takeArrived() { channel_->takeArrived(); }

    WindowHandle active() {
        takeArrived();
        return handles_.handleFor(activeId_);
    }

    const std::vector<Monitor>& monitors() {
        takeArrived();
        return monitors_;
    }

    // The window as KWin has it now; nullptr when it is gone.
    const ScriptWindow* query(WindowHandle handle) {
        const std::string* id = handles_.idOf(handle);
        if (id == nullptr) return nullptr;
        return ask({CommandKind::query, 0, *id, showNormal, {}}) ? known(*id) : nullptr;
    }

    // What was last heard of the window, asked for when nothing was.
    const ScriptWindow* recent(WindowHandle handle) {
        const std::string* id = handles_.idOf(handle);
        if (id == nullptr) return nullptr;
        const ScriptWindow* window = known(*id);
        return window ? window : query(handle);
    }

    // Gives the window the show state and frame, and waits until it has them.
    bool place(WindowHandle handle, ShowState show, const Rect& frame) {
        const std::string* id = handles_.idOf(handle);
        if (id == nullptr) return false;
        if (!ask({CommandKind::apply, 0, *id, show, frame}) || !known(*id)) return false;
        const bool settled = channel_->waitUntil([&] { return known(*id) && reached(*known(*id), show, frame); },
                                                 x11::changeTimeout);
        channel_->command(*commandText({CommandKind::forget, 0, {}, showNormal, {}}), answerTimeout);
        // Only a window whose program has not answered at all is waited for;
        // one that answered with a size of its own has what it will have.
        if (settled || answersToLast_ > 1)
            pending_.erase(*id);
        else
            pending_.insert(*id);
        return known(*id) != nullptr;
    }

    bool pending(WindowHandle handle) {
        const std::string* id = handles_.idOf(handle);
        return id != nullptr && pending_.count(*id) != 0;
    }

private:
    static constexpr guint armedPollMilliseconds = 10;

    static gboolean onArmedPoll(gpointer self) {
        auto* session = static_cast<Session*>(self);
        session->takeArrived();
        // The listener may release the toggle, which ends this poll.
        if (std::exchange(session->activeChanged_, false) && session->listener_) session->listener_();
        return G_SOURCE_CONTINUE;
    }

    const ScriptWindow* known(const std::string& id) const {
        const auto found = windows_.find(id);
        return found == windows_.end() ? nullptr : &found->second;
    }

    // Loads the script (again, after its chain of questions broke off) and
    // waits for its first news.
    LoadFailure startScript() {
        script_.reset();
        heardNews_ = false;
        if (!channel_->followKWin()) return LoadFailure::unreachable;
        const std::optional<std::string> text = scriptText(shipped_, channel_->callBack());
        if (!text) return LoadFailure::refused;
        LoadOutcome outcome = scripting_->load(*text);
        script_ = std::move(outcome.script);
        if (!script_) return outcome.failure;
        const auto heard = [this] { return heardNews_; };
        if (channel_->waitUntil(heard, firstNewsTimeout)) return LoadFailure::none;
        // KWin numbers a script by how many scripts are loaded, so after one
        // of them was unloaded the number may be in use already, and the
        // call to run goes to that script. KWin's own start runs ours.
        scripting_->runAllLoaded();
        if (!channel_->waitUntil(heard, answerTimeout)) return LoadFailure::refused;
        return LoadFailure::none;
    }

    // Hands the script the command and waits for its first answer; false
    // when none comes.
    bool ask(ScriptCommand command) {
        command.serial = ++lastSerial_;
        answersToLast_ = 0;
        const std::optional<std::string> text = commandText(command);
        if (!text) return false;
        if (!channel_->command(*text, questionTimeout)) {
            // KWin let the script's question time out (this program was
            // stopped for longer than that): the chain starts anew.
            if (startScript() != LoadFailure::none || !channel_->command(*text, answerTimeout)) return false;
        }
        if (!channel_->waitUntil([this] { return answersToLast_ > 0; }, answerTimeout)) return false;
        if (!lastAnswerHadWindow_) windows_.erase(command.windowId);
        return true;
    }

    void take(const ScriptReport& report) {
        if (report.activeId != activeId_) activeChanged_ = true;
        activeId_ = report.activeId;
        if (!report.monitors.empty()) monitors_ = report.monitors;
        if (report.window) windows_[report.window->id] = *report.window;
        if (report.serial == 0) heardNews_ = true;
        if (report.serial != 0 && report.serial == lastSerial_) {
            ++answersToLast_;
            lastAnswerHadWindow_ = report.window.has_value();
        }
    }

    // What the reports told; declared before the channel, whose handler
    // writes them, so that they outlive it.
    std::string activeId_;
    std::vector<Monitor> monitors_;
    std::map<std::string, ScriptWindow> windows_;
    std::set<std::string> pending_;
    WindowHandles handles_;
    bool heardNews_ = false;
    std::uint32_t lastSerial_ = 0;
    unsigned answersToLast_ = 0;
    bool lastAnswerHadWindow_ = false;
    bool activeChanged_ = false;
    std::function<void()> listener_;
    guint poll_ = 0;

    std::string shipped_;
    std::unique_ptr<ScriptChannel> channel_;
    std::optional<KWinScripting> scripting_;
    std::unique_ptr<LoadedScript> script_;
};

KWinDesktop::Connection KWinDesktop::connect() {
    std::optional<std::string> shipped = shippedScript();
    if (!shipped)
        return {nullptr,
                L"Ambrisk 2's KWin script (ambrisk2-kwin.js) is missing, so Ambrisk 2 cannot size windows "
                L"in this KDE Plasma session. Reinstalling Ambrisk 2 brings it back."};
    auto session = std::make_unique<Session>(std::move(*shipped));
    std::wstring refusal = session->open();
    if (!refusal.empty()) return {nullptr, std::move(refusal)};
    return {std::unique_ptr<KWinDesktop>(new KWinDesktop(std::move(session))), {}};
}

KWinDesktop::KWinDesktop(std::unique_ptr<Session> session) : session_(std::move(session)) {}
KWinDesktop::~KWinDesktop() = default;

WindowHandle KWinDesktop::foregroundWindow() { return session_->active(); }

bool KWinDesktop::getPlacement(WindowHandle window, WindowPlacement& placement) {
    const ScriptWindow* now = session_->query(window);
    if (now == nullptr) return false;
    placement = placementOnScreen(now->state, now->frame);
    return true;
}

bool KWinDesktop::setPlacement(WindowHandle window, const WindowPlacement& placement) {
    return session_->place(window, placement.showCmd, placement.rcNormalPosition);
}

bool KWinDesktop::showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) {
    return session_->place(window, showCmd, screenRectangle);
}

bool KWinDesktop::changePending(WindowHandle window) { return session_->pending(window); }

// Asked right after the placement, whose answer it reuses.
std::optional<Rect> KWinDesktop::windowRectangle(WindowHandle window) {
    const ScriptWindow* known = session_->recent(window);
    if (known == nullptr) return std::nullopt;
    return known->frame;
}

WindowFacts KWinDesktop::facts(WindowHandle window) {
    WindowFacts facts;
    if (const ScriptWindow* known = session_->recent(window)) facts.kind = known->kind;
    return facts;
}

// KWin changes a window without waiting for its program, so only a window
// that is gone keeps a change from being made; asked right after the
// placement, which tells that.
bool KWinDesktop::answers(WindowHandle window, std::chrono::milliseconds) {
    return session_->recent(window) != nullptr;
}

std::wstring KWinDesktop::title(WindowHandle window) {
    const ScriptWindow* known = session_->recent(window);
    return known ? posix::fromUtf8Lossy(known->caption) : std::wstring();
}

std::optional<Monitor> KWinDesktop::monitorFor(const Rect& screenRectangle) {
    return x11::monitorFor(session_->monitors(), screenRectangle);
}

Size KWinDesktop::screenSize() {
    const std::vector<Monitor>& monitors = session_->monitors();
    // The first output stands for the primary one.
    return monitors.empty() ? Size{} : x11::sizeOf(monitors.front().area);
}

bool KWinDesktop::anyMonitorIntersects(const Rect& screenPixels) {
    return x11::anyMonitorIntersects(session_->monitors(), screenPixels);
}

void KWinDesktop::watchPresses(bool watching) { session_->watchActivations(watching); }

void KWinDesktop::listenForegroundChanges(std::function<void()> listener) { session_->listen(std::move(listener)); }

bool KWinDesktop::ofThisProgram(WindowHandle window) {
    session_->takeArrived();
    const ScriptWindow* known = session_->recent(window);
    return known != nullptr && known->pid == getpid();
}

}  // namespace platform::kwin
