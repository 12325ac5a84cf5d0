#include "app/SiteCanvas.h"

#include "platform/Units.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

constexpr QRgb kBackground = qRgb(255, 255, 255);

// The persistent layer grows with the drawing up to this many pixels each
// way (over 120,000 twips); links beyond it are cut off. A site file with an
// absurd position would otherwise ask for gigabytes of picture.
constexpr int kMaxPicturePixels = 8192;

double ToPixels(double twips)
{
    return twips / platform::kTwipsPerPixel;
}

} // namespace

int MouseButtonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int ShiftStateCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

SiteCanvas::SiteCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName("Canvas");
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    setAutoFillBackground(false);
    picture_ = QImage(1, 1, QImage::Format_RGB32);
    picture_.fill(kBackground);
}

void SiteCanvas::Cls()
{
    GrowPicture();
    // A layer with nothing drawn since it was last cleared is background
    // already (loading a site clears it several times before drawing).
    if (drawn_)
        picture_.fill(kBackground);
    drawn_ = false;
    update();
}

void SiteCanvas::ReservePicture(long width, long height)
{
    reserved_ = QSize(platform::TwipsToPixels(width), platform::TwipsToPixels(height));
    GrowPicture();
}

void SiteCanvas::Line(double x1, double y1, double x2, double y2)
{
    if (!autoRedraw_)
        return;
    GrowPicture();
    QPainter p(&picture_);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(platform::ColourFromBGR(foreColor_));
    pen.setWidth(drawWidth_);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(ToPixels(x1), ToPixels(y1)), QPointF(ToPixels(x2), ToPixels(y2)));
    drawn_ = true;
    update();
}

void SiteCanvas::SetLeftTwips(long left)
{
    move(platform::TwipsToPixels(left), y());
}

void SiteCanvas::SetTopTwips(long top)
{
    move(x(), platform::TwipsToPixels(top));
}

void SiteCanvas::SetWidthTwips(long width)
{
    resize(std::max(1, platform::TwipsToPixels(width)), height());
}

void SiteCanvas::SetHeightTwips(long height)
{
    resize(width(), std::max(1, platform::TwipsToPixels(height)));
}

long SiteCanvas::LeftTwips() const
{
    return platform::PixelsToTwips(x());
}

long SiteCanvas::TopTwips() const
{
    return platform::PixelsToTwips(y());
}

long SiteCanvas::WidthTwips() const
{
    return platform::PixelsToTwips(width());
}

long SiteCanvas::HeightTwips() const
{
    return platform::PixelsToTwips(height());
}

void SiteCanvas::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

void SiteCanvas::resizeEvent(QResizeEvent*)
{
    GrowPicture();
}

void SiteCanvas::GrowPicture()
{
    // Sizes change while the window is still hidden, before any resize event
    // arrives, so painting checks the size itself. The layer only grows, so what is painted beyond a smaller
    // size survives a shrink and a later growth, as the picture box keeps it.
    const int w = std::min(std::max({picture_.width(), width(), reserved_.width()}), kMaxPicturePixels);
    const int h = std::min(std::max({picture_.height(), height(), reserved_.height()}), kMaxPicturePixels);
    if (w == picture_.width() && h == picture_.height())
        return;
    QImage bigger(w, h, QImage::Format_RGB32);
    bigger.fill(kBackground);
    if (drawn_) {
        QPainter p(&bigger);
        p.drawImage(0, 0, picture_);
    }
    picture_ = bigger;
}

void SiteCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseDown(MouseButtonCode(event->button()), ShiftStateCode(event->modifiers()),
                   platform::PixelsToTwips(1) * at.x(), platform::PixelsToTwips(1) * at.y());
}

void SiteCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseMove(MouseButtonCode(event->buttons()), ShiftStateCode(event->modifiers()),
                   platform::PixelsToTwips(1) * at.x(), platform::PixelsToTwips(1) * at.y());
}

void SiteCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseUp(MouseButtonCode(event->button()), ShiftStateCode(event->modifiers()),
                 platform::PixelsToTwips(1) * at.x(), platform::PixelsToTwips(1) * at.y());
}

void SiteCanvas::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(event->key(), ShiftStateCode(event->modifiers()));
    QWidget::keyPressEvent(event);
}
