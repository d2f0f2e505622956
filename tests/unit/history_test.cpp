#include <gtest/gtest.h>

#include <cstring>

#include "sizing/history.h"

namespace {

using sizing::History;
using sizing::HistoryRecord;

platform::WindowPlacement placement(platform::ShowState showCmd, platform::Rect normal) {
    return {0, showCmd, {}, {}, normal};
}

struct HistoryTest : ::testing::Test {
    History history{HistoryRecord{}};  // as the load step leaves it
};

TEST_F(HistoryTest, FreshListKnowsNoWindowAndFirstRecordGoesToIndexOne) {
    platform::WindowPlacement probe = placement(platform::showNormal, {1, 2, 3, 4});
    probe.flags = 7;
    const platform::WindowPlacement before = probe;
    EXPECT_FALSE(sizing::recall(history, probe, 0x2020));
    EXPECT_EQ(std::memcmp(&probe, &before, sizeof probe), 0);

    sizing::remember(history, placement(platform::showNormal, {10, 20, 410, 320}), 0x2020);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0], HistoryRecord{});
    EXPECT_EQ(history[1], (HistoryRecord{0x2020, platform::showNormal, 10, 20, 410, 320}));
}

TEST_F(HistoryTest, OneRecordPerWindowInFirstSizedOrderNeverRemoved) {
    sizing::remember(history, placement(platform::showNormal, {0, 0, 100, 100}), 0x2020);
    sizing::remember(history, placement(platform::showNormal, {5, 5, 50, 50}), 0x3030);
    sizing::remember(history, placement(platform::showMaximized, {7, 8, 9, 10}), 0x2020);
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[1], (HistoryRecord{0x2020, platform::showMaximized, 7, 8, 9, 10}));
    EXPECT_EQ(history[2], (HistoryRecord{0x3030, platform::showNormal, 5, 5, 50, 50}));

    platform::WindowPlacement out = placement(platform::showNormal, {});
    EXPECT_TRUE(sizing::recall(history, out, 0x3030));
    EXPECT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0], HistoryRecord{});
}

TEST_F(HistoryTest, RecallHandsBackTheStoredPlacementOnceThenTheMarker) {
    // A maximised window with a rectangle left of and above the work area.
    sizing::remember(history, placement(platform::showMaximized, {-300, -20, 200, 400}), 0x2020);
    platform::WindowPlacement out = placement(platform::showNormal, {1, 1, 2, 2});
    out.flags = 2;
    out.ptMinPosition = {-32000, -32000};
    out.ptMaxPosition = {-8, -8};

    ASSERT_TRUE(sizing::recall(history, out, 0x2020));
    EXPECT_EQ(out.showCmd, platform::showMaximized);
    EXPECT_EQ(out.rcNormalPosition, (platform::Rect{-300, -20, 200, 400}));
    // What the caller read stays.
    EXPECT_EQ(out.flags, 2u);
    EXPECT_EQ(out.ptMinPosition.x, -32000);
    EXPECT_EQ(out.ptMaxPosition.y, -8);
    EXPECT_EQ(history[1].showCmd, sizing::restoredMarker);

    platform::WindowPlacement again = placement(platform::showNormal, {});
    ASSERT_TRUE(sizing::recall(history, again, 0x2020));
    EXPECT_EQ(static_cast<std::int32_t>(again.showCmd), -12345);
    EXPECT_EQ(again.rcNormalPosition, (platform::Rect{-300, -20, 200, 400}));

    // A new sizing makes it restorable again, with fresh values.
    sizing::remember(history, placement(platform::showNormal, {1, 2, 3, 4}), 0x2020);
    ASSERT_TRUE(sizing::recall(history, again, 0x2020));
    EXPECT_EQ(again.showCmd, platform::showNormal);
    EXPECT_EQ(again.rcNormalPosition, (platform::Rect{1, 2, 3, 4}));
}

TEST_F(HistoryTest, ReopenTakesBackTheMarkOfOneWindowOnly) {
    sizing::remember(history, placement(platform::showMaximized, {1, 2, 3, 4}), 0x2020);
    sizing::remember(history, placement(platform::showNormal, {1, 2, 3, 4}), 0x3030);
    platform::WindowPlacement out{};
    sizing::recall(history, out, 0x2020);
    sizing::recall(history, out, 0x3030);
    sizing::reopen(history, 0x2020, platform::showMaximized);
    EXPECT_EQ(history[1].showCmd, platform::showMaximized);
    EXPECT_EQ(history[2].showCmd, sizing::restoredMarker);
    sizing::reopen(history, 0x4040, platform::showNormal);
    EXPECT_EQ(history.size(), 3u);
}

TEST(HistoryWithoutPlaceholder, FirstRecordStillGoesToIndexOne) {
    History history;
    sizing::remember(history, placement(platform::showNormal, {1, 2, 3, 4}), 0x2020);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0], HistoryRecord{});
}

}  // namespace
