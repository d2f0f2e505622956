#include "settings/settings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/entry_numbers.h"
#include "platform/numbers.h"

namespace settings {

namespace {

// The application name is asked for on every call, so that a copy of the
// program under another file name keeps settings of its own.
std::wstring readSetting(platform::Platform& platform, Key key, const std::wstring& fallback) {
    return platform.settings.read(platform.process.executableBaseName(), section, keyName(key)).value_or(fallback);
}

// The 16-bit integer a text stands for; nullopt when its number lies beyond
// the double or the 16-bit range.
std::optional<std::int16_t> int16In(const std::wstring& text) {
    const std::optional<double> number = numbers::leadingNumber(text);
    return number ? numbers::toInt16(*number) : std::nullopt;
}

// A check box can only take 0, 1 or 2.
std::optional<int> checkValueIn(const std::wstring& text) {
    const std::optional<std::int16_t> value = int16In(text);
    if (value && *value >= 0 && *value <= 2) return *value;
    return std::nullopt;
}

// The design-time value a check box keeps in its Tag.
int builtInValue(const forms::Control& box) { return checkValueIn(box.tag()).value_or(0); }

double asStored(double number) { return number; }

// The shortest plain decimal text that reads back as the same float, with "."
// whatever the locale, so that the next start reads the same position.
std::wstring positionText(float twips) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, twips, std::chars_format::fixed);
    if (error != std::errc{}) return L"0";
    return std::wstring(buffer, end);
}

// A stored position that is no finite 32-bit float counts as absent.
float positionIn(const std::wstring& text, float current) {
    const std::optional<double> number = numbers::leadingNumber(text);
    if (!number || !(std::fabs(*number) <= std::numeric_limits<float>::max())) return current;
    return static_cast<float>(*number);
}

// An index outside the group selects the group's first button.
void loadOption(forms::Form& form, platform::Platform& platform, Key key, int firstId, int count) {
    const std::optional<std::int16_t> index = int16In(readSetting(platform, key, L"0"));
    const int n = index && *index >= 0 && *index < count ? *index : 0;
    form.control(firstId + n).select();
}

void loadEntry(forms::Form& form, platform::Platform& platform, Key key, int id) {
    forms::Control& entry = form.control(id);
    entry.setTag(entry.text());
    numbers::putSettledNumber(entry, numbers::entryNumber(readSetting(platform, key, entry.tag())), asStored,
                              platform.process.decimalMark());
}

void loadCheckBox(forms::Form& form, platform::Platform& platform, Key key, int id) {
    forms::Control& box = form.control(id);
    box.setTag(std::to_wstring(box.value()));
    box.setValue(checkValueIn(readSetting(platform, key, box.tag())).value_or(builtInValue(box)));
}

float loadPosition(platform::Platform& platform, Key key, float current) {
    return positionIn(readSetting(platform, key, positionText(current)), current);
}

double magnitude(double number) { return std::fabs(number); }

}  // namespace

Position load(forms::Form& form, const Controls& controls, platform::Platform& platform) {
    loadOption(form, platform, Key::SelectedResolution, controls.firstResolution, controls.resolutionCount);
    loadEntry(form, platform, Key::CustomWidth, controls.customWidth);
    loadEntry(form, platform, Key::CustomHeight, controls.customHeight);
    loadCheckBox(form, platform, Key::AddBorder, controls.addBorder);
    loadEntry(form, platform, Key::Border, controls.border);
    loadCheckBox(form, platform, Key::SubtractTaskBar, controls.subtractTaskBar);
    loadEntry(form, platform, Key::TaskBar, controls.taskBar);
    loadOption(form, platform, Key::TaskBarOrientation, controls.firstOrientation, controls.orientationCount);
    Position position;
    position.left = loadPosition(platform, Key::PosLeft, form.left());
    position.top = loadPosition(platform, Key::PosTop, form.top());
    return position;
}

std::optional<platform::StoreFailure> save(const forms::Form& form, const Controls& controls,
                                           std::int32_t selectedResolution, platform::Platform& platform) {
    const auto text = [&](int id) -> const std::wstring& { return form.control(id).text(); };
    const auto value = [&](int id) { return std::to_wstring(form.control(id).value()); };
    const std::vector<platform::Setting> ten{
        {keyName(Key::SelectedResolution), std::to_wstring(selectedResolution)},
        {keyName(Key::CustomWidth), text(controls.customWidth)},
        {keyName(Key::CustomHeight), text(controls.customHeight)},
        {keyName(Key::AddBorder), value(controls.addBorder)},
        {keyName(Key::Border), text(controls.border)},
        {keyName(Key::SubtractTaskBar), value(controls.subtractTaskBar)},
        {keyName(Key::TaskBar), text(controls.taskBar)},
        {keyName(Key::TaskBarOrientation), form.control(controls.firstOrientation).selected() ? L"0" : L"1"},
        {keyName(Key::PosLeft), positionText(form.left())},
        {keyName(Key::PosTop), positionText(form.top())}};
    // In one step, so that two runs ending at once leave the ten of one of them.
    return platform.settings.writeAll(platform.process.executableBaseName(), section, ten);
}

void restoreDefaults(forms::Form& form, const Controls& controls, wchar_t decimalMark) {
    for (int size : {controls.customWidth, controls.customHeight}) {
        forms::Control& entry = form.control(size);
        numbers::putSettledNumber(entry, numbers::entryNumber(entry.text()), magnitude, decimalMark);
    }
    forms::Control& addBorder = form.control(controls.addBorder);
    forms::Control& border = form.control(controls.border);
    forms::Control& subtractTaskBar = form.control(controls.subtractTaskBar);
    forms::Control& taskBar = form.control(controls.taskBar);
    addBorder.setValue(builtInValue(addBorder));
    border.setText(border.tag());
    subtractTaskBar.setValue(builtInValue(subtractTaskBar));
    taskBar.setText(taskBar.tag());
    form.control(controls.firstResolution).select();
    form.control(controls.firstOrientation).select();
}

}  // namespace settings
