// The screen watch ticks ten times a second for the program's whole life; its
// idle tick (screen unchanged, both toggles up) must stay free of heap
// allocations, control writes and foreground-window queries.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "platform/fake/fake_platform.h"
#include "ui/main_window.h"

namespace {

long allocations = 0;

struct CountingView : forms::FormView {
    long writes = 0;
    void controlChanged(int, forms::Property) override { ++writes; }
    void timerChanged(int) override { ++writes; }
    void positionChanged() override { ++writes; }
};

void IdleTick(benchmark::State& state) {
    fake::FakePlatform fake;
    ui::MainWindow window{fake.platform};
    window.state().presetWidths = ui::presetWidthTable;
    window.state().presetHeights = ui::presetHeightTable;
    window.form().viewCreated(0x1010);
    // The first tick sees a changed screen and writes Label1's caption, which
    // allocates: proof that the counter below counts.
    const long allocationsBeforeFirstTick = allocations;
    window.form().timerFired(ui::Timer1);
    if (allocations == allocationsBeforeFirstTick) state.SkipWithError("allocations are not counted");

    CountingView view;
    window.form().setView(&view);
    fake.desktop.foregroundCalls = 0;
    const long allocationsBefore = allocations;
    for (auto _ : state) window.form().timerFired(ui::Timer1);
    const long allocated = allocations - allocationsBefore;

    state.counters["allocations"] = static_cast<double>(allocated);
    state.counters["controlWrites"] = static_cast<double>(view.writes);
    state.counters["foregroundCalls"] = fake.desktop.foregroundCalls;
    if (allocated != 0 || view.writes != 0 || fake.desktop.foregroundCalls != 0)
        state.SkipWithError("the idle tick allocated, wrote a control or asked for the foreground");
    window.form().setView(nullptr);
}
BENCHMARK(IdleTick);

}  // namespace

// Counts every allocation of the benchmark program. Kept out of line so that
// the compiler does not pair an inlined malloc with a delete expression.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
