#include "platform/WindowLimits.h"

#include "platform/Units.h"

namespace platform {

WindowLimits MakeWindowLimits(long minWidthTwips, long minHeightTwips)
{
    WindowLimits l;
    l.MaxTrackWidth = kMaxTrackWidth;
    l.MaxTrackHeight = kMaxTrackHeight;
    l.MinTrackWidth = TwipsToPixels(minWidthTwips);
    l.MinTrackHeight = TwipsToPixels(minHeightTwips);
    return l;
}

void MinMaxWindowProc(QWidget& window, const WindowLimits& limits)
{
    window.setMinimumSize(limits.MinTrackWidth, limits.MinTrackHeight);
    window.setMaximumSize(limits.MaxTrackWidth, limits.MaxTrackHeight);
}

void RestoreWindowProc(QWidget& window)
{
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

} // namespace platform
