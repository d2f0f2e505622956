#include "platform/linux/x11_connection.h"

// Only for the per-connection error conversion hook, which Xlib declares in
// its header for extension writers.
#include <X11/Xlibint.h>

#include <cstring>
#include <iterator>

namespace platform::x11 {

namespace {

// Xlib calls this for every error of the connection before the process-wide
// handler; returning False drops the error there.
Bool dropError(Display*, XErrorEvent*, xError*) { return False; }

template <typename T>
std::optional<std::vector<T>> readProperty(Display* display, Window window, Atom property, Atom type, int format) {
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0, bytesLeft = 0;
    unsigned char* raw = nullptr;
    // Long enough for any property the desktop reads (client lists included).
    constexpr long longestRead = 1 << 16;
    if (XGetWindowProperty(display, window, property, 0, longestRead, False, type, &actualType, &actualFormat, &count,
                           &bytesLeft, &raw) != Success)
        return std::nullopt;
    const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
    if (actualType != type || actualFormat != format || !data) return std::nullopt;
    const T* values = reinterpret_cast<const T*>(data.get());
    return std::vector<T>(values, values + count);
}

}  // namespace

DisplayConnection openConnection(const char* displayName) {
    DisplayConnection display(XOpenDisplay(displayName));
    if (!display) return display;
    for (int code = 1; code < 256; ++code) XESetWireToError(display.get(), code, dropError);
    return display;
}

Atoms internAtoms(Display* display) {
    Atoms atoms{};
    const struct {
        const char* name;
        Atom* atom;
    } wanted[] = {
        {"_NET_ACTIVE_WINDOW", &atoms.activeWindow},
        {"_NET_CLIENT_LIST", &atoms.clientList},
        {"_NET_SUPPORTED", &atoms.supported},
        {"_NET_CURRENT_DESKTOP", &atoms.currentDesktop},
        {"_NET_WORKAREA", &atoms.workArea},
        {"_NET_WM_STATE", &atoms.wmState},
        {"_NET_WM_STATE_MAXIMIZED_VERT", &atoms.maximizedVert},
        {"_NET_WM_STATE_MAXIMIZED_HORZ", &atoms.maximizedHorz},
        {"_NET_WM_STATE_HIDDEN", &atoms.hidden},
        {"_NET_WM_STATE_FULLSCREEN", &atoms.fullscreen},
        {"_NET_FRAME_EXTENTS", &atoms.frameExtents},
        {"_NET_MOVERESIZE_WINDOW", &atoms.moveResizeWindow},
        {"_NET_WM_WINDOW_TYPE", &atoms.windowType},
        {"_NET_WM_WINDOW_TYPE_UTILITY", &atoms.typeUtility},
        {"_NET_WM_WINDOW_TYPE_TOOLBAR", &atoms.typeToolbar},
        {"_NET_WM_WINDOW_TYPE_DESKTOP", &atoms.typeDesktop},
        {"_NET_WM_WINDOW_TYPE_DOCK", &atoms.typeDock},
        {"_GTK_FRAME_EXTENTS", &atoms.gtkFrameExtents},
        {"WM_STATE", &atoms.clientState},
        {"_NET_WM_NAME", &atoms.wmName},
        {"UTF8_STRING", &atoms.utf8String},
        {"_NET_WM_STRUT_PARTIAL", &atoms.strutPartial},
        {"_NET_WM_STRUT", &atoms.strut},
    };
    constexpr int count = static_cast<int>(std::size(wanted));
    char* names[count];
    Atom values[count];
    for (int i = 0; i < count; ++i) names[i] = const_cast<char*>(wanted[i].name);
    XInternAtoms(display, names, count, False, values);
    for (int i = 0; i < count; ++i) *wanted[i].atom = values[i];
    return atoms;
}

std::optional<std::vector<long>> longsProperty(Display* display, Window window, Atom property, Atom type) {
    return readProperty<long>(display, window, property, type, 32);
}

std::optional<std::string> bytesProperty(Display* display, Window window, Atom property, Atom type) {
    const auto bytes = readProperty<char>(display, window, property, type, 8);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

void sendToWindowManager(Display* display, Window window, Atom message, const std::array<long, 5>& data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = message;
    event.xclient.format = 32;
    std::memcpy(event.xclient.data.l, data.data(), sizeof event.xclient.data.l);
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace platform::x11
