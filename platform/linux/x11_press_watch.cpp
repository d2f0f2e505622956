#include "platform/linux/x11_press_watch.h"

#include <X11/extensions/XInput2.h>
#include <glib-unix.h>

#include <optional>
#include <utility>

namespace platform::x11 {

// Reads the watch's connection from the main loop whenever data arrives, so
// that nothing waits for the next timer tick, and nothing ever blocks.
class PressWatch::MainLoopWatch {
public:
    MainLoopWatch(int descriptor, PressWatch& watch)
        : source_(g_unix_fd_add(descriptor, G_IO_IN, onReadable, &watch)) {}
    ~MainLoopWatch() { g_source_remove(source_); }
    MainLoopWatch(const MainLoopWatch&) = delete;
    MainLoopWatch& operator=(const MainLoopWatch&) = delete;

private:
    static gboolean onReadable(gint, GIOCondition, gpointer watch) {
        static_cast<PressWatch*>(watch)->readArrived();
        return G_SOURCE_CONTINUE;
    }

    guint source_;
};

std::unique_ptr<PressWatch> PressWatch::start(const char* displayName) {
    DisplayConnection connection = openConnection(displayName);
    if (!connection) return nullptr;
    Display* display = connection.get();
    int opcode = 0, event = 0, error = 0, major = 2, minor = 1;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return nullptr;
    unsigned char bits[XIMaskLen(XI_RawButtonPress)] = {};
    XISetMask(bits, XI_RawButtonPress);
    // The master pointer's presses, each once, from whichever device.
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
    return std::unique_ptr<PressWatch>(new PressWatch(std::move(connection), opcode));
}

PressWatch::PressWatch(DisplayConnection connection, int inputOpcode)
    : connection_(std::move(connection)),
      display_(connection_.get()),
      inputOpcode_(inputOpcode),
      clientState_(XInternAtom(display_, "WM_STATE", False)),
      mainLoopWatch_(std::make_unique<MainLoopWatch>(ConnectionNumber(display_), *this)) {}

PressWatch::~PressWatch() = default;

std::vector<Window> PressWatch::takePressedWindows() {
    readArrived();
    return std::exchange(pressed_, {});
}

// Only what has arrived: XPending reads without waiting.
void PressWatch::readArrived() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != inputOpcode_ ||
            cookie.evtype != XI_RawButtonPress || !XGetEventData(display_, &cookie))
            continue;
        const int button = static_cast<const XIRawEvent*>(cookie.data)->detail;
        XFreeEventData(display_, &cookie);
        // The wheel's buttons scroll; they pick nothing.
        constexpr int firstWheelButton = 4, lastWheelButton = 7;
        if (button >= firstWheelButton && button <= lastWheelButton) continue;
        if (const Window client = clientUnderPointer(); client != None) pressed_.push_back(client);
    }
}

// The window manager's frame is the root's child under the pointer; the
// program's own window inside it carries WM_STATE.
Window PressWatch::clientUnderPointer() {
    const Window root = DefaultRootWindow(display_);
    Window pointerRoot = None, topLevel = None;
    int rootX, rootY, x, y;
    unsigned buttons;
    if (!XQueryPointer(display_, root, &pointerRoot, &topLevel, &rootX, &rootY, &x, &y, &buttons) ||
        topLevel == None)
        return None;
    if (const Window client = clientWithin(topLevel); client != None) return client;
    // Without a window manager nothing carries WM_STATE: a top-level window
    // is the program's own unless it is a menu or tooltip.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, topLevel, &attributes) || attributes.override_redirect) return None;
    return topLevel;
}

Window PressWatch::clientWithin(Window window) {
    if (longsProperty(display_, window, clientState_, clientState_)) return window;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return None;
    const std::unique_ptr<Window, XFreeDeleter> owned(children);
    // The topmost first.
    for (unsigned i = count; i-- > 0;)
        if (const Window client = clientWithin(children[i]); client != None) return client;
    return None;
}

}  // namespace platform::x11
