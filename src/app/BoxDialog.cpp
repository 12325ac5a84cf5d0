#include "app/BoxDialog.h"

#include "app/Startup.h"
#include "platform/LoadedForms.h"
#include "platform/ModalWindows.h"
#include "platform/Units.h"
#include "platform/WindowLayer.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <algorithm>

using platform::PixelsFromTwips;

namespace {
// One line of the boxes' 9.75 pt text is 16 pixels high at 96 dpi.
constexpr int kMinLinePixels = 16;
} // namespace

BoxDialog::BoxDialog(const char* name, double designClientWidth, double designClientHeight)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_designWidth(designClientWidth + kFrameWidthTwips),
      m_designHeight(designClientHeight + kFrameHeightTwips)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    platform::GuardModalWindow(*this);
    setFixedSize(PixelsFromTwips(designClientWidth), PixelsFromTwips(designClientHeight));
    for (int i = 0; i < 3; ++i) {
        cmdButton[i] = new QPushButton(this);
        cmdButton[i]->setObjectName(QString("cmdButton%1").arg(i + 1));
        cmdButton[i]->setAutoDefault(true);
        cmdButton[i]->hide();
        connect(cmdButton[i], &QPushButton::clicked, this,
                [this, i] { SetResultFromCaption(cmdButton[i]->text()); });
    }
    setTabOrder(cmdButton[0], cmdButton[1]);
    setTabOrder(cmdButton[1], cmdButton[2]);
    platform::LoadForm(this);
}

QString BoxDialog::DisplayLines(const QString& text)
{
    QString out = text;
    out.replace("\r\n", "\n");
    return out;
}

QSizeF BoxDialog::TextSizeTwips(const QFont& font, const QString& text)
{
    const QFontMetrics fm(font);
    const QStringList lines = DisplayLines(text).split('\n');
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line));
    const int lineHeight = std::max(kMinLinePixels, fm.height());
    // Two pixels spare so that the last character is never clipped.
    return {static_cast<double>(platform::PixelsToTwips(widest + 2)),
            static_cast<double>(platform::PixelsToTwips(lineHeight * static_cast<int>(lines.size())))};
}

void BoxDialog::PlaceTwips(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(PixelsFromTwips(left), PixelsFromTwips(top), PixelsFromTwips(width),
                   PixelsFromTwips(height));
}

void BoxDialog::PlaceOverOwner(QWidget* owner)
{
    QRectF area;
    if (owner != nullptr) {
        const QRect r = platform::FrameRect(*owner);
        area = QRectF(platform::PixelsToTwips(r.x()), platform::PixelsToTwips(r.y()),
                      platform::PixelsToTwips(r.width()), platform::PixelsToTwips(r.height()));
    } else if (QScreen* s = QApplication::primaryScreen()) {
        const QRect r = s->availableGeometry();
        area = QRectF(platform::PixelsToTwips(r.x()), platform::PixelsToTwips(r.y()),
                      platform::PixelsToTwips(r.width()), platform::PixelsToTwips(r.height()));
    }
    const double left = area.left() + area.width() / 2 - m_designWidth / 2;
    const double top = area.top() + area.height() / 2 - m_designHeight / 2;
    move(PixelsFromTwips(left), PixelsFromTwips(top));
    // A dialog that belongs to a window: window managers keep it above that
    // window.
    if (owner != nullptr && owner->window()->windowHandle() != nullptr) {
        winId();
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
}

double BoxDialog::MinimumWidth(int buttonCount) const
{
    // Wide enough for the whole caption beside the frame's icon and
    // buttons, so that the title bar does not shorten it.
    QFont titleFont = font();
    titleFont.setBold(true);
    const double title = platform::PixelsToTwips(QFontMetrics(titleFont).horizontalAdvance(windowTitle())) +
                         kTitleRoomTwips;
    return std::max(MinimumBoxWidth(buttonCount), title);
}

void BoxDialog::SetOuterSizeTwips(double width, double height)
{
    m_outerWidth = width;
    m_outerHeight = height;
    setFixedSize(PixelsFromTwips(width - kFrameWidthTwips), PixelsFromTwips(height - kFrameHeightTwips));
}

void BoxDialog::ApplyButtons(const BoxButtonSet& set, double buttonTop, double buttonHeight)
{
    m_set = set;
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = cmdButton[i];
        b->setText(set.captions[i]);
        if (i >= set.count)
            continue;
        const double centre = ButtonCentre(i, set.count, m_outerWidth);
        PlaceTwips(b, centre - kButtonWidthTwips / 2, buttonTop, kButtonWidthTwips, buttonHeight);
        b->show();
    }
    cmdButton[set.defaultIndex]->setDefault(true);
}

int32_t BoxDialog::WaitForButton(const QString& exemptCaption, QWidget* focus)
{
    show();
    ResultCode = 0;
    raise();
    activateWindow();
    const auto saved = platform::DisableOtherForms(this, exemptCaption);
    if (focus != nullptr)
        focus->setFocus(Qt::OtherFocusReason);
    QPointer<BoxDialog> self(this);
    const int32_t cancelCode = CancelLikeResult(m_set);
    platform::WaitUntil([&] { return self.isNull() || self->ResultCode != 0; }, -1, this);
    platform::RestoreFormStates(saved);
    // A box destroyed under the wait answers as its cancel-like button.
    return self.isNull() ? cancelCode : ResultCode;
}

void BoxDialog::SetResultFromCaption(const QString& caption)
{
    const int32_t code = ResultFromCaption(caption);
    if (code != 0)
        ResultCode = code;
}

void BoxDialog::closeEvent(QCloseEvent* e)
{
    // The box has no close button; a close request from the window manager
    // answers as the cancel-like button so the caller never waits forever.
    if (ResultCode == 0)
        ResultCode = CancelLikeResult(m_set);
    e->ignore();
}

void BoxDialog::reject()
{
    // No button is a cancel button: Escape chooses nothing.
}

ArrowPointer::ArrowPointer()
{
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

ArrowPointer::~ArrowPointer()
{
    QApplication::restoreOverrideCursor();
}

QString BoxTitle(const QString& title)
{
    return title.isEmpty() ? AppTitle : title;
}

void ReturnToOwner(QWidget* owner)
{
    if (owner == nullptr)
        return;
    QPointer<QWidget> window = owner->window();
    platform::BringWindowToFront(*window);
    // The box goes only once its owner has the focus: a box that goes while
    // it still has it leaves the window manager to choose the next window
    // itself, and on a loaded machine that can be the main window. A
    // disabled owner (the main window under a serial window) passes the
    // activation on at once, so there is nothing to wait for.
    if (window->isVisible() && window->isEnabled())
        platform::WaitUntil([&] { return window.isNull() || window->isActiveWindow(); }, kOwnerActivationWaitMs);
}
