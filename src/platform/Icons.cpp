#include "platform/Icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>
#include <map>

namespace platform {
namespace {

using Painter = std::function<void(QPainter&)>;

// A round badge with a light spot, drawn in a 32-unit box.
void Badge(QPainter& p, const QColor& base, const QColor& dark)
{
    QRadialGradient g(QPointF(12, 10), 20);
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(0.6, base);
    g.setColorAt(1, dark);
    p.setPen(QPen(dark, 1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
}

void Glyph(QPainter& p, const QString& text, const QColor& colour, double pointSize, const QRectF& box)
{
    QFont f("DejaVu Sans");
    f.setBold(true);
    f.setPixelSize(static_cast<int>(pointSize));
    p.setFont(f);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void Stop(QPainter& p)
{
    QPainterPath oct;
    const double a = 9.5, b = 30.5 - 9;
    oct.moveTo(a, 1.5);
    oct.lineTo(b, 1.5);
    oct.lineTo(30.5, a);
    oct.lineTo(30.5, b);
    oct.lineTo(b, 30.5);
    oct.lineTo(a, 30.5);
    oct.lineTo(1.5, b);
    oct.lineTo(1.5, a);
    oct.closeSubpath();
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(240, 80, 70));
    g.setColorAt(1, QColor(160, 10, 10));
    p.setPen(QPen(QColor(110, 0, 0), 1.2));
    p.setBrush(g);
    p.drawPath(oct);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

void Help(QPainter& p)
{
    Badge(p, QColor(40, 110, 210), QColor(10, 50, 130));
    Glyph(p, "?", Qt::white, 22, QRectF(0, 0, 32, 32));
}

void Exclamation(QPainter& p)
{
    QPainterPath tri;
    tri.moveTo(16, 1.5);
    tri.lineTo(30.5, 29);
    tri.lineTo(1.5, 29);
    tri.closeSubpath();
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(255, 230, 90));
    g.setColorAt(1, QColor(235, 170, 0));
    p.setPen(QPen(QColor(120, 80, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(tri);
    Glyph(p, "!", Qt::black, 20, QRectF(0, 8, 32, 22));
}

void Information(QPainter& p)
{
    Badge(p, QColor(60, 140, 230), QColor(15, 60, 150));
    QFont f("DejaVu Serif");
    f.setBold(true);
    f.setPixelSize(22);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 1, 32, 32), Qt::AlignCenter, "i");
}

// The program: a red panel with radio waves rising from a mast.
void Program(QPainter& p)
{
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(220, 40, 40));
    g.setColorAt(1, QColor(150, 10, 20));
    p.setPen(QPen(QColor(100, 0, 0), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 14), QPointF(16, 27));
    p.drawLine(QPointF(11, 27), QPointF(21, 27));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 13), 2, 2);
    p.setBrush(Qt::NoBrush);
    for (int r : {6, 10}) {
        p.drawArc(QRectF(16 - r, 13 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
}

void Padlock(QPainter& p, bool closed)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.6));
    p.setBrush(Qt::NoBrush);
    if (closed)
        p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
    else
        p.drawArc(QRectF(8.5, 0.5, 7, 9), 0, 180 * 16);
    p.drawLine(QPointF(closed ? 4.5 : 15.5, 6), QPointF(closed ? 4.5 : 15.5, 8));
    if (closed)
        p.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
    QLinearGradient g(0, 7, 0, 16);
    g.setColorAt(0, closed ? QColor(250, 200, 60) : QColor(170, 220, 120));
    g.setColorAt(1, closed ? QColor(190, 130, 0) : QColor(80, 150, 40));
    p.setPen(QPen(QColor(80, 60, 0), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 8), 1.5, 1.5);
}

// A monitor: a dark screen with a light glare in a grey case on a stand.
void Monitor(QPainter& p)
{
    QLinearGradient caseFill(0, 2, 0, 24);
    caseFill.setColorAt(0, QColor(215, 215, 220));
    caseFill.setColorAt(1, QColor(150, 150, 160));
    p.setPen(QPen(QColor(70, 70, 80), 1.2));
    p.setBrush(caseFill);
    p.drawRoundedRect(QRectF(1.5, 2.5, 29, 21), 2.5, 2.5);
    QLinearGradient screen(0, 5, 0, 21);
    screen.setColorAt(0, QColor(40, 90, 170));
    screen.setColorAt(1, QColor(10, 30, 80));
    p.setPen(QPen(QColor(20, 20, 30), 1));
    p.setBrush(screen);
    p.drawRect(QRectF(4.5, 5.5, 23, 15));
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 17), QPointF(15, 8));
    p.setPen(QPen(QColor(70, 70, 80), 1.2));
    p.setBrush(caseFill);
    p.drawRect(QRectF(13.5, 23.5, 5, 3.5));
    p.drawRoundedRect(QRectF(8.5, 27, 15, 3.5), 1.5, 1.5);
}

// A drawing pin seen from the side (up: the pin stands out, the window
// may be covered) or from above (down: pressed in, the window stays on top).
void PushPin(QPainter& p, bool pressed)
{
    const QColor head(200, 40, 40);
    const QColor dark(120, 10, 10);
    p.setPen(QPen(dark, 1));
    if (!pressed) {
        p.setBrush(head);
        p.drawRect(QRectF(1.5, 5.5, 3, 6));
        p.drawRect(QRectF(4.5, 7, 6, 3));
        p.drawRect(QRectF(10.5, 4.5, 2, 8));
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        p.drawLine(QPointF(12.5, 8.5), QPointF(15.5, 8.5));
        return;
    }
    QRadialGradient g(QPointF(6.5, 6.5), 7);
    g.setColorAt(0, head.lighter(160));
    g.setColorAt(1, head);
    p.setBrush(g);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setBrush(dark);
    p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
}

// A small solid triangle pointing down (an ascending sort) or up.
void SortArrow(QPainter& p, bool down)
{
    QPainterPath arrow;
    arrow.moveTo(3, down ? 5 : 11);
    arrow.lineTo(13, down ? 5 : 11);
    arrow.lineTo(8, down ? 11 : 5);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(90, 90, 90));
    p.drawPath(arrow);
}

struct Entry
{
    int size;
    Painter paint;
};

const std::map<QString, Entry>& Table()
{
    static const std::map<QString, Entry> table = {
        {"AA_ICON", {32, Program}},
        {"STOP3D_ICON", {32, Stop}},
        {"HELP5_ICON", {32, Help}},
        {"EXCLAMATION3D_ICON", {32, Exclamation}},
        {"INFO2_ICON", {32, Information}},
        {"MONITOR_ICON", {32, Monitor}},
        {"LOCKED", {16, [](QPainter& p) { Padlock(p, true); }}},
        {"UNLOCKED", {16, [](QPainter& p) { Padlock(p, false); }}},
        {"PUSHPIN", {16, [](QPainter& p) { PushPin(p, false); }}},
        {"PUSHEDPIN", {16, [](QPainter& p) { PushPin(p, true); }}},
        {"DOWN_ARROW2", {16, [](QPainter& p) { SortArrow(p, true); }}},
        {"UP_ARROW2", {16, [](QPainter& p) { SortArrow(p, false); }}},
    };
    return table;
}

QPixmap Render(const Entry& e, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double scale = static_cast<double>(size) / e.size;
    p.scale(scale, scale);
    e.paint(p);
    return pm;
}

} // namespace

QPixmap IconPixmap(const QString& name)
{
    const auto it = Table().find(name);
    if (it == Table().end())
        return {};
    return Render(it->second, it->second.size);
}

QIcon LoadIconResource(const QString& name)
{
    const auto it = Table().find(name);
    if (it == Table().end())
        return {};
    QIcon icon;
    icon.addPixmap(Render(it->second, it->second.size));
    if (it->second.size != 16)
        icon.addPixmap(Render(it->second, 16));
    return icon;
}

} // namespace platform
