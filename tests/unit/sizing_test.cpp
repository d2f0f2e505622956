#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <utility>

#include "sizing/geometry.h"
#include "sizing/title.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace platform {
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
}  // namespace platform

namespace {

using namespace ui;
using platform::Rect;

constexpr platform::WindowHandle notepad = 0x2020;
constexpr platform::WindowHandle other = 0x3030;

const std::wstring crlf = L"\r\n";
const std::wstring resized = L"调整到：";

struct SizingTest : ::testing::Test {
    fake::FakePlatform fake;
    MainWindow window{fake.platform};

    SizingTest() {
        fake::createAndLoad(window);
        fake.desktop.foreground = fake::mainWindowHandle;
        addWindow(notepad, L"Untitled - Notepad", {100, 50, 500, 350});
        addWindow(other, L"Other", {10, 10, 300, 200});
        window.form().timerFired(Timer1);  // the first tick learns the screen
        window.optRes(2).select();         // 1024 x 768, border 3 and taskbar 28 by default
    }

    fake::FakeWindow& addWindow(platform::WindowHandle handle, const std::wstring& title, Rect normal) {
        fake::FakeWindow& w = fake.desktop.windows[handle];
        w.title = title;
        w.placement.rcNormalPosition = normal;
        return w;
    }
    fake::FakeWindow& win(platform::WindowHandle handle) { return fake.desktop.windows.at(handle); }
    Rect normalOf(platform::WindowHandle handle) { return win(handle).placement.rcNormalPosition; }
    std::wstring result() { return window.ctl(txtResult).text(); }

    // The user's road: press a toggle, click the target, one tick catches it,
    // and Timer2 fires with `atFiring` in the foreground.
    void act(Ctl toggle, platform::WindowHandle target, platform::WindowHandle atFiring) {
        window.form().userClicked(toggle);
        fake.desktop.foreground = target;
        window.form().timerFired(Timer1);
        ASSERT_TRUE(window.form().timerEnabled(Timer2));
        fake.desktop.foreground = atFiring;
        window.form().timerFired(Timer2);
        EXPECT_FALSE(window.form().timerEnabled(Timer2));
    }
    void size(platform::WindowHandle target) { act(chkGo, target, target); }
    void restore(platform::WindowHandle target) { act(chkBack, target, target); }
    void withoutOptions() {
        window.ctl(chkBorder).setValue(0);
        window.ctl(chkTask).setValue(0);
    }
    void setWorkArea(Rect monitor, Rect work) {
        fake.desktop.monitors = {monitor};
        fake.desktop.workAreas = {work};
    }
};

TEST_F(SizingTest, PresetWithBorderAndTaskbarGivesTheOuterSize) {
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showNormal);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1030 x 746");

    window.optTask(1).select();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1102, 824}));
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1002 x 774");

    withoutOptions();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1124, 818}));
}

TEST_F(SizingTest, NoSideIsGivenLessThanSixteen) {
    withoutOptions();
    window.optRes(7).select();
    window.ctl(txtBreit).setText(L"10");
    window.ctl(txtHoch).setText(L"5");
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 116, 66}));

    // A taskbar taller than the window.
    window.optRes(0).select();
    window.ctl(chkTask).setValue(1);
    window.ctl(txtTask).setText(L"500");
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 740, 66}));
}

TEST_F(SizingTest, WindowMovesLeftOrUpOnlyAsFarAsTheWorkAreaNeeds) {
    setWorkArea({0, 0, 1280, 1024}, {0, 0, 1280, 994});
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));

    setWorkArea({0, 0, 1024, 768}, {0, 0, 1024, 738});
    win(notepad).placement.rcNormalPosition = {100, 50, 500, 350};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{0, 0, 1030, 746}));

    setWorkArea({0, 0, 1280, 1024}, {0, 0, 1280, 994});
    win(notepad).placement.rcNormalPosition = {600, 400, 700, 500};
    withoutOptions();
    window.optRes(1).select();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{480, 394, 1280, 994}));
}

TEST_F(SizingTest, PanelsOnAnyEdgeGiveTheSameRectanglesOnWindowsAndUnderWine) {
    // Windows counts the normal rectangle from the work area, Wine from the
    // screen's corner; on the screen both must come out alike, and two
    // sizings and two restorings must leave no drift.
    const Rect monitor{0, 0, 1280, 1024};
    const std::pair<const char*, Rect> panels[] = {{"top", {0, 40, 1280, 1024}},
                                                   {"left", {60, 0, 1280, 1024}},
                                                   {"bottom", {0, 0, 1280, 994}},
                                                   {"right", {0, 0, 1220, 1024}}};
    withoutOptions();
    window.optRes(1).select();
    for (const auto& [edge, work] : panels)
        for (const fake::Convention convention : {fake::Convention::Windows, fake::Convention::Wine}) {
            SCOPED_TRACE(std::string(edge) + (convention == fake::Convention::Wine ? " under Wine" : " on Windows"));
            fake.desktop.convention = convention;
            setWorkArea(monitor, work);
            window.state().resizedWindows.assign(1, sizing::HistoryRecord{});
            const Rect start{600, 500, 700, 600};
            win(notepad).placement.rcNormalPosition = start;

            // 800 x 600 from (600, 500) passes the work area's right and
            // bottom edges, so the window moves to end on them.
            const Rect fitted{work.right - 800, work.bottom - 600, work.right, work.bottom};
            size(notepad);
            EXPECT_EQ(normalOf(notepad), fitted);
            size(notepad);
            EXPECT_EQ(normalOf(notepad), fitted);
            restore(notepad);
            EXPECT_EQ(normalOf(notepad), fitted);
            EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");
            win(notepad).placement.rcNormalPosition = start;
            size(notepad);
            restore(notepad);
            EXPECT_EQ(normalOf(notepad), start);
        }
}

TEST_F(SizingTest, EachMonitorCountsFromItsOwnWorkArea) {
    // A taskbar at the top of the primary monitor shifts nothing on a second
    // monitor without one: a window at top 20 sized to a height of 1010 on
    // the 1024-high second monitor ends at top 14.
    fake.desktop.monitors = {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}};
    fake.desktop.workAreas = {{0, 30, 1280, 1024}, {1280, 0, 2560, 1024}};
    withoutOptions();
    window.optRes(7).select();
    window.ctl(txtBreit).setText(L"400");
    window.ctl(txtHoch).setText(L"1010");
    win(notepad).placement.rcNormalPosition = {1500, 20, 1900, 320};
    for (const fake::Convention convention : {fake::Convention::Windows, fake::Convention::Wine}) {
        fake.desktop.convention = convention;
        size(notepad);
        EXPECT_EQ(normalOf(notepad), (Rect{1500, 14, 1900, 1024}));
        restore(notepad);
        EXPECT_EQ(normalOf(notepad), (Rect{1500, 20, 1900, 320}));
    }

    // On the primary monitor the window keeps its distance from the taskbar.
    win(notepad).placement.rcNormalPosition = {100, 50, 500, 350};
    window.ctl(txtHoch).setText(L"500");
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 500, 550}));
}

TEST_F(SizingTest, ToolWindowCountsFromTheScreenCorner) {
    setWorkArea({0, 0, 1280, 1024}, {0, 30, 1280, 1024});
    win(notepad).toolWindow = true;
    withoutOptions();
    window.optRes(1).select();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 900, 650}));
    win(notepad).placement.rcNormalPosition = {600, 400, 700, 500};
    size(notepad);
    // 400 + 600 fits above the work area's bottom at 1024; counted from the
    // work area it would not.
    EXPECT_EQ(normalOf(notepad), (Rect{480, 400, 1280, 1000}));
}

// A maximised tool window's outer rectangle is not its normal one, yet its
// placement still counts from the screen's corner, not from the work area.
TEST_F(SizingTest, MaximisedToolWindowUnderATopTaskbarCountsFromTheScreenCorner) {
    setWorkArea({0, 0, 1280, 1024}, {0, 30, 1280, 1024});
    win(notepad).toolWindow = true;
    win(notepad).placement.showCmd = platform::showMaximized;
    win(notepad).placement.rcNormalPosition = {100, 600, 500, 900};
    withoutOptions();
    window.optRes(0).select();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 544, 740, 1024}));
    restore(notepad);
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showMaximized);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 600, 500, 900}));
}

TEST_F(SizingTest, WindowOfAProgramThatDoesNotAnswerIsLeftAlone) {
    size(notepad);
    const Rect sized = normalOf(notepad);
    const auto history = window.state().resizedWindows;
    win(notepad).hung = true;
    for (const Ctl toggle : {chkGo, chkBack}) {
        act(toggle, notepad, notepad);
        EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"is not responding and was left unchanged");
        EXPECT_EQ(normalOf(notepad), sized);
        EXPECT_EQ(window.state().resizedWindows, history);
    }
    // Once it answers again, its record is still there to restore.
    win(notepad).hung = false;
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 500, 350}));
}

TEST_F(SizingTest, ChangeThatWaitsForAHungProgramIsNotReportedAsDone) {
    const std::wstring waiting = L"Untitled - Notepad" + crlf + L"is not responding and has not changed yet";
    win(notepad).hangsWhenChanged = true;
    size(notepad);
    EXPECT_EQ(result(), waiting);
    // The record stays, to restore the window once the change has landed.
    EXPECT_EQ(window.state().resizedWindows.size(), 2u);
    restore(notepad);
    EXPECT_EQ(result(), waiting);

    // Restoring stays possible.
    win(notepad).hangsWhenChanged = win(notepad).changePending = false;
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 500, 350}));
}

TEST_F(SizingTest, AskedSizeIsTheSizeOfTheVisibleFrame) {
    // Windows' invisible resize borders at 100 %: the outer rectangle is
    // 14 x 7 larger than the frame the user sees.
    const platform::Margins borders{7, 0, 7, 7};
    win(notepad).invisibleMargins = borders;
    withoutOptions();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1138, 825}));
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1024 x 768");

    // Near the work area's right and bottom edges the visible frame ends on
    // them; only the invisible borders reach past.
    setWorkArea({0, 0, 1280, 1024}, {0, 0, 1280, 994});
    const Rect start{600, 400, 700, 500};
    win(notepad).placement.rcNormalPosition = start;
    window.optRes(1).select();
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{473, 394, 1287, 1001}));
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"800 x 600");
    restore(notepad);
    EXPECT_EQ(normalOf(notepad), start);

    // A maximised window announces other margins until it is back to normal.
    win(notepad).placement.showCmd = platform::showMaximized;
    win(notepad).otherStateMargins = platform::Margins{8, 8, 8, 8};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{473, 394, 1287, 1001}));
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"800 x 600");
    restore(notepad);
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showMaximized);
    EXPECT_EQ(normalOf(notepad), start);

    // Margins that no frame can have count as none.
    for (const platform::Margins absurd :
         {platform::Margins{-7, 0, 7, 7}, {0, std::numeric_limits<std::int32_t>::max(), 0, 0}}) {
        win(other).invisibleMargins = absurd;
        win(other).placement.rcNormalPosition = {10, 10, 300, 200};
        size(other);
        EXPECT_EQ(normalOf(other), (Rect{10, 10, 810, 610}));
        EXPECT_EQ(result(), L"Other" + crlf + resized + L"800 x 600");
    }
}

TEST_F(SizingTest, DesktopAndPanelsAreLeftAlone) {
    size(other);  // while it still counted as an ordinary window
    const auto history = window.state().resizedWindows;
    const int applied = win(other).placementsApplied;
    for (const platform::WindowKind kind : {platform::WindowKind::desktop, platform::WindowKind::panel}) {
        win(other).kind = kind;
        for (const Ctl toggle : {chkGo, chkBack}) {
            window.ctl(txtResult).setText(L"");
            act(toggle, other, other);
            EXPECT_EQ(result(), L"Other" + crlf + L"is part of the desktop and was left unchanged");
        }
    }
    EXPECT_EQ(win(other).placementsApplied, applied);
    EXPECT_EQ(window.state().resizedWindows, history);
}

TEST_F(SizingTest, AppliedPlacementKeepsFlagsAndClearsMinimisedAndMaximisedPositions) {
    win(notepad).placement.flags = 2;  // WPF_RESTORETOMAXIMIZED
    win(notepad).placement.ptMinPosition = {-32000, -32000};
    win(notepad).placement.ptMaxPosition = {-8, -8};
    size(notepad);
    const platform::WindowPlacement& applied = win(notepad).placement;
    EXPECT_EQ(applied.flags, 2u);
    EXPECT_EQ(applied.ptMinPosition.x, 0);
    EXPECT_EQ(applied.ptMinPosition.y, 0);
    EXPECT_EQ(applied.ptMaxPosition.x, 0);
    EXPECT_EQ(applied.ptMaxPosition.y, 0);
}

TEST_F(SizingTest, OnlyATickAddsTheBorderOrTakesTheTaskbar) {
    // The greyed state counts as clear.
    window.ctl(chkBorder).setValue(2);
    window.ctl(chkTask).setValue(2);
    size(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1024 x 768");
    window.ctl(chkBorder).setValue(1);
    size(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1030 x 774");
}

TEST_F(SizingTest, EntriesAreReadAsTheyStandWhenTheActionFires) {
    withoutOptions();
    window.optRes(7).select();
    window.form().userClicked(chkGo);
    fake.desktop.foreground = notepad;
    window.form().timerFired(Timer1);
    // Typed between the release of the toggle and the firing: normalised then.
    window.ctl(txtBreit).setText(L"-70.5");
    window.ctl(txtHoch).setText(L"5e2");
    window.form().timerFired(Timer2);
    EXPECT_EQ(window.ctl(txtBreit).text(), L"71");
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"71 x 500");
}

TEST_F(SizingTest, WindowOnAnotherMonitorStaysThere) {
    fake.desktop.monitors = {{0, 0, 1280, 1024}, {1280, 0, 2560, 1024}, {-1024, 0, 0, 768}};
    win(notepad).placement.rcNormalPosition = {2000, 100, 2400, 400};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{1530, 100, 2560, 846}));

    // Left of the primary monitor: kept at its negative left edge.
    win(notepad).placement.rcNormalPosition = {-900, 100, -500, 400};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{-1024, 22, 6, 768}));

    // Mostly on the second monitor though it starts on the first.
    win(notepad).placement.rcNormalPosition = {1200, 100, 1800, 400};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{1280, 100, 2310, 846}));

    // On no monitor: the nearest one.
    win(notepad).placement.rcNormalPosition = {3000, 2000, 3400, 2300};
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{1530, 278, 2560, 1024}));
}

TEST_F(SizingTest, FailingWorkAreaReadPutsTheWindowAtTheCorner) {
    fake.desktop.failWorkArea = true;
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{0, 0, 1030, 746}));
}

TEST_F(SizingTest, ReportShowsTheSizeTheWindowReallyHas) {
    win(notepad).minimumSize = {1200, 900};
    size(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + resized + L"1200 x 900");

    // A window that refuses keeps its size, and the report says so.
    win(other).refusesPlacements = true;
    size(other);
    EXPECT_EQ(result(), L"Other" + crlf + resized + L"290 x 190");
}

TEST_F(SizingTest, FailingReadBackSizesTheWindowWithoutAText) {
    win(notepad).readsLeft = 1;
    size(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));
    EXPECT_EQ(result(), L"结果");
}

TEST_F(SizingTest, NothingHappensWithoutAWindowToActOn) {
    // The main window back in the foreground when Timer2 fires.
    act(chkGo, notepad, fake::mainWindowHandle);
    act(chkBack, notepad, fake::mainWindowHandle);
    // Another window of this program, as a Wayland desktop knows it.
    fake.desktop.ownWindows = {other};
    act(chkGo, notepad, other);
    fake.desktop.ownWindows.clear();
    // No foreground window, a negative handle, an unreadable window.
    act(chkGo, notepad, 0);
    fake.desktop.windows[0x80000010] = {};
    act(chkGo, notepad, 0x80000010);
    win(other).readsLeft = 0;
    act(chkGo, notepad, other);
    act(chkBack, notepad, other);

    EXPECT_EQ(result(), L"结果");
    EXPECT_EQ(window.state().resizedWindows.size(), 1u);
    for (const auto& [handle, w] : fake.desktop.windows) EXPECT_EQ(w.placementsApplied, 0) << handle;
    EXPECT_EQ(window.state().targetWindow, other);

    // A window the platform cannot reach is acted on neither way, and said so.
    for (const Ctl toggle : {chkGo, chkBack}) {
        window.ctl(txtResult).setText(L"");
        act(toggle, platform::unreachableWindow, platform::unreachableWindow);
        EXPECT_EQ(result(), L"The clicked window is not an X11 window and cannot be reached");
    }
    for (const auto& [handle, w] : fake.desktop.windows) EXPECT_EQ(w.placementsApplied, 0) << handle;
}

TEST_F(SizingTest, TitleLosesItsLeadingSpacesOnly) {
    win(notepad).title = L"";
    size(notepad);
    EXPECT_EQ(result(), crlf + resized + L"1030 x 746");

    win(notepad).title = L"  Doc  ";
    size(notepad);
    EXPECT_EQ(result(), L"Doc  " + crlf + resized + L"1030 x 746");

    win(notepad).title = L"记事本 – Ελληνικά";
    restore(notepad);
    EXPECT_EQ(result(), L"记事本 – Ελληνικά" + crlf + L"恢复其原始大小。");

    // As read into a buffer of 256: at most 255 characters, NULs dropped.
    EXPECT_EQ(sizing::shownTitle(L"  " + std::wstring(300, L'x')), std::wstring(253, L'x'));
    EXPECT_EQ(sizing::shownTitle(std::wstring(L" a\0b  ", 6)), L"ab  ");
}

TEST_F(SizingTest, RestoreBringsBackThePlacementFromBeforeTheLastSizingOnce) {
    size(notepad);
    window.optRes(1).select();
    size(notepad);
    EXPECT_EQ(window.state().resizedWindows.size(), 2u);

    restore(notepad);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");

    const int applied = win(notepad).placementsApplied;
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"original size has already been restored");
    EXPECT_EQ(win(notepad).placementsApplied, applied);

    // Sizing again makes it restorable again.
    size(notepad);
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");
}

TEST_F(SizingTest, RestoringAWindowNeverSizedLeavesItAlone) {
    size(notepad);
    restore(other);
    EXPECT_EQ(result(), L"Other" + crlf + L"is unknown and cannot be sized back");
    EXPECT_EQ(win(other).placementsApplied, 0);
    EXPECT_EQ(window.state().resizedWindows.size(), 2u);
}

TEST_F(SizingTest, MaximisedWindowIsSizedNormalAndComesBackMaximised) {
    win(notepad).placement.showCmd = platform::showMaximized;
    win(notepad).placement.ptMaxPosition = {-8, -8};
    size(notepad);
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showNormal);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));
    EXPECT_EQ(win(notepad).placement.ptMaxPosition.x, 0);

    restore(notepad);
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showMaximized);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 500, 350}));
}

TEST_F(SizingTest, HistoryKeepsOneRecordPerWindowFromIndexOne) {
    size(notepad);
    size(other);
    size(notepad);
    restore(other);
    const auto& history = window.state().resizedWindows;
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0], sizing::HistoryRecord{});
    EXPECT_EQ(history[1], (sizing::HistoryRecord{notepad, platform::showNormal, 100, 50, 1130, 796}));
    EXPECT_EQ(history[2], (sizing::HistoryRecord{other, sizing::restoredMarker, 10, 10, 300, 200}));
}

TEST_F(SizingTest, SizeBeyondThe32BitRangeIsRefused) {
    size(notepad);
    const auto historyBefore = window.state().resizedWindows;
    const int applied = win(notepad).placementsApplied;

    // The entry field keeps "1E+20" (five characters) through the normalising.
    window.ctl(txtBorder).setText(L"1E+20");
    size(notepad);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"1E+20");
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"new size is out of range and cannot be applied");
    EXPECT_EQ(win(notepad).placementsApplied, applied);
    EXPECT_EQ(normalOf(notepad), (Rect{100, 50, 1130, 796}));
    EXPECT_EQ(window.state().resizedWindows, historyBefore);

    // A taskbar that large is refused too, rather than ending at 16.
    window.ctl(txtBorder).setText(L"3");
    window.ctl(txtTask).setText(L"9E+99");
    size(other);
    EXPECT_EQ(result(), L"Other" + crlf + L"new size is out of range and cannot be applied");
    EXPECT_EQ(win(other).placementsApplied, 0);
    EXPECT_EQ(window.state().resizedWindows, historyBefore);
}

TEST_F(SizingTest, CoordinateBeyondThe32BitRangeIsRefused) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    fake.desktop.monitors = {{0, 0, 1280, 1024}, {max - 1000, 0, max, 1024}};
    win(notepad).placement.rcNormalPosition = {max - 900, 0, max - 800, 100};
    size(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"new size is out of range and cannot be applied");
    EXPECT_EQ(win(notepad).placementsApplied, 0);
    EXPECT_EQ(window.state().resizedWindows.size(), 1u);
}

TEST_F(SizingTest, RefusedRestoreIsReportedAndCanBeTriedAgain) {
    win(notepad).placement.showCmd = platform::showMaximized;
    size(notepad);
    win(notepad).refusesPlacements = true;
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"original size could not be restored");
    EXPECT_EQ(window.state().resizedWindows[1].showCmd, platform::showMaximized);

    win(notepad).refusesPlacements = false;
    restore(notepad);
    EXPECT_EQ(result(), L"Untitled - Notepad" + crlf + L"恢复其原始大小。");
    EXPECT_EQ(win(notepad).placement.showCmd, platform::showMaximized);
}

TEST(PlacedRectangle, OnOneMonitorFollowsTheRuleOfTheWorkAreaSize) {
    // The rule with only the work area's size: move left or up to end at its
    // right or bottom edge, never past (0, 0).
    const auto singleMonitorRule = [](Rect r, platform::Size s, std::int32_t workWidth, std::int32_t workHeight) {
        if (r.left + s.width > workWidth) r.left = workWidth - s.width;
        if (r.top + s.height > workHeight) r.top = workHeight - s.height;
        if (r.left < 0) r.left = 0;
        if (r.top < 0) r.top = 0;
        return Rect{r.left, r.top, r.left + s.width, r.top + s.height};
    };
    for (const std::int32_t left : {-50, 0, 100, 600, 1279, 2000})
        for (const std::int32_t top : {-50, 0, 50, 400, 993, 1500})
            for (const platform::Size s : {platform::Size{16, 16}, {800, 600}, {1030, 746}, {1280, 994}, {1600, 1200}}) {
                const Rect normal{left, top, left + 10, top + 10};
                EXPECT_EQ(sizing::placedRectangle(normal, s, {0, 0, 1280, 994}),
                          singleMonitorRule(normal, s, 1280, 994))
                    << left << "," << top << " " << s.width << "x" << s.height;
            }
}

TEST(AskedSize, RefusesWhatLeavesThe32BitRange) {
    using sizing::SizeRequest;
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(sizing::askedSize({.width = max, .height = 100}), (platform::Size{max, 100}));
    EXPECT_FALSE(sizing::askedSize({.width = max + 1.0, .height = 100}));
    EXPECT_FALSE(sizing::askedSize({.width = max - 1.0, .height = 100, .border = 1.0}));
    EXPECT_FALSE(
        sizing::askedSize({.width = 100, .height = 100, .taskbar = -1.0 * max, .horizontalTaskbar = false}));
    EXPECT_FALSE(sizing::askedSize({.width = 100, .height = 100, .border = HUGE_VAL}));
    EXPECT_EQ(sizing::askedSize({.width = 100, .height = 100, .taskbar = 1000.0}), (platform::Size{100, 16}));
}

}  // namespace
