#include <array>
#include <cstdint>
#include <optional>

#include "platform/numbers.h"
#include "settings/settings.h"
#include "ui/main_window.h"
#include "ui/settings_controls.h"

namespace ui {

namespace {

// Only the right and bottom edges pull the window back: a window left of or
// above the screen stays there, and one larger than the screen ends up with
// its left or top edge off the screen.
float keptOnScreen(float position, float windowSize, float screenSize) {
    const float limit = screenSize - windowSize;
    return limit < position ? limit : position;
}

// The strip of the outer frame above the client area, which holds the title
// bar, in physical pixels; nullopt when it lies beyond any coordinate.
std::optional<platform::Rect> titleBarPixels(const forms::Form& form, settings::Position position) {
    const double twipsPerPixel = form.twipsPerPixel();
    const double stripTwips = form.height() > clientHeightTwips ? form.height() - clientHeightTwips : 0.0;
    const double leftPixels = position.left / twipsPerPixel;
    const double topPixels = position.top / twipsPerPixel;
    const auto l = numbers::toInt32(leftPixels);
    const auto t = numbers::toInt32(topPixels);
    const auto r = numbers::toInt32(leftPixels + form.width() / twipsPerPixel);
    const auto b = numbers::toInt32(topPixels + stripTwips / twipsPerPixel);
    if (!l || !t || !r || !b) return std::nullopt;
    return platform::Rect{*l, *t, *r > *l ? *r : *l + 1, *b > *t ? *b : *t + 1};
}

bool titleBarOnAMonitor(const forms::Form& form, platform::Desktop& desktop, settings::Position position) {
    const std::optional<platform::Rect> titleBar = titleBarPixels(form, position);
    return titleBar && desktop.anyMonitorIntersects(*titleBar);
}

}  // namespace

void MainWindow::frmAmbrisk2_Form_Load() {
    state_.presetWidths = sizing::presetWidthTable;
    state_.presetHeights = sizing::presetHeightTable;
    // Element 0 never describes a window.
    state_.resizedWindows.assign(1, sizing::HistoryRecord{});

    settings::Position stored = settings::load(form_, settingsControls, platform_);

    const platform::Size screen = platform_.desktop.screenSize();
    const float twipsPerPixel = form_.twipsPerPixel();
    stored.left = keptOnScreen(stored.left, form_.width(), static_cast<float>(screen.width) * twipsPerPixel);
    stored.top = keptOnScreen(stored.top, form_.height(), static_cast<float>(screen.height) * twipsPerPixel);

    // A position whose title bar lies on no monitor (one unplugged since the
    // last run) would leave the window out of reach. Only the coordinate that
    // needs it goes back to the place the platform gave the new window: the
    // stored left edge is tried first, then the stored top edge, and when
    // neither helps the window stays where the platform put it.
    const settings::Position platformPlace{form_.left(), form_.top()};
    const std::array candidates{stored, settings::Position{stored.left, platformPlace.top},
                                settings::Position{platformPlace.left, stored.top}};
    for (const settings::Position& candidate : candidates) {
        if (titleBarOnAMonitor(form_, platform_.desktop, candidate)) {
            form_.setLeft(candidate.left);
            form_.setTop(candidate.top);
            return;
        }
    }
}

// Closing always goes ahead: the cancel flag is never set.
std::optional<platform::StoreFailure> MainWindow::frmAmbrisk2_Form_Unload(std::int16_t&) {
    return settings::save(form_, settingsControls, state_.selectedResolution, platform_);
}

}  // namespace ui
