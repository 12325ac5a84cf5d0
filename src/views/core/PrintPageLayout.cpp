#include "views/core/PrintPageLayout.h"

#include "platform/base/Rounding.h"

#include <cmath>

namespace views {

DiagramExtent ComputeDiagramExtent(const model::NodeArray& nodes, bool showSiteName, int32_t siteNameX,
                                   int32_t siteNameY)
{
    DiagramExtent extent;
    for (const model::clsNode& node : nodes) {
        if (!node.InUse())
            continue;
        if (node.Top() > extent.bottom)
            extent.bottom = node.Top();
        if (node.Top() < extent.top || extent.top < 0)
            extent.top = node.Top();
        if (node.Left() > extent.right)
            extent.right = platform::SaturateLong(int64_t{node.Left()} + (node.NodeNumber() == 0 ? 500 : 0));
        if (node.Left() < extent.left || extent.left < 0)
            extent.left = node.Left();
    }
    if (showSiteName) {
        if (siteNameY > extent.bottom)
            extent.bottom = siteNameY;
        if (siteNameX > extent.right)
            extent.right = siteNameX;
    }
    extent.right = platform::SaturateLong(int64_t{extent.right} + 1000);
    extent.bottom = platform::SaturateLong(int64_t{extent.bottom} + 2500);
    return extent;
}

PageSize FitPage(int64_t freeWidth, int64_t freeHeight, double pageRatio)
{
    if (freeWidth <= 0 || freeHeight <= 0 || !(pageRatio > 0) || !std::isfinite(pageRatio))
        return {};
    const double width = static_cast<double>(freeWidth);
    const double height = static_cast<double>(freeHeight);
    if (height * pageRatio > width)
        return {freeWidth, static_cast<int64_t>(width / pageRatio)};
    return {static_cast<int64_t>(height * pageRatio), freeHeight};
}

SiteNameLettering SiteNameLetteringFor(int64_t pageWidth, int64_t pageHeight, bool portrait)
{
    const auto w = static_cast<double>(pageWidth);
    const auto h = static_cast<double>(pageHeight);
    return portrait ? SiteNameLettering{h / 800, w / 1000} : SiteNameLettering{h / 500, w / 1500};
}

} // namespace views
