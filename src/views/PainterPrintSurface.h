#pragma once
// A printer-like drawing surface over any QPainter (a picture, the printer).
// Drawing is in twips: by default at the device's resolution, or, once Scale
// has set it, in a user scale that maps a rectangle of twips onto an area of
// the device, each axis on its own, as a picture box or the printer maps its
// scale. Line widths are device pixels and text keeps its point size whatever
// the scale; text is measured in the scale's units. PrintNode paints on it.
#include "model/NodeDrawing.h"

#include <QFont>
#include <QPainter>
#include <QRectF>

class PainterPrintSurface : public model::PrintSurface
{
public:
    // The painter must be active on its device for the surface's lifetime.
    // With yields, the program's other work runs after each node (a long
    // print job); a quick picture does without.
    explicit PainterPrintSurface(QPainter& painter, bool yields = true);

    // Maps (left, top) to the area's top-left corner and (right, bottom) to
    // its bottom-right corner (device pixels). A zero-width or zero-height
    // rectangle is ignored.
    void Scale(double left, double top, double right, double bottom, const QRectF& area);

    void SetLineWidth(int pixels) override;
    void Line(double x1, double y1, double x2, double y2, uint32_t colour) override;
    void FilledBox(double x1, double y1, double x2, double y2, uint32_t colour) override;
    void SetFont(const std::string& name, double size, bool bold) override;
    // A font made by the caller (one sized in pixels, say).
    void SetFont(const QFont& font);
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    void Print(const std::string& text) override;
    void Yield() override;

private:
    QPointF ToDevice(double x, double y) const;

    QPainter& painter_;
    double scaleX_; // device pixels per unit
    double scaleY_;
    QPointF origin_; // the device point of unit (0, 0)
    bool yields_;
    int lineWidth_ = 1;
    double currentX_ = 0;
    double currentY_ = 0;
};
