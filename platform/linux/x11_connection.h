#pragma once
// The desktop's own connection to the X server, and what every request on it
// needs: the atoms it names, reading window properties, and messages to the
// window manager.
#include <X11/Xlib.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::x11 {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
    void operator()(void* data) const { XFree(data); }
};

// A connection whose X errors never reach the process's error handler (the
// toolkit's, in the same process): a request about a window that has gone
// away fails quietly, and the reply that follows tells the caller. Null when
// the X server cannot be reached.
DisplayConnection openConnection(const char* displayName);

// The atoms the desktop uses, interned in one request.
struct Atoms {
    Atom activeWindow, clientList, supported, currentDesktop, workArea;
    Atom wmState, maximizedVert, maximizedHorz, hidden, fullscreen;
    Atom frameExtents, moveResizeWindow;
    Atom windowType, typeUtility, typeToolbar, typeDesktop, typeDock;
    Atom gtkFrameExtents, clientState;
    Atom wmName, utf8String;
    Atom strutPartial, strut;
};
Atoms internAtoms(Display* display);

// A property of format 32 and the given type, as Xlib hands it over (longs);
// nullopt when the window or the property is missing or of another kind.
std::optional<std::vector<long>> longsProperty(Display* display, Window window, Atom property, Atom type);
// A property of format 8 and the given type, as bytes.
std::optional<std::string> bytesProperty(Display* display, Window window, Atom property, Atom type);

// A client message about `window` to the window manager, the way EWMH asks a
// program other than the window's own to request a change.
void sendToWindowManager(Display* display, Window window, Atom message, const std::array<long, 5>& data);

}  // namespace platform::x11
