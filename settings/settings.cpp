#include "settings/settings.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/entry_numbers.h"
#include "platform/numbers.h"

namespace settings {

namespace {

using ui::Ctl;

// The application name is asked for on every call, so that a copy of the
// program under another file name keeps settings of its own.
std::wstring readSetting(platform::Platform& platform, Key key, const std::wstring& fallback) {
    return platform.settings.read(platform.process.executableBaseName(), section, keyName(key)).value_or(fallback);
}

// A refused write loses only that value; closing goes on regardless.
void writeSetting(platform::Platform& platform, Key key, const std::wstring& text) {
    platform.settings.write(platform.process.executableBaseName(), section, keyName(key), text);
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
void loadOption(ui::MainWindow& window, platform::Platform& platform, Key key, int firstId, int count) {
    const std::optional<std::int16_t> index = int16In(readSetting(platform, key, L"0"));
    const int n = index && *index >= 0 && *index < count ? *index : 0;
    window.form().control(firstId + n).select();
}

void loadEntry(ui::MainWindow& window, platform::Platform& platform, Key key, Ctl id) {
    forms::Control& entry = window.ctl(id);
    entry.setTag(entry.text());
    numbers::putSettledNumber(entry, numbers::entryNumber(readSetting(platform, key, entry.tag())), asStored,
                              platform.process.decimalMark());
}

void loadCheckBox(ui::MainWindow& window, platform::Platform& platform, Key key, Ctl id) {
    forms::Control& box = window.ctl(id);
    box.setTag(std::to_wstring(box.value()));
    box.setValue(checkValueIn(readSetting(platform, key, box.tag())).value_or(builtInValue(box)));
}

float loadPosition(platform::Platform& platform, Key key, float current) {
    return positionIn(readSetting(platform, key, positionText(current)), current);
}

}  // namespace

Position load(ui::MainWindow& window, platform::Platform& platform) {
    loadOption(window, platform, Key::SelectedResolution, ui::optRes0, ui::optResCount);
    loadEntry(window, platform, Key::CustomWidth, ui::txtBreit);
    loadEntry(window, platform, Key::CustomHeight, ui::txtHoch);
    loadCheckBox(window, platform, Key::AddBorder, ui::chkBorder);
    loadEntry(window, platform, Key::Border, ui::txtBorder);
    loadCheckBox(window, platform, Key::SubtractTaskBar, ui::chkTask);
    loadEntry(window, platform, Key::TaskBar, ui::txtTask);
    loadOption(window, platform, Key::TaskBarOrientation, ui::optTask0, ui::optTaskCount);
    Position position;
    position.left = loadPosition(platform, Key::PosLeft, window.form().left());
    position.top = loadPosition(platform, Key::PosTop, window.form().top());
    return position;
}

void save(ui::MainWindow& window, platform::Platform& platform) {
    writeSetting(platform, Key::SelectedResolution, std::to_wstring(window.state().selectedResolution));
    writeSetting(platform, Key::CustomWidth, window.ctl(ui::txtBreit).text());
    writeSetting(platform, Key::CustomHeight, window.ctl(ui::txtHoch).text());
    writeSetting(platform, Key::AddBorder, std::to_wstring(window.ctl(ui::chkBorder).value()));
    writeSetting(platform, Key::Border, window.ctl(ui::txtBorder).text());
    writeSetting(platform, Key::SubtractTaskBar, std::to_wstring(window.ctl(ui::chkTask).value()));
    writeSetting(platform, Key::TaskBar, window.ctl(ui::txtTask).text());
    writeSetting(platform, Key::TaskBarOrientation, window.optTask(0).selected() ? L"0" : L"1");
    writeSetting(platform, Key::PosLeft, positionText(window.form().left()));
    writeSetting(platform, Key::PosTop, positionText(window.form().top()));
}

}  // namespace settings

namespace ui {

// The custom size keeps the user's numbers, made plain and non-negative; the
// rest goes back to the design-time values held in the Tags.
void MainWindow::frmAmbrisk2_cmdRestoreDefaults_Click() {
    const wchar_t decimalMark = platform_.process.decimalMark();
    for (Ctl size : {txtBreit, txtHoch})
        numbers::putSettledNumber(
            ctl(size), numbers::entryNumber(ctl(size).text()), [](double number) { return std::fabs(number); },
            decimalMark);
    ctl(chkBorder).setValue(settings::builtInValue(ctl(chkBorder)));
    ctl(txtBorder).setText(ctl(txtBorder).tag());
    ctl(chkTask).setValue(settings::builtInValue(ctl(chkTask)));
    ctl(txtTask).setText(ctl(txtTask).tag());
    optRes(0).select();
    optTask(0).select();
}

}  // namespace ui
