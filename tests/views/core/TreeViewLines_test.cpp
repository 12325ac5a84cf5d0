#include "views/core/TreeViewLines.h"

#include "SiteFixture.h"
#include "support/ListAt.h"

#include <gtest/gtest.h>
#include <set>

using namespace views;
using model::Nodes;
using testsupport::At;
using testsupport::Last;

namespace {

std::vector<std::string> Lines(TreeViewBy by, bool details)
{
    return Written(TreeViewLines({Nodes, LoopAddressOwner, LoopCount, MaxLoopAddress}, by, details));
}

// The lines of one key and of its children, in order.
std::vector<std::string> Branch(const std::vector<std::string>& lines, const std::string& key)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (line.rfind(key + " ", 0) == 0 || line.find(" < " + key + " ") != std::string::npos)
            out.push_back(line);
    }
    return out;
}

} // namespace

TEST(TreeViewLines, HubSiteByRccAndByLoop)
{
    LoadFixtureSite("hub-site.qvs");
    const auto keys = [](const std::vector<std::string>& lines) {
        std::string out;
        for (const std::string& line : lines)
            out += line.substr(0, line.find(' ')) + " ";
        return out;
    };
    const std::vector<std::string> byRcc = Lines(TreeViewBy::Rcc, false);
    EXPECT_EQ(keys(byRcc), "Hub RCC1 Device1-1 Device1-2 Device1-5 Device1-6 Device1-31 RCC2 Device2-3 Device2-4 "
                           "Device2-7 ");
    ASSERT_EQ(byRcc.size(), 11u);
    EXPECT_EQ(byRcc[0], "Hub [Node] Radio Hub, Ident 0A1B2, L1/001, Ch1:22 Ch2:08, Main hub");
    EXPECT_EQ(byRcc[7], "RCC2 < Hub [Node] RCC 2, Ident 1C3D5, Loop 2 Address 003, Parent:RCC 1, Ch1:17 Ch2:01, "
                        "South = wing");
    EXPECT_EQ(byRcc[4], "Device1-5 < RCC1 [Combo] Optical Smoke Combo, Ident 20005, Loop 2 Address 040 & 041, "
                        "Kitchen head");
    EXPECT_EQ(byRcc[10], "Device2-7 < RCC2 [Combo] Combo, Ident , Loop 1 Address 050, Unfinished combo");
    // By loop in address order; the head's second address is passed over,
    // so the heat detector sitting there is not listed; device lines name
    // their RCC.
    const std::vector<std::string> byLoop = Lines(TreeViewBy::Loop, false);
    EXPECT_EQ(keys(byLoop), "Hub Loop1 RCC1 Device1-1 Device2-7 Device2-3 Loop2 RCC2 Device1-2 Device1-6 "
                            "Device1-5 Device1-31 ");
    ASSERT_EQ(byLoop.size(), 12u);
    EXPECT_EQ(byLoop[1], "Loop1 < Hub [Loop] Loop  1");
    EXPECT_EQ(byLoop[2],
              "RCC1 < Loop1 [Node] RCC 1, Ident 1C3D4, Address 002, Parent:Radio Hub, Ch1:32 Ch2:04, North wing");
    EXPECT_EQ(byLoop[5], "Device2-3 < Loop1 [ComboBeacon] Multisensor Combo/Beacon, Ident 30003, Address 100 & 101, "
                         "Store, RCC 2");

    LoadFixtureSite("full-site.qvs"); // the hub, 31 RCCs and their 31 devices each
    EXPECT_EQ(Lines(TreeViewBy::Rcc, false).size(), 1u + 31u + 31u * 31u);
}

TEST(TreeViewLines, EveryLineByRccNamesItsKindAndDetails)
{
    LoadFixtureSite("hub-site.qvs");
    EXPECT_EQ(
        Lines(TreeViewBy::Rcc, false),
        (std::vector<std::string>{
            "Hub [Node] Radio Hub, Ident 0A1B2, L1/001, Ch1:22 Ch2:08, Main hub",
            "RCC1 < Hub [Node] RCC 1, Ident 1C3D4, Loop 1 Address 002, Parent:Radio Hub, Ch1:32 Ch2:04, "
            "North wing",
            "Device1-1 < RCC1 [Callpoint] Callpoint, Ident 20001, Loop 1 Address 010, Stair 1",
            "Device1-2 < RCC1 [Optical] Optical Smoke Detector, Ident 20002, Loop 2 Address 011, Plant room",
            "Device1-5 < RCC1 [Combo] Optical Smoke Combo, Ident 20005, Loop 2 Address 040 & 041, Kitchen "
            "head",
            "Device1-6 < RCC1 [Beacon] Sounder/Beacon, Ident 20006, Loop 2 Address 012, Lobby",
            "Device1-31 < RCC1 [IOUnit] ZM I/O Unit, Ident 2001F, Loop 2 Address 126, Zone monitor",
            "RCC2 < Hub [Node] RCC 2, Ident 1C3D5, Loop 2 Address 003, Parent:RCC 1, Ch1:17 Ch2:01, South = "
            "wing",
            "Device2-3 < RCC2 [ComboBeacon] Multisensor Combo/Beacon, Ident 30003, Loop 1 Address 100 & 101, "
            "Store",
            "Device2-4 < RCC2 [HHeat] Heat CS Detector, Ident 30004, Loop 1 Address 101",
            "Device2-7 < RCC2 [Combo] Combo, Ident , Loop 1 Address 050, Unfinished combo",
        }));
}

TEST(TreeViewLines, DetailsAreChildLinesOfTheDeviceAndRlmDevicesShowByLoop)
{
    LoadFixtureSite("hub-site.qvs");
    EXPECT_EQ(Lines(TreeViewBy::Rcc, true).size(), 3u + 8u * 5u);
    EXPECT_EQ(Branch(Lines(TreeViewBy::Rcc, true), "Device1-5")[3],
              "Address1-5 < Device1-5 Address: 40 & 41");
    const std::vector<std::string> byLoop = Lines(TreeViewBy::Loop, true);
    EXPECT_EQ(byLoop.size(), 5u + 7u * 5u);
    EXPECT_EQ(Branch(byLoop, "Device2-3"),
              (std::vector<std::string>{"Device2-3 < Loop1 [ComboBeacon] Multisensor Combo/Beacon",
                                        "Ident2-3 < Device2-3 Ident: 30003",
                                        "Address2-3 < Device2-3 Address: 100 & 101", "Name2-3 < Device2-3 Name: Store",
                                        "DevRCC2-3 < Device2-3 RCC: 2"}));

    LoadFixtureSite("loop-interface.qvs");
    const std::vector<std::string> byRcc = Lines(TreeViewBy::Rcc, false);
    ASSERT_EQ(byRcc.size(), 3u);
    EXPECT_EQ(byRcc[0], "Hub [Node] Radio Hub, Ident 4A000, L3/007, Ch1:-01 Ch2:-01, RLM");
    EXPECT_EQ(
        At(Branch(Lines(TreeViewBy::Loop, false), "Device0-2"), 0),
        "Device0-2 < Loop3 [ComboBeacon] Heat A1R Combo/Beacon, Ident 4A002, Address 21 & 22, Boiler, RCC 0");
    EXPECT_EQ(Last(Branch(Lines(TreeViewBy::Loop, true), "Device0-2")), "DevRCC0-2 < Device0-2 RCC: 0");
}

TEST(TreeViewLines, AStaleOwnerTableAddsEachUnitOnce)
{
    LoadFixtureSite("hub-site.qvs");
    const std::vector<std::string> sound = Lines(TreeViewBy::Loop, true);
    SetOwner(LoopAddressOwner, 1, 60, 101);  // device 1-1 a second time
    SetOwner(LoopAddressOwner, 2, 90, 200);  // RCC 2 a second time
    SetOwner(LoopAddressOwner, 1, 61, 3300); // no such node
    SetOwner(LoopAddressOwner, 1, 62, 140);  // no such slot
    SetOwner(LoopAddressOwner, 2, 100, 101); // device 1-1 on another loop too
    EXPECT_EQ(Lines(TreeViewBy::Loop, true), sound);
}

TEST(TreeViewLines, NodeAClickedLineActivates)
{
    LoadFixtureSite("hub-site.qvs");
    Nodes[12].SetInUse(true);
    // RCC 5 is not in use.
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"Radio Hub, Ident 0A1B2", 0}, {"RCC 12, Ident 1C3D4", 12}, {"RCC 2, Ident 1C3D5", 2}, {"RCC: 12", 12},
        {"RCC: 0", 0}, {"RCC 5, Ident 00005", -1}, {"Loop  2", -1}, {"Ident: 20001", -1}, {"rcc 2", -1}, {"RCC", -1}};
    // clang-format on
    for (const auto& [text, node] : cases)
        EXPECT_EQ(NodeToActivate(text, Nodes), node) << text;
}
