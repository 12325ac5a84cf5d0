#include "views/core/PrintPageLayout.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

model::NodeArray Site(std::initializer_list<std::array<int32_t, 3>> nodes) // number, left, top
{
    model::NodeArray site;
    for (const auto& n : nodes) {
        model::clsNode& node = site[static_cast<std::size_t>(n[0])];
        node.SetNodeNumber(n[0]);
        node.SetInUse(true);
        node.SetLeft(n[1]);
        node.SetTop(n[2]);
    }
    return site;
}

std::array<int32_t, 4> Edges(const views::DiagramExtent& e)
{
    return {e.left, e.top, e.right, e.bottom};
}

} // namespace

TEST(PrintPageLayout, ExtentCoversTheNodesAndAShownSiteName)
{
    using Edges4 = std::array<int32_t, 4>;
    const int32_t far = std::numeric_limits<int32_t>::max();
    const model::NodeArray hubOnly = Site({{0, 4000, 500}});
    const model::NodeArray site = Site({{0, 4000, 500}, {1, 2000, 2000}, {2, 4300, 3000}});
    EXPECT_EQ(Edges(views::ComputeDiagramExtent(hubOnly, false, 9000, 9000)), (Edges4{4000, 500, 5500, 3000}));
    EXPECT_EQ(Edges(views::ComputeDiagramExtent(hubOnly, true, 9000, 100)), (Edges4{4000, 500, 10000, 3000}));
    EXPECT_EQ(Edges(views::ComputeDiagramExtent(site, false, 0, 0)), (Edges4{2000, 500, 5500, 5500}));
    EXPECT_EQ(Edges(views::ComputeDiagramExtent(Site({{0, far, far}}), false, 0, 0)), (Edges4{far, far, far, far}));
    EXPECT_EQ(Edges(views::ComputeDiagramExtent(model::NodeArray{}, false, 0, 0)), (Edges4{-1, -1, 1000, 2500}));
}

TEST(PrintPageLayout, PageKeepsThePrinterShapeInsideTheFreeArea)
{
    const double a4 = 210.0 / 297.0;
    const struct
    {
        int64_t freeWidth, freeHeight;
        double ratio;
        int64_t width, height;
    } cases[] = {{1000, 1000, a4, 707, 1000}, {1000, 1000, 1 / a4, 1000, 707}, {0, 1000, a4, 0, 0},
                 {1000, 1000, 0, 0, 0}};
    for (const auto& c : cases) {
        const views::PageSize page = views::FitPage(c.freeWidth, c.freeHeight, c.ratio);
        EXPECT_EQ(page.width, c.width);
        EXPECT_EQ(page.height, c.height);
    }
}
