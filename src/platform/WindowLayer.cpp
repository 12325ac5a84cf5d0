#include "platform/WindowLayer.h"

#include "platform/ModalWindows.h"

#include <QWindow>

namespace platform {

void SetTopMost(QWidget& window, bool on)
{
    if (IsTopMost(window) == on)
        return;
    const Qt::WindowFlags flags = window.windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        window.setWindowFlags(flags);
        return;
    }
    // The window system's window is kept and told of the layer (on X11 the
    // window manager's "above" state): setting the widget's flags would
    // create it anew, hiding and showing it, and the activation would move
    // to another window.
    window.overrideWindowFlags(flags);
    handle->setFlags(flags);
}

bool IsTopMost(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void ShowAbovePinnedWindows(QWidget& dialog)
{
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    GuardModalWindow(dialog);
}

void ShowWithoutActivating(QWidget& window)
{
    const bool before = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, before);
}

void RaiseWithoutActivating(QWidget& window)
{
    window.raise();
}

void RestoreWindow(QWidget& window)
{
    if (!window.isVisible())
        return;
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    BringWindowToFront(window);
}

void BringWindowToFront(QWidget& window)
{
    if (!window.isVisible())
        return;
    window.raise();
    window.activateWindow();
}

} // namespace platform
