// The live-status version rule and the automatic refresh countdown; the
// page controls are tried through the window.
#include "diagnostics/core/DiagsPages.h"

#include <gtest/gtest.h>

namespace {

TEST(DiagsPages, OldHubSoftwareHasNoLiveStatus)
{
    for (const char* old : {"2.33", "3.10", "2.0", "3.05.1"})
        EXPECT_TRUE(LiveStatusUnsupported(old)) << old;
    for (const char* current : {"2.34", "3.11", "4.00", "", "1.00"})
        EXPECT_FALSE(LiveStatusUnsupported(current)) << current;
}

TEST(DiagsPages, AutomaticRefreshAtTheFirstTickThenEveryThirty)
{
    AutoRefreshCountdown countdown;
    countdown.Start();
    std::vector<int> due;
    for (int tick = 1; tick <= 61; ++tick)
        if (countdown.Tick())
            due.push_back(tick);
    EXPECT_EQ(due, (std::vector<int>{1, 31, 61}));
}

} // namespace
