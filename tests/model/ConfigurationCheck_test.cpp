#include "SiteBuilder.h"
#include "TestSites.h"

#include <gtest/gtest.h>

using namespace model;
using Lines = std::vector<std::string>;

namespace {

class ConfigCheck : public EmptySiteTest
{
protected:
    void SetUp() override
    {
        ResetToEmptySite();
        clsNode& hub = sitebuild::PlaceNode(Nodes, 0, 0, 1, 1, "00001");
        hub.SetY_ChannelA(22);
        hub.SetY_ChannelB(8);
    }

    // A complete RCC under the hub on loop 1, address 10 + n.
    static clsNode& AddRcc(int n)
    {
        clsNode& rcc = sitebuild::PlaceNode(Nodes, n, 0, 1, 10 + n,
                                            "1000" + std::to_string(n % 10) + std::string(n >= 10 ? "A" : ""));
        rcc.SetX_ChannelA(n);
        rcc.SetX_ChannelB(16 + n);
        return rcc;
    }
};

} // namespace

TEST_F(ConfigCheck, ACompleteSiteGivesNoLines)
{
    clsNode& rcc = AddRcc(1);
    sitebuild::PlaceSlot(rcc, 1, 2, 2, 1, "20001");
    sitebuild::PlaceSlot(rcc, 2, 10, 2, 2, "20002");
    rcc.SetDeviceLoop(3, 1); // a slot of type 0 is not checked, whatever it holds
    rcc.SetDeviceAddress(3, 1);
    rcc.SetDeviceIdent(3, "00001");
    Nodes[5].SetNodeIdent("00001"); // not in use
    EXPECT_EQ(CheckConfiguration(), 0);
    EXPECT_EQ(GetOwner(HubLoopAddressOwner, 2, 2), 102);
    EXPECT_EQ(GetOwner(HubLoopAddressOwner, 2, 3), -1); // a head's second address is not claimed
}

TEST_F(ConfigCheck, MissingValuesInOrder)
{
    Nodes[0].SetNodeLoop(-1);
    Nodes[0].SetNodeIdent("");
    Nodes[0].SetY_ChannelB(-1);
    clsNode& rcc = Nodes[1];
    rcc.SetInUse(true);
    rcc.SetDeviceType(4, 3);
    EXPECT_EQ(CheckConfiguration(), 13);
    EXPECT_EQ(MessageList, (Lines{
                               "Radio Hub has no Loop Number",
                               "Radio Hub has no Ident",
                               "Radio Hub has no Y-Protocol Second Channel setting",
                               "RCC 1 has no Parent",
                               "RCC 1 has no Loop Number",
                               "RCC 1 has no Loop Address",
                               "RCC 1 has no Ident",
                               "RCC 1 has no X-Protocol First Channel setting",
                               "RCC 1 has no X-Protocol Second Channel setting",
                               "RCC 1 has an Invalid Hop Count",
                               "Device Slot 4 on RCC 1 has no Loop",
                               "Device Slot 4 on RCC 1 has no Loop Address",
                               "Device Slot 4 on RCC 1 has no Ident",
                           }));
    EXPECT_EQ(CheckConfiguration(), 13); // a second run gives the same count, not twice as many
}

TEST_F(ConfigCheck, InvalidChannelsAndHops)
{
    Nodes[0].SetY_ChannelA(33);
    AddRcc(4).SetX_ChannelB(35);
    AddRcc(5).SetX_ChannelA(42);
    // A chain of RCCs: 6 under the hub, 7 under 6, ... 10 is five hops out.
    for (int n = 6; n <= 10; ++n)
        AddRcc(n).SetParent(n == 6 ? 0 : n - 1);
    // Numbered as the hub (a site file without the number), RCC 11 counts
    // the hub's 0 hops; RCCs 4 to 6 count one.
    AddRcc(11).SetNodeNumber(0);
    // RCC 12's way to the hub runs through RCC 3, which the site does not
    // use, and so does RCC 13's through 12.
    Nodes[3].SetParent(0);
    AddRcc(12).SetParent(3);
    AddRcc(13).SetParent(12);
    // RCC 14's one step ends on RCC 2, which the site does not use and an
    // earlier site left numbered 0, as the hub.
    Nodes[2].SetNodeNumber(0);
    AddRcc(14).SetParent(2);
    Nodes[14].SetNodeIdent("1000E");
    CheckConfiguration();
    EXPECT_EQ(MessageList, (Lines{
                               "Radio Hub has an invalid Y-Protocol First Channel setting",
                               "RCC 4 has an invalid X-Protocol Second Channel setting",
                               "RCC 5 has an invalid X-Protocol First Channel setting",
                               "RCC 10 has an Invalid Hop Count",
                               "RCC 11 has an Invalid Hop Count",
                               "RCC 12 has an Invalid Hop Count",
                               "RCC 13 has an Invalid Hop Count",
                               "RCC 14 has an Invalid Hop Count",
                           }));

    // The hub counts 0 hops, which a hub numbered otherwise does not.
    SetUp();
    Nodes[0].SetNodeNumber(3);
    CheckConfiguration();
    EXPECT_EQ(MessageList, Lines{"Radio Hub has an Invalid Hop Count"});
}

TEST_F(ConfigCheck, LoopsAddressesAndTypesTheHubCannotHold)
{
    // Protocol 1 (126 addresses) on two loops; a head takes two addresses.
    LoopCount = 2;
    AddRcc(1).SetNodeLoop(3);
    AddRcc(2).SetNodeAddress(127);
    AddRcc(3).SetNodeAddress(0);
    clsNode& rcc = AddRcc(4);
    sitebuild::PlaceSlot(rcc, 1, 3, 2, 126, "40001");
    sitebuild::PlaceSlot(rcc, 2, 10, 2, 124, "40002");
    sitebuild::PlaceSlot(rcc, 3, 18, 1, 126, "40003");
    sitebuild::PlaceSlot(rcc, 4, 2, 4, 254, "40004");
    sitebuild::PlaceSlot(rcc, 5, 1, 2, 1, "40005");
    sitebuild::PlaceSlot(rcc, 6, 21, 2, 2, "40006");
    CheckConfiguration();
    EXPECT_EQ(MessageList, (Lines{
                               "RCC 1 has an Invalid Loop Number",
                               "RCC 2 has an Invalid Loop Address",
                               "RCC 3 has an Invalid Loop Address",
                               "Device Slot 3 on RCC 4 has an Invalid Loop Address 127",
                               "Device Slot 4 on RCC 4 has an Invalid Loop",
                               "Device Slot 4 on RCC 4 has an Invalid Loop Address",
                               "Device Slot 5 on RCC 4 has an Invalid Device Type",
                               "Device Slot 6 on RCC 4 has an Invalid Device Type",
                           }));

    // The other protocols hold 127 addresses.
    SetUp();
    MaxLoopAddress = 127;
    AddRcc(1).SetNodeAddress(128);
    sitebuild::PlaceSlot(Nodes[1], 1, 20, 1, 127, "40001");
    sitebuild::PlaceSlot(Nodes[1], 2, 10, 1, 125, "40002");
    CheckConfiguration();
    EXPECT_EQ(MessageList, Lines{"RCC 1 has an Invalid Loop Address"});
}

TEST_F(ConfigCheck, DuplicatesAreReportedAgainstTheirFirstUser)
{
    AddRcc(1);
    sitebuild::PlaceSlot(Nodes[1], 4, 2, 3, 40, "30004");
    AddRcc(2).SetNodeAddress(1); // the hub's loop address
    AddRcc(3);
    sitebuild::PlaceSlot(Nodes[3], 7, 3, 3, 40, "30007"); // slot 4 of RCC 1
    sitebuild::PlaceSlot(Nodes[3], 8, 3, 1, 13, "30008"); // RCC 3 itself
    sitebuild::PlaceSlot(Nodes[3], 9, 3, 3, 41, "30004"); // ident of slot 4 of RCC 1
    AddRcc(5).SetNodeIdent("10002");           // ident of RCC 2
    Nodes[5].SetNodeLoop(3);
    Nodes[5].SetNodeAddress(41); // slot 9 of RCC 3
    EXPECT_EQ(CheckConfiguration(), 6);
    EXPECT_EQ(MessageList, (Lines{
                               "RCC 2 has the Same Loop Address as Radio Hub",
                               "Device Slot 7 on RCC 3 has the Same Loop Address as RCC 1  Device Slot 4",
                               "Device Slot 8 on RCC 3 has the Same Loop Address as RCC 3",
                               "Device Slot 9 on RCC 3 has the Same Ident as RCC 1  Device Slot 4",
                               "RCC 5 has the Same Loop Address as RCC 3  Device Slot 9",
                               "RCC 5 has the Same Ident as RCC 2",
                           }));
}

TEST_F(ConfigCheck, CellsOutsideTheFreedRangeDoNotCarryStaleOwners)
{
    // A cell outside the range the hub can use carries no stale owner, and an
    // address beyond the table is still checked.
    SetOwner(HubLoopAddressOwner, 0, 5, 700);
    Nodes[0].SetNodeLoop(0);
    Nodes[0].SetNodeAddress(5);
    AddRcc(1).SetNodeAddress(200);
    AddRcc(2).SetNodeAddress(200);
    CheckConfiguration();
    EXPECT_EQ(MessageList, (Lines{
                               "Radio Hub has an Invalid Loop Number",
                               "RCC 1 has an Invalid Loop Address",
                               "RCC 2 has an Invalid Loop Address",
                               "RCC 2 has the Same Loop Address as RCC 1",
                           }));
    EXPECT_EQ(GetOwner(HubLoopAddressOwner, 0, 5), 0);
}

TEST_F(ConfigCheck, MessageListAppendsInOrder)
{
    AddErrorLine("first");
    AddErrorLine("second");
    for (std::size_t i = 0; i < kMaxMessages; ++i)
        AddErrorLine("x");
    EXPECT_EQ(MessageCount(), 32767); // full: further lines are dropped, the count never wraps
    ASSERT_GE(MessageList.size(), 2u);
    EXPECT_EQ(MessageList[1], "second");
    EXPECT_EQ(OwnerName(5), "Radio Hub  Device Slot 5");
    EXPECT_EQ(OwnerName(1230), "RCC 12  Device Slot 30");
}
