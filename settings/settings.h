#pragma once
// The ten per-user settings of the main window: their keys, how each is read
// into its control and written back, and the built-in defaults kept in Tags.
#include "platform/platform.h"
#include "ui/main_window.h"

namespace settings {

// Where the main window stands, in twips.
struct Position {
    float left = 0;
    float top = 0;
};

// Reads the ten settings in their order. The first eight go straight into
// their controls, each Tag being filled from the design-time value just
// before its control's setting is read; the stored position is handed back
// for the caller to place the window. An entry reads its stored text as the
// field itself would (ui::entryNumber). Any other value that is absent,
// unreadable or that no control can take falls back to that setting's default.
Position load(ui::MainWindow& window, platform::Platform& platform);

// Writes the ten settings in their order; a refused write is skipped.
void save(ui::MainWindow& window, platform::Platform& platform);

}  // namespace settings
