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

void ExpectExtent(const views::DiagramExtent& e, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    EXPECT_EQ(e.left, left);
    EXPECT_EQ(e.top, top);
    EXPECT_EQ(e.right, right);
    EXPECT_EQ(e.bottom, bottom);
}

} // namespace

TEST(PrintPageLayout, ExtentCoversTheNodesAndAShownSiteName)
{
    const model::NodeArray hubOnly = Site({{0, 4000, 500}});
    ExpectExtent(views::ComputeDiagramExtent(hubOnly, false, 9000, 9000), 4000, 500, 5500, 3000);
    ExpectExtent(views::ComputeDiagramExtent(hubOnly, true, 9000, 100), 4000, 500, 10000, 3000);

    const model::NodeArray site = Site({{0, 4000, 500}, {1, 2000, 2000}, {2, 4300, 3000}});
    ExpectExtent(views::ComputeDiagramExtent(site, false, 0, 0), 2000, 500, 5500, 5500);

    const int32_t far = std::numeric_limits<int32_t>::max();
    ExpectExtent(views::ComputeDiagramExtent(Site({{0, far, far}}), false, 0, 0), far, far, far, far);
    ExpectExtent(views::ComputeDiagramExtent(model::NodeArray{}, false, 0, 0), -1, -1, 1000, 2500);
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
