#include "sizing/screen_watch.h"

namespace sizing {

std::wstring resolutionText(platform::Size screen) {
    return L"您的屏幕分辨率是：" + std::to_wstring(screen.width) + L" x " + std::to_wstring(screen.height);
}

void enableFittingPresets(forms::Form& form, int firstPreset, platform::Size screen, const PresetTable& widths,
                          const PresetTable& heights) {
    // Downwards, so that a selection moved off a preset that no longer fits
    // is looked at again on the next step.
    for (int i = presetCount - 1; i >= 0; --i) {
        const bool fits = screen.width >= widths[i] || screen.height >= heights[i];
        forms::Control& preset = form.control(firstPreset + i);
        preset.setEnabled(fits);
        if (!fits && preset.selected() && i >= 1) form.control(firstPreset + i - 1).select();
    }
}

}  // namespace sizing
