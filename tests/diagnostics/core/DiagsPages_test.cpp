// The tabs a unit gets and the automatic refresh countdown; the page
// controls are tried through the window.
#include "diagnostics/core/DiagsSession.h"

#include <gtest/gtest.h>

namespace {

TEST(DiagsPages, TabsFollowTheSiteAHubTooOldForLiveStatusLosesThatTabAndAutomaticRefreshComesAtTheFirstTickThenEveryThirty)
{
    diagnostics::DiagsSession rlm, hub;
    using Captions = std::vector<std::string>;
    EXPECT_EQ(rlm.SetTabs(true), (Captions{"Device Status", "Live Status", "Comms Settings", "Comms Log"}));
    EXPECT_EQ(hub.SetTabs(false),
              (Captions{"Device Status", "Signal Strengths", "Live Status", "Comms Settings", "Comms Log"}));
    EXPECT_EQ(rlm.PageOfTab(1), PageLiveStatus);
    EXPECT_EQ(rlm.PageOfTab(4), -1);
    EXPECT_EQ(rlm.PageOfTab(-1), -1) << "no tab selected";
    EXPECT_EQ(hub.TabOfPage(PageCommsLog, 4), -1) << "only the tabs on the strip count";
    // Hubs below 2.34 and 3.11 have no live status; an RLM always has it.
    for (const auto& [version, tab] : std::vector<std::pair<std::string, int>>{
             {"2.33", 2}, {"3.10", 2}, {"2.0", 2}, {"3.05.1", 2}, {"2.34", -1}, {"3.11", -1}, {"4.00", -1}, {"", -1}}) {
        hub.UnitVersion = rlm.UnitVersion = version;
        EXPECT_EQ(hub.UnsupportedTab(false), tab) << version;
        EXPECT_EQ(rlm.UnsupportedTab(true), -1) << version;
    }
    hub.RemoveTab(2);
    EXPECT_EQ(hub.TabOfPage(PageCommsLog, 4), 3);
    EXPECT_EQ(hub.PageOfTab(4), -1);

    // Automatic refresh at the first tick, then every thirty.
    AutoRefreshCountdown countdown;
    countdown.Start();
    std::vector<int> due;
    for (int tick = 1; tick <= 61; ++tick)
        if (countdown.Tick())
            due.push_back(tick);
    EXPECT_EQ(due, (std::vector<int>{1, 31, 61}));
}

} // namespace
