#include "views/ViewWindowPlace.h"

#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <algorithm>

namespace views {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

void OpenOnStoredRectangle(QWidget& window, const StoredRectangle& stored, long minWidth, long minHeight)
{
    long left = stored.left;
    long top = stored.top;
    platform::KeepOnScreen(QGuiApplication::primaryScreen(), left, top, stored.width, stored.height);
    window.move(TwipsToPixels(left), TwipsToPixels(top));
    window.resize(TwipsToPixels(stored.width), TwipsToPixels(stored.height));
    platform::MinMaxWindowProc(window, platform::MakeWindowLimits(minWidth, minHeight));
}

void PlaceInTwips(QWidget* control, long left, long top, long width, long height)
{
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         std::max(TwipsToPixels(height), control->sizeHint().height()));
}

void StoreRectangleOnClose(QWidget& window, const StoredRectangle& stored)
{
    if (!(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        stored.top = static_cast<int32_t>(PixelsToTwips(window.y()));
        stored.left = static_cast<int32_t>(PixelsToTwips(window.x()));
        stored.width = static_cast<int32_t>(PixelsToTwips(window.width()));
        stored.height = static_cast<int32_t>(PixelsToTwips(window.height()));
    }
    platform::RestoreWindowProc(window);
}

} // namespace views
