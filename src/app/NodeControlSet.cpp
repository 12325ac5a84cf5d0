#include "app/NodeControlSet.h"

#include "app/SiteCanvas.h"
#include "model/NodeDrawing.h"
#include "model/Settings.h"
#include "model/SiteState.h"

namespace {

// Caption heights inside the box (twips).
constexpr int kHubCaptionHeight = 465;
constexpr int kRlmCaptionHeight = 365;
constexpr int kRccCaptionHeight = 240;

} // namespace

NodeControlSet::NodeControlSet(SiteCanvas* canvas, int index)
    : shape_(new NodeShape(canvas, index)), label_(new NodeLabel(canvas, "NodeLabel", index)),
      qiLabel_(new NodeLabel(canvas, "QI_Label", index))
{
    QFont bold = label_->font();
    bold.setBold(true);
    label_->setFont(bold);
    label_->setCursor(Qt::PointingHandCursor);
    QFont small = qiLabel_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    qiLabel_->setFont(small);
    qiLabel_->SetAutoSize(true);
}

void NodeControlSet::Draw(const model::clsNode& node, bool showLinks, SiteCanvas& canvas,
                          const model::NodeArray& nodes, int linkStyle)
{
    canvas.SetDrawWidth(model::kLinkLineWidth);
    if (!node.InUse())
        return;
    if (!showLinks) {
        PlaceTwips(shape_, node.Left(), node.Top());
        SizeTwips(shape_, model::BoxWidth(node), model::BoxHeight(node));
        shape_->SetFillColor(model::kBoxFill);
        shape_->show();

        const model::CaptionLayout caption = model::NodeCaption(node, IsLoopInterface);
        int height = kRccCaptionHeight;
        if (node.NodeNumber() == 0)
            height = IsLoopInterface ? kRlmCaptionHeight : kHubCaptionHeight;
        const int width = caption.width > 0 ? caption.width : model::BoxWidth(node) - 180;
        PlaceTwips(label_, caption.left, caption.top);
        SizeTwips(label_, width, height);
        label_->SetCaption(QString::fromStdString(caption.text).replace("\r\n", "\n"));
        label_->setToolTip(QString::fromStdString(node.Name()));
        label_->raise();
        label_->show();

        UpdateQI(node);
    }
    shape_->SetBorderColor(node.IsActive() ? model::kBorderSelected : model::kBorderPlain);
    if (showLinks) {
        const model::Link link = model::NodeLink(node, nodes, linkStyle);
        if (link.setColour)
            canvas.SetForeColor(link.colour);
        for (const model::LinkLine& line : link.lines)
            canvas.Line(line.x1, line.y1, line.x2, line.y2);
    }
}

void NodeControlSet::UpdateQI(const model::clsNode& node)
{
    if (!node.InUse())
        return;
    const model::QuickInfo info = model::QuickInfoFor(node, NodeQuickInfoMode, IsLoopInterface);
    // Captioned before it is placed, so the label is centred on its new text.
    if (!info.keepCaption)
        qiLabel_->SetCaption(QString::fromStdString(info.caption));
    PlaceQuickInfo(node);
    qiLabel_->raise();
    qiLabel_->setVisible(info.visible);
}

void NodeControlSet::PlaceQuickInfo(const model::clsNode& node)
{
    const long left = node.Left() + (model::BoxWidth(node) - WidthTwips(qiLabel_)) / 2;
    PlaceTwips(qiLabel_, left, node.Top() - model::kQuickInfoAbove);
}

void NodeControlSet::NodeMoved(const model::clsNode& node)
{
    PlaceTwips(shape_, node.Left(), node.Top());
}

void NodeControlSet::NodeHidden(const model::clsNode&)
{
    shape_->hide();
    label_->hide();
    qiLabel_->hide();
}

void NodeControlSet::NodeShown(const model::clsNode&)
{
    shape_->show();
    label_->show();
    qiLabel_->show();
}

void NodeControlSet::BorderColourChanged(const model::clsNode&, uint32_t colour)
{
    shape_->SetBorderColor(colour);
}
