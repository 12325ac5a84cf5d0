#include "model/TestSites.h"
#include "app/core/CanvasLayout.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>

using namespace app;
using namespace model;

namespace {

constexpr int32_t kMost = std::numeric_limits<int32_t>::max();

// A numbered site whose nodes all stand at (-7, -9) until laid out.
std::unique_ptr<NodeArray> Site(const std::vector<int>& parents)
{
    auto nodes = NumberedSite(parents);
    for (clsNode& node : *nodes) {
        node.SetLeft(-7);
        node.SetTop(-9);
    }
    return nodes;
}

void Place(NodeArray& nodes, std::initializer_list<std::array<int, 3>> places)
{
    for (const auto& [n, left, top] : places) {
        nodes[static_cast<std::size_t>(n)].SetLeft(left);
        nodes[static_cast<std::size_t>(n)].SetTop(top);
    }
}

} // namespace

TEST(DrawingExtent, NodesTakeTheHubSizeTheHubCountsFurtherRightAndTheSiteNameOnlyBeyondThem)
{
    auto nodes = Site({0, 0, 0});
    Place(*nodes, {{0, 1000, 200}, {1, 1400, 2000}, {2, 900, 1000}, {5, 9000, 9000}}); // 5 is not in use
    // The hub counts 500 further right: 1500 beats RCC 1 at 1400.
    DrawingExtent extent = ComputeDrawingExtent(*nodes, 0, 0, 500, 300);
    EXPECT_EQ(extent.width, 1500 + 870 + 600);
    EXPECT_EQ(extent.height, 2000 + 525 + 500);
    (*nodes)[1].SetLeft(1600); // an RCC further right than the hub's 1500 wins
    EXPECT_EQ(ComputeDrawingExtent(*nodes, 0, 0, 500, 300).width, 1600 + 870 + 600);
    (*nodes)[1].SetLeft(1400);
    // Left of the right-most node but below all nodes: only the height grows.
    extent = ComputeDrawingExtent(*nodes, 500, 2700, 1200, 300);
    EXPECT_EQ(extent.width, 1500 + 870 + 600);
    EXPECT_EQ(extent.height, 2700 + 300 + 500);
    // Beyond the right edge, above the bottom: only the width grows.
    extent = ComputeDrawingExtent(*nodes, 4000, 100, 1200, 300);
    EXPECT_EQ(extent.width, 4000 + 1200 + 600);
    EXPECT_EQ(extent.height, 2000 + 525 + 500);
}

TEST(DrawingExtent, FarAwayNodesSaturateInsteadOfWrapping)
{
    auto nodes = Site({0, 0});
    Place(*nodes, {{0, 100, 100}, {1, kMost - 10, kMost}});
    DrawingExtent extent = ComputeDrawingExtent(*nodes, 0, 0, 0, 0);
    EXPECT_EQ(extent.width, kMost);
    EXPECT_EQ(extent.height, kMost);
    EXPECT_EQ(ComputeDrawingExtent(*nodes, kMost, 0, 4000, 0).width, kMost);
}

TEST(TreeLayout, RowsFollowTheHopCountGroupedByParent)
{
    // 1..3 on the hub, 4 on 2, 5 on 1, 6 on 4, 7 on 6, 8 on 3.
    auto nodes = Site({0, 0, 0, 0, 2, 1, 4, 6, 3});
    const auto rows = TreeRows(*nodes);
    EXPECT_EQ(rows[0], (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(rows[1], (std::vector<int>{5, 4, 8}));
    EXPECT_EQ(rows[2], (std::vector<int>{6}));
    EXPECT_EQ(rows[3], (std::vector<int>{7}));
}

TEST(TreeLayout, WorkedExamplesOfRowsAndGaps)
{
    auto nodes = Site({0, 0, 0, 0, 2});
    PositionNodeTree(*nodes, 12765, 9165);
    // gap = R(Int(9165 - 2625) / 7) = 934; the hub's whole width left of the middle.
    EXPECT_EQ((*nodes)[0].Left(), 5512);
    EXPECT_EQ((*nodes)[0].Top(), 934);
    // Row 1 at steps of R(12765 / 4) = 3191, half a step (R(1595.5) = 1596) in.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ((*nodes)[i].Left(), 1596 + (i - 1) * 3191);
        EXPECT_EQ((*nodes)[i].Top(), 2 * 934 + 420);
    }
    // Row 2 holds RCC 4 alone at R(R(12765 / 2) / 2), one gap lower.
    EXPECT_EQ((*nodes)[4].Left(), 3191);
    EXPECT_EQ((*nodes)[4].Top(), 3 * 934 + 420);
}

TEST(TreeLayout, AFullRowAndASmallWindow)
{
    // A full row of 31 at R(12800 / 32) = 400, in a window lower than five
    // hub heights: gap R(-625 / 7) = -89, rows go up.
    auto nodes = Site(std::vector<int>(32, 0));
    PositionNodeTree(*nodes, 12800, 2000);
    EXPECT_EQ((*nodes)[1].Left(), 200);
    EXPECT_EQ((*nodes)[31].Left(), 200 + 30 * 400);
    EXPECT_EQ((*nodes)[0].Top(), -89);
    EXPECT_EQ((*nodes)[1].Top(), -178 + 420);
}

TEST(TreeLayout, RccsOutsideTheRowsKeepTheirPlace)
{
    // 1 on the hub, 2..6 a chain below it: 5 is five hops away, 6 six. 7 and
    // 8 form a loop of parents; 9 has no parent.
    auto nodes = Site({0, 0, 1, 2, 3, 4, 5, 8, 7, -1});
    PositionNodeTree(*nodes, 12000, 9000);
    for (int i : {5, 6, 7, 8, 9}) {
        EXPECT_EQ((*nodes)[i].Left(), -7) << i;
        EXPECT_EQ((*nodes)[i].Top(), -9) << i;
    }
    EXPECT_NE((*nodes)[4].Left(), -7);
}

TEST(ShellLayout, RingsAroundTheHub)
{
    auto nodes = Site({0});
    PositionNodeShell(*nodes, 12765, 9165, 300);
    EXPECT_TRUE((*nodes)[31].InUse());
    for (const clsNode& node : *nodes)
        EXPECT_TRUE(node.InUse()) << node.NodeNumber();
    // vgap R(7485 / 9) = 832, hgap R(10965 / 8) = 1371; the hub centred,
    // its centre at (6383, 4082).
    EXPECT_EQ((*nodes)[0].Left(), 5948);
    EXPECT_EQ((*nodes)[0].Top(), 3820);
    auto at = [&](int i) { return std::make_pair((*nodes)[i].Left(), (*nodes)[i].Top()); };
    EXPECT_EQ(at(8), std::make_pair(5012 - 225, 4082 - 210));                // west
    EXPECT_EQ(at(1), std::make_pair(5012 - 225, 3250 - 210));                // north-west
    EXPECT_EQ(at(2), std::make_pair(6383 - 225, 3250 - 210));                // north
    EXPECT_EQ(at(5), std::make_pair(7754 - 225, 4914 - 210));                // south-east
    EXPECT_EQ(at(31), std::make_pair(6383 - 5484 - 225, 4082 + 3328 - 210)); // ring 4, south-west
    EXPECT_EQ(at(9), std::make_pair(6383 - 2742 - 225, 4082 - 1664 - 210));  // ring 2, north-west
}

TEST(ShellLayout, TheOuterRingOfAVeryTallWindowStaysAboveTheHub)
{
    auto nodes = Site({0});
    // In a very tall window, vgap R(98320 / 9) = 10924: ring 4 lies
    // 4 x 10924 = 43696 from the hub's centre, past what 16 bits hold.
    PositionNodeShell(*nodes, 12000, 100000, 300);
    EXPECT_EQ((*nodes)[0].CentreY(), 49500);
    EXPECT_EQ((*nodes)[25].Top(), 49500 - 43696 - 210);
    EXPECT_EQ((*nodes)[30].Top(), 49500 + 43696 - 210);
}
