#pragma once
// The smallest and largest size the user can drag a resizable window to.
// Each resizable window fills one record when it loads and installs it;
// Qt passes the limits to the window manager as size hints.
#include <QWidget>

namespace platform {

// Pixels. The maxima are the same fixed counts for every window.
struct WindowLimits
{
    int MaxTrackWidth = 0;
    int MaxTrackHeight = 0;
    int MinTrackWidth = 0;
    int MinTrackHeight = 0;
};

constexpr int kMaxTrackWidth = 1800;
constexpr int kMaxTrackHeight = 10000;

// A record with the common maxima and minima given in twips.
WindowLimits MakeWindowLimits(long minWidthTwips, long minHeightTwips);

// Installs the limits on the window (its load).
void MinMaxWindowProc(QWidget& window, const WindowLimits& limits);
// Takes them off again (its unload).
void RestoreWindowProc(QWidget& window);

} // namespace platform
