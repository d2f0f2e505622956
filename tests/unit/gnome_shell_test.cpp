#include <gtest/gtest.h>

#include <climits>

#include "platform/gnome_shell/shell_replies.h"

namespace {

namespace gs = platform::gnome_shell;
using platform::Rect;

TEST(GnomeShellReplies, RectanglesOutsideThe32BitRangeOrInsideOutAreRefused) {
    EXPECT_EQ(gs::rectangleFrom({-10, 20, 1030, 746}), (Rect{-10, 20, 1020, 766}));
    EXPECT_EQ(gs::rectangleFrom({INT_MAX - 5, 0, 6, 1}), std::nullopt);
    EXPECT_EQ(gs::rectangleFrom({0, 0, -1, 10}), std::nullopt);
    // Asking: the size must be positive and fit.
    EXPECT_EQ(gs::shellRectangleOf({7, 8, 1037, 754}), (gs::ShellRectangle{7, 8, 1030, 746}));
    EXPECT_EQ(gs::shellRectangleOf({5, 5, 5, 9}), std::nullopt);
    EXPECT_EQ(gs::shellRectangleOf({INT_MIN, 0, INT_MAX, 1}), std::nullopt);
}

TEST(GnomeShellReplies, OnlyKnownNamesAndSensibleMonitorLayoutsAreTaken) {
    EXPECT_EQ(gs::kindNamed("panel"), platform::WindowKind::panel);
    EXPECT_EQ(gs::kindNamed("Desktop"), std::nullopt);
    EXPECT_EQ(gs::stateNamed("maximized"), platform::showMaximized);
    EXPECT_EQ(gs::stateNamed(""), std::nullopt);
    EXPECT_EQ(gs::stateName(platform::showRestore), "normal");

    const gs::MonitorValues left{0, 0, 1280, 1024, 0, 32, 1280, 992};
    const gs::MonitorValues right{1280, 0, 1024, 768, 1280, 0, 1024, 768};
    const std::optional<gs::MonitorLayout> two = gs::monitorLayoutFrom(1, {left, right});
    ASSERT_TRUE(two);
    EXPECT_EQ(two->primary, 1u);
    EXPECT_EQ(two->monitors[0].workArea, (Rect{0, 32, 1280, 1024}));
    EXPECT_EQ(gs::monitorLayoutFrom(2, {left, right}), std::nullopt);
    EXPECT_EQ(gs::monitorLayoutFrom(0, {}), std::nullopt);
    // A work area reaching past its monitor, or an empty one.
    EXPECT_EQ(gs::monitorLayoutFrom(0, {{0, 0, 1280, 1024, 0, 32, 1280, 1024}}), std::nullopt);
    EXPECT_EQ(gs::monitorLayoutFrom(0, {{0, 0, 1280, 1024, 0, 0, 0, 1024}}), std::nullopt);
}

TEST(GnomeShellReplies, AnAbsentExtensionIsExplainedByItsState) {
    EXPECT_NE(gs::absentExtension(std::nullopt).find(L"has no Ambrisk 2 extension"), std::wstring::npos);
    // Installed but never switched on, or switched off.
    for (const double off : {2.0, 6.0}) {
        const std::wstring said = gs::absentExtension(off);
        EXPECT_NE(said.find(L"gnome-extensions enable ambrisk2@ambrisk2.invalid"), std::wstring::npos);
        EXPECT_NE(said.find(L"log out and in again"), std::wstring::npos);
    }
    EXPECT_EQ(gs::absentExtension(1.0), gs::extensionSilent);
    EXPECT_NE(gs::absentExtension(4.0).find(L"does not support this release"), std::wstring::npos);
}

}  // namespace
