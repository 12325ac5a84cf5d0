#include "model/ChannelPlan.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace model;

namespace {

class SiteQueries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSite();
        ResetSiteQueries();
        for (int n = 0; n < kNodeCount; ++n) {
            Nodes[n].SetNodeNumber(n);
        }
    }
    void TearDown() override { ResetSite(); }

    static clsNode& Use(int n)
    {
        Nodes[n].SetInUse(true);
        return Nodes[n];
    }
};

} // namespace

TEST_F(SiteQueries, IdentSearchVisitsHubThenEachRccAndItsSlots)
{
    Use(0).SetNodeIdent("AAAAA");
    Use(2).SetNodeIdent("BBBBB");
    Nodes[2].SetDeviceIdent(5, "BBBBB");
    Use(3).SetDeviceIdent(7, "AAAAA");
    Nodes[3].SetDeviceIdent(31, "AAAAA");
    Nodes[4].SetNodeIdent("AAAAA"); // not in use
    Use(5).SetDeviceIdent(1, "AAAAA");

    EXPECT_EQ(FindNodeByIdent("AAAAA"), 0);
    EXPECT_EQ(FindNodeByIdent("X"), 307);
    EXPECT_EQ(FindNodeByIdent("X"), 331);
    EXPECT_EQ(FindNodeByIdent("X"), 501);
    EXPECT_EQ(FindNodeByIdent("X"), -1);
    EXPECT_EQ(FindNodeByIdent("X"), -1);

    EXPECT_EQ(FindNodeByIdent("BBBBB"), 200);
    EXPECT_EQ(FindNodeByIdent(""), -1); // leaves the running search alone
    EXPECT_EQ(FindNodeByIdent("X"), 205);
    EXPECT_EQ(FindNodeByIdent("X"), -1);

    EXPECT_EQ(FindNodeByIdent("bbbbb"), -1);
}

TEST_F(SiteQueries, IdentOnlyOnTheHubsOwnSlotIsNotFound)
{
    Use(0).SetDeviceIdent(3, "CCCCC");
    EXPECT_EQ(FindNodeByIdent("CCCCC"), -1);
}

TEST_F(SiteQueries, ContinuationWithoutASearchFindsNothing)
{
    Use(1); // empty idents must not answer an empty search
    EXPECT_EQ(FindNodeByIdent("X"), -1);
    EXPECT_EQ(FindByLoopAddress(-1, -1), -1);
}

TEST_F(SiteQueries, LoopAddressSearchCoversComboHeadsSecondAddress)
{
    Use(1).SetDeviceLoop(4, 1);
    Nodes[1].SetDeviceAddress(4, 24);
    Nodes[1].SetDeviceType(4, 10);
    Use(2).SetDeviceLoop(9, 1);
    Nodes[2].SetDeviceAddress(9, 24);
    Nodes[2].SetDeviceType(9, 3);
    Use(3).SetNodeLoop(1);
    Nodes[3].SetNodeAddress(25);

    EXPECT_EQ(FindByLoopAddress(1, 25), 104);
    EXPECT_EQ(FindByLoopAddress(-1, -1), 300);
    EXPECT_EQ(FindByLoopAddress(-1, 7), -1);

    EXPECT_EQ(FindByLoopAddress(1, 24), 104);
    EXPECT_EQ(FindByLoopAddress(-1, 0), -1);
    EXPECT_EQ(FindByLoopAddress(0, -1), -1);
    EXPECT_EQ(FindByLoopAddress(-1, -1), 209); // the refusals above kept the state
    EXPECT_EQ(FindByLoopAddress(2, 24), -1);

    // A head whose address is unset does not own address 0.
    Use(6).SetDeviceLoop(1, 2);
    Nodes[6].SetDeviceType(1, 12);
    EXPECT_EQ(FindByLoopAddress(2, 0), -1);
}

TEST_F(SiteQueries, HubSlotsAreSearchedOnlyAfterTheHubItselfMatched)
{
    Use(0).SetDeviceLoop(2, 3);
    Nodes[0].SetDeviceAddress(2, 40);
    Use(1).SetNodeLoop(3);
    Nodes[1].SetNodeAddress(40);
    EXPECT_EQ(FindByLoopAddress(3, 40), 100);

    Nodes[0].SetNodeLoop(3);
    Nodes[0].SetNodeAddress(40);
    EXPECT_EQ(FindByLoopAddress(3, 40), 0);
    EXPECT_EQ(FindByLoopAddress(-1, -1), 2);
    EXPECT_EQ(FindByLoopAddress(-1, -1), 100);
    EXPECT_EQ(FindByLoopAddress(-1, -1), -1);
}

TEST_F(SiteQueries, SearchesKeepSeparateStates)
{
    Use(0).SetNodeIdent("12345");
    Use(1).SetNodeIdent("12345");
    Nodes[1].SetNodeLoop(1);
    Nodes[1].SetNodeAddress(1);
    EXPECT_EQ(FindNodeByIdent("12345"), 0);
    EXPECT_EQ(FindByLoopAddress(1, 1), 100);
    EXPECT_EQ(FindNodeByIdent("X"), 100);
}

TEST_F(SiteQueries, XChannelPairMatchesInOrderAndSkipsExclusion)
{
    Use(0).SetX_ChannelA(5);
    Nodes[0].SetX_ChannelB(20);
    Use(3).SetX_ChannelA(5);
    Nodes[3].SetX_ChannelB(20);
    Use(4).SetX_ChannelA(20);
    Nodes[4].SetX_ChannelB(5);
    Nodes[6].SetX_ChannelA(5); // not in use
    Nodes[6].SetX_ChannelB(20);
    EXPECT_EQ(FindNodeByXChannels(5, 20, 3), -1);
    EXPECT_EQ(FindNodeByXChannels(5, 20, 0), 3);
    Use(9).SetX_ChannelA(5);
    Nodes[9].SetX_ChannelB(20);
    EXPECT_EQ(FindNodeByXChannels(5, 20, 3), 9);
    EXPECT_EQ(FindNodeByXChannels(-1, -1, 0), -1);
}

TEST_F(SiteQueries, HighestLoopAndAddressSkipUnusedNodesAndHubSlots)
{
    EXPECT_EQ(HighestLoopInUse(), 0);
    EXPECT_EQ(HighestAddressInUse(), 0);

    Use(0).SetNodeLoop(1);
    Nodes[0].SetNodeAddress(10);
    Nodes[0].SetDeviceLoop(1, 4); // hub slot: not counted
    Nodes[0].SetDeviceAddress(1, 250);
    Nodes[7].SetNodeLoop(4); // not in use
    Nodes[7].SetNodeAddress(200);
    Use(2).SetDeviceLoop(31, 3);
    Nodes[2].SetDeviceAddress(31, 120);
    Nodes[2].SetDeviceType(31, 18);
    EXPECT_EQ(HighestLoopInUse(), 3);
    EXPECT_EQ(HighestAddressInUse(), 120);
}

TEST(ChannelPlan, TableAndReverseLookup)
{
    EXPECT_EQ(ChannelTable(1), 2);
    EXPECT_EQ(ChannelTable(16), 17);
    EXPECT_EQ(ChannelTable(17), 30);
    EXPECT_EQ(ChannelTable(32), 45);
    EXPECT_EQ(ChannelTable(0), 0);
    EXPECT_EQ(ChannelTable(42), 0);
    EXPECT_THROW(ChannelTable(43), std::out_of_range);

    EXPECT_EQ(ChannelIndexFromNumber(2), 1);
    EXPECT_EQ(ChannelIndexFromNumber(17), 16);
    EXPECT_EQ(ChannelIndexFromNumber(30), 17);
    EXPECT_EQ(ChannelIndexFromNumber(45), 32);
    EXPECT_EQ(ChannelIndexFromNumber(18), -1);
    EXPECT_EQ(ChannelIndexFromNumber(29), -1);
    EXPECT_EQ(ChannelIndexFromNumber(0), -1);
}
