// The screen watch ticks ten times a second for the program's whole life.
// While no toggle is pressed and the screen is unchanged, its tick allocates
// nothing, writes no control and does not ask for the foreground window.
#include <gtest/gtest.h>

#include "tests/allocations/allocation_counter.h"
#include "tests/support/program_runs.h"
#include "tests/support/fake_view.h"
#include "ui/main_window.h"

namespace {

TEST(IdleTick, AllocatesNothingWritesNothingAndDoesNotAskForTheForeground) {
    fake::FakePlatform fake;
    fake::FakeView view;
    ui::MainWindow window{fake.platform};
    fake::createAndLoad(window);
    fake.desktop.foreground = 0x2020;

    // The first tick sees a new screen and writes Label1's caption, which
    // allocates: proof that allocations are counted.
    const std::int64_t beforeFirstTick = allocations::count();
    window.form().timerFired(ui::Timer1);
    ASSERT_GT(allocations::count(), beforeFirstTick);

    window.form().setView(&view);
    fake.desktop.foregroundCalls = 0;
    const std::int64_t before = allocations::count();
    for (int i = 0; i < 100; ++i) window.form().timerFired(ui::Timer1);
    EXPECT_EQ(allocations::count() - before, 0);
    EXPECT_EQ(view.writes, 0);
    EXPECT_EQ(fake.desktop.foregroundCalls, 0);
}

}  // namespace
