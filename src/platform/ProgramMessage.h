#pragma once
// The two message boxes the serial windows show: the program's own box
// (frmMsg.Display: owner, text, style, title, returning the button code) and
// the platform's plain box. Each goes through a replaceable handler: the
// application installs its own box (frmMsg) at start-up and tests install
// recorders. Without a handler the program's box is a standard Qt box and
// the plain box is PlainMessageBox.
#include <cstdint>
#include <functional>
#include <string>

class QWidget;

namespace platform {

using ProgramMessageHandler =
    std::function<int32_t(QWidget* owner, const std::string& text, int32_t style, const std::string& title)>;

void SetProgramMessageHandler(ProgramMessageHandler handler);
void SetPlainMessageHandler(ProgramMessageHandler handler);

// Style = icon (16 stop, 32 question, 48 exclamation, 64 information) +
// buttons (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No). Returns 1 OK,
// 2 Cancel, 6 Yes, 7 No.
int32_t ShowProgramMessage(QWidget* owner, const std::string& text, int32_t style, const std::string& title);
int32_t ShowPlainMessage(QWidget* owner, const std::string& text, int32_t style, const std::string& title);

} // namespace platform
