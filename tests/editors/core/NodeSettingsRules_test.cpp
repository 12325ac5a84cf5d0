#include "editors/core/NodeSettingsRules.h"
#include "model/TestSites.h"
#include "support/ListAt.h"

#include <gtest/gtest.h>

using namespace editors;
using model::Nodes;

namespace {

using NodeSettingsRules = EmptySiteTest;

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
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].text, "     1");
    EXPECT_EQ(testsupport::Last(AddressItems(2, 400, table, 126)), (ListItem{"   126", 126}));
    EXPECT_TRUE(AddressItems(-1, 400, table, 126).empty());
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

TEST(NodeSettingsHop, PathsOfUpToFourHopsAreValidAndLongerOrBrokenOnesAreNot)
{
    const struct
    {
        int hop;
        const char* text;
        bool invalid;
    } cases[] = {{0, "0", false}, {1, "1", false}, {4, "4", false}, {5, "5", true}, {10, "10", true}, {-1, "0", true}};
    for (const auto& c : cases) {
        const HopShown shown = ShowHop(c.hop);
        EXPECT_EQ(shown.text, c.text) << c.hop;
        EXPECT_EQ(shown.invalid, c.invalid) << c.hop;
    }
}
