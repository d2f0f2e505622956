#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

using namespace ui;

using fake::newWindowLeft, fake::newWindowTop, fake::windowWidth, fake::windowHeight;

// A 1280 x 1024 screen at 96 DPI: 19200 x 15360 twips. The window is
// 5400 x 6300 twips, so it fits with its left edge up to 13800 and its top
// edge up to 9060.
struct LifecycleTest : ::testing::Test, fake::ProgramRuns {
    MainWindow& startAt(const wchar_t* left, const wchar_t* top) {
        if (left) store(L"PosLeft", left);
        if (top) store(L"PosTop", top);
        return start();
    }
};

TEST_F(LifecycleTest, LoadFillsThePresetsAndEmptiesTheHistory) {
    MainWindow& w = startAt(nullptr, nullptr);
    EXPECT_EQ(w.state().presetWidths, (std::array<std::int16_t, 7>{640, 800, 1024, 1152, 1280, 1280, 1600}));
    EXPECT_EQ(w.state().presetHeights, (std::array<std::int16_t, 7>{480, 600, 768, 864, 960, 1024, 1200}));
    ASSERT_EQ(w.state().resizedWindows.size(), 1u);
    EXPECT_EQ(w.state().resizedWindows[0], sizing::HistoryRecord{});
}

TEST_F(LifecycleTest, OnlyTheRightAndBottomEdgesPullTheWindowBack) {
    struct Case {
        const wchar_t* left;
        const wchar_t* top;
        float expectedLeft, expectedTop;
    };
    for (const Case& c : {Case{L"13800", L"9060", 13800, 9060},     // right edge on the screen's edge
                          Case{L"13799", L"9059", 13799, 9059},     // just inside
                          Case{L"13801", L"9061", 13800, 9060},     // just beyond
                          Case{L"19000", L"15000", 13800, 9060},    // mostly off the screen
                          Case{L"-1500", L"-150", -1500, -150}}) {  // left of and above the screen
        MainWindow& w = startAt(c.left, c.top);
        EXPECT_EQ(w.form().left(), c.expectedLeft) << c.left;
        EXPECT_EQ(w.form().top(), c.expectedTop) << c.top;
    }
}

TEST_F(LifecycleTest, WindowWiderThanTheScreenGetsANegativeLeftEdge) {
    fake.desktop.screen = {320, 600};
    fake.desktop.monitors = {{0, 0, 320, 600}};
    MainWindow& w = startAt(L"0", L"0");
    EXPECT_EQ(w.form().left(), 4800 - windowWidth);
    EXPECT_EQ(w.form().top(), 0);
}

TEST_F(LifecycleTest, WindowTallerThanTheScreenWithItsTitleBarPulledOffTakesThePlatformsTop) {
    fake.desktop.screen = {800, 240};
    fake.desktop.monitors = {{0, 0, 800, 240}};
    MainWindow& w = startAt(L"0", L"0");
    EXPECT_EQ(w.form().left(), 0);
    EXPECT_EQ(w.form().top(), newWindowTop);
}

TEST_F(LifecycleTest, TitleBarOnNoMonitorBringsBackOnlyTheAxisThatNeedsIt) {
    // A monitor left of the primary one, 480 pixels high.
    fake.desktop.monitors.push_back({-1024, 0, 0, 480});
    struct Case {
        const wchar_t* left;
        const wchar_t* top;
        float expectedLeft, expectedTop;
    };
    for (const Case& c : {Case{L"-9000", L"3000", -9000, 3000},          // on the left monitor
                          Case{L"-90000", L"3000", newWindowLeft, 3000},  // left of every monitor
                          Case{L"3000", L"-90000", 3000, newWindowTop},   // above every monitor
                          Case{L"-2e30", L"0", newWindowLeft, 0},         // beyond any pixel coordinate
                          Case{L"-90000", L"-90000", newWindowLeft, newWindowTop},
                          // Below the left monitor but beside the primary one: either
                          // coordinate alone would do, and the left edge is kept first.
                          Case{L"-9000", L"9000", -9000, newWindowTop}}) {
        MainWindow& w = startAt(c.left, c.top);
        EXPECT_EQ(w.form().left(), c.expectedLeft) << c.left << L"," << c.top;
        EXPECT_EQ(w.form().top(), c.expectedTop) << c.left << L"," << c.top;
    }
}

TEST_F(LifecycleTest, PositionIsJudgedInThePixelsOfTheWindowsDpi) {
    twipsPerPixel = 10;  // 144 DPI: the 1280 x 1024 pixel screen is 12800 x 10240 twips
    fake.desktop.monitors.push_back({-1024, 0, 0, 768});
    MainWindow& w = startAt(L"19000", L"15000");
    EXPECT_EQ(w.form().left(), 12800 - windowWidth);
    EXPECT_EQ(w.form().top(), 10240 - windowHeight);
    // Its title bar spans pixels -1600 to -1060, left of the left monitor.
    EXPECT_EQ(startAt(L"-16000", L"3000").form().left(), newWindowLeft);
}

TEST_F(LifecycleTest, ClosingRightAfterStartRewritesTheLoadedValues) {
    store(L"CustomWidth", L"0800");
    store(L"SelectedResolution", L"7.4");
    startAt(L"20000", L"-15");
    close();
    EXPECT_EQ(stored(L"CustomWidth"), L"800");
    EXPECT_EQ(stored(L"SelectedResolution"), L"7");
    EXPECT_EQ(stored(L"PosLeft"), L"13800");
    EXPECT_EQ(stored(L"PosTop"), L"-15");
}

TEST_F(LifecycleTest, WindowMovedPartlyOffTheRightEdgeComesBackOnTheScreenAndOffTheLeftDoesNot) {
    startAt(nullptr, nullptr);
    window->form().viewMoved(16000, 12000, windowWidth, windowHeight);
    close();
    MainWindow& w = startAt(nullptr, nullptr);
    EXPECT_EQ(w.form().left(), 13800);
    EXPECT_EQ(w.form().top(), 9060);

    window->form().viewMoved(-2000, 100, windowWidth, windowHeight);
    close();
    EXPECT_EQ(startAt(nullptr, nullptr).form().left(), -2000);
}

}  // namespace
