#pragma once
// Answers the platform's plain message boxes that a window opens modally:
// each box is read and closed with the given button from a timer.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class ModalAnswer
{
public:
    explicit ModalAnswer(QMessageBox::StandardButton button = QMessageBox::Ok) : button_(button)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            texts.append(box->text());
            titles.append(box->windowTitle());
            box->button(button_)->click();
        });
        timer_.start();
    }
    QStringList texts;
    QStringList titles;

private:
    QMessageBox::StandardButton button_;
    QTimer timer_;
};
