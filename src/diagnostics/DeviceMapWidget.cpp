#include "diagnostics/DeviceMapWidget.h"

#include "platform/Units.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using platform::ColourFromBGR;
using platform::TwipsToPixels;

namespace {

// Twips: the first slot's corner, the click area, the shape and the number.
constexpr long kFirstLeft = 25;
constexpr long kFirstTop = 50;
constexpr long kAreaWidth = 570, kAreaHeight = 495;
constexpr long kShapeWidth = 585, kShapeHeight = 435;
constexpr long kNumberTop = 100, kNumberHeight = 240;
constexpr long kLoopRows = 8;

} // namespace

DeviceMapWidget::DeviceMapWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void DeviceMapWidget::Show(const diagnostics::DeviceMapView& view)
{
    view_ = view;
    update();
}

void DeviceMapWidget::SetHighlight(int index)
{
    highlight_ = index;
    update();
}

int DeviceMapWidget::FullHeight()
{
    return TwipsToPixels(kFirstTop + (kLoopRows - 1) * diagnostics::kSlotPitchY + kAreaHeight + 50);
}

const diagnostics::MapSlot* DeviceMapWidget::SlotOf(int index) const
{
    if (index < 1 || index > static_cast<int>(view_.places.size()))
        return nullptr;
    return &view_.places[static_cast<std::size_t>(index - 1)];
}

QRect DeviceMapWidget::SlotRect(int index) const
{
    const diagnostics::MapSlot* slot = SlotOf(index);
    if (slot == nullptr)
        return {};
    const long left = kFirstLeft + slot->column * diagnostics::kSlotPitchX;
    const long top = kFirstTop + slot->row * diagnostics::kSlotPitchY;
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(kAreaWidth), TwipsToPixels(kAreaHeight)};
}

int DeviceMapWidget::SlotAt(const QPoint& point) const
{
    for (const diagnostics::MapSlot& slot : view_.places)
        if (SlotRect(slot.index).contains(point))
            return slot.index;
    return -1;
}

void DeviceMapWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    font.setPixelSize(TwipsToPixels(170));
    p.setFont(font);
    for (const diagnostics::MapSlot& slot : view_.places) {
        const QRect area = SlotRect(slot.index);
        const int pen = slot.outlineWidth;
        const QRectF shape(area.left() + pen / 2.0, area.top() + pen / 2.0,
                           TwipsToPixels(kShapeWidth) - pen, TwipsToPixels(kShapeHeight) - pen);
        p.setPen(QPen(ColourFromBGR(slot.outline), pen));
        p.setBrush(ColourFromBGR(slot.fill));
        switch (slot.shape) {
        case diagnostics::SlotShape::Rectangle:
            p.drawRect(shape);
            break;
        case diagnostics::SlotShape::RoundedRectangle:
            p.drawRoundedRect(shape, shape.height() / 4, shape.height() / 4);
            break;
        case diagnostics::SlotShape::Oval:
            p.drawEllipse(shape);
            break;
        }
        p.setPen(ColourFromBGR(slot.numberColour));
        const QRect number(area.left(), area.top() + TwipsToPixels(kNumberTop), TwipsToPixels(kShapeWidth),
                           TwipsToPixels(kNumberHeight));
        p.drawText(number, Qt::AlignCenter, QString::fromStdString(slot.number));
    }
    if (const diagnostics::MapSlot* slot = SlotOf(highlight_)) {
        // The frame: the click area's left, 25 twips above it, 30 twips wider, 20 lower.
        const QRect area = SlotRect(slot->index);
        p.setPen(QPen(ColourFromBGR(0xFFFF00), 4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(area.left() + 2, area.top() - TwipsToPixels(25) + 2,
                          TwipsToPixels(kAreaWidth + 30) - 4, TwipsToPixels(kAreaHeight - 20) - 4));
    }
}

void DeviceMapWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const diagnostics::MapSlot* slot = SlotOf(SlotAt(event->position().toPoint()));
    if (event->button() == Qt::LeftButton && slot != nullptr && slot->clickable && SlotClicked)
        SlotClicked(slot->index);
    QWidget::mouseReleaseEvent(event);
}

bool DeviceMapWidget::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const diagnostics::MapSlot* slot = SlotOf(SlotAt(help->pos()));
        if (slot != nullptr && !slot->tooltip.empty())
            QToolTip::showText(help->globalPos(), QString::fromStdString(slot->tooltip), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
