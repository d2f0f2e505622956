// Feeds the load step random stored texts for all ten settings and checks
// that every control ends in a state it can hold, then that closing and
// starting again and the defaults button keep it so.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/numbers.h"
#include "settings/settings.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

using namespace ui;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invalid state: %s\n", what);
    std::abort();
}

int selectedIn(MainWindow& w, int first, int count) {
    int selected = -1;
    for (int i = 0; i < count; ++i)
        if (w.form().control(first + i).selected()) {
            require(selected < 0, "two options selected in one group");
            selected = i;
        }
    require(selected >= 0, "no option selected in a group");
    return selected;
}

void requirePlainEntry(forms::Control& entry) {
    const std::wstring& text = entry.text();
    require(text.size() <= 5, "entry longer than it can hold");
    const auto number = numbers::leadingNumber(text);
    require(number && numbers::numberText(*number) == text, "entry holds no plain number");
}

void requireValid(MainWindow& w) {
    require(selectedIn(w, optRes0, optResCount) == w.state().selectedResolution, "resolution out of step");
    selectedIn(w, optTask0, optTaskCount);
    for (Ctl box : {chkBorder, chkTask}) require(w.ctl(box).value() >= 0 && w.ctl(box).value() <= 2, "check value");
    require(w.ctl(txtBorder).enabled() == (w.ctl(chkBorder).value() != 0), "border entry out of step");
    require(w.ctl(txtTask).enabled() == (w.ctl(chkTask).value() != 0), "taskbar entry out of step");
    require(w.ctl(txtBreit).enabled() == (w.state().selectedResolution == customResolution), "custom out of step");
    for (Ctl entry : {txtBreit, txtHoch, txtBorder, txtTask}) requirePlainEntry(w.ctl(entry));
    require(std::isfinite(w.form().left()) && std::isfinite(w.form().top()), "position not finite");
    require(w.state().resizedWindows.size() == 1, "history not empty");
}

}  // namespace

// Input: two bytes whose low ten bits mark the keys that are absent, then the
// ten texts separated by 0xFF bytes, one byte per character.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned absent = data[0] | (data[1] << 8);
    fake::ProgramRuns runs;
    std::size_t at = 2;
    for (std::size_t k = 0; k < settings::keyNames.size(); ++k) {
        std::wstring text;
        while (at < size && data[at] != 0xFF) text.push_back(static_cast<wchar_t>(data[at++]));
        ++at;
        if (!(absent & (1u << k))) runs.store(settings::keyNames[k], text);
    }

    requireValid(runs.start());
    runs.close();
    MainWindow& window = runs.start();
    requireValid(window);
    window.frmAmbrisk2_cmdRestoreDefaults_Click();
    requireValid(window);
    return 0;
}
