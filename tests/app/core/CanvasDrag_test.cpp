#include "app/core/CanvasDrag.h"
#include "model/TestSites.h"

#include <gtest/gtest.h>
#include <limits>

using namespace app;
using namespace model;

namespace {

class CanvasDrag : public EmptySiteTest
{
protected:
    void SetUp() override
    {
        ResetToEmptySite();
        Place(0, 3000, 3000); // 870 x 525
        Place(2, 1000, 1000); // 450 x 420
        Place(5, 6000, 1000);
        Place(7, 6000, 4000);
        Place(31, 1000, 6000);
        Nodes[7].SetParent(2);
    }
    static void Place(int n, int32_t x, int32_t y)
    {
        Nodes[n].SetInUse(true);
        Nodes[n].SetLeft(x);
        Nodes[n].SetTop(y);
    }
    static OutlineRect Over(int dragged, int32_t x, int32_t y)
    {
        return {x, y, Nodes[dragged].Width(), Nodes[dragged].Height()};
    }
};

} // namespace

TEST_F(CanvasDrag, HitTestIsStrictAndLowestFirst)
{
    EXPECT_EQ(NodeAt(Nodes, 3001, 3001), 0);
    EXPECT_EQ(NodeAt(Nodes, 3000, 3100), -1); // on the edge
    EXPECT_EQ(NodeAt(Nodes, 3869, 3524), 0);
    Place(3, 3100, 3100); // overlaps the hub
    EXPECT_EQ(NodeAt(Nodes, 3200, 3200), 0);
    Nodes[0].SetInUse(false);
    EXPECT_EQ(NodeAt(Nodes, 3200, 3200), 3);
}

TEST_F(CanvasDrag, NodesAtTheEndOfTheLongRangeAreHitAndDroppedOn)
{
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    Place(9, kMost - 10, kMost - 10);
    EXPECT_EQ(NodeAt(Nodes, kMost - 5, kMost - 5), 9);
    EXPECT_EQ(DropNodeOutline(Nodes, 5, Over(5, kMost - 100, kMost - 100), true), DropResult::Reparented);
    EXPECT_EQ(Nodes[5].Parent(), 9);
}

TEST_F(CanvasDrag, DropsReparentMoveOrChangeNothing)
{
    struct Drop
    {
        int dragged;
        int32_t x, y;
        bool reparent;
        DropResult result;
        int parent;
        int32_t left, top;
    };
    const Drop drops[] = {
        {5, 3200, 3100, true, DropResult::Reparented, 0, 6000, 1000}, // onto the hub: keeps its place
        {5, 3200, 3100, false, DropResult::Moved, -1, 3200, 3100},
        {0, 1100, 1100, true, DropResult::Moved, -1, 1100, 1100},   // the hub never gets a parent
        {5, 1100, 6100, true, DropResult::Refused, -1, 6000, 1000}, // onto RCC 31
        {2, 1000, 1000, true, DropResult::Unmoved, -1, 1000, 1000},
        {2, 6100, 4100, true, DropResult::Reparented, 7, 1000, 1000}, // onto its own child
    };
    for (const Drop& drop : drops) {
        SCOPED_TRACE(testing::Message() << drop.dragged << " to " << drop.x << "," << drop.y);
        SetUp();
        EXPECT_EQ(DropNodeOutline(Nodes, drop.dragged, Over(drop.dragged, drop.x, drop.y), drop.reparent),
                  drop.result);
        EXPECT_EQ(Nodes[drop.dragged].Parent(), drop.parent);
        EXPECT_EQ(Nodes[drop.dragged].Left(), drop.left);
        EXPECT_EQ(Nodes[drop.dragged].Top(), drop.top);
    }
    Place(4, 3300, 3200); // overlaps the hub's area: the lower index wins
    EXPECT_EQ(DropNodeOutline(Nodes, 5, Over(5, 3250, 3150), true), DropResult::Reparented);
    EXPECT_EQ(Nodes[5].Parent(), 0);
}

TEST_F(CanvasDrag, CaptionDragIsBoundedShapeDragOnlySideways)
{
    const OutlineRect far = BoundCaptionDrag({20000, 20000, 450, 420}, 12000, 9000, false);
    EXPECT_EQ(far.left + far.width, 12000 - 300);
    EXPECT_EQ(far.top + far.height, 9000 - 1400);
    EXPECT_EQ(BoundCaptionDrag({20000, 20000, 450, 420}, 12000, 9000, true).top + 420, 9000 - 1850);
    const OutlineRect near = BoundCaptionDrag({-50, -70, 450, 420}, 12000, 9000, true);
    EXPECT_EQ(near.left, 0);
    EXPECT_EQ(near.top, 0);
    EXPECT_TRUE(CanvasDragAllowed(100, 450, 12000));
    EXPECT_FALSE(CanvasDragAllowed(0, 450, 12000));
    EXPECT_FALSE(CanvasDragAllowed(11550, 450, 12000));
}
