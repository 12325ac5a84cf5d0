#include "app/core/RccCommands.h"
#include "model/TestSites.h"

#include <gtest/gtest.h>

using namespace app;
using namespace model;

namespace {

class RccCommands : public EmptySiteTest
{
protected:
    void SetUp() override
    {
        ResetToEmptySite();
        Nodes[0].SetInUse(true);
    }
    int16_t active = -1;
};

} // namespace

TEST_F(RccCommands, AddStepsClearOfRccsAtTheStartPlacesMatchingLeftAndTopIndependently)
{
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(AddRcc(Nodes, active), n);
        EXPECT_EQ(Nodes[n].Left(), 200 + 250 * (n - 1)) << n;
        EXPECT_EQ(Nodes[n].Top(), 200 + 250 * (n - 1)) << n;
    }
    EXPECT_EQ(active, 3);
    EXPECT_TRUE(Nodes[3].IsActive());
    EXPECT_FALSE(Nodes[2].IsActive());
    EXPECT_TRUE(Nodes[3].InUse());
    EXPECT_EQ(Nodes[3].Parent(), -1) << "a new RCC has no parent";

    for (int n = 1; n <= 3; ++n)
        Nodes[n].SetTop(900);
    EXPECT_EQ(AddRcc(Nodes, active), 4);
    EXPECT_EQ(Nodes[4].Left(), 950);
    EXPECT_EQ(Nodes[4].Top(), 200);
}

TEST_F(RccCommands, AddReusesTheLowestFreeSlotAndEmptiesItOrRefusesWhenAllAreUsed)
{
    for (int i = 0; i < 5; ++i)
        AddRcc(Nodes, active);
    Nodes[3].SetDeviceType(4, 2);
    DeleteRcc(Nodes, 3, LoopAddressOwner);
    // Left over from elsewhere (a site whose file gave the node no number
    // numbered it as the hub): the add makes it a new RCC.
    Nodes[3].SetNodeIdent("ABCDE");
    Nodes[3].SetNodeNumber(0);
    Nodes[3].SetNodeDailyMax(90);
    Nodes[3].SetNodeVersion("2.01");
    EXPECT_EQ(AddRcc(Nodes, active), 3);
    EXPECT_EQ(Nodes[3].NodeIdent(), "");
    EXPECT_EQ(Nodes[3].DeviceType(4), 0);
    EXPECT_EQ(Nodes[3].NodeNumber(), 3);
    EXPECT_EQ(Nodes[3].Width(), 450);
    EXPECT_EQ(Nodes[3].Height(), 420);
    EXPECT_EQ(Nodes[3].CentreX(), Nodes[3].Left() + 225);
    EXPECT_EQ(Nodes[3].NodeDailyMax(), 0);
    EXPECT_EQ(Nodes[3].NodeVersion(), "");

    for (int i = 1; i <= 31; ++i) {
        Nodes[i].SetInUse(true);
        Nodes[i].SetLeft(5000 + i);
    }
    active = 7;
    EXPECT_EQ(AddRcc(Nodes, active), -1);
    EXPECT_EQ(active, 7);
    EXPECT_EQ(Nodes[31].Left(), 5031) << "a refused add moves nothing";
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

TEST_F(RccCommands, DeleteFreesOwnCellsOnlyAndEmptiesTheRcc)
{
    clsNode& rcc = Nodes[4];
    rcc.SetInUse(true);
    rcc.SetNodeLoop(1);
    rcc.SetNodeAddress(20);
    rcc.SetNodeIdent("12345");
    rcc.SetName("North");
    rcc.SetX_ChannelA(3);
    for (const auto& [slot, type, address] : {std::tuple{2, 10, 30}, {3, 2, 128}, {4, 2, 40}}) {
        rcc.SetDeviceType(slot, type);
        rcc.SetDeviceLoop(slot, 1);
        rcc.SetDeviceAddress(slot, address); // 128: the last cell of the table
    }
    rcc.SetDeviceIdent(2, "AAAAA");
    rcc.SetDeviceName(2, "Hall");
    // Cells the RCC holds, one another unit holds (the later claim of a duplicate) and one elsewhere.
    const std::tuple<int, int, int, int> cells[] = {{1, 20, 400, -1},  {1, 30, 402, -1},  {1, 31, 402, -1},
                                                    {1, 128, 403, -1}, {1, 40, 501, 501}, {2, 5, 900, 900}};
    for (const auto& [loop, address, owner, after] : cells)
        SetOwner(LoopAddressOwner, loop, address, owner);

    DeleteRcc(Nodes, 4, LoopAddressOwner);

    for (const auto& [loop, address, owner, after] : cells)
        EXPECT_EQ(GetOwner(LoopAddressOwner, loop, address), after) << loop << "/" << address;
    // Emptied as a fresh node: a sample of its fields.
    EXPECT_FALSE(rcc.InUse());
    EXPECT_EQ(rcc.NodeAddress(), -1);
    EXPECT_EQ(rcc.Name(), "");
    EXPECT_EQ(rcc.DeviceType(2), 0);
    EXPECT_EQ(rcc.DeviceIdent(2), "");
    EXPECT_EQ(rcc.NodeLoop(), -1);
    EXPECT_EQ(rcc.NodeIdent(), "");
    EXPECT_EQ(rcc.X_ChannelA(), -1);
    EXPECT_EQ(rcc.DeviceLoop(2), -1);
    EXPECT_EQ(rcc.DeviceAddress(2), -1);
    EXPECT_EQ(rcc.DeviceName(2), "");
}

TEST_F(RccCommands, DeleteHandsChildrenToTheDeletedRccsParent)
{
    for (int i = 1; i <= 8; ++i)
        Nodes[i].SetInUse(true);
    // 9 is not in use: re-parented all the same.
    for (const auto& [n, parent] : {std::pair{2, 0}, {4, 2}, {5, 4}, {6, 4}, {7, 2}, {9, 4}})
        Nodes[n].SetParent(parent);
    DeleteRcc(Nodes, 4, LoopAddressOwner);
    EXPECT_EQ(Nodes[4].Parent(), -1);
    for (int n : {5, 6, 7, 9})
        EXPECT_EQ(Nodes[n].Parent(), 2) << n;

    DeleteRcc(Nodes, 2, LoopAddressOwner);
    EXPECT_EQ(Nodes[5].Parent(), 0);
    EXPECT_EQ(Nodes[7].Parent(), 0);

    Nodes[8].SetParent(3); // RCC 3 has no parent
    DeleteRcc(Nodes, 3, LoopAddressOwner);
    EXPECT_EQ(Nodes[8].Parent(), -1);
}
