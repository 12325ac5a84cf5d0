#include "platform/WindowPlacement.h"

#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/base/WindowFit.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

namespace platform {

QRect FrameRect(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    if (!window.isWindow() || handle == nullptr)
        return window.frameGeometry();
    return window.geometry().marginsAdded(handle->frameMargins());
}

void CentreOver(QWidget& window, const QWidget& over)
{
    window.move(FrameRect(over).center() - QPoint(window.width() / 2, window.height() / 2));
}

void CentreOverTwips(QWidget& window, long left, long top, long width, long height)
{
    const double x = left + width / 2.0 - PixelsToTwips(window.width()) / 2.0;
    const double y = top + height / 2.0 - PixelsToTwips(window.height()) / 2.0;
    window.move(PixelsFromTwips(x), PixelsFromTwips(y));
}

void KeepOnScreen(const QScreen* screen, long& left, long& top, long width, long height)
{
    if (screen == nullptr)
        return;
    const QRect desk = screen->virtualGeometry();
    const long maxWidth = PixelsToTwips(desk.width());
    const long maxHeight = PixelsToTwips(desk.height());
    if (left + width > maxWidth)
        left = maxWidth - width - 300;
    if (top + height > maxHeight)
        top = maxHeight - height - 300;
}

void FitToScreen(long& left, long& top, long& width, long& height, long minimum)
{
    const QScreen* screen = QGuiApplication::screenAt(QPoint(TwipsToPixels(left), TwipsToPixels(top)));
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desk = screen->virtualGeometry();
    const QRect free = screen->availableGeometry();
    FitOnScreen(left, width, minimum, PixelsToTwips(desk.width()), PixelsToTwips(free.left()),
                PixelsToTwips(free.width()));
    FitOnScreen(top, height, minimum, PixelsToTwips(desk.height()), PixelsToTwips(free.top()),
                PixelsToTwips(free.height()));
}

void OpenOnStoredRectangle(QWidget& window, long left, long top, long width, long height, const WindowLimits& limits)
{
    MinMaxWindowProc(window, limits);
    const long shownWidth = std::max(width, PixelsToTwips(limits.MinTrackWidth));
    const long shownHeight = std::max(height, PixelsToTwips(limits.MinTrackHeight));
    KeepOnScreen(QGuiApplication::primaryScreen(), left, top, shownWidth, shownHeight);
    window.move(TwipsToPixels(left), TwipsToPixels(top));
    window.resize(TwipsToPixels(width), TwipsToPixels(height));
}

void StoreNormalRectangle(const QWidget& window, int32_t& top, int32_t& left, int32_t& width, int32_t& height)
{
    if (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    top = static_cast<int32_t>(PixelsToTwips(window.y()));
    left = static_cast<int32_t>(PixelsToTwips(window.x()));
    width = static_cast<int32_t>(PixelsToTwips(window.width()));
    height = static_cast<int32_t>(PixelsToTwips(window.height()));
}

} // namespace platform
