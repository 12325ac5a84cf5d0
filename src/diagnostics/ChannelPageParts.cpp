#include "diagnostics/ChannelPageParts.h"

#include "diagnostics/core/IChannelLink.h"
#include "hublink/core/LinkState.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>

void ShowStatus(QLabel* label, const QString& text, const QColor& back)
{
    label->setText(text);
    label->setStyleSheet(QString("background-color: %1; border: 1px solid gray;").arg(back.name()));
}

QLineEdit* NumberBox(const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), box));
    box->setFixedWidth(40);
    box->setAlignment(Qt::AlignRight);
    return box;
}

bool RefuseKey(QEvent* event, const QLineEdit* box, bool (*accept)(const std::string&, char))
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace)
        return false;
    // Moving the caret, selecting and the edit commands are not typed keys.
    if (key->text().size() != 1 || key->text()[0].unicode() < 0x20)
        return false;
    const char16_t c = key->text()[0].unicode();
    return !accept(box->text().toStdString(), c < 0x80 ? static_cast<char>(c) : '?');
}

QWidget* SoftKeyRow(QPushButton* soft1, QPushButton* soft2, QLabel* progress, QProgressBar* bar, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* keys = new QHBoxLayout(row);
    keys->setContentsMargins(0, 0, 0, 0);
    auto* place = new QGridLayout;
    place->addWidget(soft1, 0, 0, Qt::AlignCenter);
    place->addWidget(progress, 0, 0, Qt::AlignCenter);
    keys->addLayout(place);
    keys->addWidget(soft2);
    if (bar != nullptr)
        keys->addWidget(bar, 1);
    else
        keys->addStretch(1);
    for (QPushButton* key : {soft1, soft2})
        key->setMinimumWidth(90);
    progress->hide();
    soft2->hide();
    return row;
}

void ShowRunEnd(QLabel* status, hublink::StateCode state, hublink::StateCode done,
                const diagnostics::IChannelLink& link)
{
    if (state == done)
        ShowStatus(status, " Idle ", kStatusIdle);
    else if (state == hublink::CommsStateCode::UnknownCommand)
        ShowStatus(status, "Unknown Command", kStatusFailed);
    else
        ShowStatus(status, QString::fromStdString(link.FailureText()), kStatusFailed);
}
