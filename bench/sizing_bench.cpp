// The work of one sizing once Timer2 fires, and the history's operations with
// many windows in it: a scan per call is fine, growth must stay amortised.
#include <benchmark/benchmark.h>

#include "sizing/history.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

constexpr platform::WindowHandle target = 0x2020;

void SizingOnTimer2(benchmark::State& state) {
    fake::FakePlatform fake;
    ui::MainWindow window{fake.platform};
    fake::createAndLoad(window);
    window.form().timerFired(ui::Timer1);
    window.optRes(2).select();
    fake.desktop.windows[target].title = L"Untitled - Notepad";
    fake.desktop.windows[target].placement.rcNormalPosition = {100, 50, 500, 350};
    fake.desktop.foreground = target;
    window.state().restoreMode = ui::vbFalse;
    for (auto _ : state) {
        window.form().setTimerEnabled(ui::Timer2, true);
        window.form().timerFired(ui::Timer2);
    }
    if (window.ctl(ui::txtResult).text() != L"Untitled - Notepad\r\n调整到：1030 x 746")
        state.SkipWithError("the sizing did not happen");
}
BENCHMARK(SizingOnTimer2);

sizing::History historyOf(platform::WindowHandle windows) {
    sizing::History history{sizing::HistoryRecord{}};
    const platform::WindowPlacement placement{0, platform::showNormal, {}, {}, {1, 2, 3, 4}};
    for (platform::WindowHandle w = 1; w <= windows; ++w) sizing::remember(history, placement, w);
    return history;
}

// The cost per call grows with the windows before the one looked for; the
// last one sized is the worst case.
void RememberKnownWindow(benchmark::State& state) {
    const auto windows = static_cast<platform::WindowHandle>(state.range(0));
    sizing::History history = historyOf(windows);
    const platform::WindowPlacement placement{0, platform::showMaximized, {}, {}, {5, 6, 7, 8}};
    for (auto _ : state) {
        sizing::remember(history, placement, windows);
        benchmark::DoNotOptimize(history.data());
    }
}
BENCHMARK(RememberKnownWindow)->Arg(10'000);

void RecallLastWindow(benchmark::State& state) {
    const auto windows = static_cast<platform::WindowHandle>(state.range(0));
    sizing::History history = historyOf(windows);
    platform::WindowPlacement placement{};
    for (auto _ : state) benchmark::DoNotOptimize(sizing::recall(history, placement, windows));
}
BENCHMARK(RecallLastWindow)->Arg(10'000);

void RecallUnknownWindow(benchmark::State& state) {
    sizing::History history = historyOf(static_cast<platform::WindowHandle>(state.range(0)));
    platform::WindowPlacement placement{};
    for (auto _ : state) benchmark::DoNotOptimize(sizing::recall(history, placement, 0x7fffffff));
}
BENCHMARK(RecallUnknownWindow)->Arg(10'000);

// Filling the history one new window at a time: each call scans the list
// (quadratic in total, as any scan is) but growth itself is amortised.
void RememberTenThousandNewWindows(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(historyOf(10'000).size());
    state.counters["perCall"] = benchmark::Counter(10'000, benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}
BENCHMARK(RememberTenThousandNewWindows)->Unit(benchmark::kMillisecond);

}  // namespace
