// The load step of the main window against a store holding all ten
// settings: what start-up spends in the program's own code.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

#include "settings/settings.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

void BM_FormLoad(benchmark::State& state) {
    fake::ProgramRuns runs;
    // In the order of the keys.
    const std::array<const wchar_t*, settings::keyNames.size()> values{L"7", L"1024", L"768", L"1", L"3",
                                                                       L"0", L"28",   L"1",   L"3000", L"1500"};
    for (std::size_t k = 0; k < values.size(); ++k) runs.store(settings::keyNames[k], values[k]);
    for (auto _ : state) {
        ui::MainWindow window{runs.fake.platform};
        fake::createAndLoad(window);
        benchmark::DoNotOptimize(window.form().left());
    }
}
BENCHMARK(BM_FormLoad);

}  // namespace
