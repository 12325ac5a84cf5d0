#include "app/core/CanvasStatus.h"

#include <gtest/gtest.h>
#include <memory>

using namespace model;

namespace {

std::unique_ptr<NodeArray> Site(int rccs)
{
    auto nodes = std::make_unique<NodeArray>();
    for (int i = 0; i < kNodeCount; ++i) {
        (*nodes)[i].SetNodeNumber(i);
        (*nodes)[i].SetInUse(i <= rccs);
    }
    return nodes;
}

} // namespace

TEST(UsageTexts, TheHubCountsAddressesOfTheMostTheSiteHolds)
{
    auto nodes = Site(0);
    (*nodes)[0].SetName("Main Hub");
    StatusTexts texts = UsageTexts(*nodes, 0, 0, false, 126, 4);
    EXPECT_EQ(texts.activeNode, "Radio Hub Active");
    EXPECT_EQ(texts.name, "Main Hub");
    EXPECT_EQ(texts.usage, "1 of 1 Addresses Used");

    nodes = Site(31);
    texts = UsageTexts(*nodes, 0, 0, false, 126, 4);
    EXPECT_EQ(texts.usage, "32 of 504 Addresses Used");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, true, 126, 4).activeNode, "RLM Active");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 126, 4, HubUsageWording::Devices).usage,
              "32 of 504 Devices Used");
}

TEST(UsageTexts, DevicesOfRccsCountTheirLoopAddresses)
{
    auto nodes = Site(2);
    (*nodes)[1].SetDeviceType(1, 2);  // callpoint: one address
    (*nodes)[1].SetDeviceType(2, 10); // combination head: two
    (*nodes)[2].SetDeviceType(5, 3);
    (*nodes)[2].SetName("Stairs");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 126, 4).usage, "7 of 65 Addresses Used");
    StatusTexts texts = UsageTexts(*nodes, 2, 1, false, 126, 4);
    EXPECT_EQ(texts.activeNode, "RCC 2 Active");
    EXPECT_EQ(texts.name, "Stairs");
    // The occupied slots of the active node, with two blanks before "of".
    EXPECT_EQ(texts.usage, "2  of 31 Devices Used");
    EXPECT_EQ(UsageTexts(*nodes, 2, 2, false, 126, 4).usage, "1  of 31 Devices Used");
    // The maximum falls to loops x addresses when that is smaller.
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 20, 1).usage, "7 of 20 Addresses Used");
}

TEST(UsageTexts, NoNodeClearsThePanels)
{
    auto nodes = Site(1);
    const StatusTexts texts = UsageTexts(*nodes, -1, -1, false, 126, 4);
    EXPECT_TRUE(texts.activeNode.empty());
    EXPECT_TRUE(texts.name.empty());
    EXPECT_TRUE(texts.usage.empty());
}

TEST(QuickInfoMode, ClicksStepThroughIdentLoopAndChannels)
{
    EXPECT_EQ(NextQuickInfoMode(0), 2);
    EXPECT_EQ(NextQuickInfoMode(2), 1);
    EXPECT_EQ(NextQuickInfoMode(1), 3);
    EXPECT_EQ(NextQuickInfoMode(3), 2);
    EXPECT_EQ(NextQuickInfoMode(4), 4);
}
