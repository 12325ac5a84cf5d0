#include "platform/ProgramMessage.h"

#include "platform/PlainMessageBox.h"
#include "platform/WindowLayer.h"
#include "platform/Yield.h"

#include <QMessageBox>

namespace platform {
namespace {

ProgramMessageHandler g_program;
ProgramMessageHandler g_plain;

int32_t StandardBox(QWidget* owner, const std::string& text, int32_t style, const std::string& title)
{
    QMessageBox box(owner);
    ShowAbovePinnedWindows(box);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    box.setIcon(MessageIcon(style));
    switch (style & 0x0F) {
    case 1:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case 3:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case 4:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    const ModalLoop modal;
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return 2;
    case QMessageBox::Yes:
        return 6;
    case QMessageBox::No:
        return 7;
    default:
        return 1;
    }
}

} // namespace

void SetProgramMessageHandler(ProgramMessageHandler handler)
{
    g_program = std::move(handler);
}

void SetPlainMessageHandler(ProgramMessageHandler handler)
{
    g_plain = std::move(handler);
}

int32_t ShowProgramMessage(QWidget* owner, const std::string& text, int32_t style, const std::string& title)
{
    return g_program ? g_program(owner, text, style, title) : StandardBox(owner, text, style, title);
}

int32_t ShowPlainMessage(QWidget* owner, const std::string& text, int32_t style, const std::string& title)
{
    if (g_plain)
        return g_plain(owner, text, style, title);
    return PlainMessageBox(owner, QString::fromStdString(text), style, QString::fromStdString(title));
}

} // namespace platform
