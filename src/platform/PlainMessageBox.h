#pragma once
// The platform's plain message box, for the few reports that do not use the
// program's own box: no icon unless asked for, modal, top of the program.
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace platform {

// style: icon (0 none, 16 stop, 32 question, 48 exclamation, 64
// information) + buttons (0 OK, 1 OK and Cancel, 2 Abort, Retry and Ignore,
// 3 Yes, No and Cancel, 4 Yes and No, 5 Retry and Cancel). Returns the chosen button: 1 OK,
// 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No. Closing the box by its
// frame answers Cancel, or No, or OK where those are the only way out.
int32_t PlainMessageBox(QWidget* owner, const QString& text, int32_t style, const QString& title);

// The box icon of a style's icon part (none for 0 and unknown values).
QMessageBox::Icon MessageIcon(int32_t style);

} // namespace platform
