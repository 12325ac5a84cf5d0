#include "hublink/core/ChangeList.h"

#include "CompareSite.h"
#include "CrowdedSite.h"

#include <cstdio>

using namespace hublink;

namespace {

// Every set change flag: "N3 NodeAdd" for node 3 of Nodes, "H1.2 DeviceDelete"
// for slot 2 of node 1 of HubNodes.
Lines SetFlags()
{
    Lines set;
    const auto add = [&set](bool isSet, const std::string& name) {
        if (isSet)
            set.push_back(name);
    };
    for (const char* array : {"N", "H"}) {
        for (const model::clsNode& node : *array == 'N' ? Nodes : HubNodes) {
            const std::string at = array + std::to_string(node.NodeNumber());
            add(node.NodeAdd(), at + " NodeAdd");
            add(node.NodeDelete(), at + " NodeDelete");
            add(node.AddressChange(), at + " AddressChange");
            add(node.ParentChange(), at + " ParentChange");
            add(node.ChannelChange(), at + " ChannelChange");
            for (int s = 1; s <= model::kLastSlot; ++s) {
                const std::string slot = at + "." + std::to_string(s);
                add(node.DeviceAdd(s), slot + " DeviceAdd");
                add(node.DeviceDelete(s), slot + " DeviceDelete");
                add(node.DeviceAddressChange(s), slot + " DeviceAddressChange");
            }
        }
    }
    return set;
}

// What, the change, the result, the lines after the heading, the flags set.
using Change = std::tuple<const char*, std::function<void()>, int, Lines, Lines>;

} // namespace

TEST_F(CompareSite, ChangeListFlagsWhatProgrammingMustChange)
{
    // clang-format off
    const std::vector<Change> table = {
        {"equal; the hub's sounder word stands for the site's sounder/beacon", [] { HubNodes[2].SetDeviceType(1, 6); }, 0, {}, {}},
        {"hub not programmed", [] { HubNodes[1].InitializeNode(); HubNodes[2].InitializeNode(); }, -1,
         {"RCC 1 will be added to the Radio Hub", "Callpoint with Ident 1A001 will be added to RCC 1",
          "Optical Smoke Combo with Ident 1A002 will be added to RCC 1", "RCC 2 will be added to the Radio Hub",
          "Sounder/Beacon with Ident 2A001 will be added to RCC 2"},
         {"N0 NodeAdd", "N1 NodeAdd", "N1.1 DeviceAdd", "N1.2 DeviceAdd", "N2 NodeAdd", "N2.1 DeviceAdd"}},
        {"RCC added; one cut off from the hub is left out",
         [] { Node(3, 0, 12, "0A003"); Device(3, 1, 2, 50, "3A001"); Node(4, -1, 13, "0A004"); Device(4, 1, 2, 51, "4A001"); }, 4,
         {"RCC 3 will be added to the Radio Hub", "Callpoint with Ident 3A001 will be added to RCC 3",
          "Parent of RCC 3 Changed from Undefined to Radio Hub", " "},
         {"N3 NodeAdd", "N3 ParentChange", "N3.1 DeviceAdd"}},
        {"RCC deleted", [] { Nodes[2].InitializeNode(); }, 2,
         {"RCC 2 will be deleted from the Radio Hub", "Sounder/Beacon with Ident 2A001 will be deleted from RCC 2"},
         {"N0 ChannelChange", "N2 ChannelChange", "H2 NodeDelete", "H2.1 DeviceDelete"}},
        {"RCC re-parented, its child's hop follows",
         [] { Node(3, 0, 12, "0A003"); Node(3, 0, 12, "0A003", HubNodes); Nodes[1].SetParent(3); }, 2,
         {"Parent of RCC 1 Changed from Radio Hub to RCC 3", " "}, {"N1 ParentChange", "N2 ParentChange"}},
        {"RCC replaced by a new ident", [] { Nodes[2].SetNodeIdent("0B002"); }, 2,
         {"RCC 2 will be updated", "Device L1/011 RCC 2 has changed Ident from 0A002 to Ident 0B002"},
         {"N2 NodeAdd", "N2 NodeDelete", "H2 NodeDelete"}},
        {"RCC moved", [] { Nodes[2].SetNodeAddress(12); }, 1,
         {"Device L1/011  RCC 2 with Ident 0A002 will be moved to L1/012 "}, {"N2 AddressChange"}},
        {"device moved", [] { Nodes[1].SetDeviceAddress(1, 22); }, 1,
         {"Device L1/020  Callpoint with Ident 1A001 will be moved to L1/022 "}, {"N1.1 DeviceAddressChange"}},
        {"device retyped", [] { Nodes[1].SetDeviceType(1, 3); }, 3,
         {"Callpoint with Ident 1A001 will be deleted from RCC 1", "Optical Smoke Detector with Ident 1A001 will be added to RCC 1",
          "Device L1/020 Callpoint with Ident 1A001 on RCC 1 has changed to Optical Smoke Detector with Ident 1A001"},
         {"N1.1 DeviceAdd", "N1.1 DeviceDelete", "H1.1 DeviceDelete"}},
        {"a type of a shared word is left to the address pass", [] { Nodes[1].SetDeviceType(1, 19); }, 1,
         {"Device L1/020 Callpoint with Ident 1A001 on RCC 1 has changed to Multisensor Combo/Beacon with Ident 1A001"},
         {"N1.1 DeviceAdd", "N1.1 DeviceDelete"}},
        {"leftovers of RCCs neither side has; a deleted RCC's kept values are none",
         [] { HubNodes[6].SetX_ChannelA(9); HubNodes[6].SetX_ChannelB(27); Device(7, 1, 3, 50, "7A001", HubNodes);
              HubNodes[8].SetParent(0); Nodes[2].SetInUse(false); HubNodes[2].InitializeNode(); }, 4,
         {"Optical Smoke Detector with Ident 7A001 will be deleted from RCC 7",
          "RCC 6 X-Protocol Channels 9 and 27 are held without the RCC; only clearing the Radio Hub removes them",
          "Parent of RCC 8 Changed from Radio Hub to Undefined", " "},
         {"N8 ParentChange", "H7.1 DeviceDelete"}},
        {"... unless the address pass cannot meet it, at an address beyond the loops",
         [] { for (auto* nodes : {&Nodes, &HubNodes}) (*nodes)[1].SetDeviceAddress(1, 220); Nodes[1].SetDeviceType(1, 6); }, 2,
         {"Callpoint with Ident 1A001 will be deleted from RCC 1", "Sounder with Ident 1A001 will be added to RCC 1"},
         {"N1.1 DeviceAdd", "H1.1 DeviceDelete"}},
        {"head became a plain detector, freeing its second address: two changes, one line", [] { Nodes[1].SetDeviceType(2, 3); }, 2,
         {"Device L1/030 Optical Smoke Combo with Ident 1A002 on RCC 1 has changed to Optical Smoke Detector with Ident 1A002"},
         {"N1.2 DeviceAdd", "N1.2 DeviceDelete"}},
        {"a head retyped counts at both its addresses, listed once", [] { Nodes[1].SetDeviceType(2, 11); }, 2,
         {"Device L1/030 Optical Smoke Combo with Ident 1A002 on RCC 1 has changed to Heat A1R Combo with Ident 1A002"},
         {"N1.2 DeviceAdd", "N1.2 DeviceDelete"}},
        {"two devices swapped addresses", [] { Nodes[1].SetDeviceAddress(1, 40); Nodes[2].SetDeviceAddress(1, 20); }, 2,
         {"Device L1/020  Callpoint with Ident 1A001 will be moved to L1/040 ", "Device L1/040  SnderBcn with Ident 2A001 will be moved to L1/020 "},
         {"N1.1 DeviceAddressChange", "N2.1 DeviceAddressChange"}},
        {"two RCCs swapped addresses", [] { Nodes[1].SetNodeAddress(11); Nodes[2].SetNodeAddress(10); }, 2,
         {"Device L1/010  RCC 1 with Ident 0A001 will be moved to L1/011 ", "Device L1/011  RCC 2 with Ident 0A002 will be moved to L1/010 "},
         {"N1 AddressChange", "N2 AddressChange"}},
        {"a hub without RCCs that should have none matches", [] {
             for (int n : {1, 2}) Nodes[n].InitializeNode(), HubNodes[n].InitializeNode(); }, 0, {}, {}},
        {"... and is told of its move", [] {
             for (int n : {1, 2}) Nodes[n].InitializeNode(), HubNodes[n].InitializeNode();
             Nodes[0].SetNodeAddress(3); }, 1,
         {"Device L1/001  the Radio Hub with Ident 0A000 will be moved to L1/003 "}, {"N0 AddressChange"}},
        {"a hub without its own node line is programmed from clear", [] {
             for (int n : {0, 1, 2}) HubNodes[n].InitializeNode();
             for (int n : {1, 2}) Nodes[n].InitializeNode(); }, -1, {}, {"N0 NodeAdd"}},
        {"site slots without a device type hold no device, whatever loop address and ident they keep; downloaded "
         "units of an unknown type the site does not hold go",
         [] { Device(1, 3, 0, 50, "0C0AA"); Device(2, 2, 0, 51, "0C0AB", HubNodes); Device(1, 4, 0, 20, "0C0AC", HubNodes);
              Device(2, 3, 0, 40, "0C0AD"); }, 2,
         {"Device of Unknown Type with Ident 0C0AC will be deleted from RCC 1",
          "Device of Unknown Type with Ident 0C0AB will be deleted from RCC 2"},
         {"H1.4 DeviceDelete", "H2.2 DeviceDelete"}},
        {"a device against a slot without a type is deleted; one against a unit of an unknown type replaces it",
         [] { Nodes[1].SetDeviceType(1, 0); HubNodes[2].SetDeviceType(1, 0); }, 3,
         {"Callpoint with Ident 1A001 will be deleted from RCC 1", "Device of Unknown Type with Ident 2A001 will be deleted from RCC 2",
          "Sounder/Beacon with Ident 2A001 will be added to RCC 2"},
         {"N2.1 DeviceAdd", "H1.1 DeviceDelete", "H2.1 DeviceDelete"}},
        {"a unit of an unknown type that the site holds as it stands stays",
         [] { Device(1, 3, 0, 50, "0C0AA"); Device(1, 3, 0, 50, "0C0AA", HubNodes); }, 0, {}, {}},
        {"... not where a site device, a head's second address or a site ident takes its place",
         [] { for (auto* nodes : {&Nodes, &HubNodes}) {
                  Device(1, 3, 0, 50, "0C0AA", *nodes); Device(1, 4, 0, 52, "0C0AB", *nodes); Device(1, 5, 0, 53, "0C0AC", *nodes); }
              Device(2, 2, 2, 50, "2A002"); Device(2, 3, 10, 51, "2A003"); Device(2, 4, 2, 60, "0C0AC"); }, 6,
         {"Device of Unknown Type with Ident 0C0AA will be deleted from RCC 1",
          "Device of Unknown Type with Ident 0C0AB will be deleted from RCC 1",
          "Device of Unknown Type with Ident 0C0AC will be deleted from RCC 1",
          "Callpoint with Ident 2A002 will be added to RCC 2", "Optical Smoke Combo with Ident 2A003 will be added to RCC 2",
          "Callpoint with Ident 0C0AC will be added to RCC 2"},
         {"N2.2 DeviceAdd", "N2.3 DeviceAdd", "N2.4 DeviceAdd", "H1.3 DeviceDelete", "H1.4 DeviceDelete", "H1.5 DeviceDelete"}},
        {"... nor where another slot of the site without a type keeps its address",
         [] { for (auto* nodes : {&Nodes, &HubNodes}) { Device(1, 3, 0, 50, "0C0AA", *nodes); Device(2, 2, 0, 50, "0C0AB", *nodes); } }, 2,
         {"Device of Unknown Type with Ident 0C0AA will be deleted from RCC 1",
          "Device of Unknown Type with Ident 0C0AB will be deleted from RCC 2"},
         {"H1.3 DeviceDelete", "H2.2 DeviceDelete"}},
        {"the hub's own ident changed", [] { Nodes[0].SetNodeIdent("0B000"); }, 1,
         {"Device L1/001 Radio Hub has changed Ident from 0A000 to Ident 0B000"}, {"N0 NodeAdd", "N0 NodeDelete"}},
        {"a device on a head's second address, which the check lets pass, is compared there",
         [] { for (auto* nodes : {&Nodes, &HubNodes}) (*nodes)[1].SetDeviceAddress(1, 31);
              HubNodes[1].SetDeviceType(1, 6); }, 1,
         {"Device L1/031 Sounder with Ident 1A001 on RCC 1 has changed to Callpoint with Ident 1A001"},
         {"N1.1 DeviceAdd", "N1.1 DeviceDelete"}},
        {"a head that takes its second address from a unit that left it has not moved",
         [] { Device(1, 3, 2, 31, "1A003", HubNodes); Device(1, 3, 2, 50, "1A003"); }, 1,
         {"Device L1/031  Callpoint with Ident 1A003 will be moved to L1/050 "}, {"N1.3 DeviceAddressChange"}},
        {"a callpoint that became a head on the free address below it is one move",
         [] { Nodes[1].SetDeviceType(1, 10); Nodes[1].SetDeviceAddress(1, 19); }, 1,
         {"Device L1/020  Callpoint with Ident 1A001 will be moved to L1/019 "}, {"N1.1 DeviceAddressChange"}},
        {"channels first", [] { Nodes[0].SetY_ChannelB(35); Nodes[1].SetX_ChannelA(7); Nodes[2].SetParent(0); }, -2,
         {"Y-Protocol Channel B changed from 2 to F3", "RCC 1 X-Protocol Channel A changed from 3 to 7",
          "Parent and loop address changes are listed once the new channels are programmed", " "},
         {"N0 ChannelChange", "N1 ChannelChange"}},
    };
    // clang-format on
    for (const auto& [what, change, result, lines, flags] : table) {
        SetUp();
        change();
        BuildAddressMap();
        BuildHubAddressMap();
        EXPECT_EQ(BuildChangeList(), result) << what;
        Lines expected = lines;
        expected.insert(expected.begin(),
                        "Changes between data in the Radio Hub and the Current Configuration are\r\n\r\n");
        EXPECT_EQ(MessageList, expected) << what;
        EXPECT_EQ(SetFlags(), flags) << what;
    }
    EXPECT_EQ(HubNodes[2].DeviceType(1), 7) << "the download's type follows the site's within one type word";
}

TEST_F(CompareSite, EveryDeviceIdentOfAFullSiteChangedIsOverAThousandChanges)
{
    // The hub and 31 RCCs on L1/1..32, a device on every other address of
    // four loops of 127: a delete, an add and an ident line each.
    for (int n = 0; n < model::kNodeCount; ++n)
        Node(n, n == 0 ? -1 : 0, n + 1, "0A000");
    CopyNodeArray(Nodes, HubNodes, 100);
    int k = 0;
    for (int at = 33; at <= 4 * 127; ++at, ++k) {
        char site[6], hub[6];
        std::snprintf(site, sizeof site, "%05X", k), std::snprintf(hub, sizeof hub, "%05X", k + 0x1000);
        sitebuild::PlaceDevice(Nodes, k % 31 + 1, k / 31 + 1, 2, (at - 1) / 127 + 1, (at - 1) % 127 + 1, site);
        sitebuild::PlaceDevice(HubNodes, k % 31 + 1, k / 31 + 1, 2, (at - 1) / 127 + 1, (at - 1) % 127 + 1, hub);
    }
    BuildAddressMap();
    BuildHubAddressMap();
    EXPECT_EQ(BuildChangeList(), 3 * 476) << "more than 1000: programming offers to clear the hub first";
}

TEST_F(CompareSite, TheCountThatDecidesTheClearQuestionTakesEveryRepeat)
{
    model::ResetSite();
    crowdedsite::Place(Nodes);
    CopyNodeArray(Nodes, HubNodes, 100);
    crowdedsite::Edit(Nodes);
    BuildAddressMap();
    BuildHubAddressMap();
    EXPECT_EQ(BuildChangeList(), 1001) << "over 1000: programming offers to clear the hub first";
    EXPECT_EQ(MessageList.size(), 1000u) << "the heading and 999 lines, no line twice";
}
