#pragma once
// Window stacking: the top-most layer, showing and raising without taking
// the focus, restoring a minimised window and bringing it to the front.
#include <QWidget>

namespace platform {

// Puts the window into the top-most layer or takes it out again. A shown
// window stays shown and keeps its activation.
void SetTopMost(QWidget& window, bool on);
bool IsTopMost(const QWidget& window);

// A modal dialog, not yet shown, comes up in the top-most layer as the boxes
// do, guarded as they are (GuardModalWindow): a pinned window, top-most
// itself, would otherwise cover it and take the clicks meant for it.
void ShowAbovePinnedWindows(QWidget& dialog);

// Shows the window without making it the active window.
void ShowWithoutActivating(QWidget& window);

// Brings the window to the top of its layer without activating it; place
// and size do not change.
void RaiseWithoutActivating(QWidget& window);

// A minimised window is restored; then it is brought to the front and
// activated. A hidden window is left hidden.
void RestoreWindow(QWidget& window);
void BringWindowToFront(QWidget& window);

} // namespace platform
