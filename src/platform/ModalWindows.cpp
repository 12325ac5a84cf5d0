#include "platform/ModalWindows.h"

#include "platform/WindowLayer.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWindow>
#include <algorithm>
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

class ModalGuard : public QObject
{
public:
    explicit ModalGuard(QWidget& window) : QObject(&window), window_(&window)
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
            if (up_ && watched->isWidgetType() && NeedsPuttingBack(static_cast<QWidget*>(watched)))
                PutBackSoon();
            break;
        case QEvent::WindowActivate:
        case QEvent::ActivationChange:
            if (up_ && watched->isWidgetType() && TakesTheKeysAway(static_cast<QWidget*>(watched))) {
                TakeBackActivationSoon();
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
        UpWindows().push_back(window_);
        qApp->installEventFilter(this);
        // Pinned windows other than its owners leave the top-most layer
        // before the window is mapped, so that it comes up above them.
        const std::vector<QWidget*> owners = OwnersOf(window_);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QWindow* handle = w->windowHandle();
            if (w == window_ || handle == nullptr || !w->isVisible() ||
                !handle->flags().testFlag(Qt::WindowStaysOnTopHint) || IsUp(w) ||
                std::find(owners.begin(), owners.end(), w) != owners.end())
                continue;
            handle->setFlags(handle->flags() & ~Qt::WindowStaysOnTopHint);
            // Still above the other windows of its new layer, so that it
            // stays in sight.
            w->raise();
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
        auto& up = UpWindows();
        up.erase(
            std::remove_if(up.begin(), up.end(),
                           [this](const QPointer<QWidget>& w) { return w.isNull() || w.data() == window_; }),
            up.end());
        // Back to the layer their own flags say (a window unpinned meanwhile
        // stays out of it).
        for (const QPointer<QWidget>& w : lowered_)
            if (!w.isNull() && w->windowHandle() != nullptr)
                w->windowHandle()->setFlags(w->windowFlags());
        lowered_.clear();
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

    void TakeBackActivationSoon()
    {
        QTimer::singleShot(0, this, [this] {
            if (up_ && window_->isVisible() && !window_->isActiveWindow())
                BringWindowToFront(*window_);
        });
    }

    QWidget* window_;
    bool up_ = false;
    bool putBackPending_ = false;
    std::vector<QPointer<QWidget>> lowered_;
};

} // namespace

void GuardModalWindow(QWidget& window)
{
    static const char* const kGuarded = "qvsModalGuard";
    if (window.property(kGuarded).toBool())
        return;
    window.setProperty(kGuarded, true);
    new ModalGuard(window);
}

} // namespace platform
