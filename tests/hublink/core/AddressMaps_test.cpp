#include "hublink/core/AddressMaps.h"

#include "model/SiteBuilder.h"

#include "model/Site.h"
#include "model/SiteState.h"

#include <gtest/gtest.h>

using namespace hublink;

using model::HubNodes;
using model::Nodes;

namespace {

constexpr model::DeviceTypeCode kCallpoint = 2;
constexpr model::DeviceTypeCode kHead = 10; // a detector head: two addresses

using sitebuild::PlaceDevice;

class AddressMaps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model::ResetSite();
        ResetSiteState();
    }
};

} // namespace

TEST_F(AddressMaps, LaterWritesWinAndHeadsTakeTwoAddresses)
{
    SetOwner(LoopAddressOwner, 4, 50, 999); // stale: cleared by the rebuild
    sitebuild::PlaceNode(Nodes, 0, -1, 1, 1);
    PlaceDevice(Nodes, 0, 1, kCallpoint, 1, 60); // hub slots are not entered
    sitebuild::PlaceNode(Nodes, 2, -1, 1, 10);
    sitebuild::PlaceNode(Nodes, 5, -1, 1, 10); // same address: the higher node wins
    PlaceDevice(Nodes, 5, 1, kHead, 2, 127);
    PlaceDevice(Nodes, 5, 2, kCallpoint, 2, 128); // replaces the head's second address
    PlaceDevice(Nodes, 5, 3, kHead, 3, 128);      // second address beyond the table: skipped
    PlaceDevice(Nodes, 5, 4, kCallpoint, 3, -1);  // no address: no entry
    sitebuild::PlaceNode(Nodes, 6, -1, 2, -1);
    BuildAddressMap();

    EXPECT_EQ(GetOwner(LoopAddressOwner, 4, 50), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 1), 0);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 60), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 10), 500);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 2, 127), 501);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 2, 128), 502);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 3, 128), 503);
}

TEST_F(AddressMaps, TheRlmAndItsDevicesAreEnteredOnlyInTheSiteMap)
{
    IsLoopInterface = true;
    sitebuild::PlaceNode(Nodes, 0, -1, 1, 5);
    Nodes[0].SetInUse(false);
    PlaceDevice(Nodes, 0, 3, kCallpoint, 1, 6);
    sitebuild::PlaceNode(HubNodes, 0, -1, 1, 5);
    PlaceDevice(HubNodes, 0, 3, kCallpoint, 1, 6);

    BuildAddressMap();
    BuildHubAddressMap();

    EXPECT_TRUE(Nodes[0].InUse());
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 6), 3);
    EXPECT_EQ(GetOwner(HubLoopAddressOwner, 1, 5), 0);
    EXPECT_EQ(GetOwner(HubLoopAddressOwner, 1, 6), -1);
}

TEST_F(AddressMaps, CopyTakesTheConfigurationOfOneNodeOrAll)
{
    sitebuild::PlaceNode(HubNodes, 5, 0, 2, 40, "1A2B3").SetLeft(1234);
    PlaceDevice(HubNodes, 5, 31, kHead, 3, 20, "ABCDE");
    sitebuild::PlaceNode(HubNodes, 6, -1, 1, 1);

    EXPECT_TRUE(CopyNodeArray(HubNodes, Nodes, 5));
    EXPECT_EQ(Nodes[5].NodeIdent(), "1A2B3");
    EXPECT_EQ(Nodes[5].Parent(), 0);
    EXPECT_EQ(Nodes[5].DeviceType(31), kHead);
    EXPECT_EQ(Nodes[5].DeviceIdent(31), "ABCDE");
    EXPECT_NE(Nodes[5].Left(), 1234); // the canvas position stays
    EXPECT_FALSE(Nodes[6].InUse());
    EXPECT_TRUE(CopyNodeArray(HubNodes, Nodes, 100));
    EXPECT_TRUE(Nodes[6].InUse());

    model::clsNode shorter[31];
    for (int which : {-1, 32, 99})
        EXPECT_FALSE(CopyNodeArray(HubNodes, Nodes, which)) << which;
    EXPECT_FALSE(CopyNodeArray(HubNodes, shorter, 100));
}
