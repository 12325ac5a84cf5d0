#include "model/NodeView.h"
#include "model/clsNode.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace model;

namespace {

struct RecordingView : NodeView
{
    int moves = 0;
    int hides = 0;
    std::vector<uint32_t> borders;
    void NodeMoved(const clsNode&) override { ++moves; }
    void NodeHidden(const clsNode&) override { ++hides; }
    void NodeShown(const clsNode&) override {}
    void BorderColourChanged(const clsNode&, uint32_t colour) override { borders.push_back(colour); }
};

// A numbered site; parents[i] is the parent of node i (-1 none).
std::unique_ptr<NodeArray> Tree(const std::vector<int>& parents)
{
    auto nodes = std::make_unique<NodeArray>();
    for (int i = 0; i < kNodeCount; ++i) {
        (*nodes)[i].SetNodeNumber(i);
        (*nodes)[i].SetParent(i < static_cast<int>(parents.size()) ? parents[i] : -1);
    }
    return nodes;
}

} // namespace

TEST(clsNode, IdentsAreNormalisedOrDropped)
{
    clsNode node;
    node.SetNodeIdent("a1b2c");
    EXPECT_EQ(node.NodeIdent(), "A1B2C");
    node.SetNodeIdent("12");
    EXPECT_EQ(node.NodeIdent(), "00012");
    node.SetNodeIdent("123456");
    EXPECT_EQ(node.NodeIdent(), "12345");
    node.SetNodeIdent("12G45");
    EXPECT_EQ(node.NodeIdent(), "12345");
    node.SetNodeIdent(" 1234");
    EXPECT_EQ(node.NodeIdent(), "12345");
    node.SetNodeIdent("");
    EXPECT_EQ(node.NodeIdent(), "");

    node.SetDeviceIdent(4, "beef");
    EXPECT_EQ(node.DeviceIdent(4), "0BEEF");
    node.SetDeviceIdent(4, "xyz");
    EXPECT_EQ(node.DeviceIdent(4), "0BEEF");
    node.SetDeviceIdent(0, "12345");
    EXPECT_EQ(node.DeviceIdent(0), "");
}

TEST(clsNode, SettersDropValuesOutOfRange)
{
    clsNode node;
    node.SetNodeAddress(255);
    node.SetNodeAddress(256);
    EXPECT_EQ(node.NodeAddress(), 255);
    node.SetNodeLoop(0);
    node.SetNodeLoop(5);
    EXPECT_EQ(node.NodeLoop(), 0);
    node.SetParent(31);
    node.SetParent(32);
    node.SetParent(-2);
    EXPECT_EQ(node.Parent(), 31);

    node.SetX_ChannelA(42);
    EXPECT_EQ(node.X_ChannelA(), 42);
    node.SetX_ChannelA(43);
    node.SetX_ChannelA(0);
    EXPECT_EQ(node.X_ChannelA(), 42);
    node.SetX_ChannelA(-1);
    EXPECT_EQ(node.X_ChannelA(), -1);
    node.SetY_ChannelB(65536 + 5); // would wrap to 5 in 16 bits
    EXPECT_EQ(node.Y_ChannelB(), -1);

    node.SetReportedHop(3);
    node.SetReportedHop(0);
    node.SetReportedHop(5);
    EXPECT_EQ(node.ReportedHop(), 3);

    node.SetNodeDailyMax(200);
    EXPECT_EQ(node.NodeDailyMax(), 125);
    node.SetNodeDailyMax(-5);
    EXPECT_EQ(node.NodeDailyMax(), 0);
    node.SetDeviceDailyMaxSignal(3, 200);
    EXPECT_EQ(node.DeviceDailyMaxSignal(3), 200);

    node.SetDeviceAddress(1, 254);
    node.SetDeviceAddress(1, 255);
    node.SetDeviceAddress(1, 0);
    EXPECT_EQ(node.DeviceAddress(1), 254);
    node.SetDeviceLoop(1, 4);
    node.SetDeviceLoop(1, 0);
    node.SetDeviceLoop(1, 5);
    EXPECT_EQ(node.DeviceLoop(1), 4);
}

TEST(clsNode, SlotOutsideTheNodeReadsNeutralAndIgnoresWrites)
{
    clsNode node;
    node.SetDeviceType(0, 5);
    node.SetDeviceType(32, 5);
    node.SetDeviceName(0, "Lobby");
    node.SetDeviceAssigned(0, true);
    EXPECT_EQ(node.DeviceType(0), -1);
    EXPECT_EQ(node.DeviceType(32), -1);
    EXPECT_EQ(node.DeviceLoop(0), 0);
    EXPECT_EQ(node.DeviceAddress(0), 0);
    EXPECT_EQ(node.DeviceName(0), "0");
    EXPECT_FALSE(node.DeviceAssigned(0));
    EXPECT_FALSE(node.Assigned()); // slot 0 is not the node
    EXPECT_EQ(node.DeviceStatus(0), "");
    EXPECT_EQ(node.DeviceStatus(1), std::string(34, 'F'));
    EXPECT_EQ(node.DeviceType(1), 0);
    EXPECT_EQ(node.DeviceLoop(1), -1);
}

TEST(clsNode, IndexedLiveValuesThrowOutsideTheirBounds)
{
    clsNode node;
    node.SetDeviceSignalStrength(0, 4, -87);
    node.SetDeviceSignalStrength(31, 1, -60);
    EXPECT_EQ(node.DeviceSignalStrength(0, 4), -87);
    EXPECT_EQ(node.DeviceSignalStrength(31, 1), -60);
    EXPECT_THROW(node.DeviceSignalStrength(32, 1), std::out_of_range);
    EXPECT_THROW(node.SetDeviceLinkBudget(1, 5, 3), std::out_of_range);
    EXPECT_THROW(node.SetDeviceAdd(-1, true), std::out_of_range);
    EXPECT_THROW(node.DeviceVersion(32), std::out_of_range);
    EXPECT_THROW(node.NodeSignalStrength(5), std::out_of_range);
    EXPECT_THROW(node.SetNodeLinkBudget(-1, 0), std::out_of_range);
    EXPECT_THROW(node.GetChild(65), std::out_of_range);
    EXPECT_THROW(node.GetChild(-1), std::out_of_range);
    EXPECT_FALSE(node.GetChild(40));
}

TEST(clsNode, GeometryRoundsHalvesToEvenAndDoesNotOverflow)
{
    clsNode hub;
    hub.SetNodeNumber(0);
    EXPECT_EQ(hub.Width(), 870);
    EXPECT_EQ(hub.Height(), 525);
    hub.SetTop(1000);
    EXPECT_EQ(hub.CentreY(), 1262);
    hub.SetTop(1001);
    EXPECT_EQ(hub.CentreY(), 1264);
    hub.SetTop(-1000);
    EXPECT_EQ(hub.CentreY(), -738);
    hub.SetLeft(100);
    EXPECT_EQ(hub.CentreX(), 535);

    hub.SetTop(32600);
    EXPECT_EQ(hub.Bottom(), 33125);

    // Emptying takes the RCC size; even a dropped number then resizes from the current one.
    hub.InitializeNode();
    EXPECT_EQ(hub.Width(), 450);
    hub.SetNodeNumber(32);
    EXPECT_EQ(hub.NodeNumber(), 0);
    EXPECT_EQ(hub.Width(), 870);
    EXPECT_EQ(hub.Height(), 525);

    clsNode rcc;
    rcc.SetTop(1000);
    EXPECT_EQ(rcc.CentreY(), 1210);
    rcc.SetNodeNumber(0); // becoming the hub moves the centre with the size
    EXPECT_EQ(rcc.CentreY(), 1262);
}

TEST(clsNode, HopFollowsParentsAndGivesUpOnLoopsAndLongChains)
{
    // 1 and 2 hang off the hub, 3 off 2, 4 off 3; 5 and 6 point at each other.
    auto nodes = Tree({0, 0, 0, 2, 3, 6, 5, -1});
    EXPECT_EQ((*nodes)[0].Hop(*nodes, 10), 0);
    EXPECT_EQ((*nodes)[1].Hop(*nodes, 10), 1);
    EXPECT_EQ((*nodes)[4].Hop(*nodes, 10), 3);
    EXPECT_EQ((*nodes)[5].Hop(*nodes, 10), -1);
    EXPECT_EQ((*nodes)[7].Hop(*nodes, 10), -1);
    EXPECT_EQ((*nodes)[4].Hop(*nodes, 2), -1);

    // A chain 1 <- 2 <- ... <- 11: node 10 is ten hops out, node 11 one too many.
    auto chain = Tree({0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ((*chain)[10].Hop(*chain, 10), 10);
    EXPECT_EQ((*chain)[11].Hop(*chain, 10), -1);
}

TEST(clsNode, TreeRelationsReachTenLevels)
{
    auto nodes = Tree({0, 0, 1, 2, 3, 6, 5});
    clsNode& rcc1 = (*nodes)[1];
    EXPECT_TRUE(rcc1.IsParentOf(2, *nodes));
    EXPECT_FALSE(rcc1.IsParentOf(3, *nodes));
    EXPECT_TRUE((*nodes)[3].IsInPath(1, *nodes, 10));
    EXPECT_FALSE((*nodes)[3].IsInPath(1, *nodes, 1));
    EXPECT_TRUE((*nodes)[3].IsInPath(0, *nodes, 10));
    EXPECT_FALSE((*nodes)[5].IsInPath(1, *nodes, 10)); // a loop ends when depth runs out

    rcc1.ScanForChildren(*nodes);
    EXPECT_TRUE(rcc1.GetChild(2));
    EXPECT_TRUE(rcc1.GetChild(3));
    EXPECT_FALSE(rcc1.GetChild(1));
    EXPECT_FALSE(rcc1.GetChild(5));

    EXPECT_TRUE((*nodes)[3].IsRelated(1, *nodes));
    EXPECT_TRUE(rcc1.IsRelated(3, *nodes));
    EXPECT_FALSE(rcc1.IsRelated(5, *nodes));
    EXPECT_FALSE(rcc1.IsRelated(-1, *nodes));
    EXPECT_FALSE(rcc1.IsRelated(40, *nodes));

    // An unnumbered node is nobody's parent or ancestor, though free nodes hold parent -1.
    clsNode loose;
    EXPECT_FALSE(loose.IsParentOf(7, *nodes));
    loose.ScanForChildren(*nodes);
    EXPECT_FALSE(loose.GetChild(7));
}

TEST(clsNode, DetectorCountsCombinationsTwice)
{
    clsNode rcc;
    rcc.SetDeviceType(1, 2);
    rcc.SetDeviceType(2, 13);
    rcc.SetDeviceType(3, 19);
    rcc.SetDeviceType(31, 20);
    EXPECT_EQ(rcc.DetectorCount(), 6);
    EXPECT_EQ(rcc.DetectorCountRCC(), 4);
}

TEST(clsNode, InitializeNodeEmptiesTheSiteValuesOnly)
{
    RecordingView view;
    clsNode node;
    node.BindView(&view);
    node.SetNodeNumber(0);
    node.SetLeft(500);
    node.SetTop(700);
    node.SetInUse(true);
    node.SetNodeIdent("ABCDE");
    node.SetParent(0);
    node.SetX_ChannelA(3);
    node.SetNodeStatusString("TA");
    node.SetNodeSignalStrength(2, 50);
    node.SetNodeLinkBudget(2, 9);
    node.SetNodeVersion("2.1");
    node.SetReportedHop(2);
    node.SetNodeChange(true);
    node.SetDeviceType(5, 3);
    node.SetDeviceName(5, "Kitchen");
    node.SetDeviceDailyMaxSignal(5, 77);
    node.SetDeviceAdd(5, true);
    node.SetDeviceAdd(0, true);
    node.Activate();
    const int hidesBefore = view.hides;

    node.InitializeNode();

    EXPECT_EQ(node.NodeNumber(), 0);
    EXPECT_EQ(node.Left(), 500);
    EXPECT_EQ(node.CentreY(), 962); // kept, though the size is now the RCC size
    EXPECT_EQ(node.Width(), 450);
    EXPECT_EQ(node.View(), &view);
    EXPECT_EQ(view.hides, hidesBefore);
    EXPECT_FALSE(node.InUse());
    EXPECT_FALSE(node.IsActive());
    EXPECT_EQ(node.NodeIdent(), "");
    EXPECT_EQ(node.Parent(), -1);
    EXPECT_EQ(node.X_ChannelA(), -1);
    EXPECT_EQ(node.NodeStatusString(), "");
    EXPECT_EQ(node.NodeStatus(), std::string(34, 'F'));
    EXPECT_EQ(node.NodeSignalStrength(2), 0);
    EXPECT_FALSE(node.NodeChange());
    EXPECT_EQ(node.DeviceType(5), 0);
    EXPECT_EQ(node.DeviceName(5), "");
    EXPECT_FALSE(node.DeviceAdd(5));
    EXPECT_TRUE(node.DeviceAdd(0));

    EXPECT_EQ(node.NodeLinkBudget(2), 9);
    EXPECT_EQ(node.NodeVersion(), "2.1");
    EXPECT_EQ(node.ReportedHop(), 2);
    EXPECT_EQ(node.DeviceDailyMaxSignal(5), 77);
}

TEST(clsNode, ViewHearsMovesHidingAndHighlights)
{
    RecordingView view;
    clsNode node;
    node.SetLeft(10); // no view: stored all the same
    EXPECT_EQ(node.CentreX(), 235);

    node.BindView(&view);
    node.SetLeft(20);
    node.SetTop(30);
    EXPECT_EQ(view.moves, 2);
    node.SetInUse(true);
    node.SetInUse(false);
    EXPECT_EQ(view.hides, 1);

    node.Activate();
    node.ShowAsParent();
    node.ShowAsChild();
    node.NotAsChild();  // still parent: green
    node.NotAsParent(); // still active: red
    node.DeActivate();
    EXPECT_EQ(view.borders, (std::vector<uint32_t>{kBorderSelected, kBorderParent, kBorderDescendant,
                                                   kBorderParent, kBorderSelected, kBorderPlain}));

    // Copying a site into bound nodes keeps their views; a copy starts unbound.
    clsNode other;
    other.SetNodeIdent("11111");
    node = other;
    EXPECT_EQ(node.View(), &view);
    EXPECT_EQ(node.NodeIdent(), "11111");
    const clsNode copy(node);
    EXPECT_FALSE(copy.IsViewBound());
}
