#include "app/core/CanvasDrag.h"

namespace app {

namespace {

// A node's right or bottom edge: a position read from a file may lie at the
// end of the Long range, where adding the size would overflow.
int64_t FarEdge(int32_t position, int size)
{
    return int64_t{position} + size;
}

} // namespace

int NodeAt(const model::NodeArray& nodes, double x, double y)
{
    for (int i = 0; i < model::kNodeCount; ++i) {
        const model::clsNode& n = nodes[static_cast<std::size_t>(i)];
        if (n.InUse() && n.Left() < x && x < FarEdge(n.Left(), n.Width()) && n.Top() < y &&
            y < FarEdge(n.Top(), n.Height())) {
            return i;
        }
    }
    return -1;
}

OutlineRect BoundCaptionDrag(OutlineRect outline, int32_t windowWidth, int32_t windowHeight, bool toolbar)
{
    const int32_t bottomMargin = toolbar ? 1850 : 1400;
    if (outline.left < 0) {
        outline.left = 0;
    }
    if (outline.top < 0) {
        outline.top = 0;
    }
    if (outline.left + outline.width > windowWidth - 300) {
        outline.left = windowWidth - outline.width - 300;
    }
    if (outline.top + outline.height > windowHeight - bottomMargin) {
        outline.top = windowHeight - outline.height - bottomMargin;
    }
    return outline;
}

bool CanvasDragAllowed(int32_t left, int32_t width, int32_t windowWidth)
{
    return left + width < windowWidth && left > 0;
}

DropResult DropNodeOutline(model::NodeArray& nodes, int dragNode, const OutlineRect& o, bool dropOnParent)
{
    model::clsNode& dragged = nodes[static_cast<std::size_t>(dragNode)];
    if (o.left == dragged.Left() && o.top == dragged.Top()) {
        return DropResult::Unmoved;
    }
    if (dragNode > 0 && dropOnParent) {
        for (int i = 0; i < model::kNodeCount; ++i) {
            const model::clsNode& n = nodes[static_cast<std::size_t>(i)];
            if (!n.InUse() || i == dragNode) {
                continue;
            }
            if (FarEdge(o.left, o.width) > n.Left() && o.left < FarEdge(n.Left(), n.Width()) &&
                FarEdge(o.top, o.height) > n.Top() && o.top < FarEdge(n.Top(), n.Height())) {
                if (i == model::kLastSlot) {
                    return DropResult::Refused;
                }
                dragged.SetParent(i);
                return DropResult::Reparented;
            }
        }
    }
    dragged.SetLeft(o.left);
    dragged.SetTop(o.top);
    return DropResult::Moved;
}

} // namespace app
