#include "app/core/FindEntry.h"
#include "model/TestSites.h"

#include <gtest/gtest.h>

using namespace app;
using namespace model;

namespace {

class FindEntry : public EmptySiteTest
{
protected:
    void SetUp() override
    {
        ResetToEmptySite();
        for (const auto& [n, ident, address] : {std::tuple{0, "10000", 1}, {4, "2A1", 25}}) {
            Nodes[n].SetInUse(true);
            Nodes[n].SetNodeIdent(ident);
            Nodes[n].SetNodeLoop(1);
            Nodes[n].SetNodeAddress(address);
        }
        Nodes[6].SetInUse(true);
        for (const auto& [slot, type, address] : {std::tuple{3, 10, 40}, {5, 2, 1}}) { // 10: two addresses
            Nodes[6].SetDeviceType(slot, type);
            Nodes[6].SetDeviceLoop(slot, 2);
            Nodes[6].SetDeviceAddress(slot, address);
        }
        Nodes[6].SetDeviceIdent(3, "ABCDE");
    }
};

} // namespace

TEST(FindEntryText, LoopAddressFormsAllReadTheSame)
{
    for (const char* text : {"1:25", "L1/25", "1.25", "1 25", "L 1:25"}) {
        int loop = 0, address = 0;
        EXPECT_TRUE(IsLoopAddressEntry(text)) << text;
        ReadLoopAddress(text, loop, address);
        EXPECT_EQ(loop, 1) << text;
        EXPECT_EQ(address, 25) << text;
    }
    EXPECT_FALSE(IsLoopAddressEntry("2A1"));
}

TEST(FindEntryText, ShortOrOddTextsReadWhatTheyHold)
{
    // "L1": the start is the last character; "002A1": a padded ident read as loop 2, address 1;
    // a long run of digits does not overflow.
    const std::tuple<const char*, int, int> texts[] = {
        {"L", -1, 0}, {"L1", -1, 0}, {"L4/10", 4, 10}, {"5:10", -1, 10}, {"002A1", 2, 1}, {"::", 0, 0}};
    for (const auto& [text, expectedLoop, expectedAddress] : texts) {
        int loop = 9, address = 9;
        ReadLoopAddress(text, loop, address);
        EXPECT_EQ(loop, expectedLoop) << text;
        EXPECT_EQ(address, expectedAddress) << text;
    }
    int loop = 0, address = 0;
    ReadLoopAddress("3:99999999999", loop, address);
    EXPECT_EQ(loop, 3);
    EXPECT_GT(address, 0);
}

TEST_F(FindEntry, IdentsArePaddedAndHitsAreWorded)
{
    FindResult r = FindDevice("2A1");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.node, 4);
    EXPECT_EQ(r.slot, 0);
    EXPECT_EQ(r.message, "Ident 002A1 is used by RCC 4\r\n Go to Selected Device ?");

    r = FindDevice("10000");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.node, 0);
    EXPECT_EQ(r.message, "Ident 10000 is used by the Radio Hub\r\n Go to Selected Device ?");

    r = FindDevice("2:41"); // the head's second address
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.node, 6);
    EXPECT_EQ(r.slot, 3);
    EXPECT_EQ(
        r.message.rfind("Loop 2 Address 41 is used by " + DeviceTypeName(10) + " in slot 3 on RCC 6", 0), 0u);

    Nodes[6].SetDeviceType(7, 2); // the last loop
    Nodes[6].SetDeviceLoop(7, 4);
    Nodes[6].SetDeviceAddress(7, 25);
    r = FindDevice("4:25");
    EXPECT_TRUE(r.found && r.node == 6 && r.slot == 7) << r.message;
}

TEST_F(FindEntry, UnknownIdentFallsBackToLoopAddress)
{
    Nodes[4].SetNodeIdent("11111"); // nobody has 002A1 now
    const FindResult r = FindDevice("2A1");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.node, 6);
    EXPECT_EQ(r.slot, 5);
    EXPECT_EQ(r.message.rfind("Loop 2 Address 1 is used by ", 0), 0u);
}

TEST_F(FindEntry, NoMatchReportsTheTextAsEnteredAndLoopsAboveFourFindNothing)
{
    EXPECT_EQ(FindDevice("L").message, "No Match Found for [L]");
    EXPECT_TRUE(FindDevice("").message.empty());
}

TEST_F(FindEntry, ALoopAboveFourFindsNotEvenWhatAnEarlierSearchLeftBehind)
{
    ASSERT_TRUE(FindDevice("1:25").found); // leaves a loop-address search behind
    Nodes[0].SetNodeAddress(25);           // a second hit the old search could still give
    const FindResult r = FindDevice("5:25");
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.message, "No Match Found for [5:25]");
}
