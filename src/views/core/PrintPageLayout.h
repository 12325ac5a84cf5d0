#pragma once
// Where the site diagram goes on a printed page: the part of the canvas the
// diagram covers (its extent, in canvas twips), the largest page of the
// printer's shape that fits the preview's free area, and the size of the
// site-name lettering on the preview page.
#include "model/clsNode.h"

#include <cstdint>

namespace views {

struct DiagramExtent
{
    // The smallest node left and top (-1 while no node is in use).
    int32_t left = -1;
    int32_t top = -1;
    // The largest node left (the hub's taken 500 further) and top, and with
    // the site name shown its position too, then 1000 to the right and 2500
    // below as room for the boxes and their labels.
    int32_t right = 0;
    int32_t bottom = 0;
};

// The extent of the nodes in use; the site name at (siteNameX, siteNameY)
// widens it only when it is shown. Sums that would pass the 32-bit range stop
// at its end.
DiagramExtent ComputeDiagramExtent(const model::NodeArray& nodes, bool showSiteName, int32_t siteNameX,
                                   int32_t siteNameY);

struct PageSize
{
    int64_t width = 0;
    int64_t height = 0;
};

// The largest rectangle of the page's width-to-height ratio inside the free
// width and height (whole units). Nothing (0 x 0) when there is no room or
// no page shape.
PageSize FitPage(int64_t freeWidth, int64_t freeHeight, double pageRatio);

struct SiteNameLettering
{
    double height = 0; // character height
    double width = 0;  // average character width
};

// The site name's lettering on a preview page of pageWidth x pageHeight
// twips, in pixels: in portrait a page's height / 800 and width / 1000, in
// landscape its height / 500 and width / 1500.
SiteNameLettering SiteNameLetteringFor(int64_t pageWidth, int64_t pageHeight, bool portrait);

} // namespace views
