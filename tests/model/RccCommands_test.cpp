#include "model/RccCommands.h"
#include "model/Site.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

class RccCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSite();
        ResetSiteState();
        for (int n = 0; n < kNodeCount; ++n) {
            Nodes[n].SetNodeNumber(n);
        }
        Nodes[0].SetInUse(true);
        active = -1;
    }
    void TearDown() override
    {
        ResetSite();
        ResetSiteState();
    }
    int16_t active = -1;
};

} // namespace

TEST_F(RccCommands, AddStepsClearOfRccsAtTheStartPlaces)
{
    EXPECT_EQ(AddRcc(Nodes, active), 1);
    EXPECT_EQ(Nodes[1].Left(), 200);
    EXPECT_EQ(Nodes[1].Top(), 200);
    EXPECT_EQ(AddRcc(Nodes, active), 2);
    EXPECT_EQ(Nodes[2].Left(), 450);
    EXPECT_EQ(Nodes[2].Top(), 450);
    EXPECT_EQ(AddRcc(Nodes, active), 3);
    EXPECT_EQ(Nodes[3].Left(), 700);
    EXPECT_EQ(Nodes[3].Top(), 700);
    EXPECT_EQ(active, 3);
    EXPECT_TRUE(Nodes[3].IsActive());
    EXPECT_FALSE(Nodes[2].IsActive());
    EXPECT_TRUE(Nodes[3].InUse());
    EXPECT_EQ(Nodes[3].Parent(), -1);
}

TEST_F(RccCommands, AddMatchesLeftAndTopIndependently)
{
    AddRcc(Nodes, active);
    Nodes[1].SetTop(900);
    EXPECT_EQ(AddRcc(Nodes, active), 2);
    EXPECT_EQ(Nodes[2].Left(), 450);
    EXPECT_EQ(Nodes[2].Top(), 200);
}

TEST_F(RccCommands, AddReusesTheLowestFreeSlotAndEmptiesIt)
{
    for (int i = 0; i < 5; ++i) {
        AddRcc(Nodes, active);
    }
    Nodes[3].SetDeviceType(4, 2);
    DeleteRcc(Nodes, 3, LoopAddressOwner);
    Nodes[3].SetNodeIdent("ABCDE"); // left over from elsewhere: the add empties it
    EXPECT_EQ(AddRcc(Nodes, active), 3);
    EXPECT_EQ(Nodes[3].NodeIdent(), "");
    EXPECT_EQ(Nodes[3].DeviceType(4), 0);
}

TEST_F(RccCommands, AddRefusesWhenAllSlotsAreUsed)
{
    for (int i = 1; i <= 31; ++i) {
        Nodes[i].SetInUse(true);
        Nodes[i].SetLeft(5000 + i);
    }
    active = 7;
    EXPECT_EQ(AddRcc(Nodes, active), -1);
    EXPECT_EQ(active, 7);
    EXPECT_EQ(Nodes[31].Left(), 5031);
    EXPECT_EQ(RccLimitMessage(), "There are already 31 RCCs in the configuration");
}

TEST_F(RccCommands, DeleteQuestionMentionsDevicesOnlyWhenThereAreAny)
{
    Nodes[7].SetInUse(true);
    EXPECT_EQ(DeleteRccQuestion(Nodes, 7), "Are you sure you want to delete RCC 7?");
    Nodes[7].SetDeviceType(31, 5);
    EXPECT_EQ(DeleteRccQuestion(Nodes, 7),
              "Are you sure you want to delete RCC 7?\r\nThis will delete all Devices on this RCC");
}

TEST_F(RccCommands, DeleteFreesOwnCellsAndEmptiesTheRcc)
{
    clsNode& rcc = Nodes[4];
    rcc.SetInUse(true);
    rcc.SetNodeLoop(1);
    rcc.SetNodeAddress(20);
    rcc.SetNodeIdent("12345");
    rcc.SetName("North");
    rcc.SetX_ChannelA(3);
    rcc.SetDeviceType(2, 10);
    rcc.SetDeviceLoop(2, 1);
    rcc.SetDeviceAddress(2, 30);
    rcc.SetDeviceIdent(2, "AAAAA");
    rcc.SetDeviceName(2, "Hall");
    rcc.SetDeviceType(3, 2);
    rcc.SetDeviceLoop(3, 1);
    rcc.SetDeviceAddress(3, 128); // the last cell of the table
    SetOwner(LoopAddressOwner, 1, 20, 400);
    SetOwner(LoopAddressOwner, 1, 30, 402);
    SetOwner(LoopAddressOwner, 1, 31, 402);
    SetOwner(LoopAddressOwner, 1, 128, 403);
    SetOwner(LoopAddressOwner, 2, 5, 900);

    DeleteRcc(Nodes, 4, LoopAddressOwner);

    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 20), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 30), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 31), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 128), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 2, 5), 900);
    EXPECT_FALSE(rcc.InUse());
    EXPECT_EQ(rcc.NodeLoop(), -1);
    EXPECT_EQ(rcc.NodeAddress(), -1);
    EXPECT_EQ(rcc.NodeIdent(), "");
    EXPECT_EQ(rcc.Name(), "");
    EXPECT_EQ(rcc.X_ChannelA(), -1);
    EXPECT_EQ(rcc.DeviceType(2), 0);
    EXPECT_EQ(rcc.DeviceLoop(2), -1);
    EXPECT_EQ(rcc.DeviceAddress(2), -1);
    EXPECT_EQ(rcc.DeviceIdent(2), "");
    EXPECT_EQ(rcc.DeviceName(2), "");
}

TEST_F(RccCommands, DeleteKeepsACellAnotherUnitHolds)
{
    Nodes[4].SetInUse(true);
    Nodes[4].SetNodeLoop(1);
    Nodes[4].SetNodeAddress(20);
    Nodes[5].SetInUse(true);
    Nodes[5].SetDeviceType(1, 2);
    Nodes[5].SetDeviceLoop(1, 1);
    Nodes[5].SetDeviceAddress(1, 20);
    SetOwner(LoopAddressOwner, 1, 20, 501); // the later claim of a duplicate
    DeleteRcc(Nodes, 4, LoopAddressOwner);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 20), 501);
}

TEST_F(RccCommands, DeleteHandsChildrenToTheDeletedRccsParent)
{
    for (int i = 1; i <= 8; ++i) {
        Nodes[i].SetInUse(true);
    }
    Nodes[2].SetParent(0);
    Nodes[4].SetParent(2);
    Nodes[5].SetParent(4);
    Nodes[6].SetParent(4);
    Nodes[7].SetParent(2);
    Nodes[9].SetParent(4); // not in use: re-parented all the same
    DeleteRcc(Nodes, 4, LoopAddressOwner);
    EXPECT_EQ(Nodes[4].Parent(), -1);
    EXPECT_EQ(Nodes[5].Parent(), 2);
    EXPECT_EQ(Nodes[6].Parent(), 2);
    EXPECT_EQ(Nodes[9].Parent(), 2);
    EXPECT_EQ(Nodes[7].Parent(), 2);

    DeleteRcc(Nodes, 2, LoopAddressOwner);
    EXPECT_EQ(Nodes[5].Parent(), 0);
    EXPECT_EQ(Nodes[7].Parent(), 0);

    Nodes[8].SetParent(3); // RCC 3 has no parent
    DeleteRcc(Nodes, 3, LoopAddressOwner);
    EXPECT_EQ(Nodes[8].Parent(), -1);
}
