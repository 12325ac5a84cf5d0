#pragma once
// The window system's keyboard focus, where the toolkit's own account of the
// active window can fall behind it (X11; elsewhere these do nothing).
#include <QWidget>

namespace platform {

// The program's shown top-level window that the window system gives the
// keys to, or nullptr (another program's window, none, or not on X11).
QWidget* WindowWithTheKeys();

// Takes the keys off the window and gives them back at once, so that the
// toolkit hears the window get them and makes it the active window.
void GiveTheKeysAgain(const QWidget& window);

} // namespace platform
