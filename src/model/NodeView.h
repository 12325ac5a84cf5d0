#pragma once
// What a node tells the controls that draw it. The canvas binds one view to
// each node of the site being edited; nodes of a downloaded configuration have
// none. The node works the same with or without a view: it keeps its position,
// visibility rules and highlight state itself and only reports changes here.
#include <cstdint>

namespace model {

class clsNode;

// Border colours of the highlight states (0x00BBGGRR).
inline constexpr uint32_t kBorderPlain = 0x000000;
inline constexpr uint32_t kBorderSelected = 0x0000FF;
inline constexpr uint32_t kBorderParent = 0x00CF00;
inline constexpr uint32_t kBorderDescendant = 0xFF00FF;

class NodeView
{
public:
    virtual ~NodeView() = default;

    // Left or Top was assigned: the box moves to the node's Left and Top.
    virtual void NodeMoved(const clsNode& node) = 0;

    // The node left the site (InUse set False) or Hide was called: the box,
    // caption and quick-info label become invisible.
    virtual void NodeHidden(const clsNode& node) = 0;

    // Show was called: the controls become visible again.
    virtual void NodeShown(const clsNode& node) = 0;

    // A highlight operation ran: the box's border takes this colour.
    virtual void BorderColourChanged(const clsNode& node, uint32_t colour) = 0;
};

} // namespace model
