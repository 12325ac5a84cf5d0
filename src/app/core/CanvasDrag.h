#pragma once
// The geometry of editing the site on the canvas: which node a click hits,
// where a dragged node's outline may go, and what dropping it does. All
// values are twips.
#include "model/clsNode.h"

namespace app {

struct OutlineRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The first in-use node (ascending) whose inside holds (x, y), edges not
// counted; -1 when none.
int NodeAt(const model::NodeArray& nodes, double x, double y);

// The outline dragged by a caption: kept at or right of 0 and below 0, its
// right edge 300 twips inside the window width and its bottom edge 1400
// twips (1850 with the toolbar) above the window height.
OutlineRect BoundCaptionDrag(OutlineRect outline, int32_t windowWidth, int32_t windowHeight, bool toolbar);

// Whether the outline dragged by its shape may move to this left edge: right
// of 0 and its right edge inside the window width. Top is not bounded.
bool CanvasDragAllowed(int32_t left, int32_t width, int32_t windowWidth);

enum class DropResult
{
    Unmoved,    // the outline is where the node is: nothing changes
    Reparented, // the RCC hangs on the node it was dropped on
    Refused,    // dropped on RCC 31, which never becomes a parent: nothing changes
    Moved,      // the node stands where the outline is
};

// Ends a drag of node dragNode whose outline is at outline. With dropOnParent
// an RCC whose outline overlaps another in-use node (the lowest such) takes
// it as parent and keeps its place; no check of the tree is made here (the
// configuration check reports loops). Otherwise the node moves to the outline.
DropResult DropNodeOutline(model::NodeArray& nodes, int dragNode, const OutlineRect& outline,
                           bool dropOnParent);

} // namespace app
