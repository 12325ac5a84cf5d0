#include "editors/DevicePictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

namespace editors {

namespace {

const QColor kRed(200, 30, 30);
const QColor kDarkRed(120, 10, 10);
const QColor kAmber(250, 170, 20);
const QColor kOutline(70, 70, 70);

// Drawing happens in a 40-unit box, scaled to the pixmap's size.
void Disc(QPainter& p, const QPointF& centre, double radius, const QColor& colour)
{
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    g.setColorAt(0, colour.lighter(140));
    g.setColorAt(1, colour.darker(125));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void Caption(QPainter& p, const QString& text, const QRectF& box, const QColor& colour, int pixels)
{
    QFont f("DejaVu Sans");
    f.setBold(true);
    f.setPixelSize(pixels);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void DetectorHead(QPainter& p, double radius)
{
    Disc(p, {20, 20}, radius, QColor(245, 245, 240));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(20, 20), radius * 0.55, radius * 0.55);
}

void SmokeVents(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(20, 20);
        p.rotate(i * 45.0);
        p.drawRoundedRect(QRectF(-1, -9, 2, 4), 1, 1);
        p.restore();
    }
}

void Led(QPainter& p, const QPointF& at)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(at, 1.6, 1.6);
}

void HeatFins(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = -2; i <= 2; ++i)
        p.drawLine(QPointF(20 + i * 2.6, 15), QPointF(20 + i * 2.6, 25));
}

void Callpoint(QPainter& p)
{
    p.setPen(QPen(kDarkRed, 1));
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(4, 4, 32, 32), 3, 3);
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(10, 10, 20, 20));
    p.setPen(QPen(kOutline, 1.5));
    p.drawLine(QPointF(13, 27), QPointF(27, 13));
}

void SoundWaves(QPainter& p, double x)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i)
        p.drawArc(QRectF(x - 4 - i * 4, 14 - i * 4, 8 + i * 8, 12 + i * 8), -50 * 16, 100 * 16);
}

void Sounder(QPainter& p)
{
    Disc(p, {18, 20}, 15, kRed);
    Disc(p, {18, 20}, 6, QColor(60, 60, 60));
    SoundWaves(p, 30);
}

void Beacon(QPainter& p, double radius)
{
    Disc(p, {20, 20}, radius, kAmber);
}

void SounderBeacon(QPainter& p)
{
    Disc(p, {20, 20}, 17, kRed);
    Beacon(p, 9);
    p.setPen(QPen(Qt::white, 1.2));
    p.drawLine(QPointF(16, 17), QPointF(20, 14));
}

void Optical(QPainter& p)
{
    DetectorHead(p, 17);
    SmokeVents(p);
    Led(p, {30, 12});
}

void Multisensor(QPainter& p)
{
    DetectorHead(p, 17);
    SmokeVents(p);
    p.setPen(QPen(QColor(30, 90, 200), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(20, 20), 13.5, 13.5);
    Led(p, {30, 12});
}

void Heat(QPainter& p, const QString& mark)
{
    DetectorHead(p, 17);
    HeatFins(p);
    Caption(p, mark, QRectF(8, 26, 24, 8), QColor(40, 40, 40), 7);
    Led(p, {30, 12});
}

void Combo(QPainter& p, const QColor& ring)
{
    Disc(p, {20, 20}, 19, kRed);
    p.setPen(Qt::NoPen);
    p.setBrush(ring);
    p.drawEllipse(QPointF(20, 20), 15.5, 15.5);
    DetectorHead(p, 13);
    SmokeVents(p);
}

void InputOutput(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(215, 215, 210));
    p.drawRoundedRect(QRectF(4, 6, 32, 28), 3, 3);
    p.setBrush(QColor(40, 120, 60));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(7 + i * 7, 27, 5, 5));
    Caption(p, "I/O", QRectF(4, 8, 32, 17), QColor(30, 30, 30), 11);
}

void DrawItem(QPainter& p, int item)
{
    switch (item) {
    case 0: Callpoint(p); break;
    case 1: Sounder(p); break;
    case 2: Optical(p); break;
    case 3: SounderBeacon(p); break;
    case 4: Multisensor(p); break;
    case 5: Combo(p, kRed.lighter(130)); break;
    case 6: Heat(p, "A1R"); break;
    case 7: Combo(p, kAmber); break;
    case 8: Heat(p, "CS"); break;
    case 9: InputOutput(p); break;
    default: break;
    }
}

QPixmap Drawn(int size, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 40.0, size / 40.0);
    draw(p);
    return pixmap;
}

} // namespace

QPixmap DevicePicture(int item)
{
    if (item < 0 || item > 9)
        return {};
    return Drawn(kDevicePictureSize, [item](QPainter& p) { DrawItem(p, item); });
}

QPixmap DeviceDragIcon(int item)
{
    if (item < 0 || item > 9)
        return {};
    return Drawn(kDragIconSize, [item](QPainter& p) {
        p.setOpacity(0.85);
        DrawItem(p, item);
        p.setOpacity(1);
        Disc(p, {33, 33}, 6, QColor(40, 150, 60));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(30, 33), QPointF(36, 33));
        p.drawLine(QPointF(33, 30), QPointF(33, 36));
    });
}

} // namespace editors
