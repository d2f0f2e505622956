#pragma once
// The screen watch: the screen resolution as the main window shows it, and
// the preset buttons that fit the screen.
#include <string>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "sizing/presets.h"

namespace sizing {

std::wstring resolutionText(platform::Size screen);

// Enables the preset buttons (ids from firstPreset on, in the order of the
// tables) whose preset fits the screen in at least one direction and
// disables the others. A selection on a preset that does not fit moves to
// the next smaller one, through that button's click, until it rests on one
// that fits or on the first button.
void enableFittingPresets(forms::Form& form, int firstPreset, platform::Size screen, const PresetTable& widths,
                          const PresetTable& heights);

}  // namespace sizing
