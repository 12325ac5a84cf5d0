#pragma once
// Where a window opens on the screen.
#include "platform/WindowLimits.h"

#include <QScreen>
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

// Moves a window's top-left corner (twips) so that a window of the given size
// (twips) keeps its right and bottom edges on the screen's desktop: one that
// runs past an edge is put 300 twips inside it. Without a screen nothing moves.
void KeepOnScreen(const QScreen* screen, long& left, long& top, long width, long height);

// A window's stored rectangle (twips, frame included) changed to the one it
// opens at: fitted (FitOnScreen, WindowFit.h) to the screen under its stored
// corner, or to the primary screen when none is there.
void FitToScreen(long& left, long& top, long& width, long& height, long minimum);

// Opens a window on its stored rectangle (twips) with its size limits
// installed, kept on screen at the size the limits give it, so that a
// window that grows to its minimum size does not run past the screen's edge.
void OpenOnStoredRectangle(QWidget& window, long left, long top, long width, long height,
                           const WindowLimits& limits);

// Stores the window's place and size (twips) in the four values when it is
// in its normal state; a minimised or maximised window leaves them as they are.
void StoreNormalRectangle(const QWidget& window, int32_t& top, int32_t& left, int32_t& width, int32_t& height);

} // namespace platform
