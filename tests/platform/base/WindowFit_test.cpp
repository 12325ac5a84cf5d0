#include "platform/base/WindowFit.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

// One axis of a desktop 1920 pixels across (28800 twips), or of one 1080
// down with a panel of 30 pixels along its top; minimum 6000 twips.
std::pair<long, long> Across(long place, long extent, long freeStart = 0, long freeExtent = 28800,
                             long desktop = 28800)
{
    platform::FitOnScreen(place, extent, 6000, desktop, freeStart, freeExtent);
    return {place, extent};
}

std::pair<long, long> Down(long place, long extent)
{
    platform::FitOnScreen(place, extent, 6000, 16200, 450, 15750);
    return {place, extent};
}

using Shown = std::pair<long, long>;

} // namespace

TEST(WindowFit, AWindowOnTheScreenStaysAndOnePastAnEdgeComesInside)
{
    EXPECT_EQ(Across(1000, 12765), Shown(1000, 12765));
    EXPECT_EQ(Down(1000, 9165), Shown(1000, 9165));
    // Past the desktop's far edge: 300 twips inside it.
    EXPECT_EQ(Across(20000, 12765), Shown(28800 - 12765 - 300, 12765));
    EXPECT_EQ(Down(12000, 9165), Shown(16200 - 9165 - 300, 9165));
    // Past the free area's far edge but not the desktop's: just inside it.
    EXPECT_EQ(Across(20000, 12765, 0, 27000), Shown(27000 - 12765, 12765));
}

TEST(WindowFit, ATitleBarAboveOrLeftOfTheScreenComesOntoIt)
{
    EXPECT_EQ(Across(-600, 12765), Shown(0, 12765));
    EXPECT_EQ(Down(-600, 9165), Shown(450, 9165));
    // Far off either edge, as a hand-edited file may hold.
    EXPECT_EQ(Across(-2147483647, 12765), Shown(0, 12765));
    EXPECT_EQ(Down(2147483647, 9165), Shown(16200 - 9165 - 300, 9165));
}

TEST(WindowFit, AWindowLargerThanTheFreeAreaFillsItFromItsNearEdge)
{
    EXPECT_EQ(Across(1000, 99999999), Shown(0, 28800));
    EXPECT_EQ(Down(1000, 99999999), Shown(450, 15750));
    EXPECT_EQ(Down(-135345, 99999999), Shown(450, 15750));
    // A size below the minimum, or none at all, gives the minimum.
    EXPECT_EQ(Across(1000, -5), Shown(1000, 6000));
    EXPECT_EQ(Down(1000, 0), Shown(1000, 6000));
    // A screen smaller than the minimum: the minimum wins, the near edge
    // stays on the screen.
    EXPECT_EQ(Across(3000, 12765, 0, 4800), Shown(0, 6000));
}

TEST(WindowFit, ASecondScreensWindowStaysOnThatScreen)
{
    // The second screen lies right of the first on a desktop of both.
    EXPECT_EQ(Across(30000, 12765, 28800, 28800, 57600), Shown(30000, 12765));
    EXPECT_EQ(Across(30000, 99999999, 28800, 28800, 57600), Shown(28800, 28800));
    EXPECT_EQ(Across(1000, 12765, 28800, 28800, 57600), Shown(28800, 12765));
}
