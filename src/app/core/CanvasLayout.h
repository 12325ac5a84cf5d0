#pragma once
// Where the site's nodes stand on the canvas: how far the drawing reaches,
// and the two automatic layouts (rings around the hub for a new site, rows by
// hop count for a site read from a hub). Twips, y growing downwards.
#include "model/clsNode.h"

#include <array>
#include <cstdint>
#include <vector>

// How far the site's drawing reaches (twips), recomputed each time the site
// is displayed: the window's layout and the full-view button read them.
extern int32_t DrawingWidth;
extern int32_t DrawingHeight;
void ResetDrawingExtent();

namespace app {

struct DrawingExtent
{
    int32_t width = 0;  // right-most edge + 600
    int32_t height = 0; // bottom-most edge + 500
};

// The extent of the nodes in use and of the site-name label. Every node is
// measured with the hub's size, and the hub's left edge counts 500 further
// right; the label counts only when its left or top edge lies beyond the
// nodes' right or bottom edge.
DrawingExtent ComputeDrawingExtent(const model::NodeArray& nodes, int32_t siteNameX, int32_t siteNameY,
                                   int32_t siteNameWidth, int32_t siteNameHeight);

// The RCC numbers of rows 1..4 (index 0..3) by hop count: row 1 the RCCs on
// the hub in number order; each further row the children of the row above,
// grouped by parent in that row's order.
std::array<std::vector<int>, 4> TreeRows(const model::NodeArray& nodes);

// Rows by hop count spread across the window; the hub above them. RCCs in no
// row keep their place. Window size in twips.
void PositionNodeTree(model::NodeArray& nodes, double windowWidth, double windowHeight);

// The hub in the window's middle, RCC i on ring (i - 1) / 8 + 1 in direction
// i mod 8 (0 west, 1 north-west ... 7 south-west); every node is put in use.
void PositionNodeShell(model::NodeArray& nodes, double windowWidth, double windowHeight,
                       double statusBarHeight);

} // namespace app
