#include "platform/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto* keys = new QVBoxLayout(this);
    keys->setContentsMargins(0, 0, 0, 0);
    keys->setSpacing(0);
    for (QToolButton* key : {up_, down_}) {
        key->setArrowType(key == up_ ? Qt::UpArrow : Qt::DownArrow);
        key->setAutoRepeat(true);
        key->setFixedSize(17, 11);
        keys->addWidget(key);
    }
    connect(up_, &QToolButton::clicked, this, [this] { SetValue(value_ + 1); });
    connect(down_, &QToolButton::clicked, this, [this] { SetValue(value_ - 1); });
}

void UpDown::SetValue(int value)
{
    value = std::clamp(value, min_, std::max(min_, max_));
    if (value == value_)
        return;
    value_ = value;
    emit Change();
}

void UpDown::SetMin(int value)
{
    min_ = value;
    SetValue(value_);
}

void UpDown::SetMax(int value)
{
    max_ = value;
    SetValue(value_);
}
