#pragma once
// Helpers shared by the parts of the diagnostics window's implementation:
// placing controls in twips, the named twips of its hand-made layout, and
// the one-at-a-time rule of the window's link operations.
#include "diagnostics/frmDiagnostics.h"
#include "platform/Units.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <string>

using platform::PixelsToTwips;
using platform::TwipsToPixels;

namespace {

// Twips of the window's hand-made layout. The bottom row of buttons:
constexpr long kButtonWidth = 1125;
constexpr long kButtonHeight = 600;
constexpr long kMiddleKeyWidth = 2000; // the first soft key, centred
constexpr long kRowFoot = 650;         // from the row to the window's foot
constexpr long kButtonGap = 200;       // between neighbours in a group
constexpr long kGroupGap = 500;        // between groups
constexpr long kNarrowGap = 100;       // beside the lamp, above the progress bar
// The pages: the frame's borders take kFrameWidth of the window's width,
// and the pages end kPagesAboveRow above the bottom row.
constexpr long kFrameWidth = 600;
constexpr long kPagesAboveRow = 700;
// The launchers of the Functions page, each in its group.
constexpr long kLauncherGroupWidth = 3000;
constexpr long kLauncherGroupHeight = 1500;
constexpr long kLauncherLeft = 150;
constexpr long kLauncherTop = 330;
constexpr long kLauncherWidth = 2700;
constexpr long kLauncherHeight = 450;
// The rows of the device map's colour key and show boxes.
constexpr long kKeyRowTop = 420;
constexpr long kKeyRowPitch = 325;

inline QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

template <typename T> T* Named(T* widget, const char* name, QWidget* parent)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    return widget;
}

inline void Place(QWidget* w, long left, long top, long width, long height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

inline long L(const QWidget* w)
{
    return PixelsToTwips(w->x());
}
inline long T(const QWidget* w)
{
    return PixelsToTwips(w->y());
}
inline long W(const QWidget* w)
{
    return PixelsToTwips(w->width());
}
inline long H(const QWidget* w)
{
    return PixelsToTwips(w->height());
}

inline void SetBack(QWidget* w, int r, int g, int b)
{
    w->setAutoFillBackground(true);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, QColor(r, g, b));
    w->setPalette(palette);
}

inline void Apply(QWidget* w, const ControlChange& change)
{
    if (change.Visible)
        w->setVisible(*change.Visible);
    if (change.Enabled)
        w->setEnabled(*change.Enabled);
    if (change.Caption) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(Q(*change.Caption));
    }
}

inline QGroupBox* Group(const char* name, const char* title, QWidget* parent, long left, long top, long width,
                        long height)
{
    auto* box = Named(new QGroupBox(QString::fromLatin1(title)), name, parent);
    Place(box, left, top, width, height);
    return box;
}

inline QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    return Named(new QPushButton(QString::fromLatin1(caption)), name, parent);
}

} // namespace


template <typename F> bool frmDiagnostics::RunLinkOperation(F operation)
{
    if (linkBusy_)
        return false;
    linkBusy_ = true;
    QPointer<frmDiagnostics> self(this);
    operation();
    if (self.isNull())
        return true;
    linkBusy_ = false;
    CloseIfPending();
    return true;
}
