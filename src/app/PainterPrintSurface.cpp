#include "app/PainterPrintSurface.h"

#include "platform/Units.h"
#include "platform/Yield.h"

#include <QFontMetricsF>
#include <QPaintDevice>

PainterPrintSurface::PainterPrintSurface(QPainter& painter)
    : painter_(painter), scale_(painter.device()->logicalDpiX() / 1440.0)
{
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
    painter_.drawLine(QPointF(ToDevice(x1), ToDevice(y1)), QPointF(ToDevice(x2), ToDevice(y2)));
}

void PainterPrintSurface::FilledBox(double x1, double y1, double x2, double y2, uint32_t colour)
{
    painter_.fillRect(QRectF(QPointF(ToDevice(x1), ToDevice(y1)), QPointF(ToDevice(x2), ToDevice(y2))),
                      platform::ColourFromBGR(colour));
}

void PainterPrintSurface::SetFont(const std::string& name, double size, bool bold)
{
    QFont font(QString::fromStdString(name));
    font.setPointSizeF(size);
    font.setBold(bold);
    painter_.setFont(font);
}

double PainterPrintSurface::TextWidth(const std::string& text)
{
    return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(QString::fromStdString(text)) /
           scale_;
}

double PainterPrintSurface::TextHeight(const std::string&)
{
    return QFontMetricsF(painter_.font(), painter_.device()).height() / scale_;
}

void PainterPrintSurface::Print(const std::string& text)
{
    const QFontMetricsF metrics(painter_.font(), painter_.device());
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(ToDevice(currentX_), ToDevice(currentY_) + metrics.ascent()),
                      QString::fromStdString(text));
    currentY_ += metrics.height() / scale_;
}

void PainterPrintSurface::Yield()
{
    platform::DoEvents();
}
