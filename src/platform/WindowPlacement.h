#pragma once
// Where a window opens on the screen.
#include <QWidget>
#include <cstdint>

namespace platform {

// The window's rectangle with the window manager's frame, in the screen's
// coordinates, as the window system tells it now. A top-level widget's own
// frame geometry keeps the frame the window system told when the widget last
// moved or resized: told while the window manager was still building the
// frame, it is none at all, or a frame of 1x1 pixel that makes the outer
// size smaller than the window itself, and it stays so until the next move.
QRect FrameRect(const QWidget& window);

// Moves the window so that its middle is on the middle of the other one's
// frame; the window's own size is taken as it is now.
void CentreOver(QWidget& window, const QWidget& over);

// The same over a rectangle given in twips (a stored window place); the
// corner is rounded to the nearest pixel.
void CentreOverTwips(QWidget& window, long left, long top, long width, long height);

// A window's stored rectangle (twips, frame included) changed to the one it
// opens at: fitted (FitOnScreen, WindowFit.h) to the screen under its stored
// corner, or to the primary screen when none is there.
void FitToScreen(long& left, long& top, long& width, long& height, long minWidth, long minHeight);

// Where a window's rectangle is kept in settings.ini (twips): the place of the
// frame's top-left corner and the outer size, frame included. A window of a
// fixed size keeps only its place, one that opens over another window only
// its size; the other pair is left null.
struct StoredRectangle
{
    int32_t* top = nullptr;
    int32_t* left = nullptr;
    int32_t* width = nullptr;
    int32_t* height = nullptr;
};

// Opens a window on its stored rectangle fitted to the screen (FitToScreen),
// never below the window's minimum size, so it opens with its title bar on a
// screen and no larger than the free area. Without a stored place the window
// is centred over `over`; without a stored size it keeps its own. Once the
// window system tells the window's frame, the window is given its outer size
// (ResizeOuter) and the frame is fitted again, so the frame lies on the free
// area as the fit placed it.
void OpenOnStoredRectangle(QWidget& window, const StoredRectangle& stored, const QWidget* over = nullptr);

// Gives the window an outer size (twips, frame included). Before the window
// system tells the frame, the window takes that size and is given it again
// less the frame once the frame is known.
void ResizeOuter(QWidget& window, long width, long height);

// Stores the window's frame rectangle (twips) as it is shown, in the values
// the window keeps, when it is in its normal state; a minimised or maximised
// window leaves them as they are.
void StoreNormalRectangle(const QWidget& window, const StoredRectangle& stored);

} // namespace platform
