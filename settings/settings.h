#pragma once
// The ten per-user settings of the main window: their keys, how each is read
// into its control and written back, and the built-in defaults kept in Tags.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/forms.h"
#include "platform/platform.h"

namespace settings {

// The store's section, under the program's own name, that holds the settings.
constexpr const wchar_t* section = L"Settings";

// The ten settings, in the order they are read and written.
enum class Key {
    SelectedResolution, CustomWidth, CustomHeight, AddBorder, Border,
    SubtractTaskBar, TaskBar, TaskBarOrientation, PosLeft, PosTop
};
// Their names in the store, in the order of Key.
constexpr std::array<const wchar_t*, 10> keyNames{
    L"SelectedResolution", L"CustomWidth", L"CustomHeight",       L"AddBorder", L"Border",
    L"SubtractTaskBar",    L"TaskBar",     L"TaskBarOrientation", L"PosLeft",   L"PosTop"};
constexpr const wchar_t* keyName(Key key) { return keyNames[static_cast<std::size_t>(key)]; }

// Where the main window stands, in twips.
struct Position {
    float left = 0;
    float top = 0;
};

// The controls that hold the first eight settings, by their ids in the
// form: the main window hands them in, so that this layer needs no more of
// it than the forms model.
struct Controls {
    int firstResolution, resolutionCount;  // the resolution buttons, by index
    int customWidth, customHeight;
    int addBorder, border;
    int subtractTaskBar, taskBar;
    int firstOrientation, orientationCount;  // the horizontal taskbar's button first
};

// Reads the ten settings in their order. The first eight go straight into
// their controls, each Tag being filled from the design-time value just
// before its control's setting is read; the stored position is handed back
// for the caller to place the window. An entry reads its stored text as the
// field itself would (numbers::entryNumber). Any other value that is absent,
// unreadable or that no control can take falls back to that setting's default.
Position load(forms::Form& form, const Controls& controls, platform::Platform& platform);

// Writes the ten settings in their order, all in one step of the store;
// what went wrong when they could not be stored. The selected resolution is
// the main window's own record of it.
std::optional<platform::StoreFailure> save(const forms::Form& form, const Controls& controls,
                                           std::int32_t selectedResolution, platform::Platform& platform);

// The defaults button: the custom size keeps the user's numbers, made plain
// and non-negative; the rest goes back to the design-time values held in the
// Tags, and the first resolution and orientation buttons are selected.
void restoreDefaults(forms::Form& form, const Controls& controls, wchar_t decimalMark);

}  // namespace settings
