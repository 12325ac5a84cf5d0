#pragma once
// A printer-like drawing surface over any QPainter (a picture, the printer):
// twips converted with the device's resolution, a text position, and text
// measured in the current font. PrintNode paints on it.
#include "model/NodeDrawing.h"

#include <QFont>
#include <QPainter>

class PainterPrintSurface : public model::PrintSurface
{
public:
    // The painter must be active on its device for the surface's lifetime.
    explicit PainterPrintSurface(QPainter& painter);

    void SetLineWidth(int pixels) override;
    void Line(double x1, double y1, double x2, double y2, uint32_t colour) override;
    void FilledBox(double x1, double y1, double x2, double y2, uint32_t colour) override;
    void SetFont(const std::string& name, double size, bool bold) override;
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;
    void SetCurrentX(double x) override { currentX_ = x; }
    void SetCurrentY(double y) override { currentY_ = y; }
    void Print(const std::string& text) override;
    void Yield() override;

private:
    double ToDevice(double twips) const { return twips * scale_; }

    QPainter& painter_;
    double scale_; // device pixels per twip
    int lineWidth_ = 1;
    double currentX_ = 0;
    double currentY_ = 0;
};
