#include "platform/linux/logical_pixels.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ui/layout.h"

namespace {

using namespace platform::gtk;

TEST(LogicalPixels, TheLayoutKeepsItsPixelGeometry) {
    EXPECT_EQ(toLogicalPixels(ui::clientWidthTwips), 353);
    EXPECT_EQ(toLogicalPixels(ui::clientHeightTwips), 385);
    // Halves round away from zero, on both sides of it.
    EXPECT_EQ(toLogicalPixels(7), 0);
    EXPECT_EQ(toLogicalPixels(8), 1);
    EXPECT_EQ(toLogicalPixels(-8), -1);
    EXPECT_EQ(toLogicalPixels(-7), 0);
}

TEST(LogicalPixels, WindowPositionsFromTheModelStayOnAScreenAndComeBack) {
    EXPECT_EQ(positionToLogicalPixels(toTwips(640)), 640);
    EXPECT_EQ(positionToLogicalPixels(toTwips(-20)), -20);
    EXPECT_EQ(positionToLogicalPixels(1e30f), 32000);
    EXPECT_EQ(positionToLogicalPixels(-1e30f), -32000);
    EXPECT_EQ(positionToLogicalPixels(std::nanf("")), 0);
}

TEST(LogicalPixels, TwipsPerPhysicalPixelFollowTheScaleFactor) {
    EXPECT_FLOAT_EQ(twipsPerPhysicalPixel(1), 15.0f);
    EXPECT_FLOAT_EQ(twipsPerPhysicalPixel(2), 7.5f);
    EXPECT_FLOAT_EQ(twipsPerPhysicalPixel(0), 15.0f);  // a scale not yet known
}

}  // namespace
