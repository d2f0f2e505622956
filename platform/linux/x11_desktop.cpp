#include "platform/linux/x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/linux/change_wait.h"
#include "platform/linux/frame_geometry.h"
#include "platform/linux/monitor_layout.h"
#include "platform/linux/wide_text.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_monitors.h"
#include "platform/linux/x11_press_watch.h"
#include "platform/linux/x11_size_hints.h"

namespace platform::x11 {

namespace {

// The window manager's messages take the kind of program asking: 2 is a
// pager or tool acting for the user, which window managers obey.
constexpr long userTool = 2;
constexpr long removeState = 0, addState = 1;

struct WindowState {
    bool maximizedVert = false, maximizedHorz = false, hidden = false, fullscreen = false;
    bool maximized() const { return maximizedVert && maximizedHorz; }
    // Each of these keeps the window from taking a size of its own.
    bool filling() const { return maximizedVert || maximizedHorz || fullscreen; }
};

}  // namespace

namespace {

// Newer XWayland servers have an extension of that name; older ones only
// name their outputs after it.
bool isXWayland(Display* display) {
    int opcode, event, error;
    if (XQueryExtension(display, "XWAYLAND", &opcode, &event, &error)) return true;
    if (!XQueryExtension(display, "RANDR", &opcode, &event, &error)) return false;
    const std::unique_ptr<XRRScreenResources, decltype(&XRRFreeScreenResources)> resources(
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)), &XRRFreeScreenResources);
    if (!resources) return false;
    for (int i = 0; i < resources->noutput; ++i) {
        const std::unique_ptr<XRROutputInfo, decltype(&XRRFreeOutputInfo)> output(
            XRRGetOutputInfo(display, resources.get(), resources->outputs[i]), &XRRFreeOutputInfo);
        if (output && std::string_view(output->name, static_cast<std::size_t>(output->nameLen)).starts_with("XWAYLAND"))
            return true;
    }
    return false;
}

}  // namespace

class X11Desktop::Session {
public:
    explicit Session(DisplayConnection connection)
        : connection_(std::move(connection)),
          display_(connection_.get()),
          root_(DefaultRootWindow(display_)),
          atoms_(internAtoms(display_)),
          monitors_(display_, atoms_) {}

    Monitors& monitors() { return monitors_; }

    // A watch of its own connection, for as long as presses are watched.
    void watchPresses(bool watching) {
        if (!watching)
            presses_.reset();
        else if (!presses_)
            presses_ = PressWatch::start(DisplayString(display_));
    }
    PressWatch* presses() { return presses_.get(); }

    Window activeWindow() {
        const auto active = longsProperty(display_, root_, atoms_.activeWindow, XA_WINDOW);
        return active && !active->empty() ? static_cast<Window>((*active)[0]) : None;
    }

    // XWayland's window manager reports no active X window while a Wayland
    // window has the focus. Asked only then, so start-up makes no such request.
    bool activeIsBeyondX() {
        if (!xwayland_) xwayland_ = isXWayland(display_);
        return *xwayland_;
    }

    std::optional<ClientGeometry> clientGeometry(Window window) {
        Window root, child;
        int x, y, rootX, rootY;
        unsigned width, height, border, depth;
        if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth)) return std::nullopt;
        if (!XTranslateCoordinates(display_, window, root_, 0, 0, &rootX, &rootY, &child)) return std::nullopt;
        return ClientGeometry{{rootX, rootY},
                              {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)},
                              static_cast<std::int32_t>(border)};
    }

    bool announcesFrame(Window window) {
        return longsProperty(display_, window, atoms_.frameExtents, XA_CARDINAL).has_value();
    }

    FrameExtents extents(Window window) {
        if (const auto announced = longsProperty(display_, window, atoms_.frameExtents, XA_CARDINAL))
            return frameExtentsFrom(*announced);
        // A window manager that announces no frame (i3) still puts the
        // client in a window of its own: its ancestor just below the root.
        const Window frame = topLevelAncestor(window);
        if (frame == None || frame == window) return {};
        const std::optional<ClientGeometry> client = clientGeometry(window);
        const std::optional<Rect> around = outerRectangleOf(frame);
        return client && around ? extentsAround(*client, *around) : FrameExtents{};
    }

    std::optional<Rect> outerFrame(Window window) {
        const std::optional<ClientGeometry> client = clientGeometry(window);
        if (!client) return std::nullopt;
        return outerRectangle(*client, extents(window));
    }

    std::optional<WindowState> state(Window window) {
        // A window without the property is in no special state; one that is
        // gone has no attributes either.
        const auto atoms = longsProperty(display_, window, atoms_.wmState, XA_ATOM);
        if (!atoms && !exists(window)) return std::nullopt;
        WindowState state;
        for (const long atom : atoms.value_or(std::vector<long>{})) {
            const Atom a = static_cast<Atom>(atom);
            state.maximizedVert |= a == atoms_.maximizedVert;
            state.maximizedHorz |= a == atoms_.maximizedHorz;
            state.hidden |= a == atoms_.hidden;
            state.fullscreen |= a == atoms_.fullscreen;
        }
        return state;
    }

    bool exists(Window window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window, &attributes) != 0;
    }

    WindowFacts facts(Window window) {
        WindowFacts facts;
        const auto types = longsProperty(display_, window, atoms_.windowType, XA_ATOM);
        for (const long type : types.value_or(std::vector<long>{})) {
            const Atom a = static_cast<Atom>(type);
            // A floating palette or toolbar.
            facts.toolWindow |= a == atoms_.typeUtility || a == atoms_.typeToolbar;
            if (facts.kind != WindowKind::ordinary) continue;
            if (a == atoms_.typeDesktop) facts.kind = WindowKind::desktop;
            if (a == atoms_.typeDock) facts.kind = WindowKind::panel;
        }
        const auto shadow = longsProperty(display_, window, atoms_.gtkFrameExtents, XA_CARDINAL);
        const std::optional<ClientGeometry> client = clientGeometry(window);
        if (shadow && client) facts.invisibleMargins = clientMarginsFrom(*shadow, client->size);
        return facts;
    }

    std::wstring title(Window window) {
        if (const auto name = bytesProperty(display_, window, atoms_.wmName, atoms_.utf8String))
            return posix::fromUtf8Lossy(*name);
        // The older name, in whatever encoding its program chose; Xlib turns
        // it into UTF-8.
        std::string name;
        XTextProperty property{};
        if (XGetWMName(display_, window, &property) && property.value) {
            const std::unique_ptr<unsigned char, XFreeDeleter> value(property.value);
            char** list = nullptr;
            int count = 0;
            if (Xutf8TextPropertyToTextList(display_, &property, &list, &count) >= Success && list) {
                if (count > 0 && list[0]) name = list[0];
                XFreeStringList(list);
            }
        }
        return posix::fromUtf8Lossy(name);
    }

    // Leaves a minimised, maximised or full-screen state, moves and sizes
    // the frame, then takes the show state asked for.
    bool place(Window window, ShowState showCmd, const Rect& outer) {
        const std::optional<WindowState> now = state(window);
        if (!now) return false;
        if (now->hidden) {
            // EWMH leaves the hidden state to the window manager; activating
            // the window is how a pager brings it back.
            sendToWindowManager(display_, window, atoms_.activeWindow, {userTool, CurrentTime, 0, 0, 0});
            waitForState(window, [](const WindowState& s) { return !s.hidden; });
        }
        if (now->filling()) {
            if (now->fullscreen) setState(window, removeState, atoms_.fullscreen, None);
            setState(window, removeState, atoms_.maximizedVert, atoms_.maximizedHorz);
            waitForState(window, [](const WindowState& s) { return !s.filling(); });
        }
        if (!moveFrame(window, outer)) return false;
        if (showCmd == showMaximized) {
            setState(window, addState, atoms_.maximizedVert, atoms_.maximizedHorz);
            waitForState(window, [](const WindowState& s) { return s.maximized(); });
        } else if (showCmd == showMinimized) {
            XIconifyWindow(display_, window, DefaultScreen(display_));
            waitForState(window, [](const WindowState& s) { return s.hidden; });
        }
        return exists(window);
    }

private:
    // The window's ancestor that is a child of the root; None when the
    // window is gone.
    Window topLevelAncestor(Window window) {
        for (;;) {
            Window root, parent, *children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return None;
            const std::unique_ptr<Window, XFreeDeleter> owned(children);
            if (parent == root_ || parent == None) return window;
            window = parent;
        }
    }

    std::optional<Rect> outerRectangleOf(Window window) {
        Window root;
        int x, y;
        unsigned width, height, border, depth;
        if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth)) return std::nullopt;
        return Rect{x, y, static_cast<std::int32_t>(std::int64_t{x} + width + 2 * border),
                    static_cast<std::int32_t>(std::int64_t{y} + height + 2 * border)};
    }

    // Until the window is in the state wanted, or gone.
    template <typename Wanted>
    void waitForState(Window window, Wanted wanted) {
        waitForChange([&] {
            const std::optional<WindowState> s = state(window);
            return !s || wanted(*s);
        });
    }

    void setState(Window window, long action, Atom first, Atom second) {
        sendToWindowManager(display_, window, atoms_.wmState,
                            {action, static_cast<long>(first), static_cast<long>(second), userTool, 0});
    }

    bool supports(Atom feature) {
        const auto supported = longsProperty(display_, root_, atoms_.supported, XA_ATOM);
        const std::vector<long> list = supported.value_or(std::vector<long>{});
        return std::find(list.begin(), list.end(), static_cast<long>(feature)) != list.end();
    }

    // Asks for the frame's outer rectangle and waits until the window has it.
    // A window manager may change the frame itself when the limits change (a
    // window that becomes resizable gets handles): then the client's size is
    // worked out again from the new frame.
    bool moveFrame(Window window, const Rect& outer) {
        const std::optional<ClientGeometry> client = clientGeometry(window);
        if (!client) return false;
        FrameExtents used = extents(window);
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!requestFrame(window, outer, used, client->borderWidth)) return false;
            const FrameExtents now = extents(window);
            if (now == used) break;
            used = now;
        }
        return true;
    }

    bool requestFrame(Window window, const Rect& outer, const FrameExtents& frame, std::int32_t border) {
        const FramePlacement target = framePlacement(outer, frame, border);
        allowClientSize(display_, window, target.clientSize);
        const Point client{target.frameOrigin.x + frame.left + border, target.frameOrigin.y + frame.top + border};
        if (supports(atoms_.moveResizeWindow)) {
            // North-west gravity: the position is the frame's outer corner,
            // the size the client's. A window manager that announces no frame
            // (i3) takes the position as the client's own, whatever the
            // gravity: static gravity says just that.
            const bool announced = announcesFrame(window);
            const long gravity = announced ? NorthWestGravity : StaticGravity;
            const Point at = announced ? target.frameOrigin : Point{client.x - border, client.y - border};
            constexpr long allFour = 0xF << 8;
            sendToWindowManager(display_, window, atoms_.moveResizeWindow,
                                {gravity | allFour | (userTool << 12), at.x, at.y, target.clientSize.width,
                                 target.clientSize.height});
        } else {
            // No window manager that takes the request: the window is moved
            // itself, its client where the frame would put it.
            XMoveResizeWindow(display_, window, client.x - border, client.y - border,
                              static_cast<unsigned>(target.clientSize.width),
                              static_cast<unsigned>(target.clientSize.height));
        }
        const Rect expected = outerRectangle({client, target.clientSize, border}, frame);
        bool gone = false;
        waitForChange([&] {
            const std::optional<Rect> now = outerFrame(window);
            gone = !now;
            return gone || *now == expected || extents(window) != frame;
        });
        return !gone;
    }

    DisplayConnection connection_;
    Display* display_;
    Window root_;
    Atoms atoms_;
    Monitors monitors_;
    std::optional<bool> xwayland_;
    std::unique_ptr<PressWatch> presses_;
};

std::unique_ptr<X11Desktop> X11Desktop::connect(const char* displayName) {
    DisplayConnection connection = openConnection(displayName);
    if (!connection) return nullptr;
    return std::unique_ptr<X11Desktop>(new X11Desktop(std::make_unique<Session>(std::move(connection))));
}

X11Desktop::X11Desktop(std::unique_ptr<Session> session) : session_(std::move(session)) {}
X11Desktop::~X11Desktop() = default;

WindowHandle X11Desktop::foregroundWindow() {
    const Window active = session_->activeWindow();
    if (active == None && session_->activeIsBeyondX()) return unreachableWindow;
    return static_cast<WindowHandle>(active);
}

bool X11Desktop::getPlacement(WindowHandle window, WindowPlacement& placement) {
    const std::optional<Rect> frame = session_->outerFrame(window);
    const std::optional<WindowState> state = session_->state(window);
    if (!frame || !state) return false;
    placement = placementOnScreen(state->hidden        ? showMinimized
                                  : state->maximized() ? showMaximized
                                                       : showNormal,
                                  *frame);
    return true;
}

bool X11Desktop::setPlacement(WindowHandle window, const WindowPlacement& placement) {
    return session_->place(window, placement.showCmd, placement.rcNormalPosition);
}

bool X11Desktop::showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) {
    return session_->place(window, showCmd, screenRectangle);
}

std::optional<Rect> X11Desktop::windowRectangle(WindowHandle window) { return session_->outerFrame(window); }

WindowFacts X11Desktop::facts(WindowHandle window) { return session_->facts(window); }

// On X11 the X server and the window manager move and size a window; its
// program is told afterwards and nothing here waits for it, so a program that
// hangs cannot hang this one. What can go wrong is that the window is gone.
bool X11Desktop::answers(WindowHandle window, std::chrono::milliseconds) { return session_->exists(window); }

std::wstring X11Desktop::title(WindowHandle window) { return session_->title(window); }

std::optional<Monitor> X11Desktop::monitorFor(const Rect& screenRectangle) {
    return x11::monitorFor(session_->monitors().withWorkAreas(), screenRectangle);
}

Size X11Desktop::screenSize() { return session_->monitors().primarySize(); }

bool X11Desktop::anyMonitorIntersects(const Rect& screenPixels) {
    const std::vector<Rect> areas = session_->monitors().areas();
    return std::any_of(areas.begin(), areas.end(), [&](const Rect& m) { return overlaps(m, screenPixels); });
}

void X11Desktop::watchPresses(bool watching) { session_->watchPresses(watching); }

std::optional<std::vector<WindowHandle>> X11Desktop::pressedWindows() {
    PressWatch* presses = session_->presses();
    if (!presses) return std::nullopt;
    const std::vector<Window> windows = presses->takePressedWindows();
    return std::vector<WindowHandle>(windows.begin(), windows.end());
}

}  // namespace platform::x11
