#include "hublink/core/HubConfigParser.h"

#include "model/ConfigurationCheck.h"
#include "model/Site.h"

#include <gtest/gtest.h>
#include <vector>

using model::HubNodes;

namespace {

int16_t Parse(const std::vector<std::string>& lines, hublink::HubParseOptions options = {0, false})
{
    return hublink::ParseHubConfiguration(lines, HubNodes, options);
}

} // namespace

TEST(HubConfigParser, GoodLinesFillTheNodesAndReportNothing)
{
    HubNodes[4].SetInUse(true); // left over from an earlier parse
    EXPECT_EQ(Parse({"POPULATE LOOP1 NODE 12 0 01A2B 0", "populate LOOP2 NODE 128 3 f00d", "",
                     "POPULATE LOOP2 SOUNDER 17 3 1A2B3", "POPULATE LOOP2 COMBOHEAT 20 3 1A2B4  9", "POPULATE LOOP2 HEAT 22 3 1A2B5 30",
                     "RELATION ADD 3 0 1", "RELATION ADD 5 255 2", "YPROTRADIOCHANNELS 2 33",
                     "XPROTRADIOCHANNELS 6 7 3", "XPROTRADIOCHANNELS 8 9"}),
              0);
    const model::clsNode &hub = HubNodes[0], &rcc = HubNodes[3];
    EXPECT_EQ(hub.NodeIdent(), "01A2B");
    EXPECT_EQ(rcc.NodeIdent(), "0F00D");
    EXPECT_EQ(rcc.NodeAddress(), 128);
    EXPECT_EQ(rcc.DeviceType(1), 6);
    EXPECT_EQ(rcc.DeviceType(10), 11) << "slot field 9 after an empty field";
    EXPECT_EQ(rcc.DeviceIdent(10), "1A2B4");
    EXPECT_EQ(rcc.DeviceType(31), 4) << "slot field 30 is the last slot";
    EXPECT_EQ(rcc.Parent(), 0);
    EXPECT_EQ(rcc.ReportedHop(), 1);
    EXPECT_FALSE(HubNodes[5].InUse()) << "only node lines put a node in use";
    EXPECT_FALSE(HubNodes[4].InUse());
    EXPECT_EQ(hub.Y_ChannelA(), 1);
    EXPECT_EQ(hub.Y_ChannelB(), 20);
    EXPECT_EQ(rcc.X_ChannelA(), 5);
    EXPECT_EQ(hub.X_ChannelA(), 7) << "without a node the channels are the connected unit's";
    EXPECT_EQ(HubNodes[7].NodeNumber(), 7);
}

TEST(HubConfigParser, EveryBadLineIsReportedAndItsBadFieldsAreNotStored)
{
    const std::vector<std::string> lines = {
        "POPULATE LOOP5 NODE 0 2 XYZ",
        "POPULATE LOOP1 NODE 12 40 01A2B",
        "POPULATE LOOP1 CALLPOINT 128 2 1A2B3 0",
        "POPULATE LOOP1 node 12 2 1A2B3",
        "POPULATE LOOP1 CALLPOINT 12 2 1A2B3 31",
        "RELATION ADD 0 0 1",
        "RELATION ADD 4 40 1",
        "YPROTRADIOCHANNELS 2 20",
        "POPULATE LOOP1 NODE 12",
        "GARBAGE 1 2",
    };
    EXPECT_EQ(Parse(lines), 10);
    const std::vector<std::string> expected = {
        "[POPULATE LOOP5 NODE 0 2 XYZ] RCC 2, Loop 5, Address 0, Ident XYZ / Error In Ident / Error In Loop Number "
        "/ Error In Loop Address",
        "[POPULATE LOOP1 NODE 12 40 01A2B] RCC 40, Loop 1, Address 12, Ident 01A2B / Invalid Node Number",
        "[POPULATE LOOP1 CALLPOINT 128 2 1A2B3 0] RCC 2 CALLPOINT on ,  Loop 1, Address 128, Ident 1A2B3, Slot 0 "
        "/ Error In Loop Address",
        "[POPULATE LOOP1 node 12 2 1A2B3] RCC 2 node on ,  Loop 1, Address 12, Ident 1A2B3 / Error In Device Type",
        "[POPULATE LOOP1 CALLPOINT 12 2 1A2B3 31] RCC 2 CALLPOINT on ,  Loop 1, Address 12, Ident 1A2B3, Slot 31 "
        "/ Invalid Slot Number",
        "RCC 0  / Invalid Node Number (0)",
        "RCC 4  / Invalid Parent (40)",
        "[YPROTRADIOCHANNELS 2 20]  / Invalid Y-Protocol Channel(s) Specified",
        "Unrecognised data :  <POPULATE LOOP1 NODE 12>",
        "Unrecognised data :  <GARBAGE 1 2>",
    };
    EXPECT_EQ(model::MessageList, expected);
    EXPECT_TRUE(HubNodes[2].InUse());
    EXPECT_EQ(HubNodes[2].NodeIdent(), "");
    EXPECT_EQ(HubNodes[2].DeviceLoop(1), 1) << "the good fields of a line are kept";
    EXPECT_EQ(HubNodes[2].DeviceType(2), 0);
    EXPECT_EQ(HubNodes[0].Y_ChannelA(), 1);
    EXPECT_EQ(HubNodes[0].Y_ChannelB(), -1);

    // A device for a full RCC, and RCC channels that programming cannot place.
    std::vector<std::string> full(32, "POPULATE LOOP1 CALLPOINT 1 9 00001");
    full.insert(full.end(), {"XPROTRADIOCHANNELS 2 3", "XPROTRADIOCHANNELS 2 3 40"});
    EXPECT_EQ(Parse(full, {0, true}), 3);
    ASSERT_EQ(model::MessageList.size(), 3u);
    EXPECT_EQ(model::MessageList[0],
              "[POPULATE LOOP1 CALLPOINT 1 9 00001] RCC 9 CALLPOINT on ,  Loop 1, Address 1, Ident 00001 "
              "/ No Free Slot");
    EXPECT_EQ(model::MessageList[2],
              "[XPROTRADIOCHANNELS 2 3 40]  / X-Protocol Channels Specified for Invalid Node Number");
    EXPECT_EQ(Parse({"XPROTRADIOCHANNELS 2 3"}, {-1, false}), 1) << "no unit to give them to";

    // A unit of a type word the program does not know keeps the slot it was given.
    EXPECT_EQ(Parse({"POPULATE LOOP1 FOOBAR 50 9 0C0AA", "POPULATE LOOP1 CALLPOINT 51 9 0C0AB"}), 1);
    EXPECT_EQ(HubNodes[9].DeviceIdent(1), "0C0AA");
    EXPECT_EQ(HubNodes[9].DeviceAddress(1), 50);
    EXPECT_EQ(HubNodes[9].DeviceIdent(2), "0C0AB");
}
