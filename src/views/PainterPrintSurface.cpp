#include "views/PainterPrintSurface.h"

#include "platform/Units.h"
#include "platform/Yield.h"

#include <QFontMetricsF>
#include <QPaintDevice>

PainterPrintSurface::PainterPrintSurface(QPainter& painter, bool yields)
    : painter_(painter), scaleX_(painter.device()->logicalDpiX() / 1440.0),
      scaleY_(painter.device()->logicalDpiY() / 1440.0), yields_(yields)
{
}

void PainterPrintSurface::Scale(double left, double top, double right, double bottom, const QRectF& area)
{
    if (right == left || bottom == top)
        return;
    scaleX_ = area.width() / (right - left);
    scaleY_ = area.height() / (bottom - top);
    origin_ = QPointF(area.left() - left * scaleX_, area.top() - top * scaleY_);
}

QPointF PainterPrintSurface::ToDevice(double x, double y) const
{
    return origin_ + QPointF(x * scaleX_, y * scaleY_);
}

void PainterPrintSurface::SetLineWidth(int pixels)
{
    lineWidth_ = pixels;
}

void PainterPrintSurface::Line(double x1, double y1, double x2, double y2, uint32_t colour)
{
    QPen pen(platform::ColourFromBGR(colour));
    pen.setWidth(lineWidth_);
    painter_.setPen(pen);
    painter_.drawLine(ToDevice(x1, y1), ToDevice(x2, y2));
}

void PainterPrintSurface::FilledBox(double x1, double y1, double x2, double y2, uint32_t colour)
{
    painter_.fillRect(QRectF(ToDevice(x1, y1), ToDevice(x2, y2)), platform::ColourFromBGR(colour));
}

void PainterPrintSurface::SetFont(const std::string& name, double size, bool bold)
{
    QFont font(QString::fromStdString(name));
    font.setPointSizeF(size);
    font.setBold(bold);
    painter_.setFont(font);
}

void PainterPrintSurface::SetFont(const QFont& font)
{
    painter_.setFont(font);
}

double PainterPrintSurface::TextWidth(const std::string& text)
{
    return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(QString::fromStdString(text)) /
           scaleX_;
}

double PainterPrintSurface::TextHeight(const std::string&)
{
    return QFontMetricsF(painter_.font(), painter_.device()).height() / scaleY_;
}

void PainterPrintSurface::Print(const std::string& text)
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    painter_.setPen(Qt::black);
    painter_.drawText(ToDevice(currentX_, currentY_) + QPointF(0, metrics.ascent()), QString::fromStdString(text));
    currentY_ += metrics.height() / scaleY_;
}

void PainterPrintSurface::Yield()
{
    if (yields_)
        platform::DoEvents();
}
