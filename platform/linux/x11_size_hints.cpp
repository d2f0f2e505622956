#include "platform/linux/x11_size_hints.h"

#include <X11/Xutil.h>

#include <memory>

#include "platform/linux/size_limits.h"
#include "platform/linux/x11_connection.h"

namespace platform::x11 {

namespace {

SizeLimits limitsFrom(const XSizeHints& hints) {
    SizeLimits limits;
    if (hints.flags & PMinSize) limits.minimum = Size{hints.min_width, hints.min_height};
    if (hints.flags & PMaxSize) limits.maximum = Size{hints.max_width, hints.max_height};
    if (hints.flags & PBaseSize) limits.base = Size{hints.base_width, hints.base_height};
    if (hints.flags & PResizeInc) limits.step = Size{hints.width_inc, hints.height_inc};
    if (hints.flags & PAspect)
        limits.aspect =
            AspectRange{{hints.min_aspect.x, hints.min_aspect.y}, {hints.max_aspect.x, hints.max_aspect.y}};
    return limits;
}

void writeLimits(const SizeLimits& limits, XSizeHints& hints) {
    const auto put = [&](long flag, const std::optional<Size>& size, int& width, int& height) {
        hints.flags &= ~flag;
        if (!size) return;
        hints.flags |= flag;
        width = size->width;
        height = size->height;
    };
    put(PMinSize, limits.minimum, hints.min_width, hints.min_height);
    put(PMaxSize, limits.maximum, hints.max_width, hints.max_height);
    put(PBaseSize, limits.base, hints.base_width, hints.base_height);
    put(PResizeInc, limits.step, hints.width_inc, hints.height_inc);
    hints.flags &= ~PAspect;
    if (limits.aspect) {
        hints.flags |= PAspect;
        hints.min_aspect = {limits.aspect->lowest.width, limits.aspect->lowest.height};
        hints.max_aspect = {limits.aspect->highest.width, limits.aspect->highest.height};
    }
}

}  // namespace

void allowClientSize(Display* display, Window window, Size client) {
    const std::unique_ptr<XSizeHints, XFreeDeleter> hints(XAllocSizeHints());
    long supplied = 0;
    if (!hints || !XGetWMNormalHints(display, window, hints.get(), &supplied)) return;
    const SizeLimits limits = limitsFrom(*hints);
    const SizeLimits allowed = allowing(limits, client);
    if (allowed == limits) return;
    writeLimits(allowed, *hints);
    XSetWMNormalHints(display, window, hints.get());
}

}  // namespace platform::x11
