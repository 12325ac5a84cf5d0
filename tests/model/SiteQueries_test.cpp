#include "TestSites.h"
#include "model/ChannelPlan.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace model;

namespace {

class SiteQueries : public EmptySiteTest
{
protected:
    // Slot 0 is the node itself; the node is put in use unless told otherwise.
    static void Ident(int n, int slot, const std::string& ident, bool inUse = true)
    {
        Nodes[n].SetInUse(inUse);
        slot == 0 ? Nodes[n].SetNodeIdent(ident) : Nodes[n].SetDeviceIdent(slot, ident);
    }
    static void At(int n, int slot, int loop, int address, int type = 2, bool inUse = true)
    {
        Nodes[n].SetInUse(inUse);
        if (slot == 0) {
            Nodes[n].SetNodeLoop(loop);
            Nodes[n].SetNodeAddress(address);
            return;
        }
        Nodes[n].SetDeviceType(slot, type);
        Nodes[n].SetDeviceLoop(slot, loop);
        Nodes[n].SetDeviceAddress(slot, address);
    }
    // Each search in turn gives the hit (node * 100 + slot) or -1.
    template <class Find> static void ExpectHits(Find find, const std::vector<std::pair<int, int>>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i)
            EXPECT_EQ(find(steps[i].first), steps[i].second) << "step " << i;
    }
};

} // namespace

TEST_F(SiteQueries, AContinuationWithoutASearchFindsNothing)
{
    Nodes[1].SetInUse(true); // a continuation without a search finds nothing, not an empty ident
    EXPECT_EQ(FindNodeByIdent("X"), -1);
    EXPECT_EQ(FindByLoopAddress(-1, -1), -1);
}

TEST_F(SiteQueries, IdentSearchVisitsHubThenEachRccAndItsSlots)
{
    Ident(0, 0, "AAAAA");
    Ident(2, 0, "BBBBB");
    Ident(2, 5, "BBBBB");
    Ident(3, 7, "AAAAA");
    Ident(3, 31, "AAAAA");
    Ident(4, 0, "AAAAA", false);
    Ident(5, 1, "AAAAA");
    Ident(0, 3, "CCCCC"); // the hub's own slots are not searched
    // "X" continues the running search; "" leaves it alone; case counts.
    const char* texts[] = {"AAAAA", "X", "BBBBB", "", "bbbbb", "CCCCC"};
    const std::vector<std::pair<int, int>> steps = {{0, 0},   {1, 307}, {1, 331}, {1, 501}, {1, -1}, {1, -1},
                                                    {2, 200}, {3, -1},  {1, 205}, {1, -1},  {4, -1}, {5, -1}};
    ExpectHits([&](int i) { return FindNodeByIdent(texts[i]); }, steps);
}

TEST_F(SiteQueries, LoopAddressSearchCoversComboHeadsSecondAddress)
{
    At(1, 4, 1, 24, 10);
    At(2, 9, 1, 24, 3);
    At(3, 0, 1, 25);
    const std::pair<int, int> queries[] = {{1, 25}, {-1, -1}, {-1, 7}, {1, 24}, {-1, 0}, {0, -1}, {2, 24}};
    // Continuations with the wrong markers are refused and keep the state.
    ExpectHits([&](int i) { return FindByLoopAddress(queries[i].first, queries[i].second); },
               {{0, 104}, {1, 300}, {2, -1}, {3, 104}, {4, -1}, {5, -1}, {1, 209}, {6, -1}});
    // A head whose address is unset does not own address 0.
    Nodes[6].SetInUse(true);
    Nodes[6].SetDeviceLoop(1, 2);
    Nodes[6].SetDeviceType(1, 12);
    EXPECT_EQ(FindByLoopAddress(2, 0), -1);
}

TEST_F(SiteQueries, HubSlotsAreSearchedOnlyAfterTheHubItselfMatchedAndSearchesKeepSeparateStates)
{
    At(0, 2, 3, 40);
    At(1, 0, 3, 40);
    EXPECT_EQ(FindByLoopAddress(3, 40), 100);
    At(0, 0, 3, 40);
    EXPECT_EQ(FindByLoopAddress(3, 40), 0);
    Ident(0, 0, "12345");
    Ident(1, 0, "12345");
    EXPECT_EQ(FindNodeByIdent("12345"), 0);
    ExpectHits([](int) { return FindByLoopAddress(-1, -1); }, {{0, 2}, {0, 100}, {0, -1}});
    EXPECT_EQ(FindNodeByIdent("X"), 100);
}

TEST_F(SiteQueries, XChannelPairMatchesInOrderAndSkipsTheExclusionAndUnusedNodes)
{
    for (const auto& [n, a, b, inUse] :
         {std::tuple{0, 5, 20, true}, {3, 5, 20, true}, {4, 20, 5, true}, {6, 5, 20, false}}) {
        Nodes[n].SetInUse(inUse);
        Nodes[n].SetX_ChannelA(a);
        Nodes[n].SetX_ChannelB(b);
    }
    EXPECT_EQ(FindNodeByXChannels(5, 20, 3), -1);
    EXPECT_EQ(FindNodeByXChannels(5, 20, 0), 3);
    EXPECT_EQ(FindNodeByXChannels(-1, -1, 0), -1);
}

TEST_F(SiteQueries, HighestLoopAndAddressSkipUnusedNodesAndTheHubsSlots)
{
    At(0, 0, 1, 10);
    At(0, 1, 4, 250);
    At(7, 0, 4, 200, 0, false);
    At(2, 31, 3, 120, 18);
    EXPECT_EQ(HighestLoopInUse(), 3);
    EXPECT_EQ(HighestAddressInUse(), 121) << "a combination head takes its address and the next";
}

// A hub's status line may name loop 5 or address 129: such a cell has no
// owner and takes none, and the row that follows the table stays untouched.
TEST(OwnerTable, CellsOutsideTheTableHaveNoOwnerAndTakeNone)
{
    struct
    {
        OwnerTable table;
        std::array<int16_t, kOwnerAddresses> after;
    } cells;
    for (auto& row : cells.table)
        row.fill(-1);
    cells.after.fill(305);
    for (const auto& [loop, address] : {std::pair{5, 1}, {5, 128}, {4, 129}, {-1, 1}, {1, -1}}) {
        EXPECT_EQ(GetOwner(cells.table, loop, address), -1) << loop << "/" << address;
        SetOwner(cells.table, loop, address, 700);
    }
    EXPECT_EQ(std::count(cells.after.begin(), cells.after.end(), 305), kOwnerAddresses);
    for (const auto& row : cells.table)
        EXPECT_EQ(std::count(row.begin(), row.end(), -1), kOwnerAddresses);
}

TEST(ChannelPlan, TableAndReverseLookup)
{
    for (const auto& [index, channel] : {std::pair{16, 17}, {17, 30}, {42, 0}})
        EXPECT_EQ(ChannelTable(index), channel) << index;
    EXPECT_THROW(ChannelTable(43), std::out_of_range);
    for (const auto& [channel, index] : {std::pair{17, 16}, {30, 17}, {18, -1}, {0, -1}})
        EXPECT_EQ(ChannelIndexFromNumber(channel), index) << channel;
}
