#pragma once
// Windows the rest of the program waits for: the boxes and the modal
// dialogs. Window managers differ in what they do with a dialog's hints (the
// top-most layer, the buttons of its title bar, the windows it belongs to);
// whatever they do, such a window stays where the user can answer it.
#include <QWidget>

namespace platform {

// Guards the window, not yet shown, for every time it is shown, until it is
// hidden again:
// - No window of the program covers it. A pinned (top-most) window that is
//   not one of the windows it belongs to leaves the top-most layer while it
//   is up and goes back afterwards (as its own flags then say): some window
//   managers keep a dialog in the layer of the window it belongs to, below
//   every top-most window.
// - It stays on the screen with the windows it belongs to (its owner, the
//   owner's owner...). When the window manager minimises it or one of them,
//   or enlarges it where it has a fixed size, they are put back at once, it
//   above them and active.
// - It keeps the keys: a window of the program that it or another box keeps
//   disabled and that the window manager activates (a click on it) hands the
//   activation straight back; that window sees neither the activation nor
//   the change.
void GuardModalWindow(QWidget& window);

} // namespace platform
