#include "hublink/core/ConfigCompare.h"

#include "CompareSite.h"

using namespace hublink;

using Difference = std::tuple<const char*, std::function<void()>, Lines>;

TEST_F(CompareSite, HubComparisonGivesOneLinePerDifference)
{
    // clang-format off
    const std::vector<Difference> table = {
        {"equal", [] {}, {}},
        {"Y channel", [] { HubNodes[0].SetY_ChannelB(-1); Nodes[0].SetY_ChannelB(40); },
         {"Radio Hub Mismatch in Y Second Channel - Undefined, (F8)"}},
        {"RCC missing from the hub", [] { HubNodes[2].InitializeNode(); }, {"RCC 2 Should be In Use but is not in the Hub"}},
        {"RCC deleted from both, its kept values ignored", [] { Nodes[2].SetInUse(false); HubNodes[2].InitializeNode(); }, {}},
        {"leftovers of RCCs neither side has, against a deleted RCC's values counted as empty",
         [] { Nodes[2].SetInUse(false); HubNodes[2].InitializeNode(); HubNodes[2].SetX_ChannelB(4);
              HubNodes[6].SetX_ChannelA(9); Device(7, 1, 3, 50, "7A001", HubNodes); HubNodes[8].SetParent(0); },
         {"RCC 2 Mismatch in X Second Channel - 4, (Undefined)", "RCC 6 Mismatch in X First Channel - 9, (Undefined)",
          "Device 1 on RCC 7 - Device in RCC, but not in Configuration - Optical Smoke Detector  7A001",
          "RCC 8 Mismatch in Hop Count - 1, (Undefined)", "RCC 8 Mismatch in Parent - 0, (Undefined)"}},
        {"node ident", [] { HubNodes[1].SetNodeIdent(""); }, {"RCC 1 Mismatch in Ident - Undefined, (0A001)"}},
        {"parent and hop", [] { HubNodes[2].SetParent(0); },
         {"RCC 2 Mismatch in Hop Count - 1, (2)", "RCC 2 Mismatch in Parent - 0, (1)"}},
        {"hub's parent as the main window sets it", [] { Nodes[0].SetParent(0); }, {}},
        {"X channel", [] { HubNodes[1].SetX_ChannelA(35); }, {"RCC 1 Mismatch in X First Channel - F3, (3)"}},
        {"device only in the hub", [] { Device(1, 3, 2, 50, "1A003", HubNodes); },
         {"Device 3 on RCC 1 - Device in RCC, but not in Configuration - Callpoint  1A003"}},
        {"device only in the site", [] { Device(1, 3, 14, 50, "1A003"); },
         {"Device 3 on RCC 1 - Device in Configuration but not in RCC - Combo/Beacon  1A003"}},
        {"device type", [] { HubNodes[1].SetDeviceType(1, 3); },
         {"Device 1 on RCC 1 - Mismatch in Device Type - Optical Smoke Detector  1A001, (Callpoint  1A001)"}},
        {"one type word for both types; ident", [] { HubNodes[2].SetDeviceType(1, 6); HubNodes[2].SetDeviceIdent(1, "2A00F"); },
         {"Device 1 on RCC 2 - Mismatch in Ident - 2A00F, (2A001)"}},
        {"combo read back for a combo/beacon", [] { Device(1, 3, 14, 50, "1A003"); Device(1, 3, 13, 50, "1A003", HubNodes); }, {}},
        {"device address", [] { HubNodes[1].SetDeviceAddress(1, 21); },
         {"Device 1 on RCC 1 - Mismatch in Loop Address - Loop 1 : Address 21, (Loop 1 : Address 20)"}},
        {"a unit of an unknown type the site holds as it stands", [] { Device(1, 3, 0, 50, "0C0AA"); Device(1, 3, 0, 50, "0C0AA", HubNodes); }, {}},
        {"... not where it stands, nor where a head takes its address",
         [] { Device(1, 3, 0, 50, "0C0AA"); Device(1, 3, 0, 51, "0C0AA", HubNodes); Device(2, 2, 0, 60, "0C0AB");
              Device(2, 2, 0, 60, "0C0AB", HubNodes); Device(2, 3, 11, 59, "2A003"); Device(2, 3, 11, 59, "2A003", HubNodes); },
         {"Device 3 on RCC 1 - Device in RCC, but not in Configuration - Device of Unknown Type  0C0AA",
          "Device 2 on RCC 2 - Device in RCC, but not in Configuration - Device of Unknown Type  0C0AB"}},
        {"a unit of an unknown type where the site has a device",
         [] { HubNodes[1].SetDeviceType(1, 0); HubNodes[1].SetDeviceIdent(1, "0C0AA"); Device(2, 1, 0, 50, "0C0AB", HubNodes); },
         {"Device 1 on RCC 1 - Mismatch in Device Type - Device of Unknown Type  0C0AA, (Callpoint  1A001)",
          "Device 1 on RCC 1 - Mismatch in Ident - 0C0AA, (1A001)",
          "Device 1 on RCC 2 - Mismatch in Device Type - Device of Unknown Type  0C0AB, (Sounder/Beacon  2A001)",
          "Device 1 on RCC 2 - Mismatch in Ident - 0C0AB, (2A001)",
          "Device 1 on RCC 2 - Mismatch in Loop Address - Loop 1 : Address 50, (Loop 1 : Address 40)"}},
    };
    // clang-format on
    for (const auto& [what, change, lines] : table) {
        SetUp();
        ActiveNode = 0;
        change();
        MessageList = {"parse error"}; // the parser's lines stay in front
        Lines expected = lines;
        expected.insert(expected.begin(), "parse error");
        EXPECT_EQ(CompareHubWithConfiguration(), static_cast<int>(expected.size())) << what;
        EXPECT_EQ(MessageList, expected) << what;
    }
}

TEST_F(CompareSite, RccComparedAloneChecksOnlyWhatItShouldKnow)
{
    // RCC 1 knows the hub, itself and RCC 2, but not RCC 2's devices.
    sitebuild::PlaceSlot(HubNodes[2], 1, 0, -1, -1); // an empty slot
    HubNodes[2].SetNodeAddress(99); // another node's loop position is not compared
    ActiveNode = 1;
    EXPECT_EQ(CompareHubWithConfiguration(), 0);

    Node(3, 0, 12, "0A003");           // in the site under the hub: not RCC 1's concern
    Node(4, 0, 13, "0A004", HubNodes); // in RCC 1's download, unrelated in the site
    HubNodes[2].InitializeNode();
    Device(5, 2, 2, 60, "5A002", HubNodes);
    HubNodes[0].SetY_ChannelA(5);
    HubNodes[1].SetNodeIdent("0B001");
    HubNodes[8].SetParent(0); // a relation left without its RCC
    EXPECT_EQ(CompareHubWithConfiguration(), 6);
    EXPECT_EQ(MessageList,
              (Lines{"RCC 1 Mismatch in Y First Channel - 5, (1)", "RCC 1 Mismatch in Ident - 0B001, (0A001)",
                     "RCC 1 Should be aware of RCC 2  0A002", "RCC 1 Should Not be aware of RCC 4  0A004",
                     "RCC 1 Should not be aware of device with Ident 5A002 in Slot 2",
                     "RCC 1 Should Not be aware of RCC 8  Undefined"}));

    SetUp();
    HubNodes[1].SetParent(-1); // RCC 2's hop count differs in its download: only the hub's is compared
    ActiveNode = 2;
    EXPECT_EQ(CompareHubWithConfiguration(), 2) << "only the lines of RCC 1's two devices";
}
