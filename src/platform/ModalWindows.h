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
//   above them and active. Whoever puts it back, it asks for the activation
//   again once the window manager has it on the screen, however long that
//   takes.
// - It keeps the keys: a window of the program that it or another box keeps
//   disabled and that the window manager activates (a click on it) hands the
//   activation straight back; that window sees neither the activation nor
//   the change, and the windows this one belongs to come back above it.
//   Keys the window manager gives such a window meanwhile (it may move the
//   activation there late, after a put-back) are typed into this one.
void GuardModalWindow(QWidget& window);

// True while the program waits on a window guarded so (a box) or on the
// toolkit's modal window, which keep every other window of it waiting.
bool WaitsOnAModalWindow();

// A window, not yet shown, that the program keeps in front while it is up
// without waiting for it (a serial window, which disables the main window).
// It comes up as a dialog of the program, which window managers keep above
// the program's ordinary windows: a window manager that keeps the
// program's tool windows above its ordinary windows does not keep them
// above a dialog. Pinned windows leave the top-most layer while it is up,
// as for the windows above, and once shown it raises and activates itself.
// It keeps the buttons of an ordinary window, and the windows it leaves
// enabled keep their activation.
void ShowInFrontOfPinnedWindows(QWidget& window);

} // namespace platform
