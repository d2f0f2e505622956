#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/frame_geometry.h"
#include "platform/linux/monitor_layout.h"
#include "platform/linux/size_limits.h"
#include "platform/linux/wide_text.h"

namespace platform {
void PrintTo(const Rect& r, std::ostream* out);  // with the sizing tests
}  // namespace platform

namespace {

using platform::Rect;
using platform::Size;
using namespace platform::x11;

// Openbox's default theme: 1 pixel at the sides, a 20-pixel title bar, a
// 5-pixel handle at the bottom.
const std::vector<long> openboxExtents{1, 1, 20, 5};

TEST(FrameGeometry, OuterRectangleAndPlacementAreEachOthersInverse) {
    const FrameExtents frame = frameExtentsFrom(openboxExtents);
    // xterm at 100,50 as Openbox puts it: its client starts inside the frame.
    const Rect outer = outerRectangle({{101, 70}, {484, 316}, 0}, frame);
    EXPECT_EQ(outer, (Rect{100, 50, 586, 391}));

    const FramePlacement placed = framePlacement({100, 50, 1130, 796}, frame, 0);
    EXPECT_EQ(placed.frameOrigin.x, 100);
    EXPECT_EQ(placed.frameOrigin.y, 50);
    EXPECT_EQ(placed.clientSize, (Size{1028, 721}));
    EXPECT_EQ(outerRectangle({{101, 70}, placed.clientSize, 0}, frame), (Rect{100, 50, 1130, 796}));

    // A client's own border counts as part of the outer rectangle.
    EXPECT_EQ(outerRectangle({{10, 10}, {100, 50}, 2}, {}), (Rect{8, 8, 112, 62}));
    EXPECT_EQ(framePlacement({8, 8, 112, 62}, {}, 2).clientSize, (Size{100, 50}));
}

TEST(FrameGeometry, KeepsWithinWhatTheProtocolCarries) {
    const FrameExtents frame = frameExtentsFrom(openboxExtents);
    // A 16 x 16 frame leaves no room for the client: it gets one pixel.
    EXPECT_EQ(framePlacement({0, 0, 16, 16}, frame, 0).clientSize, (Size{14, 1}));
    const FramePlacement huge = framePlacement({-40000, 0, 100000, 50000}, frame, 0);
    EXPECT_EQ(huge.frameOrigin.x, -32768);
    EXPECT_EQ(huge.clientSize, (Size{32767, 32767}));
    // Missing or nonsensical extents mean no frame.
    for (const std::vector<long>& bad : {std::vector<long>{1, 1, 20}, {1, -1, 20, 5}, {1, 1, 70000, 5}}) {
        const FrameExtents none = frameExtentsFrom(bad);
        EXPECT_EQ(none.left + none.right + none.top + none.bottom, 0);
    }
}

TEST(FrameGeometry, UnannouncedFramesAndClientShadows) {
    // i3's floating frame: 2 pixels at the sides and bottom, an 18-pixel title.
    const ClientGeometry client{{102, 68}, {400, 300}, 0};
    EXPECT_EQ(extentsAround(client, {100, 50, 504, 370}), (FrameExtents{2, 2, 18, 2}));
    // A window manager that only reparents; a "frame" that does not hold the client.
    EXPECT_EQ(extentsAround(client, {102, 68, 502, 368}), FrameExtents{});
    EXPECT_EQ(extentsAround(client, {110, 50, 504, 370}), FrameExtents{});

    // GTK 3's header-bar shadow, published left, right, top, bottom.
    EXPECT_EQ(clientMarginsFrom(std::vector<long>{26, 26, 23, 29}, {452, 399}),
              (platform::Margins{26, 23, 26, 29}));
    for (const std::vector<long>& bad : {std::vector<long>{26, 26, 23},
                                         {26, 26, 23, 29, 0},
                                         {26, -1, 23, 29},
                                         {26, 26, 23, 4294967295},
                                         {226, 226, 23, 29},
                                         {26, 26, 200, 199}})
        EXPECT_EQ(clientMarginsFrom(bad, {452, 399}), platform::Margins{});
}

// One 1280 x 1024 monitor, or that one with a 1024 x 768 one to its right.
const Size oneScreen{1280, 1024}, twoScreens{2304, 1024};
const Rect leftMonitor{0, 0, 1280, 1024}, rightMonitor{1280, 0, 2304, 768};

std::vector<ReservedEdge> partial(std::vector<long> values, Size screen) {
    return reservedEdgesFromPartialStrut(values, screen);
}

TEST(WorkArea, PanelsOnEveryEdgeOfOneMonitor) {
    std::vector<ReservedEdge> reserved = reservedEdgesFromStrut(std::vector<long>{40, 0, 0, 0}, oneScreen);
    for (const auto& edge : {partial({0, 30, 0, 0, 0, 0, 0, 1023, 0, 0, 0, 0}, oneScreen),
                             partial({0, 0, 25, 0, 0, 0, 0, 0, 0, 1279, 0, 0}, oneScreen),
                             partial({0, 0, 0, 28, 0, 0, 0, 0, 0, 0, 0, 1279}, oneScreen)})
        reserved.insert(reserved.end(), edge.begin(), edge.end());
    EXPECT_EQ(workAreaOf(leftMonitor, reserved), (Rect{40, 25, 1250, 996}));
    // Nonsense reserves nothing.
    EXPECT_TRUE(partial({0, 0, -5, 0, 0, 0, 0, 0, 0, 1279, 0, 0}, oneScreen).empty());
    EXPECT_TRUE(partial({0, 0, 25, 0}, oneScreen).empty());
}

TEST(WorkArea, StrutsCountOnTheMonitorsTheyLieOn) {
    // A top panel over the left monitor only; a bottom panel on the shorter
    // right monitor reaches up from the screen's bottom edge past its gap.
    std::vector<ReservedEdge> reserved = partial({0, 0, 28, 0, 0, 0, 0, 0, 0, 1279, 0, 0}, twoScreens);
    const auto bottom = partial({0, 0, 0, 256 + 30, 0, 0, 0, 0, 0, 0, 1280, 2303}, twoScreens);
    reserved.insert(reserved.end(), bottom.begin(), bottom.end());
    EXPECT_EQ(workAreaOf(leftMonitor, reserved), (Rect{0, 28, 1280, 1024}));
    EXPECT_EQ(workAreaOf(rightMonitor, reserved), (Rect{1280, 0, 2304, 738}));

    // A left panel of the right monitor, counted from the screen's left
    // edge, would swallow the left monitor: it is passed over there.
    const auto panel = partial({1280 + 50, 0, 0, 0, 0, 767, 0, 0, 0, 0, 0, 0}, twoScreens);
    EXPECT_EQ(workAreaOf(leftMonitor, panel), leftMonitor);
    EXPECT_EQ(workAreaOf(rightMonitor, panel), (Rect{1330, 0, 2304, 768}));

    // A rectangle belongs to the monitor holding most of it, else the nearest.
    const std::vector<Rect> monitors{leftMonitor, rightMonitor};
    EXPECT_EQ(monitorHolding(monitors, {1200, 10, 1400, 100}), 1u);
    EXPECT_EQ(monitorHolding(monitors, {2400, 900, 2500, 1000}), 1u);
    EXPECT_EQ(monitorHolding(monitors, {-300, 10, -100, 100}), 0u);
}

TEST(SizeLimits, WidenedOnlyWhereTheyForbidTheSize) {
    SizeLimits xterm;  // steps of a character cell from a base size
    xterm.minimum = Size{10, 17};
    xterm.base = Size{4, 4};
    xterm.step = Size{6, 13};
    EXPECT_EQ(allowing(xterm, {484, 316}), xterm);
    SizeLimits offGrid = xterm;
    offGrid.step.reset();
    EXPECT_EQ(allowing(xterm, {1028, 721}), offGrid);

    SizeLimits fixed;  // minimum and maximum pin the size; steps count from the minimum
    fixed.minimum = fixed.maximum = Size{300, 200};
    fixed.step = Size{10, 10};
    SizeLimits smaller = fixed;
    smaller.minimum = Size{100, 100};
    smaller.step.reset();
    EXPECT_EQ(allowing(fixed, {100, 100}), smaller);
    SizeLimits larger = fixed;
    larger.maximum = Size{500, 400};
    EXPECT_EQ(allowing(fixed, {500, 400}), larger);

    SizeLimits square;
    square.aspect = platform::x11::AspectRange{{1, 1}, {1, 1}};
    EXPECT_EQ(allowing(square, {300, 300}), square);
    EXPECT_EQ(allowing(square, {400, 300}), SizeLimits{});
}

TEST(Title, Utf8WithEachStrayByteAsAReplacement) {
    using platform::posix::fromUtf8Lossy;
    EXPECT_EQ(fromUtf8Lossy("\xE8\xAE\xB0\xE4\xBA\x8B\xE6\x9C\xAC x"), L"记事本 x");
    // Broken sequences, overlong forms and surrogates do not pass as text.
    // Each byte that is not part of a character shows as U+FFFD.
    EXPECT_EQ(fromUtf8Lossy("a\xC3(\xC0\xAF\xED\xA0\x80"), L"a\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

}  // namespace
