#include "platform/ModalWindows.h"

#include "platform/KeyboardFocus.h"
#include "platform/WindowLayer.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <vector>

namespace platform {
namespace {

// The guarded windows that are up, in the order they came up.
std::vector<QPointer<QWidget>>& UpWindows()
{
    static std::vector<QPointer<QWidget>> up;
    return up;
}

// The window a window belongs to: the one the window manager is told of,
// else the window of its parent widget.
QWidget* OwnerOf(const QWidget* w)
{
    if (const QWindow* handle = w->windowHandle(); handle != nullptr && handle->transientParent() != nullptr)
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->windowHandle() == handle->transientParent())
                return top;
    const QWidget* parent = w->parentWidget();
    return parent != nullptr ? parent->window() : nullptr;
}

// Its owner, the owner's owner and so on, nearest first.
std::vector<QWidget*> OwnersOf(const QWidget* w)
{
    std::vector<QWidget*> owners;
    for (QWidget* o = OwnerOf(w); o != nullptr && std::find(owners.begin(), owners.end(), o) == owners.end();
         o = OwnerOf(o))
        owners.push_back(o);
    return owners;
}

// The guarded window shown last and still shown, or nullptr.
QWidget* CurrentModalWindow()
{
    const auto& up = UpWindows();
    for (auto w = up.rbegin(); w != up.rend(); ++w)
        if (!w->isNull())
            return w->data();
    return nullptr;
}

bool IsUp(const QWidget* w)
{
    const auto& up = UpWindows();
    return std::find(up.begin(), up.end(), w) != up.end();
}

// The pinned windows kept out of the top-most layer, each with the number
// of guarded windows up that keep it out. Guards end in any order (a box
// shown over a serial window, or a serial window shown while a box waits):
// a window goes back only when the last of them ends.
std::vector<std::pair<QPointer<QWidget>, int>>& KeptOut()
{
    static std::vector<std::pair<QPointer<QWidget>, int>> kept;
    return kept;
}

void KeepOutOfTopLayer(QWidget* w)
{
    auto& kept = KeptOut();
    const auto held = std::find_if(kept.begin(), kept.end(), [w](const auto& k) { return k.first == w; });
    if (held != kept.end()) {
        ++held->second;
        return;
    }
    kept.emplace_back(w, 1);
    QWindow* handle = w->windowHandle();
    handle->setFlags(handle->flags() & ~Qt::WindowStaysOnTopHint);
    // Still above the other windows of its new layer, so that it stays in
    // sight.
    w->raise();
}

void LetBackIntoTopLayer(const QPointer<QWidget>& w)
{
    auto& kept = KeptOut();
    const auto held = std::find_if(kept.begin(), kept.end(), [&w](const auto& k) { return k.first == w; });
    if (held == kept.end() || --held->second > 0)
        return;
    kept.erase(held);
    // Back to the layer its own flags say (a window unpinned meanwhile stays
    // out of it).
    if (!w.isNull() && w->windowHandle() != nullptr)
        w->windowHandle()->setFlags(w->windowFlags());
}

// A window the window manager gives the keys to while a box keeps it
// waiting does not become the active window: the toolkit holds on to the box
// as the active one. If the box goes before the window manager hands the
// keys back to it, the window keeps the keys and the program names no window
// active, for good (the keys stay where they are, so nothing tells it
// otherwise). Once a box has gone, such a window, when the program still
// waits for it, is given the keys again, which makes it the active window.
void ResumeTheActivationOfTheWindowWithTheKeys()
{
    if (QApplication::activeWindow() != nullptr || QApplication::activePopupWidget() != nullptr)
        return;
    // Only a window the program still waits for (a dialog whose box has
    // gone): with none left, the program and the window manager choose the
    // next active window themselves.
    QWidget* keys = WindowWithTheKeys();
    if (keys == nullptr || !keys->isEnabled() || keys != QApplication::activeModalWidget())
        return;
    GiveTheKeysAgain(*keys);
}

// What a guarded window is to the program: one it waits for (a box, a modal
// dialog) or one it only keeps in front while it is up.
enum class GuardKind
{
    Modal,
    InFront,
};

class ModalGuard : public QObject
{
public:
    ModalGuard(QWidget& window, GuardKind kind) : QObject(&window), window_(&window), kind_(kind)
    {
        window.installEventFilter(this);
    }
    ~ModalGuard() override { End(); }
    ModalGuard(const ModalGuard&) = delete;
    ModalGuard& operator=(const ModalGuard&) = delete;

protected:
    // While the window is up this filter also sees every event of the
    // program: the owners' state changes and the activations.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        // The window system's own show and hide (a minimise and its undoing)
        // come as spontaneous events; the guard follows the program's.
        case QEvent::Show:
            if (watched == window_ && !event->spontaneous())
                Begin();
            break;
        case QEvent::Hide:
            if (watched == window_ && !event->spontaneous())
                End();
            break;
        case QEvent::WindowStateChange:
            if (up_ && kind_ == GuardKind::Modal && watched->isWidgetType() &&
                NeedsPuttingBack(static_cast<QWidget*>(watched)))
                PutBackSoon();
            break;
        case QEvent::Expose:
            if (up_ && watched == window_->windowHandle())
                FollowExposure(window_->windowHandle()->isExposed());
            break;
        case QEvent::WindowActivate:
        case QEvent::ActivationChange:
            if (up_ && watched->isWidgetType() && TakesTheKeysAway(static_cast<QWidget*>(watched))) {
                TakeBackActivationSoon(false);
                return true;
            }
            break;
        // Keys the window manager gives a window kept disabled, until the
        // activation is back, are this window's.
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (up_ && watched->isWidgetType() && TypedIntoAKeptWindow(static_cast<QWidget*>(watched))) {
                if (event->type() != QEvent::ShortcutOverride)
                    PassKey(*static_cast<QKeyEvent*>(event));
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Begin()
    {
        if (up_)
            return;
        up_ = true;
        shownOnce_ = offScreen_ = false;
        if (kind_ == GuardKind::Modal) {
            UpWindows().push_back(window_);
            qApp->installEventFilter(this);
            restacked_ = std::make_unique<StackingWatch>([this] {
                if (up_ && OwnersCoveredWhileTheToolkitWaits())
                    TakeBackActivationSoon(true);
            });
        }
        // Pinned windows other than its owners leave the top-most layer
        // before the window is mapped, so that it comes up above them.
        const std::vector<QWidget*> owners = OwnersOf(window_);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == window_ || w->windowHandle() == nullptr || !w->isVisible() ||
                !w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) || IsUp(w) ||
                std::find(owners.begin(), owners.end(), w) != owners.end())
                continue;
            KeepOutOfTopLayer(w);
            lowered_.emplace_back(w);
        }
        // Once shown it is raised above them again and made the active
        // window: a window manager that keeps it in its owner's layer may
        // have put it right above its owner, and one that does not give a
        // new window the focus places it below the active window.
        QTimer::singleShot(0, this, [this] {
            if (up_)
                BringWindowToFront(*window_);
        });
    }

    void End()
    {
        if (!up_)
            return;
        up_ = false;
        qApp->removeEventFilter(this);
        restacked_.reset();
        auto& up = UpWindows();
        up.erase(
            std::remove_if(up.begin(), up.end(),
                           [this](const QPointer<QWidget>& w) { return w.isNull() || w.data() == window_; }),
            up.end());
        for (const QPointer<QWidget>& w : lowered_)
            LetBackIntoTopLayer(w);
        lowered_.clear();
        if (kind_ == GuardKind::Modal)
            QTimer::singleShot(0, qApp, [] { ResumeTheActivationOfTheWindowWithTheKeys(); });
    }

    // The window minimised, or a window of a fixed size enlarged; or one of
    // its owners minimised (which hides the window with it).
    bool NeedsPuttingBack(const QWidget* w) const
    {
        if (!w->isWindow())
            return false;
        if (w == window_)
            return w->isMinimized() || (HasFixedSize(w) && w->windowState() != Qt::WindowNoState);
        if (!w->isMinimized())
            return false;
        const std::vector<QWidget*> owners = OwnersOf(window_);
        return std::find(owners.begin(), owners.end(), w) != owners.end();
    }

    static bool HasFixedSize(const QWidget* w) { return w->minimumSize() == w->maximumSize(); }

    // A disabled window of the program becoming the active window while this
    // is the window the program waits for.
    bool TakesTheKeysAway(const QWidget* w) const
    {
        return w != window_ && w->isWindow() && !w->isEnabled() && w->isActiveWindow() &&
               CurrentModalWindow() == window_;
    }

    // While this is the window the program waits for and the toolkit's modal
    // window, a disabled window of the program (the main window under a
    // serial window) stacked above one of the windows this one belongs to. The toolkit keeps that window waiting and
    // hands the activation the window manager gives it straight on to this
    // one, without a word: the stacking is what tells.
    bool OwnersCoveredWhileTheToolkitWaits() const
    {
        if (CurrentModalWindow() != window_ || QApplication::activeModalWidget() != window_)
            return false;
        const std::vector<QWidget*> owners = OwnersOf(window_);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == window_ || !w->isVisible() || w->isEnabled() || w->internalWinId() == 0 ||
                std::find(owners.begin(), owners.end(), w) != owners.end())
                continue;
            const std::vector<QWidget*> itsOwners = OwnersOf(w);
            if (std::find(itsOwners.begin(), itsOwners.end(), window_) != itsOwners.end())
                continue; // one of this window's own
            for (const QWidget* o : owners)
                if (o->isVisible() && StackedAbove(*w, *o))
                    return true;
        }
        return false;
    }

    // A key bound for a disabled window of the program while this is the
    // window the program waits for.
    bool TypedIntoAKeptWindow(const QWidget* w) const
    {
        const QWidget* top = w->window();
        return kind_ == GuardKind::Modal && top != window_ && !top->isEnabled() &&
               CurrentModalWindow() == window_;
    }

    void PassKey(const QKeyEvent& key)
    {
        QWidget* to = window_->focusWidget() != nullptr ? window_->focusWidget() : window_;
        QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.nativeScanCode(), key.nativeVirtualKey(),
                       key.nativeModifiers(), key.text(), key.isAutoRepeat(),
                       static_cast<ushort>(key.count()));
        QCoreApplication::sendEvent(to, &copy);
    }

    void PutBackSoon()
    {
        if (putBackPending_)
            return;
        putBackPending_ = true;
        QTimer::singleShot(0, this, [this] { PutBack(); });
    }

    void PutBack()
    {
        putBackPending_ = false;
        if (!up_)
            return;
        // The owners first, the farthest first, then the window above them.
        const std::vector<QWidget*> owners = OwnersOf(window_);
        for (auto o = owners.rbegin(); o != owners.rend(); ++o)
            if ((*o)->isMinimized())
                (*o)->setWindowState((*o)->windowState() & ~Qt::WindowMinimized);
        Qt::WindowStates state = window_->windowState() & ~Qt::WindowMinimized;
        if (HasFixedSize(window_))
            state = Qt::WindowNoState;
        window_->setWindowState(state);
        window_->show();
        BringWindowToFront(*window_);
    }

    // The window on the screen again after the window manager took it off
    // (a minimise undone by the program or by the window manager itself):
    // it is activated once the window manager reports it there, however long
    // that takes. An activation asked for while the window manager was still
    // taking it off or putting it back can be lost, leaving the keys with a
    // window the window manager chose (even where the program still holds
    // this one as the active window).
    void FollowExposure(bool exposed)
    {
        if (exposed && offScreen_)
            QTimer::singleShot(0, this, [this] {
                if (up_ && window_->isVisible())
                    BringWindowToFront(*window_);
            });
        offScreen_ = !exposed && shownOnce_;
        shownOnce_ = shownOnce_ || exposed;
    }

    // The window manager raised the window it activated: the windows this one
    // belongs to come back above it, the farthest first, and this one above
    // them, active. The toolkit holds its modal window as the active one
    // throughout (evenIfActive): it is raised all the same.
    void TakeBackActivationSoon(bool evenIfActive)
    {
        QTimer::singleShot(0, this, [this, evenIfActive] {
            if (!up_ || !window_->isVisible() || (window_->isActiveWindow() && !evenIfActive))
                return;
            const std::vector<QWidget*> owners = OwnersOf(window_);
            for (auto o = owners.rbegin(); o != owners.rend(); ++o)
                if ((*o)->isVisible())
                    (*o)->raise();
            BringWindowToFront(*window_);
        });
    }

    QWidget* window_;
    GuardKind kind_;
    bool up_ = false;
    bool putBackPending_ = false;
    // Exposed since it was shown, and off the screen since.
    bool shownOnce_ = false;
    bool offScreen_ = false;
    std::vector<QPointer<QWidget>> lowered_;
    std::unique_ptr<StackingWatch> restacked_;
};

void Guard(QWidget& window, GuardKind kind)
{
    static const char* const kGuarded = "qvsModalGuard";
    if (window.property(kGuarded).toBool())
        return;
    window.setProperty(kGuarded, true);
    new ModalGuard(window, kind);
}

} // namespace

void GuardModalWindow(QWidget& window)
{
    Guard(window, GuardKind::Modal);
}

bool WaitsOnAModalWindow()
{
    return CurrentModalWindow() != nullptr || QApplication::activeModalWidget() != nullptr;
}

void ShowInFrontOfPinnedWindows(QWidget& window)
{
    window.setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    Guard(window, GuardKind::InFront);
}

} // namespace platform
