#include "editors/core/NodeSettingsRules.h"
#include "editors/core/EmptySite.h"

#include <gtest/gtest.h>

using namespace editors;
using model::Nodes;

namespace {

class NodeSettingsRules : public ::testing::Test
{
protected:
    void SetUp() override { ResetToEmptySite(); }
    void TearDown() override { ResetToEmptySite(); }
};

std::vector<int> Values(const ListItems& items)
{
    std::vector<int> values;
    for (const ListItem& item : items)
        values.push_back(item.value);
    return values;
}

} // namespace

TEST_F(NodeSettingsRules, AddressListOffersFreeAddressesAndTheNodesOwn)
{
    OwnerTable table;
    for (auto& loop : table)
        loop.fill(-1);
    SetOwner(table, 2, 5, 301);
    SetOwner(table, 2, 6, 301);
    SetOwner(table, 2, 7, 400);
    const ListItems items = AddressItems(2, 400, table, 9);
    EXPECT_EQ(Values(items), (std::vector<int>{1, 2, 3, 4, 7, 8, 9}));
    EXPECT_EQ(items[0].text, "     1");
    EXPECT_EQ(AddressItems(2, 400, table, 126).back(), (ListItem{"   126", 126}));
    EXPECT_TRUE(AddressItems(-1, 400, table, 126).empty());
}

TEST_F(NodeSettingsRules, LoopCountAndProtocolFollowWhatIsInUse)
{
    EXPECT_EQ(Values(TotalLoopsItems(0)), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Values(TotalLoopsItems(3)), (std::vector<int>{3, 4}));
    EXPECT_EQ(TotalLoopsItems(3)[0].text, "     3");
    EXPECT_EQ(ProtocolItems(126), (ListItems{{"Apollo XP95", 1}, {"Ziton ZP", 2}}));
    EXPECT_EQ(ProtocolItems(127), (ListItems{{"Ziton ZP", 2}}));
    EXPECT_TRUE(ProtocolItems(128).empty());
}

TEST_F(NodeSettingsRules, ParentListNamesTheOtherRccsInUse)
{
    for (int n : {1, 4, 31})
        Nodes[n].SetInUse(true);
    const ListItems items = ParentItems(4, Nodes);
    EXPECT_EQ(items, (ListItems{{"No Parent", -1}, {"Radio Hub", 0}, {"   1", 1}, {"   31", 31}}));
}

TEST_F(NodeSettingsRules, IdentEntryAndLeavingTheField)
{
    EXPECT_EQ(IdentEntry("a1b"), "A1B");
    EXPECT_EQ(IdentEntry("A1B2C3D"), "A1B2C3D");
    EXPECT_EQ(IdentEntry("12G"), std::nullopt);
    EXPECT_EQ(IdentEntry("1 2"), std::nullopt);
    const struct
    {
        std::string typed, left;
        bool tooLong;
    } cases[] = {{"A1B", "00A1B", false}, {"", "", false}, {"12345", "12345", false}, {"1234567", "34567", true}};
    for (const auto& c : cases) {
        const LeftIdent left = LeaveIdent(c.typed);
        EXPECT_EQ(left.ident, c.left) << c.typed;
        EXPECT_EQ(left.tooLong, c.tooLong) << c.typed;
    }
}

TEST_F(NodeSettingsRules, IdentClashNamesTheHolder)
{
    for (int n : {0, 3, 12})
        Nodes[n].SetInUse(true);
    Nodes[0].SetNodeIdent("11111");
    Nodes[12].SetNodeIdent("22222");
    Nodes[3].SetNodeIdent("33333");
    Nodes[3].SetDeviceType(7, 2);
    Nodes[3].SetDeviceIdent(7, "44444");
    const struct
    {
        std::string ident;
        int node;
        std::string holder;
    } cases[] = {{"11111", 3, " Radio Hub"},
                 {"22222", 0, " RCC 12"},
                 {"44444", 3, " Device 7 on RCC 3"},
                 {"33333", 3, ""},
                 {"55555", 3, ""}};
    for (const auto& c : cases) {
        const int owner = IdentClashOwner(c.ident, c.node);
        if (c.holder.empty()) {
            EXPECT_EQ(owner, -1) << c.ident;
            continue;
        }
        EXPECT_EQ(IdentClashMessage(c.ident, owner), "Ident " + c.ident + "\r\nAlready in Use by" + c.holder);
    }
}

TEST_F(NodeSettingsRules, CaptionAndHop)
{
    EXPECT_EQ(NodeSettingsCaption(0, false, false), "Radio Hub Properties");
    EXPECT_EQ(NodeSettingsCaption(0, true, true), "RLM Properties *");
    EXPECT_EQ(NodeSettingsCaption(7, false, true), "RCC 7 Properties *");
    EXPECT_EQ(ShowHop(-1).text, "0");
    EXPECT_TRUE(ShowHop(-1).invalid);
    EXPECT_TRUE(ShowHop(5).invalid);
    EXPECT_FALSE(ShowHop(4).invalid);
}
