#include "app/core/CanvasLayout.h"
#include "platform/base/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

int32_t DrawingWidth = 0;
int32_t DrawingHeight = 0;

void ResetDrawingExtent()
{
    DrawingWidth = 0;
    DrawingHeight = 0;
}

namespace app {

namespace {

constexpr int kTreeDepth = 10;

model::clsNode& At(model::NodeArray& nodes, int i)
{
    return nodes[static_cast<std::size_t>(i)];
}

const model::clsNode& At(const model::NodeArray& nodes, int i)
{
    return nodes[static_cast<std::size_t>(i)];
}

// Gaps, steps and ring offsets are kept wider than the 16 bits they once
// had: a window taller than about 5,000 pixels made the outer ring's offset
// wrap round. Within 16 bits the results are the same.
int32_t RoundLong(double value)
{
    return static_cast<int32_t>(platform::RoundHalfEven(value));
}

void AppendChildren(const model::NodeArray& nodes, int parent, std::vector<int>& row)
{
    for (int j = 1; j < model::kNodeCount; ++j)
        if (j != parent && At(nodes, j).InUse() && At(nodes, j).Parent() == parent)
            row.push_back(j);
}

} // namespace

DrawingExtent ComputeDrawingExtent(const model::NodeArray& nodes, int32_t siteNameX, int32_t siteNameY,
                                   int32_t siteNameWidth, int32_t siteNameHeight)
{
    int64_t maxTop = 0;
    int64_t maxLeft = 0;
    for (int i = 0; i < model::kNodeCount; ++i) {
        const model::clsNode& node = At(nodes, i);
        if (!node.InUse())
            continue;
        if (node.Top() > maxTop)
            maxTop = node.Top();
        if (node.Left() > maxLeft)
            maxLeft = i == 0 ? int64_t{node.Left()} + 500 : node.Left();
    }
    int64_t right = maxLeft + At(nodes, 0).Width();
    int64_t bottom = maxTop + At(nodes, 0).Height();
    if (siteNameY > bottom)
        bottom = int64_t{siteNameY} + siteNameHeight;
    if (siteNameX > right)
        right = int64_t{siteNameX} + siteNameWidth;
    // Positions read from a file may lie anywhere a Long reaches: the extent
    // saturates instead of wrapping round to a negative size.
    return {platform::SaturateLong(right + 600), platform::SaturateLong(bottom + 500)};
}

std::array<std::vector<int>, 4> TreeRows(const model::NodeArray& nodes)
{
    std::array<std::vector<int>, 4> rows;
    for (int i = 1; i < model::kNodeCount; ++i)
        if (At(nodes, i).InUse() && At(nodes, i).Hop(nodes, kTreeDepth) == 1)
            rows[0].push_back(i);
    // Each child is followed at once by its own descendants in the rows below.
    for (int p : rows[0]) {
        std::vector<int> second;
        AppendChildren(nodes, p, second);
        for (int j : second) {
            rows[1].push_back(j);
            std::vector<int> third;
            AppendChildren(nodes, j, third);
            for (int k : third) {
                rows[2].push_back(k);
                AppendChildren(nodes, k, rows[3]);
            }
        }
    }
    return rows;
}

void PositionNodeTree(model::NodeArray& nodes, double windowWidth, double windowHeight)
{
    model::clsNode& hub = At(nodes, 0);
    const int32_t gap = RoundLong(std::floor(windowHeight - 5.0 * hub.Height()) / 7);
    hub.SetLeft(RoundLong(windowWidth / 2 - hub.Width()));
    hub.SetTop(gap);
    const auto rows = TreeRows(nodes);
    for (std::size_t level = 0; level < rows.size(); ++level) {
        const auto& row = rows[level];
        const int32_t step = RoundLong(windowWidth / (static_cast<double>(row.size()) + 1));
        int64_t x = RoundLong(step / 2.0);
        for (int n : row) {
            model::clsNode& node = At(nodes, n);
            node.SetLeft(static_cast<int32_t>(x));
            node.SetTop(static_cast<int32_t>((static_cast<int64_t>(level) + 2) * gap + node.Height()));
            x += step;
        }
    }
}

void PositionNodeShell(model::NodeArray& nodes, double windowWidth, double windowHeight,
                       double statusBarHeight)
{
    const model::clsNode& first = At(nodes, 1);
    const int32_t vgap = RoundLong(std::floor(windowHeight - 4.0 * first.Height()) / 9);
    const int32_t hgap = RoundLong(std::floor(windowWidth - 4.0 * first.Width()) / 8);
    model::clsNode& hub = At(nodes, 0);
    hub.SetLeft(RoundLong(windowWidth / 2 - hub.Width() / 2.0));
    hub.SetTop(RoundLong(windowHeight / 2 - statusBarHeight - hub.Height() / 2.0 - 200));
    hub.SetInUse(true);
    // Direction d = i mod 8: 0 west, then clockwise from north-west.
    static constexpr int kDx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    static constexpr int kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    for (int i = 1; i < model::kNodeCount; ++i) {
        const int ring = (i - 1) / 8 + 1;
        const int32_t dx = RoundLong(static_cast<double>(ring) * hgap);
        const int32_t dy = RoundLong(static_cast<double>(ring) * vgap);
        const int d = i % 8;
        const double cx = hub.CentreX() + static_cast<double>(kDx[d]) * dx;
        const double cy = hub.CentreY() + static_cast<double>(kDy[d]) * dy;
        model::clsNode& node = At(nodes, i);
        node.SetLeft(RoundLong(cx - node.Width() / 2.0));
        node.SetTop(RoundLong(cy - node.Height() / 2.0));
        node.SetInUse(true);
    }
}

} // namespace app
