#include "views/core/UsageStatistics.h"

#include "SiteFixture.h"
#include "support/ListAt.h"

#include <gtest/gtest.h>

using namespace views;
using model::Nodes;
using testsupport::At;

namespace {

std::vector<std::string> Lines(StatsGrouping grouping, bool countUsed)
{
    return Written(UsageStatisticsLines({Nodes, LoopCount, MaxLoopAddress}, grouping, countUsed));
}

} // namespace

TEST(UsageStatistics, HubSiteByNodeLoopAndDevice)
{
    LoadFixtureSite("hub-site.qvs");
    // The hub counts 1 + (6 + 1) + (5 + 1): a combo base without a head
    // (type 13) counts two there, one on its loop.
    const std::vector<std::string> byNode = Lines(StatsGrouping::ByNode, true);
    ASSERT_EQ(byNode.size(), 11u);
    EXPECT_EQ(byNode[0], "Hub [Node] 2 Loop Radio Hub, 14 of 254 possible addresses used");
    EXPECT_EQ(byNode[1], "RCC 1 < Hub [Node] RCC 1, 5 of 31 device slots used");
    EXPECT_EQ(byNode[7], "RCC 2 < Hub [Node] RCC 2, 3 of 31 device slots used");
    EXPECT_EQ(byNode[10], " < RCC 2 [ComboBeacon] 1 Multisensor Combo/Beacon");
    const std::vector<std::string> byLoop = Lines(StatsGrouping::ByLoop, false);
    ASSERT_EQ(byLoop.size(), 13u);
    EXPECT_EQ(byLoop[0], "Loop 1 [Loop] Loop 1, 120 of 127 addresses free");
    EXPECT_EQ(byLoop[1], "Hub < Loop 1 [Node] Radio Hub, 240 of 254 possible addresses free");
    EXPECT_EQ(byLoop[5], " < Loop 1 [Combo] 1 Combo");
    EXPECT_EQ(byLoop[7], "Loop 2 [Loop] Loop 2, 121 of 127 addresses free");
    const std::vector<std::string> byDevice = Lines(StatsGrouping::ByDevice, false);
    ASSERT_EQ(byDevice.size(), 10u);
    EXPECT_EQ(byDevice[1], "RCC [Node] 29 of 31 Possible RCCs free");
    EXPECT_EQ(byDevice[6], " [Combo] 1 Optical Smoke Combo"); // type code order
    EXPECT_EQ(byDevice[9], " [IOUnit] 1 ZM I/O Unit");
}

TEST(UsageStatistics, CountsAndWordsAtTheEdges)
{
    LoadFixtureSite("hub-site.qvs");
    for (int s : {8, 9})
        Nodes[2].SetDeviceType(s, 7);
    Nodes[2].SetDeviceType(10, 18); // a multisensor combo: "Combo" here
    Nodes[2].SetDeviceType(11, 21); // no such type: no line
    Nodes[2].SetDeviceLoop(11, 1);  // ... but it takes its address
    Nodes[0].SetNodeLoop(2);        // the hub on loop 2
    const std::vector<std::string> byLoop = Lines(StatsGrouping::ByLoop, true);
    ASSERT_GE(byLoop.size(), 8u);
    EXPECT_EQ(byLoop[0], "Loop 1 [Loop] Loop 1, 7 of 127 addresses used");
    EXPECT_EQ(byLoop[6], "Loop 2 [Loop] Loop 2, 7 of 127 addresses used");
    EXPECT_EQ(byLoop[7], "Hub < Loop 2 [Node] Radio Hub, 19 of 254 possible addresses used");
    const std::vector<std::string> byNode = Lines(StatsGrouping::ByNode, true);
    ASSERT_EQ(byNode.size(), 13u);
    EXPECT_EQ(byNode[7], "RCC 2 < Hub [Node] RCC 2, 7 of 31 device slots used");
    EXPECT_EQ(byNode[9], " < RCC 2 [Beacon] 2 Sounder/Beacons");
    EXPECT_EQ(byNode[11], " < RCC 2 [Combo] 1 Multisensor Combo");

    EXPECT_EQ(FormatUsedFree(1, 1, "device slots", true), "1 of 1 device slot used");
    EXPECT_EQ(FormatUsedFree(128, 126, "addresses", false), "-2 of 126 addresses free");

    LoadFixtureSite("loop-interface.qvs");
    for (int n = 1; n < model::kNodeCount; ++n)
        Nodes[static_cast<std::size_t>(n)].SetInUse(false);
    EXPECT_EQ(Lines(StatsGrouping::ByNode, true),
              std::vector<std::string>{"Hub [Node] 4 Loop Radio Hub, 1 of 504 possible addresses used"});
    EXPECT_EQ(At(Lines(StatsGrouping::ByDevice, false), 1), "RCC [Node] 31 of 31 Possible RCCs free");
}
