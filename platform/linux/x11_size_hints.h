#pragma once
// The size limits a program sets on its window in WM_NORMAL_HINTS, widened
// where they forbid the size that the user chose.
#include <X11/Xlib.h>

#include "platform/desktop.h"

namespace platform::x11 {

// The window manager keeps a window within the limits its program set; the
// user chose the size, so the limits in the way are widened.
void allowClientSize(Display* display, Window window, Size client);

}  // namespace platform::x11
