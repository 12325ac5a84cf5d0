#include "app/core/CanvasStatus.h"

#include <gtest/gtest.h>
#include <memory>

using namespace app;
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

// The window's canvas test reads these texts for a small site; here the
// limits and the kinds of site it does not reach.
TEST(UsageTexts, TheHubCountsAddressesOfTheMostTheSiteHolds)
{
    auto nodes = Site(31);
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 126, 4).usage, "32 of 504 Addresses Used");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, true, 126, 4).activeNode, "RLM Active");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 126, 4, HubUsageWording::Devices).usage, "32 of 504 Devices Used");
    // The maximum falls to loops x addresses when that is smaller.
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 20, 1).usage, "32 of 20 Addresses Used");

    nodes = Site(2);
    (*nodes)[2].SetDeviceType(5, 3);
    (*nodes)[2].SetDeviceType(6, 10); // combination head: two addresses, one slot
    EXPECT_EQ(UsageTexts(*nodes, 2, 2, false, 126, 4).usage, "2  of 31 Devices Used");
    const StatusTexts none = UsageTexts(*nodes, -1, -1, false, 126, 4);
    EXPECT_TRUE(none.activeNode.empty() && none.name.empty() && none.usage.empty());
}

TEST(QuickInfoMode, AClickStepsFromIdentToLoopToChannelsAndBackToIdent)
{
    // None -> ident -> loop address -> channels -> ident; a mode beyond them stays.
    for (const auto& [from, to] :
         {std::pair{0, 2}, std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 2}, std::pair{4, 4}})
        EXPECT_EQ(NextQuickInfoMode(from), to) << from;
}

TEST(UsageTexts, TheHubAloneNamesItselfAndCountsItsOwnAddress)
{
    auto nodes = Site(0);
    (*nodes)[0].SetName("Main Hub");
    const StatusTexts texts = UsageTexts(*nodes, 0, 0, false, 126, 4);
    EXPECT_EQ(texts.activeNode, "Radio Hub Active");
    EXPECT_EQ(texts.name, "Main Hub");
    EXPECT_EQ(texts.usage, "1 of 1 Addresses Used");
}

TEST(UsageTexts, DevicesOfRccsCountTheirLoopAddresses)
{
    auto nodes = Site(2);
    (*nodes)[1].SetDeviceType(1, 2);  // callpoint: one address
    (*nodes)[1].SetDeviceType(2, 10); // combination head: two
    (*nodes)[2].SetDeviceType(5, 3);
    (*nodes)[2].SetName("Stairs");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 126, 4).usage, "7 of 65 Addresses Used");
    // The texts of the node given, the count of the active node's slots.
    const StatusTexts texts = UsageTexts(*nodes, 2, 1, false, 126, 4);
    EXPECT_EQ(texts.activeNode, "RCC 2 Active");
    EXPECT_EQ(texts.name, "Stairs");
    EXPECT_EQ(texts.usage, "2  of 31 Devices Used");
    EXPECT_EQ(UsageTexts(*nodes, 2, 2, false, 126, 4).usage, "1  of 31 Devices Used");
    EXPECT_EQ(UsageTexts(*nodes, 0, 0, false, 20, 1).usage, "7 of 20 Addresses Used");
}
