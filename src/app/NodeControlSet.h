#pragma once
// The canvas controls of one node (box, caption, quick-info label) and the
// node's drawing on the canvas: the view bound to an element of Nodes.
#include "app/NodeControls.h"
#include "model/NodeView.h"
#include "model/clsNode.h"

class SiteCanvas;

class NodeControlSet : public model::NodeView
{
public:
    // Creates element index of NodeShape, NodeLabel and QI_Label on the canvas.
    NodeControlSet(SiteCanvas* canvas, int index);

    NodeShape* Shape() const { return shape_; }
    NodeLabel* Label() const { return label_; }
    NodeLabel* QILabel() const { return qiLabel_; }

    // One drawing pass: with showLinks False the box, caption and quick-info
    // label are placed, captioned and shown; with showLinks True the link to
    // the parent is painted into the canvas. Both passes set the border:
    // red when the node is active, else black.
    void Draw(const model::clsNode& node, bool showLinks, SiteCanvas& canvas, const model::NodeArray& nodes,
              int linkStyle);
    // Places and captions the quick-info label alone.
    void UpdateQI(const model::clsNode& node);

    void NodeMoved(const model::clsNode& node) override;
    void NodeHidden(const model::clsNode& node) override;
    void NodeShown(const model::clsNode& node) override;
    void BorderColourChanged(const model::clsNode& node, uint32_t colour) override;

private:
    void PlaceQuickInfo(const model::clsNode& node);

    NodeShape* shape_;
    NodeLabel* label_;
    NodeLabel* qiLabel_;
};
