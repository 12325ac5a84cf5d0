#include "hublink/core/ChangeList.h"

#include "CompareSite.h"

#include <functional>

using model::HubNodes;
using model::MessageList;
using model::Nodes;
using Lines = std::vector<std::string>;

namespace {

struct Change
{
    const char* what;
    std::function<void()> change;
    int result;
    Lines lines; // after the heading
    int flags;   // set flags over both arrays
    std::function<bool()> flagged;
};

int FlagCount()
{
    int count = 0;
    for (const model::NodeArray* nodes : {&Nodes, &HubNodes}) {
        for (const model::clsNode& node : *nodes) {
            count += node.NodeAdd() + node.NodeDelete() + node.NodeChange() + node.AddressChange() +
                     node.ParentChange() + node.ChannelChange();
            for (int s = 1; s <= model::kLastSlot; ++s)
                count += node.DeviceAdd(s) + node.DeviceDelete(s) + node.DeviceChange(s) +
                         node.DeviceAddressChange(s);
        }
    }
    return count;
}

} // namespace

TEST_F(CompareSite, ChangeListFlagsWhatProgrammingMustChange)
{
    const std::vector<Change> table = {
        {"equal",
         [] { HubNodes[2].SetDeviceType(1, 6); },
         0,
         {},
         0,
         [] { return HubNodes[2].DeviceType(1) == 7; }},
        {"hub not programmed",
         [] {
             HubNodes[1].InitializeNode();
             HubNodes[2].InitializeNode();
         },
         -1,
         {"RCC 1 will be added to the Radio Hub", "Callpoint with Ident 1A001 will be added to RCC 1",
          "Optical Smoke Combo with Ident 1A002 will be added to RCC 1",
          "RCC 2 will be added to the Radio Hub", "Sounder/Beacon with Ident 2A001 will be added to RCC 2"},
         6,
         [] { return Nodes[0].NodeAdd(); }},
        {"RCC added; one cut off from the hub is left out",
         [] {
             Node(3, 0, 12, "0A003");
             Device(3, 1, 2, 50, "3A001");
             Node(4, -1, 13, "0A004");
             Device(4, 1, 2, 51, "4A001");
         },
         4,
         {"RCC 3 will be added to the Radio Hub", "Callpoint with Ident 3A001 will be added to RCC 3",
          "Parent of RCC 3 Changed from Undefined to Radio Hub", " "},
         3,
         [] { return Nodes[3].NodeAdd() && Nodes[3].DeviceAdd(1) && Nodes[3].ParentChange(); }},
        {"RCC deleted",
         [] { Nodes[2].InitializeNode(); },
         2,
         {"RCC 2 will be deleted from the Radio Hub",
          "Sounder/Beacon with Ident 2A001 will be deleted from RCC 2"},
         4,
         [] { return HubNodes[2].NodeDelete() && HubNodes[2].DeviceDelete(1) && Nodes[2].ChannelChange(); }},
        {"RCC re-parented, its child's hop follows",
         [] {
             Node(3, 0, 12, "0A003");
             Node(3, 0, 12, "0A003", HubNodes);
             Nodes[1].SetParent(3);
         },
         2,
         {"Parent of RCC 1 Changed from Radio Hub to RCC 3", " "},
         2,
         [] { return Nodes[1].ParentChange() && Nodes[2].ParentChange(); }},
        {"RCC replaced by a new ident",
         [] { Nodes[2].SetNodeIdent("0B002"); },
         1,
         {"RCC 2 will be updated"},
         3,
         [] { return HubNodes[2].NodeDelete() && Nodes[2].NodeAdd() && Nodes[2].NodeDelete(); }},
        {"RCC moved",
         [] { Nodes[2].SetNodeAddress(12); },
         1,
         {"Device L1/011  RCC 2 with Ident 0A002 will be moved to L1/012 "},
         1,
         [] { return Nodes[2].AddressChange(); }},
        {"device moved",
         [] { Nodes[1].SetDeviceAddress(1, 22); },
         1,
         {"Device L1/020  Callpoint with Ident 1A001 will be moved to L1/022 "},
         1,
         [] { return Nodes[1].DeviceAddressChange(1); }},
        {"device retyped",
         [] { Nodes[1].SetDeviceType(1, 3); },
         2,
         {"Callpoint with Ident 1A001 will be deleted from RCC 1",
          "Optical Smoke Detector with Ident 1A001 will be added to RCC 1"},
         3,
         [] { return HubNodes[1].DeviceDelete(1) && Nodes[1].DeviceAdd(1) && Nodes[1].DeviceDelete(1); }},
        {"head became a plain detector",
         [] { Nodes[1].SetDeviceType(2, 3); },
         1,
         {"Device L1/030 Optical Smoke Combo with Ident 1A002 on RCC 1 has changed to Optical Smoke Detector "
          "with Ident 1A002"},
         2,
         [] { return Nodes[1].DeviceAdd(2) && Nodes[1].DeviceDelete(2); }},
        {"combo read back for a combo/beacon",
         [] {
             Device(1, 3, 14, 50, "1A003");
             Device(1, 3, 13, 50, "1A003", HubNodes);
         },
         0,
         {},
         0,
         [] { return true; }},
        {"channels first",
         [] {
             Nodes[0].SetY_ChannelB(35);
             Nodes[1].SetX_ChannelA(7);
             Nodes[2].SetParent(0);
         },
         -2,
         {"Y-Protocol Channel B changed from 2 to F3", "RCC 1 X-Protocol Channel A changed from 3 to 7",
          "Parent and loop address changes are listed once the new channels are programmed", " "},
         2,
         [] { return Nodes[0].ChannelChange() && Nodes[1].ChannelChange(); }},
    };
    for (const Change& row : table) {
        SetUp();
        row.change();
        BuildAddressMap();
        BuildHubAddressMap();
        EXPECT_EQ(BuildChangeList(), row.result) << row.what;
        Lines expected = row.lines;
        expected.insert(expected.begin(),
                        "Changes between data in the Radio Hub and the Current Configuration are\r\n\r\n");
        EXPECT_EQ(MessageList, expected) << row.what;
        EXPECT_EQ(FlagCount(), row.flags) << row.what;
        EXPECT_TRUE(row.flagged()) << row.what;
    }
}
