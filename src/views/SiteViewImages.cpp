#include "views/SiteViewImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>
#include <map>

namespace views {
namespace {

using Painter = std::function<void(QPainter&)>;

const QColor kOutline(70, 70, 75);
const QColor kAmber(255, 170, 0);

// A box shaded from its top colour down to its bottom one.
void ShadedBox(QPainter& p, const QRectF& box, double radius, const QColor& top, const QColor& bottom,
               const QColor& outline)
{
    QLinearGradient g(0, box.top(), 0, box.bottom());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(outline, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(box, radius, radius);
}

// A ceiling detector seen from below: a white disc with a grey rim.
void DetectorBody(QPainter& p, const QRectF& box)
{
    QRadialGradient g(box.center() - QPointF(box.width() / 5, box.height() / 5), box.width() * 0.7);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(200, 200, 205));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(g);
    p.drawEllipse(box);
    p.setPen(QPen(QColor(150, 150, 155), 1));
    p.setBrush(Qt::NoBrush);
    const double inset = box.width() * 0.18;
    p.drawEllipse(box.adjusted(inset, inset, -inset, -inset));
}

// An indicator light in the middle of a detector.
void Led(QPainter& p, const QPointF& at, const QColor& colour)
{
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(colour);
    p.drawEllipse(at, 2.6, 2.6);
}

void Thermometer(QPainter& p, const QPointF& bulb, const QColor& colour, double fill)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(bulb.x() - 2, bulb.y() - 13, 4, 13), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(bulb.x() - 1, bulb.y() - 11 * fill, 2, 11 * fill));
    p.setPen(QPen(kOutline, 1));
    p.drawEllipse(bulb, 3.4, 3.4);
}

// A beacon dome on top of the picture.
void Dome(QPainter& p, const QRectF& box)
{
    QRadialGradient g(box.center() - QPointF(0, box.height() / 3), box.width() * 0.7);
    g.setColorAt(0, QColor(255, 235, 150));
    g.setColorAt(1, kAmber);
    p.setPen(QPen(kAmber.darker(170), 1));
    p.setBrush(g);
    p.drawChord(box, 0, 180 * 16);
}

void Optical(QPainter& p)
{
    DetectorBody(p, QRectF(2, 2, 28, 28));
    p.setPen(QPen(QColor(130, 130, 135), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(11, 16 + 4 * i), QPointF(21, 16 + 4 * i));
    Led(p, QPointF(16, 16), QColor(60, 130, 230));
}

void Multi(QPainter& p)
{
    DetectorBody(p, QRectF(2, 2, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 130, 230));
    p.drawPie(QRectF(9, 9, 14, 14), 90 * 16, 180 * 16);
    p.setBrush(QColor(220, 50, 40));
    p.drawPie(QRectF(9, 9, 14, 14), 270 * 16, 180 * 16);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(9, 9, 14, 14));
}

void Heat(QPainter& p)
{
    DetectorBody(p, QRectF(2, 2, 28, 28));
    Thermometer(p, QPointF(16, 21), QColor(220, 40, 30), 0.6);
}

// The fixed-temperature heat detector: a full thermometer beside a flame.
void HighHeat(QPainter& p)
{
    DetectorBody(p, QRectF(2, 2, 28, 28));
    Thermometer(p, QPointF(13, 21), QColor(200, 20, 20), 1.0);
    QPainterPath flame;
    flame.moveTo(21, 23);
    flame.cubicTo(16.5, 21, 18, 15, 21, 11);
    flame.cubicTo(22, 15, 25.5, 17, 21, 23);
    p.setPen(QPen(QColor(200, 80, 0), 0.8));
    p.setBrush(QColor(255, 140, 0));
    p.drawPath(flame);
}

void Callpoint(QPainter& p)
{
    ShadedBox(p, QRectF(2.5, 2.5, 27, 27), 3, QColor(235, 45, 40), QColor(170, 15, 15), QColor(110, 0, 0));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(8.5, 8.5, 15, 15));
    p.setPen(QPen(QColor(40, 40, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 16), QPointF(20, 16));
}

void SounderBody(QPainter& p, const QRectF& box)
{
    QRadialGradient g(box.center() - QPointF(3, 3), box.width() * 0.7);
    g.setColorAt(0, QColor(245, 80, 70));
    g.setColorAt(1, QColor(170, 15, 15));
    p.setPen(QPen(QColor(110, 0, 0), 1.2));
    p.setBrush(g);
    p.drawEllipse(box);
    p.setPen(QPen(QColor(90, 0, 0), 1));
    p.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    p.drawEllipse(c, box.width() * 0.25, box.height() * 0.25);
    p.setBrush(QColor(60, 0, 0));
    p.drawEllipse(c, 1.5, 1.5);
}

void SoundWaves(QPainter& p, const QPointF& from)
{
    p.setPen(QPen(QColor(30, 30, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double r : {3.5, 6.5})
        p.drawArc(QRectF(from.x() - r, from.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
}

void Sounder(QPainter& p)
{
    SounderBody(p, QRectF(2, 5, 22, 22));
    SoundWaves(p, QPointF(24, 16));
}

void Beacon(QPainter& p)
{
    SounderBody(p, QRectF(2, 9, 21, 21));
    SoundWaves(p, QPointF(23, 19.5));
    Dome(p, QRectF(6.5, 1.5, 13, 14));
}

// An input/output unit: a grey box with an arrow in and an arrow out.
void IOUnit(QPainter& p)
{
    ShadedBox(p, QRectF(5.5, 5.5, 21, 21), 2, QColor(235, 235, 238), QColor(185, 185, 192), kOutline);
    const auto arrow = [&p](double y, double from, double to, const QColor& colour) {
        p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(from, y), QPointF(to, y));
        const double back = to > from ? -3.5 : 3.5;
        p.drawLine(QPointF(to, y), QPointF(to + back, y - 3));
        p.drawLine(QPointF(to, y), QPointF(to + back, y + 3));
    };
    arrow(12, 1.5, 14, QColor(30, 150, 50));
    arrow(21, 18, 30.5, QColor(210, 40, 30));
}

// A detector head on a wide mounting base seen from the side.
void ComboBase(QPainter& p, double top)
{
    QLinearGradient base(0, top + 12, 0, top + 20);
    base.setColorAt(0, QColor(250, 248, 238));
    base.setColorAt(1, QColor(200, 196, 182));
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(base);
    p.drawRoundedRect(QRectF(1.5, top + 12, 29, 7), 3, 3);
    QLinearGradient head(0, top, 0, top + 12);
    head.setColorAt(0, Qt::white);
    head.setColorAt(1, QColor(205, 205, 210));
    p.setBrush(head);
    p.drawChord(QRectF(6.5, top, 19, 24), 0, 180 * 16);
    Led(p, QPointF(16, top + 7), QColor(220, 50, 40));
}

void Combo(QPainter& p)
{
    ComboBase(p, 9);
}

void ComboBeacon(QPainter& p)
{
    ComboBase(p, 11);
    Dome(p, QRectF(10.5, 1.5, 11, 12));
}

// An RCC or the hub: a radio box with an aerial and waves.
void Node(QPainter& p)
{
    ShadedBox(p, QRectF(3.5, 13.5, 25, 16), 3, QColor(70, 120, 200), QColor(25, 60, 130), QColor(15, 35, 80));
    p.setPen(QPen(QColor(20, 220, 90), 1));
    p.setBrush(QColor(20, 220, 90));
    p.drawEllipse(QPointF(9, 21.5), 1.8, 1.8);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 21.5), QPointF(24, 21.5));
    p.setPen(QPen(QColor(40, 40, 45), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 13), QPointF(16, 5));
    p.setPen(QPen(QColor(40, 90, 180), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double r : {4.0, 7.5})
        p.drawArc(QRectF(16 - r, 5 - r, 2 * r, 2 * r), 20 * 16, 140 * 16);
}

// A panel loop: a cable leaving the panel and coming back to it.
void Loop(QPainter& p)
{
    p.setPen(QPen(QColor(30, 130, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(12, 23);
    cable.lineTo(5, 23);
    cable.arcTo(QRectF(3, 3, 26, 22), 200, -220);
    cable.lineTo(20, 23);
    p.drawPath(cable);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(210, 210, 215));
    p.drawRect(QRectF(10.5, 19.5, 11, 10));
}

const std::map<QString, Painter>& Table()
{
    static const std::map<QString, Painter> table = {
        {"Node", Node},      {"Optical", Optical},         {"Multi", Multi},
        {"IOUnit", IOUnit},  {"Callpoint", Callpoint},     {"Heat", Heat},
        {"HHeat", HighHeat}, {"Sounder", Sounder},         {"Beacon", Beacon},
        {"Combo", Combo},    {"ComboBeacon", ComboBeacon}, {"Loop", Loop},
    };
    return table;
}

} // namespace

const QStringList& SiteViewImageKeys()
{
    static const QStringList keys = {"Node",  "Optical", "Multi",  "IOUnit", "Callpoint",   "Heat",
                                     "HHeat", "Sounder", "Beacon", "Combo",  "ComboBeacon", "Loop"};
    return keys;
}

QPixmap SiteViewImage(const QString& key)
{
    const auto it = Table().find(key);
    if (it == Table().end())
        return {};
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    it->second(p);
    return pm;
}

} // namespace views
