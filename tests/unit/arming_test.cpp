#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "tests/support/fake_view.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

using namespace ui;

constexpr platform::WindowHandle otherHandle = 0x2020;

struct ArmingTest : ::testing::Test {
    fake::FakePlatform fake;
    fake::FakeView view;  // attached by the tests that look at it
    MainWindow window{fake.platform};

    ArmingTest() {
        fake::createAndLoad(window);
        fake.desktop.foreground = fake::mainWindowHandle;
    }

    void tickOn(std::int32_t width, std::int32_t height) {
        fake.desktop.screen = {width, height};
        tick();
    }
    void tick() { window.form().timerFired(Timer1); }

    std::vector<int> enabledPresets() {
        std::vector<int> enabled;
        for (int i = 0; i < sizing::presetCount; ++i)
            if (window.optRes(i).enabled()) enabled.push_back(i);
        return enabled;
    }
};

TEST_F(ArmingTest, FirstTickShowsTheResolutionAndEnablesTheFittingPresets) {
    window.optRes(6).setEnabled(true);
    tick();
    EXPECT_EQ(window.ctl(Label1).text(), L"您的屏幕分辨率是：1280 x 1024");
    EXPECT_EQ(window.state().screenWidth, 1280);
    EXPECT_EQ(window.state().screenHeight, 1024);
    EXPECT_EQ(enabledPresets(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(ArmingTest, SelectionWalksDownToTheLargestFittingPreset) {
    window.optRes(6).select();
    tickOn(1024, 768);
    EXPECT_EQ(enabledPresets(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(window.optRes(2).selected());
    EXPECT_EQ(window.state().selectedResolution, 2);
    EXPECT_FALSE(window.ctl(txtBreit).enabled());
}

TEST_F(ArmingTest, PresetFitsWhenEitherSideFits) {
    window.optRes(5).select();
    tickOn(1280, 800);
    EXPECT_EQ(enabledPresets(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(window.optRes(5).selected());
}

TEST_F(ArmingTest, FirstPresetStaysSelectedWhenNothingFits) {
    window.optRes(3).select();
    tickOn(600, 400);
    EXPECT_TRUE(enabledPresets().empty());
    EXPECT_TRUE(window.optRes(0).selected());
    EXPECT_EQ(window.state().selectedResolution, 0);
    EXPECT_TRUE(window.optRes(7).enabled());

    // Growing again enables what fits but does not move the selection.
    tickOn(1280, 1024);
    EXPECT_EQ(enabledPresets(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(window.optRes(0).selected());
    EXPECT_EQ(window.state().selectedResolution, 0);
}

TEST_F(ArmingTest, CustomSelectionIsLeftAloneWhenTheScreenShrinks) {
    window.optRes(7).select();
    tickOn(600, 400);
    EXPECT_TRUE(window.optRes(7).selected());
    EXPECT_TRUE(window.optRes(7).enabled());
    EXPECT_EQ(window.state().selectedResolution, 7);
}

TEST_F(ArmingTest, TogglesExcludeEachOther) {
    window.form().userClicked(chkBack);
    window.form().userClicked(chkGo);
    EXPECT_EQ(window.ctl(chkGo).value(), 1);
    EXPECT_EQ(window.ctl(chkBack).value(), 0);
    window.form().userClicked(chkBack);
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_EQ(window.ctl(chkBack).value(), 1);
    window.form().userClicked(chkBack);
    EXPECT_EQ(window.ctl(chkBack).value(), 0);
}

TEST_F(ArmingTest, SizingToggleNormalisesWhenPressedAndWhenReleased) {
    tick();
    window.form().userEditedText(txtBorder, L"-2.5");
    window.form().userClicked(chkGo);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"3");
    window.form().userEditedText(txtBorder, L"-0.5");
    window.form().userClicked(chkGo);
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"1");
}

TEST_F(ArmingTest, RestoreToggleNormalisesOnlyByReleasingTheSizingToggle) {
    tick();
    window.form().userEditedText(txtBorder, L"-2.5");
    window.form().userClicked(chkBack);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"-2.5");
    window.form().userClicked(chkBack);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"-2.5");

    window.form().userClicked(chkGo);
    window.form().userEditedText(txtBorder, L"-2.5");
    window.form().userClicked(chkBack);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"3");
}

TEST_F(ArmingTest, PressedToggleWaitsWhileTheMainWindowIsInTheForeground) {
    window.form().userClicked(chkGo);
    for (int i = 0; i < 3; ++i) tick();
    // A Wayland desktop names the main window with an id of its own.
    fake.desktop.ownWindows = {otherHandle};
    fake.desktop.foreground = otherHandle;
    tick();
    EXPECT_EQ(window.ctl(chkGo).value(), 1);
    EXPECT_FALSE(window.form().timerEnabled(Timer2));
}

TEST_F(ArmingTest, AnotherForegroundWindowCatchesTheSizingToggle) {
    tick();
    window.state().restoreMode = vbTrue;
    window.form().userClicked(chkGo);
    window.form().userEditedText(txtTask, L"-0.5");
    fake.desktop.foreground = otherHandle;
    tick();
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_EQ(window.state().restoreMode, vbFalse);
    EXPECT_EQ(window.form().timerInterval(Timer2), 400);
    EXPECT_TRUE(window.form().timerEnabled(Timer2));
    EXPECT_EQ(window.ctl(txtTask).text(), L"1") << "releasing the toggle normalises";
}

TEST_F(ArmingTest, AForegroundHeardFromTheDesktopCatchesAtOnceOnlyWhileAToggleIsDown) {
    fake.desktop.hearForeground(otherHandle);
    fake.desktop.hearForeground(fake::mainWindowHandle);
    EXPECT_FALSE(window.form().timerEnabled(Timer2));
    window.form().userClicked(chkGo);
    fake.desktop.hearForeground(otherHandle);
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_EQ(window.form().timerInterval(Timer2), 400);
    EXPECT_TRUE(window.form().timerEnabled(Timer2));
}

TEST_F(ArmingTest, NoForegroundWindowCatchesTheRestoreToggle) {
    window.form().userClicked(chkBack);
    fake.desktop.foreground = 0;
    tick();
    EXPECT_EQ(window.ctl(chkBack).value(), 0);
    EXPECT_EQ(window.state().restoreMode, vbTrue);
    EXPECT_EQ(window.form().timerInterval(Timer2), 400);
    EXPECT_TRUE(window.form().timerEnabled(Timer2));
}

TEST_F(ArmingTest, LaterCatchOverridesAPendingOneAndRestartsTimer2With400) {
    window.form().userClicked(chkBack);
    fake.desktop.foreground = otherHandle;
    tick();
    window.form().setView(&view);
    window.form().userClicked(chkGo);
    tick();
    EXPECT_EQ(window.state().restoreMode, vbFalse);
    EXPECT_TRUE(window.form().timerEnabled(Timer2));
    EXPECT_GE(std::ranges::count(view.timersChanged, Timer2), 1) << "the running timer is restarted";

    // Another interval in between shows that a catch sets 400 again.
    window.form().setTimerInterval(Timer2, 1000);
    window.form().userClicked(chkGo);
    tick();
    EXPECT_EQ(window.form().timerInterval(Timer2), 400);
}

TEST(PressedTarget, ThePressNotTheFocusPicksTheWindowActedOn) {
    fake::FakePlatform fake;
    fake::FakeDesktop& desktop = fake.desktop;
    desktop.watchesPresses = true;
    MainWindow window{fake.platform};
    fake::createAndLoad(window);
    constexpr platform::WindowHandle clicked = 0x2020, underPointer = 0x3030;
    fake.desktop.windows[clicked] = {.title = L"Clicked",
                                     .placement = {0, platform::showNormal, {}, {}, {100, 50, 500, 350}}};
    fake.desktop.windows[underPointer] = {.title = L"Under the pointer",
                                          .placement = {0, platform::showNormal, {}, {}, {10, 10, 300, 200}}};
    fake.desktop.foreground = fake::mainWindowHandle;
    window.form().timerFired(Timer1);

    window.form().userClicked(chkGo);
    EXPECT_TRUE(desktop.watching);
    // The focus follows the pointer out of the main window; a press on the
    // main window itself catches nothing either.
    fake.desktop.foreground = underPointer;
    desktop.presses = {fake::mainWindowHandle};
    window.form().timerFired(Timer1);
    EXPECT_EQ(window.ctl(chkGo).value(), 1);

    desktop.presses = {fake::mainWindowHandle, clicked, underPointer};
    window.form().timerFired(Timer1);
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_FALSE(desktop.watching);
    window.form().timerFired(Timer2);
    EXPECT_EQ(window.ctl(txtResult).text().substr(0, 13), L"Clicked\r\n调整到：");
    EXPECT_EQ(fake.desktop.windows[underPointer].placementsApplied, 0);

    // A click on a window beyond the desktop's reach shows only in the foreground.
    window.form().userClicked(chkBack);
    fake.desktop.foreground = platform::unreachableWindow;
    window.form().timerFired(Timer1);
    EXPECT_EQ(window.ctl(chkBack).value(), 0);
    EXPECT_EQ(window.state().pressedWindow, std::nullopt);
}

}  // namespace
