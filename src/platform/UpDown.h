#pragma once
// The up-down control: two arrow keys that step a whole number between a
// minimum and a maximum, beside the text box it serves. Setting the value
// keeps it within the range; every change of the value is signalled, as is a
// change of the range that moves it.
#include <QWidget>

class QToolButton;

class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    int Value() const { return value_; }
    void SetValue(int value);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int value);
    void SetMax(int value);

    QToolButton* UpKey() const { return up_; }
    QToolButton* DownKey() const { return down_; }

signals:
    void Change();

private:
    QToolButton* up_;
    QToolButton* down_;
    int value_ = 0, min_ = 0, max_ = 10;
};
