#include "TestSites.h"
#include "model/NodeView.h"
#include "model/clsNode.h"

#include <gtest/gtest.h>
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

// Sets each value in turn; the getter then shows which ones were taken.
#define EXPECT_AFTER_SETTING(call, getter, expected, ...)                                                    \
    do {                                                                                                     \
        for (int v : {__VA_ARGS__})                                                                          \
            node.call;                                                                                       \
        EXPECT_EQ(node.getter, expected) << #call;                                                           \
    } while (0)

} // namespace

TEST(clsNode, IdentsAreNormalisedOrDropped)
{
    clsNode node;
    // Text that is no ident leaves the one before.
    const std::pair<const char*, const char*> idents[] = {{"a1b2c", "A1B2C"},  {"12", "00012"},
                                                          {"123456", "12345"}, {"12G45", "12345"},
                                                          {" 1234", "12345"},  {"", ""}};
    for (const auto& [text, expected] : idents) {
        node.SetNodeIdent(text);
        EXPECT_EQ(node.NodeIdent(), expected) << text;
    }
    node.SetDeviceIdent(4, "beef");
    node.SetDeviceIdent(4, "xyz");
    node.SetDeviceIdent(0, "12345");
    EXPECT_EQ(node.DeviceIdent(4), "0BEEF");
    EXPECT_EQ(node.DeviceIdent(0), "");
}

TEST(clsNode, SettersDropValuesOutOfRange)
{
    clsNode node;
    EXPECT_AFTER_SETTING(SetNodeAddress(v), NodeAddress(), 255, 255, 256);
    EXPECT_AFTER_SETTING(SetParent(v), Parent(), 31, 31, 32, -2);
    EXPECT_AFTER_SETTING(SetX_ChannelA(v), X_ChannelA(), 42, 42, 43, 0);
    EXPECT_AFTER_SETTING(SetY_ChannelB(v), Y_ChannelB(), -1, 65536 + 5); // would wrap to 5 in 16 bits
    EXPECT_AFTER_SETTING(SetNodeDailyMax(v), NodeDailyMax(), 125, 200);
    EXPECT_AFTER_SETTING(SetNodeDailyMax(v), NodeDailyMax(), 0, -5);
    EXPECT_AFTER_SETTING(SetDeviceAddress(1, v), DeviceAddress(1), 254, 254, 255, 0);
}

TEST(clsNode, SlotsOutsideTheNodeReadNeutralIgnoreWritesAndLiveValuesThrow)
{
    clsNode node;
    node.SetDeviceType(32, 5);
    node.SetDeviceName(0, "Lobby");
    node.SetDeviceAssigned(0, true);
    EXPECT_EQ(node.DeviceType(32), -1);
    EXPECT_EQ(node.DeviceName(0), "0");
    EXPECT_FALSE(node.DeviceAssigned(0));
    EXPECT_FALSE(node.Assigned()); // slot 0 is not the node
    EXPECT_EQ(node.DeviceStatus(0), "");

    node.SetDeviceSignalStrength(31, 1, -60);
    EXPECT_EQ(node.DeviceSignalStrength(31, 1), -60);
    EXPECT_THROW(node.DeviceSignalStrength(32, 1), std::out_of_range);
    EXPECT_THROW(node.SetDeviceAdd(-1, true), std::out_of_range);
    EXPECT_THROW(node.NodeSignalStrength(5), std::out_of_range);
    EXPECT_THROW(node.GetChild(65), std::out_of_range);
    EXPECT_FALSE(node.GetChild(40));
}

TEST(clsNode, GeometryRoundsHalvesToEvenAndDoesNotOverflow)
{
    clsNode hub;
    hub.SetNodeNumber(0);
    EXPECT_EQ(hub.Width(), 870);
    EXPECT_EQ(hub.Height(), 525);
    for (const auto& [top, centre] : {std::pair{1000, 1262}, {1001, 1264}, {-1000, -738}}) {
        hub.SetTop(top);
        EXPECT_EQ(hub.CentreY(), centre) << top;
    }
    hub.SetTop(32600);
    EXPECT_EQ(hub.Bottom(), 33125);

    // Emptying takes the RCC size; even a dropped number then resizes from the current one.
    hub.InitializeNode();
    hub.SetNodeNumber(32);
    EXPECT_EQ(hub.Width(), 870);

    clsNode rcc;
    rcc.SetTop(1000);
    EXPECT_EQ(rcc.CentreY(), 1210);
    rcc.SetNodeNumber(0); // becoming the hub moves the centre with the size
    EXPECT_EQ(rcc.CentreY(), 1262);
}

TEST(clsNode, HopAndTreeRelationsFollowParentsAndGiveUpOnLoopsAndLongChains)
{
    // 1 and 2 hang off the hub, 3 off 2, 4 off 3; 5 and 6 point at each other; 7 has no parent.
    auto nodes = NumberedSite({0, 0, 0, 2, 3, 6, 5, -1});
    const std::pair<int, int> hops[] = {{0, 0}, {1, 1}, {4, 3}, {5, -1}, {7, -1}};
    for (const auto& [n, hop] : hops)
        EXPECT_EQ((*nodes)[n].Hop(*nodes, 10), hop) << n;
    EXPECT_EQ((*nodes)[4].Hop(*nodes, 2), -1);
    // A chain 1 <- 2 <- ... <- 11: node 10 is ten hops out, node 11 one too many.
    auto chain = NumberedSite({0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ((*chain)[10].Hop(*chain, 10), 10);
    EXPECT_EQ((*chain)[11].Hop(*chain, 10), -1);

    nodes = NumberedSite({0, 0, 1, 2, 3, 6, 5}); // 2..4 a chain under 1
    clsNode& rcc1 = (*nodes)[1];
    EXPECT_FALSE(rcc1.IsParentOf(3, *nodes));
    EXPECT_FALSE((*nodes)[3].IsInPath(1, *nodes, 1));
    EXPECT_TRUE((*nodes)[3].IsInPath(0, *nodes, 10));
    EXPECT_FALSE((*nodes)[5].IsInPath(1, *nodes, 10)); // a loop ends when depth runs out
    rcc1.ScanForChildren(*nodes);                      // every descendant counts as a child
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(rcc1.GetChild(n), n >= 2 && n <= 4) << n;
    EXPECT_TRUE(rcc1.IsRelated(3, *nodes));
    for (int other : {5, -1, 40})
        EXPECT_FALSE(rcc1.IsRelated(other, *nodes)) << other;

    // An unnumbered node is nobody's parent, though free nodes hold parent -1.
    EXPECT_FALSE(clsNode().IsParentOf(7, *nodes));
    clsNode loose; // a node of no site has no children
    loose.ScanForChildren(*nodes);
    EXPECT_FALSE(loose.GetChild(7));
}

TEST(clsNode, DetectorCountsCombinationsTwice)
{
    clsNode rcc;
    for (const auto& [slot, type] : {std::pair{1, 2}, {2, 13}, {3, 19}, {31, 20}})
        rcc.SetDeviceType(slot, type);
    EXPECT_EQ(rcc.DetectorCount(), 6);
    EXPECT_EQ(rcc.DetectorCountRCC(), 4);
}

TEST(clsNode, InitializeNodeEmptiesTheSiteValuesOnly)
{
    RecordingView view;
    clsNode node;
    node.BindView(&view);
    node.SetNodeNumber(0);
    node.SetTop(700);
    node.SetInUse(true);
    node.SetNodeIdent("ABCDE");
    node.SetNodeStatusString("TA");
    node.SetNodeLinkBudget(2, 9);
    node.SetDeviceName(5, "Kitchen");
    node.SetDeviceDailyMaxSignal(5, 77);
    node.SetDeviceAdd(5, true);
    node.SetDeviceAdd(0, true);
    node.Activate();
    node.InitializeNode();
    EXPECT_EQ(node.NodeNumber(), 0);
    EXPECT_EQ(node.CentreY(), 962); // kept, though the size is now the RCC size
    EXPECT_EQ(node.View(), &view);
    EXPECT_EQ(view.hides, 0);
    EXPECT_FALSE(node.InUse() || node.IsActive() || node.DeviceAdd(5));
    EXPECT_EQ(node.NodeIdent() + node.NodeStatusString() + node.DeviceName(5), "");
    EXPECT_EQ(node.NodeStatus(), std::string(34, 'F'));
    EXPECT_TRUE(node.DeviceAdd(0));
    EXPECT_EQ(node.NodeLinkBudget(2), 9); // what the units reported is no site value
    EXPECT_EQ(node.DeviceDailyMaxSignal(5), 77);
}

TEST(clsNode, ViewHearsMovesHidingAndHighlights)
{
    RecordingView view;
    clsNode node;
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
    EXPECT_FALSE(clsNode(node).IsViewBound());
}
