#include "platform/PlainMessageBox.h"

#include "platform/WindowLayer.h"
#include "platform/Yield.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Pixels of a title bar besides its text: the icon, the buttons, the margins.
constexpr int kTitleBarAllowance = 140;

} // namespace

QMessageBox::Icon MessageIcon(int32_t style)
{
    switch (style & 0xF0) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int32_t PlainMessageBox(QWidget* owner, const QString& text, int32_t style, const QString& title)
{
    using B = QMessageBox::StandardButton;
    std::vector<std::pair<B, int32_t>> set;
    switch (style & 0x0F) {
    case 1:
        set = {{B::Ok, 1}, {B::Cancel, 2}};
        break;
    case 2:
        set = {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}};
        break;
    case 3:
        set = {{B::Yes, 6}, {B::No, 7}, {B::Cancel, 2}};
        break;
    case 4:
        set = {{B::Yes, 6}, {B::No, 7}};
        break;
    case 5:
        set = {{B::Retry, 4}, {B::Cancel, 2}};
        break;
    default:
        set = {{B::Ok, 1}};
        break;
    }
    QMessageBox box(MessageIcon(style), title, text, QMessageBox::NoButton, owner);
    box.setObjectName("PlainMessageBox");
    ShowAbovePinnedWindows(box);
    box.setTextFormat(Qt::PlainText);
    QString plain = text;
    box.setText(plain.replace("\r\n", "\n"));
    for (const auto& [button, code] : set)
        box.addButton(button);
    box.setDefaultButton(set.front().first);
    // The frame's close (and Escape) answers the most cautious button.
    for (B escape : {B::Cancel, B::No, B::Abort, B::Ok})
        if (box.button(escape) != nullptr) {
            box.setEscapeButton(escape);
            break;
        }
    // The box is at least as wide as its title with the title bar's icon and
    // buttons, so that a short text does not cut the title.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title) +
                               kTitleBarAllowance;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    {
        const ModalLoop modal;
        box.exec();
    }
    const auto* clicked = box.clickedButton();
    for (const auto& [button, code] : set)
        if (clicked == box.button(button))
            return code;
    return set.size() == 1 ? 1 : 2;
}

} // namespace platform
