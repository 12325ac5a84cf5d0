#include "platform/base/WindowFit.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

using Shown = std::pair<long, long>;

// One axis of a desktop 1920 pixels (28800 twips) across, its free area the
// whole of it unless told; minimum 6000 twips.
Shown Fit(long place, long extent, long freeStart = 0, long freeExtent = 28800, long desktop = 28800)
{
    platform::FitOnScreen(place, extent, 6000, desktop, freeStart, freeExtent);
    return {place, extent};
}

} // namespace

TEST(WindowFit, AWindowOnTheScreenStaysAndOnePastTheFarEdgeComesInside)
{
    EXPECT_EQ(Fit(1000, 12765), Shown(1000, 12765));
    EXPECT_EQ(Fit(20000, 12765), Shown(28800 - 12765 - 300, 12765));     // 300 twips inside the desktop
    EXPECT_EQ(Fit(20000, 12765, 0, 27000), Shown(27000 - 12765, 12765)); // and within the free area
}

TEST(WindowFit, ANearEdgeOffTheScreenOrASizeBeyondItIsBroughtOntoTheFreeArea)
{
    // A panel of 450 twips along the near edge; far off, as a hand-edited file may hold.
    EXPECT_EQ(Fit(-600, 9165, 450, 15750), Shown(450, 9165));
    EXPECT_EQ(Fit(-2147483647, 12765), Shown(0, 12765));
    EXPECT_EQ(Fit(-135345, 99999999, 450, 15750), Shown(450, 15750));
    // No size gives the minimum; a screen smaller than the minimum keeps the
    // minimum with the near edge on the screen.
    EXPECT_EQ(Fit(1000, 0), Shown(1000, 6000));
    EXPECT_EQ(Fit(3000, 12765, 0, 4800), Shown(0, 6000));
    // A second screen right of the first keeps its window.
    EXPECT_EQ(Fit(30000, 12765, 28800, 28800, 57600), Shown(30000, 12765));
    EXPECT_EQ(Fit(30000, 99999999, 28800, 28800, 57600), Shown(28800, 28800));
}
