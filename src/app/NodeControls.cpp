#include "app/NodeControls.h"

#include "app/SiteCanvas.h"
#include "platform/Units.h"

#include <QMouseEvent>
#include <QPainter>

using platform::PixelsToTwips;
using platform::TwipsToPixels;

void PlaceTwips(QWidget* w, long left, long top)
{
    w->move(TwipsToPixels(left), TwipsToPixels(top));
}

void SizeTwips(QWidget* w, long width, long height)
{
    w->resize(std::max(1, TwipsToPixels(width)), std::max(1, TwipsToPixels(height)));
}

long LeftTwips(const QWidget* w)
{
    return PixelsToTwips(w->x());
}

long TopTwips(const QWidget* w)
{
    return PixelsToTwips(w->y());
}

long WidthTwips(const QWidget* w)
{
    return PixelsToTwips(w->width());
}

long HeightTwips(const QWidget* w)
{
    return PixelsToTwips(w->height());
}

NodeShape::NodeShape(QWidget* canvas, int index) : QWidget(canvas)
{
    setObjectName(QString("NodeShape_%1").arg(index));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void NodeShape::SetFillColor(std::uint32_t bgr)
{
    fill_ = bgr;
    update();
}

void NodeShape::SetBorderColor(std::uint32_t bgr)
{
    border_ = bgr;
    update();
}

void NodeShape::SetBorderWidth(int pixels)
{
    borderWidth_ = pixels;
    update();
}

void NodeShape::SetOutlineOnly(bool on)
{
    outlineOnly_ = on;
    update();
}

void NodeShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(platform::ColourFromBGR(border_));
    pen.setWidth(borderWidth_);
    p.setPen(pen);
    if (outlineOnly_)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(platform::ColourFromBGR(fill_));
    const double inset = borderWidth_ / 2.0;
    const QRectF r = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const double radius = std::min(r.width(), r.height()) / 6.0;
    p.drawRoundedRect(r, radius, radius);
}

NodeLabel::NodeLabel(QWidget* canvas, const QString& arrayName, int index) : QLabel(canvas), index_(index)
{
    setObjectName(QString("%1_%2").arg(arrayName).arg(index));
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignCenter);
    hide();
}

void NodeLabel::SetAutoSize(bool on)
{
    autoSize_ = on;
    if (on)
        adjustSize();
}

void NodeLabel::SetCaption(const QString& text)
{
    setText(text);
    if (autoSize_)
        adjustSize();
}

namespace {

double TwipsOf(double pixels)
{
    return pixels * platform::kTwipsPerPixel;
}

} // namespace

void NodeLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    emit MouseDown(index_, MouseButtonCode(event->button()), ShiftStateCode(event->modifiers()),
                   TwipsOf(event->position().x()), TwipsOf(event->position().y()));
}

void NodeLabel::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(index_, MouseButtonCode(event->buttons()), ShiftStateCode(event->modifiers()),
                   TwipsOf(event->position().x()), TwipsOf(event->position().y()));
}

void NodeLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    emit MouseUp(index_, MouseButtonCode(event->button()), ShiftStateCode(event->modifiers()),
                 TwipsOf(event->position().x()), TwipsOf(event->position().y()));
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click(index_);
}

void NodeLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit DblClick(index_);
}
