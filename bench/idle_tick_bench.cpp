// The screen watch ticks ten times a second for the program's whole life; its
// idle tick (screen unchanged, both toggles up) must stay free of heap
// allocations, control writes and foreground-window queries.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "tests/allocations/allocation_counter.h"
#include "tests/support/program_runs.h"
#include "tests/support/fake_view.h"
#include "ui/main_window.h"

namespace {

void IdleTick(benchmark::State& state) {
    fake::FakePlatform fake;
    ui::MainWindow window{fake.platform};
    fake::createAndLoad(window);
    // The first tick sees a changed screen and writes Label1's caption, which
    // allocates: proof that the counter below counts.
    const std::int64_t allocationsBeforeFirstTick = allocations::count();
    window.form().timerFired(ui::Timer1);
    if (allocations::count() == allocationsBeforeFirstTick) state.SkipWithError("allocations are not counted");

    fake::FakeView view;
    window.form().setView(&view);
    fake.desktop.foregroundCalls = 0;
    const std::int64_t allocationsBefore = allocations::count();
    for (auto _ : state) window.form().timerFired(ui::Timer1);
    const std::int64_t allocated = allocations::count() - allocationsBefore;

    state.counters["allocations"] = static_cast<double>(allocated);
    state.counters["controlWrites"] = static_cast<double>(view.writes);
    state.counters["foregroundCalls"] = fake.desktop.foregroundCalls;
    if (allocated != 0 || view.writes != 0 || fake.desktop.foregroundCalls != 0)
        state.SkipWithError("the idle tick allocated, wrote a control or asked for the foreground");
    window.form().setView(nullptr);
}
BENCHMARK(IdleTick);

}  // namespace
