// The programming list: a full and an incremental run over a small site.
#include "SmallSite.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/ProgrammingList.h"
#include "support/ListAt.h"

using model::HubNodes;
using model::Nodes;
using namespace smallsite;
using Lines = std::vector<std::string>;

namespace {

// "[caption] command" where the command has a caption.
Lines Render(const ProgrammingList& list)
{
    Lines lines;
    for (const auto& c : list.Commands())
        lines.push_back(c.Caption.empty() ? c.Command : "[" + c.Caption + "] " + c.Command);
    return lines;
}

using ProgrammingListTest = SmallSiteTest;

TEST_F(ProgrammingListTest, FullListClearsAndProgramsTheWholeSite)
{
    const Lines full{"[Clearing existing configuration from Radio Hub\r\n] POPULATE CLEAR",
                     "[Setting Radio Hub Details] POPULATE LOOP1 NODE 1 0 0A1B2 0",
                     "[Setting Y-Protocol Channels] YPROTRADIOCHANNELS 2 33",
                     "[Setting RCC 1 Details] POPULATE LOOP1 NODE 10 1 10001 0",
                     "[Setting RCC 1 Device Details] POPULATE LOOP2 CALLPOINT 17 1 1A2B3 0",
                     "POPULATE LOOP2 COMBO 20 1 1C0B0 2",
                     "[Setting X-Protocol Channels for RCC 1] XPROTRADIOCHANNELS 6 7 1",
                     "[Setting RCC 2 Details] POPULATE LOOP1 NODE 11 2 10002 0",
                     "POPULATE LOOP1 SOUNDER 30 2 5B001 1",
                     "POPULATE LOOP1 COMBOOPTICAL 40 2 C0010 11",
                     "[Setting X-Protocol Channels for RCC 2] XPROTRADIOCHANNELS 30 45 2",
                     "[Setting Relationships between RCCs and Radio Hub] RELATION ADD 2 0 1",
                     "RELATION ADD 1 2 2"};
    LinkSession session;
    PutProgrammingList(session, BuildFullProgrammingList(Nodes, true));
    EXPECT_EQ(session.CommandCount, 13);
    EXPECT_EQ(testsupport::At(session.ReplyLines, 13), "RELATION ADD 1 2 2");
    EXPECT_EQ(Render(BuildFullProgrammingList(Nodes, true)), full);
    // Without the debug-off acknowledgement there is no position field.
    EXPECT_EQ(testsupport::At(BuildFullProgrammingList(Nodes, false).Commands(), 4).Command,
              "POPULATE LOOP2 CALLPOINT 17 1 1A2B3");

    Nodes[0].SetY_ChannelB(-1);
    Nodes[2].SetX_ChannelA(40); // shown as F8: no wire channel
    Lines undefined = full;
    undefined.erase(undefined.begin() + 10);
    undefined.erase(undefined.begin() + 2);
    EXPECT_EQ(Render(BuildFullProgrammingList(Nodes, true)), undefined);
}

TEST_F(ProgrammingListTest, IncrementalListFollowsTheChangeFlags)
{
    ASSERT_TRUE(CopyNodeArray(Nodes, HubNodes, 100));
    Nodes[1].SetNodeAddress(14); // moved and re-parented
    Nodes[1].SetAddressChange(true);
    Nodes[1].SetParentChange(true);
    Nodes[1].SetDeviceAdd(9, true); // empty slots whose stored idents differed
    Nodes[2].SetX_ChannelA(18);
    Nodes[2].SetChannelChange(true);
    Nodes[0].SetChannelChange(true);
    HubNodes[0].SetX_ChannelA(3); // the hub has no X pair to send
    Nodes[2].SetDeviceAddress(2, 31);
    Nodes[2].SetDeviceAddressChange(2, true);
    Node(Nodes, 4, 2, 13, "10004", 8, 9); // new RCC
    Device(Nodes, 4, 1, 4, 2, 50, "4D001");
    Device(Nodes, 4, 5, 8, 2, 51, "4D005");
    Nodes[4].SetNodeAdd(true);
    Node(Nodes, 5, 0, 15, "10055", 10, 11); // replaced: same number, new ident
    Device(Nodes, 5, 1, 2, 2, 60, "5C001");
    Node(HubNodes, 5, 0, 15, "10005", 10, 11);
    HubNodes[5].SetNodeDelete(true);
    Nodes[5].SetNodeAdd(true);
    Node(HubNodes, 6, 0, 16, "10006", 12, 13); // gone from the site
    HubNodes[6].SetNodeDelete(true);
    Nodes[6].SetChannelChange(true);
    Nodes[0].SetY_ChannelB(21);

    EXPECT_EQ(Render(BuildIncrementalProgrammingList(Nodes, HubNodes, true)),
              (Lines{"POPULATE LOOP1 NODE 14 1 10001 0", "XPROTRADIOCHANNELS 31 45 2",
                     "POPULATE LOOP1 SOUNDER 31 2 5B001 1", "POPULATE LOOP1 NODE 13 4 10004 0",
                     "XPROTRADIOCHANNELS 9 10 4", "POPULATE LOOP2 HEAT 50 4 4D001 0",
                     "POPULATE LOOP2 IO 51 4 4D005 4", "POPULATE LOOP1 NODE 15 5 10055 0",
                     "XPROTRADIOCHANNELS 11 12 5", "POPULATE LOOP2 CALLPOINT 60 5 5C001 0",
                     "[Adding Relationships Between RCCs and Radio Hub...] RELATION ADD 5 0 1",
                     "RELATION ADD 1 2 2", "RELATION ADD 4 2 2",
                     "[Setting Radio Y Channels..] YPROTRADIOCHANNELS 2 34"}));
    EXPECT_TRUE(Nodes[4].DeviceAdd(1) && Nodes[4].DeviceAdd(5) && Nodes[5].DeviceAdd(1));
    EXPECT_FALSE(Nodes[4].DeviceAdd(2));
}

} // namespace
