#pragma once
// Where a window opens on the screen.
#include <QWidget>

namespace platform {

// Moves the window so that its middle is on the middle of the other one's
// frame; the window's own size is taken as it is now.
void CentreOver(QWidget& window, const QWidget& over);

} // namespace platform
