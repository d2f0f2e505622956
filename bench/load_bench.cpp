// The load step of the main window against a store holding all ten
// settings: what start-up spends in the program's own code.
#include <benchmark/benchmark.h>

#include "tests/support/fake_platform.h"
#include "ui/main_window.h"

namespace {

void BM_FormLoad(benchmark::State& state) {
    fake::FakePlatform fake;
    const wchar_t* const values[][2] = {
        {L"SelectedResolution", L"7"}, {L"CustomWidth", L"1024"}, {L"CustomHeight", L"768"},
        {L"AddBorder", L"1"},          {L"Border", L"3"},         {L"SubtractTaskBar", L"0"},
        {L"TaskBar", L"28"},           {L"TaskBarOrientation", L"1"}, {L"PosLeft", L"3000"},
        {L"PosTop", L"1500"}};
    for (const auto& [key, value] : values) fake.settings.values[{L"Ambrisk2", L"Settings", key}] = value;
    for (auto _ : state) {
        ui::MainWindow window{fake.platform};
        window.form().viewMoved(0, 0, 5385, 6150);
        window.frmAmbrisk2_Form_Load();
        benchmark::DoNotOptimize(window.form().left());
    }
}
BENCHMARK(BM_FormLoad);

}  // namespace
