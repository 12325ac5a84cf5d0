#pragma once
// The program's icons, drawn for it at run time and looked up by the
// resource names the windows use: "AA_ICON" (the program), "STOP3D_ICON",
// "HELP5_ICON", "EXCLAMATION3D_ICON", "INFO2_ICON" (message box icons),
// "LOCKED" and "UNLOCKED" (the status-bar lock), "MONITOR_ICON" (the port
// settings window), "PUSHPIN" and "PUSHEDPIN" (an editor's pin, up and down),
// "DOWN_ARROW2" and "UP_ARROW2" (a grid heading sorted ascending, descending).
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace platform {

// The icon's picture at its own size (32 x 32 pixels; 16 x 16 for the two
// lock pictures). An unknown name gives a null pixmap.
QPixmap IconPixmap(const QString& name);
// The same picture as an icon (window icons), with a 16-pixel version added.
QIcon LoadIconResource(const QString& name);

} // namespace platform
