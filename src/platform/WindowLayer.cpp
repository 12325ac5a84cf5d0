#include "platform/WindowLayer.h"

namespace platform {

void SetTopMost(QWidget& window, bool on)
{
    if (IsTopMost(window) == on)
        return;
    const bool shown = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        ShowWithoutActivating(window);
}

bool IsTopMost(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
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
