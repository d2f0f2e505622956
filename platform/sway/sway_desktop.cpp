#include "platform/sway/sway_desktop.h"

#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/linux/change_wait.h"
#include "platform/linux/monitor_layout.h"
#include "platform/linux/wide_text.h"
#include "platform/sway/change_watch.h"
#include "platform/sway/click_to_focus.h"
#include "platform/sway/ipc_socket.h"
#include "platform/sway/sway_tree.h"

namespace platform::sway {

namespace {

// Sway applies a change once the window's program has drawn its new size,
// or after its own timeout of a fifth of a second: x11::waitForChange covers it.
constexpr std::chrono::milliseconds recentEnough{20};

std::string criteria(WindowHandle window) { return "[con_id=" + std::to_string(window) + "] "; }

std::string sizingCommand(WindowHandle window, const Rect& frame) {
    const std::string w = std::to_string(std::int64_t{frame.right} - frame.left);
    const std::string h = std::to_string(std::int64_t{frame.bottom} - frame.top);
    // The size counts the title bar, and the position is the frame's corner
    // in the layout (without "absolute", it would count from the workspace).
    return criteria(window) + "fullscreen disable, floating enable, resize set width " + w + " px height " + h +
           " px, move absolute position " + std::to_string(frame.left) + " px " + std::to_string(frame.top) +
           " px";
}

// Sway tiles a container again next to the tiled container last focused: one
// of its old neighbours is focused first, so that it comes back to its place.
std::string tilingCommand(WindowHandle window, const Tree& tree, const TiledPlace& place) {
    const auto tiled = [&](WindowHandle id) {
        const Container* c = id != 0 ? tree.find(id) : nullptr;
        return c != nullptr && !c->floating;
    };
    const std::string tile = criteria(window) + "fullscreen disable, floating disable";
    if (tiled(place.previous)) return criteria(place.previous) + "focus; " + tile + ", focus";
    if (tiled(place.next))
        return criteria(place.next) + "focus; " + tile + (place.vertical ? ", move up" : ", move left") +
               ", focus";
    return tile;
}

}  // namespace

class SwayDesktop::Session {
public:
    Session(IpcSocket commands, std::unique_ptr<ChangeWatch> changes)
        : commands_(std::move(commands)), changes_(std::move(changes)) {}

    // As the last events left it: the focus and the programs' ids.
    const Tree* knownTree() {
        if (changes_->treeChanged()) freshTree();
        return tree_ ? &*tree_ : nullptr;
    }

    // Asked anew: Sway sends no event when a floating window is dragged.
    const Tree* freshTree() {
        const std::optional<std::string> reply = commands_.request(MessageType::getTree);
        tree_ = reply ? parsedTree(*reply) : std::nullopt;
        if (tree_) changes_->treeRead();
        readAt_ = std::chrono::steady_clock::now();
        return tree_ ? &*tree_ : nullptr;
    }

    // The steps of one sizing ask about the window one after another; a tree
    // read a moment ago serves them until this program changes a window.
    const Tree* recentTree() {
        if (tree_ && std::chrono::steady_clock::now() - readAt_ < recentEnough) return &*tree_;
        return freshTree();
    }

    const Container* window(WindowHandle id) {
        const Tree* tree = recentTree();
        return tree ? tree->find(id) : nullptr;
    }

    const std::vector<Output>& outputs() {
        if (changes_->outputsChanged()) {
            const std::optional<std::string> reply = commands_.request(MessageType::getOutputs);
            std::optional<std::vector<Output>> read = reply ? parsedOutputs(*reply) : std::nullopt;
            outputs_ = read.value_or(std::vector<Output>{});
            if (read) changes_->outputsRead();
        }
        return outputs_;
    }

    std::vector<Monitor> monitors() {
        const Tree* tree = recentTree();
        return monitorsOf(outputs(), tree ? tree->workspaces : std::vector<Workspace>{});
    }

    // A frame, or the layout again (a rectangle with showMaximized).
    bool place(WindowHandle id, ShowState showCmd, const Rect& frame) {
        const Container* container = window(id);
        if (!container) return false;
        const bool tile = showCmd == showMaximized;
        if (tile == false && (frame.right <= frame.left || frame.bottom <= frame.top)) return false;
        if (!tile && !container->floating) tiledPlaces_[id] = container->place;
        const std::string command = tile ? tilingCommand(id, *tree_, tiledPlaces_[id]) : sizingCommand(id, frame);
        if (tile) tiledPlaces_.erase(id);
        const std::optional<std::string> reply = commands_.request(MessageType::runCommand, command);
        readAt_ = {};
        if (!reply || !commandsSucceeded(*reply)) return false;
        bool gone = false;
        x11::waitForChange([&] {
            const Tree* tree = freshTree();
            const Container* now = tree ? tree->find(id) : nullptr;
            gone = now == nullptr;
            return gone || (tile ? !now->floating : now->floating && now->frame == frame);
        });
        return !gone;
    }

    // A window or workspace event may be a new focus.
    void listenForegroundChanges(std::function<void()> listener) { changes_->listen(std::move(listener)); }

    void watchPresses(bool watching) {
        if (!watching)
            clickToFocus_.reset();
        else if (!clickToFocus_)
            clickToFocus_.emplace(commands_);
    }

private:
    IpcSocket commands_;
    std::unique_ptr<ChangeWatch> changes_;
    std::optional<Tree> tree_;
    std::chrono::steady_clock::time_point readAt_{};
    std::vector<Output> outputs_;
    // Where the tiled containers floated here sat.
    std::map<WindowHandle, TiledPlace> tiledPlaces_;
    // Last, so that the setting goes back while the socket is still open.
    std::optional<ClickToFocus> clickToFocus_;
};

std::unique_ptr<SwayDesktop> SwayDesktop::connect(const std::string& socketPath) {
    std::optional<IpcSocket> commands = IpcSocket::connect(socketPath);
    if (!commands) return nullptr;
    std::unique_ptr<ChangeWatch> changes = ChangeWatch::start(socketPath);
    if (!changes) return nullptr;
    return std::unique_ptr<SwayDesktop>(
        new SwayDesktop(std::make_unique<Session>(std::move(*commands), std::move(changes))));
}

SwayDesktop::SwayDesktop(std::unique_ptr<Session> session) : session_(std::move(session)) {}
SwayDesktop::~SwayDesktop() = default;

WindowHandle SwayDesktop::foregroundWindow() {
    const Tree* tree = session_->knownTree();
    return tree ? tree->focused : 0;
}

bool SwayDesktop::getPlacement(WindowHandle window, WindowPlacement& placement) {
    const Container* container = session_->window(window);
    if (!container) return false;
    placement = placementOnScreen(container->floating && !container->fullscreen ? showNormal : showMaximized,
                                  container->frame);
    return true;
}

bool SwayDesktop::setPlacement(WindowHandle window, const WindowPlacement& placement) {
    return session_->place(window, placement.showCmd, placement.rcNormalPosition);
}

bool SwayDesktop::showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) {
    return session_->place(window, showCmd, screenRectangle);
}

std::optional<Rect> SwayDesktop::windowRectangle(WindowHandle window) {
    const Container* container = session_->window(window);
    if (!container) return std::nullopt;
    return container->frame;
}

// Sway, not the window's program, carries out a change, so a program that
// hangs cannot hang this one.
bool SwayDesktop::answers(WindowHandle window, std::chrono::milliseconds) { return session_->window(window); }

std::wstring SwayDesktop::title(WindowHandle window) {
    const Container* container = session_->window(window);
    return container ? posix::fromUtf8Lossy(container->name) : std::wstring{};
}

std::optional<Monitor> SwayDesktop::monitorFor(const Rect& screenRectangle) {
    return x11::monitorFor(session_->monitors(), screenRectangle);
}

Size SwayDesktop::screenSize() {
    const std::optional<Rect> area = primaryArea(session_->outputs());
    return area ? x11::sizeOf(*area) : Size{};
}

bool SwayDesktop::anyMonitorIntersects(const Rect& screenPixels) {
    return x11::anyMonitorIntersects(session_->monitors(), screenPixels);
}

void SwayDesktop::watchPresses(bool watching) { session_->watchPresses(watching); }

void SwayDesktop::listenForegroundChanges(std::function<void()> listener) {
    session_->listenForegroundChanges(std::move(listener));
}

bool SwayDesktop::ofThisProgram(WindowHandle window) {
    const Tree* tree = session_->knownTree();
    const Container* container = tree ? tree->find(window) : nullptr;
    return container && container->pid == ::getpid();
}

}  // namespace platform::sway
