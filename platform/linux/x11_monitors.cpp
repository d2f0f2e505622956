#include "platform/linux/x11_monitors.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <memory>

#include "platform/linux/monitor_layout.h"

namespace platform::x11 {

namespace {

struct MonitorsDeleter {
    void operator()(XRRMonitorInfo* monitors) const { XRRFreeMonitors(monitors); }
};

Rect rectangle(long x, long y, long width, long height) {
    return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), static_cast<std::int32_t>(x + width),
            static_cast<std::int32_t>(y + height)};
}

}  // namespace

Monitors::Monitors(Display* display, const Atoms& atoms)
    : display_(display), atoms_(atoms), root_(DefaultRootWindow(display)) {
    int errorBase = 0, major = 0, minor = 0;
    // The list of monitors came with version 1.5; older servers have one
    // screen to go by.
    if (XRRQueryExtension(display_, &randrEventBase_, &errorBase) && XRRQueryVersion(display_, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5)))
        XRRSelectInput(display_, root_, RRScreenChangeNotifyMask);
    else
        randrEventBase_ = -1;
    // A change of the screen's size also comes as a change of the root window.
    XSelectInput(display_, root_, StructureNotifyMask);
}

Size Monitors::primarySize() {
    if (screenChangedSinceLastLook() || !primarySize_) {
        primarySize_ = sizeOf(areas().front());
    }
    return *primarySize_;
}

// Only takes what has already arrived on the connection: XPending reads
// without asking the server anything.
bool Monitors::screenChangedSinceLastLook() {
    bool changed = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (randrEventBase_ >= 0 && event.type == randrEventBase_ + RRScreenChangeNotify) {
            XRRUpdateConfiguration(&event);
            changed = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == root_) {
            changed = true;
        }
    }
    return changed;
}

std::vector<Rect> Monitors::areas() {
    std::vector<Rect> monitors = rectanglesFromRandr();
    // Screens joined with Xinerama: XRandR sees only the first of them.
    std::vector<Rect> joined = rectanglesFromXinerama();
    if (joined.size() > monitors.size()) monitors = std::move(joined);
    if (monitors.empty()) {
        const Size screen = rootSize();
        monitors.push_back({0, 0, screen.width, screen.height});
    }
    return monitors;
}

std::vector<Rect> Monitors::rectanglesFromRandr() {
    std::vector<Rect> monitors;
    if (randrEventBase_ < 0) return monitors;
    int count = 0;
    const std::unique_ptr<XRRMonitorInfo, MonitorsDeleter> list(XRRGetMonitors(display_, root_, True, &count));
    if (!list) return monitors;
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = list.get()[i];
        if (m.width <= 0 || m.height <= 0) continue;
        const Rect area = rectangle(m.x, m.y, m.width, m.height);
        if (m.primary)
            monitors.insert(monitors.begin(), area);
        else
            monitors.push_back(area);
    }
    return monitors;
}

std::vector<Rect> Monitors::rectanglesFromXinerama() {
    std::vector<Rect> screens;
    int eventBase = 0, errorBase = 0, count = 0;
    if (!XineramaQueryExtension(display_, &eventBase, &errorBase) || !XineramaIsActive(display_)) return screens;
    const std::unique_ptr<XineramaScreenInfo, XFreeDeleter> list(XineramaQueryScreens(display_, &count));
    for (int i = 0; list && i < count; ++i) {
        const XineramaScreenInfo& s = list.get()[i];
        screens.push_back(rectangle(s.x_org, s.y_org, s.width, s.height));
    }
    return screens;
}

Size Monitors::rootSize() {
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display_, root_, &root, &x, &y, &width, &height, &border, &depth))
        return {DisplayWidth(display_, DefaultScreen(display_)), DisplayHeight(display_, DefaultScreen(display_))};
    return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

std::optional<Rect> Monitors::publishedWorkArea() {
    const auto areas = longsProperty(display_, root_, atoms_.workArea, XA_CARDINAL);
    if (!areas) return std::nullopt;
    const auto desktop = longsProperty(display_, root_, atoms_.currentDesktop, XA_CARDINAL);
    const std::size_t index = desktop && !desktop->empty() && (*desktop)[0] >= 0 ? (*desktop)[0] : 0;
    if (areas->size() < 4 * (index + 1)) return std::nullopt;
    const long* a = areas->data() + 4 * index;
    return rectangle(a[0], a[1], a[2], a[3]);
}

std::vector<Monitor> Monitors::withWorkAreas() {
    const std::vector<Rect> monitors = areas();
    const Size screen = rootSize();
    std::vector<ReservedEdge> reserved;
    const auto clients = longsProperty(display_, root_, atoms_.clientList, XA_WINDOW);
    for (const long client : clients.value_or(std::vector<long>{})) {
        const Window window = static_cast<Window>(client);
        std::vector<ReservedEdge> edges;
        if (const auto partial = longsProperty(display_, window, atoms_.strutPartial, XA_CARDINAL))
            edges = reservedEdgesFromPartialStrut(*partial, screen);
        else if (const auto whole = longsProperty(display_, window, atoms_.strut, XA_CARDINAL))
            edges = reservedEdgesFromStrut(*whole, screen);
        reserved.insert(reserved.end(), edges.begin(), edges.end());
    }
    // With one monitor the window manager's own figure also holds what it
    // keeps free beyond the panels it manages; with several it spans them
    // all and says nothing about any one.
    const std::optional<Rect> published = monitors.size() == 1 ? publishedWorkArea() : std::nullopt;
    std::vector<Monitor> result;
    for (const Rect& monitor : monitors) {
        Rect work = workAreaOf(monitor, reserved);
        if (published && overlaps(*published, work)) {
            work = {std::max(work.left, published->left), std::max(work.top, published->top),
                    std::min(work.right, published->right), std::min(work.bottom, published->bottom)};
        }
        result.push_back({monitor, work});
    }
    return result;
}

}  // namespace platform::x11
