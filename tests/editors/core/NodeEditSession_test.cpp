#include "editors/core/ChannelEditing.h"
#include "editors/core/NodeEditSession.h"
#include "model/TestSites.h"

#include <gtest/gtest.h>
#include <utility>

using namespace editors;
using model::Nodes;

namespace {

class NodeEditSessionTest : public EmptySiteTest
{
protected:
    void SetUp() override
    {
        ResetToEmptySite();
        for (int n : {0, 1, 2, 3}) {
            Nodes[n].SetInUse(true);
            Nodes[n].SetParent(n == 0 ? -1 : 0);
        }
        Nodes[3].SetNodeLoop(1);
        Nodes[3].SetNodeAddress(10);
        SetOwner(LoopAddressOwner, 1, 10, 300);
    }
    static NodeEdits Unchanged(int node)
    {
        const model::clsNode& n = Nodes[node];
        return {n.Parent(), n.Name(), n.NodeIdent(), n.X_ChannelA(), n.X_ChannelB(), -1, -1};
    }
    static int Owner(int loop, int address) { return GetOwner(LoopAddressOwner, loop, address); }
};

} // namespace

TEST_F(NodeEditSessionTest, ApplyMovesTheOwnerCellAndWritesTheHeldFields)
{
    NodeEditSession session;
    session.Load(3);
    session.ChooseLoop(2);
    session.ChooseAddress(2, 4);
    NodeEdits edits = Unchanged(3);
    edits.name = "Stairs";
    edits.channelA = 5;
    ActiveNode = 1; // the selection has moved on: the edits still belong to RCC 3
    const ApplyResult result = session.Apply(edits);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.duplicateOwner, -1);
    EXPECT_EQ(Owner(1, 10), -1);
    EXPECT_EQ(Owner(2, 4), 300);
    EXPECT_EQ(Nodes[3].Name(), "Stairs");
    EXPECT_EQ(Nodes[3].X_ChannelA(), 5);
    EXPECT_EQ(Nodes[1].X_ChannelA(), -1);

    // What was applied stays when the window is cancelled afterwards.
    session.Restore();
    EXPECT_EQ(Nodes[3].Name(), "Stairs");
    EXPECT_EQ(Owner(2, 4), 300);
    EXPECT_FALSE(session.Apply(Unchanged(3)).changed);
    // A parent chosen and then cancelled is put back.
    EXPECT_TRUE(session.ChooseParent(2));
    session.Restore();
    EXPECT_EQ(Nodes[3].Parent(), 0);

    // An RCC deleted while the window shows it is not brought back.
    session.ChooseAddress(2, 6);
    Nodes[3].InitializeNode();
    SetOwner(LoopAddressOwner, 2, 4, -1);
    SetOwner(LoopAddressOwner, 2, 6, -1);
    session.Restore();
    EXPECT_EQ((std::pair{Owner(2, 4), Owner(2, 6)}), (std::pair{-1, -1}));
    EXPECT_EQ(Nodes[3].NodeLoop(), -1);
}

// The loop address cleared for another holder is a change of the node.
TEST_F(NodeEditSessionTest, ADuplicateLoopAddressClearedByApplyIsAChange)
{
    Nodes[1].SetNodeLoop(1);
    Nodes[1].SetNodeAddress(10);
    NodeEditSession session;
    session.Load(1);
    const ApplyResult result = session.Apply(Unchanged(1));
    EXPECT_EQ(result.duplicateOwner, 300);
    EXPECT_EQ(Nodes[1].NodeLoop(), -1);
    EXPECT_TRUE(result.changed);
}

TEST_F(NodeEditSessionTest, HubApplySetsLoopsProtocolAndAddressLimit)
{
    NodeEditSession session;
    session.Load(0);
    NodeEdits edits{std::nullopt, "", "", 3, 20, 2, 1};
    EXPECT_TRUE(session.Apply(edits).changed);
    EXPECT_EQ(Nodes[0].Y_ChannelA(), 3);
    EXPECT_EQ(Nodes[0].Y_ChannelB(), 20);
    EXPECT_EQ(Nodes[0].Parent(), -1);
    EXPECT_EQ(LoopCount, 2);
    EXPECT_EQ(MaxLoopAddress, 126);
    edits.protocol = 2;
    session.Apply(edits);
    EXPECT_EQ(MaxLoopAddress, 127);
}

TEST_F(NodeEditSessionTest, ChannelRules)
{
    Nodes[5].SetInUse(true);
    Nodes[5].SetX_ChannelA(3);
    Nodes[5].SetX_ChannelB(25);
    Nodes[7].SetInUse(true);
    Nodes[7].SetX_ChannelA(4);
    Nodes[7].SetX_ChannelB(21);
    Nodes[0].SetY_ChannelA(6);
    Nodes[0].SetY_ChannelB(18);
    const struct
    {
        int a, b, exclude, result;
    } pairs[] = {{3, 20, 0, 1}, {20, 3, 0, -1}, {4, 21, 0, 2}, {4, 21, 7, -1}, {-1, 25, 0, 1}, {-1, -1, 0, -1}};
    for (const auto& p : pairs)
        EXPECT_EQ(CompareXChannels(p.a, p.b, p.exclude, Nodes), p.result) << p.a << "," << p.b;
    // Either of the hub's Y channels is refused as an X channel.
    for (const auto& [channel, onHub] : {std::pair{6, true}, std::pair{18, true}, std::pair{7, false}, std::pair{-1, false}})
        EXPECT_EQ(IsHubYChannel(channel, Nodes), onHub) << channel;
}

TEST_F(NodeEditSessionTest, ChoosingTheCurrentParentAgainIsNoEdit)
{
    NodeEditSession session;
    session.Load(3);
    EXPECT_FALSE(session.ChooseParent(0));
    EXPECT_TRUE(session.ChooseParent(2));
    EXPECT_FALSE(session.ChooseParent(2));
    EXPECT_EQ(Nodes[3].Parent(), 2);
}
