#pragma once
// Answers the platform's plain message boxes that a window opens modally:
// each box is read and closed with the given button from a timer.
#include "support/ModalWatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class ModalAnswer
{
public:
    explicit ModalAnswer(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            texts.append(box->text());
            titles.append(box->windowTitle());
            if (whileShown)
                whileShown();
            // A box without the button fails the test and is closed at once.
            if (QAbstractButton* wanted = box->button(button)) {
                wanted->click();
            } else {
                ADD_FAILURE() << "no such button on \"" << box->text().toStdString() << '"';
                box->done(0);
            }
        });
        timer_.start();
        modalwatch::AnswersWhile(&timer_, [](const QWidget* w) { return qobject_cast<const QMessageBox*>(w) != nullptr; });
    }
    QStringList texts;
    QStringList titles;
    std::function<void()> whileShown; // runs before each box is answered

private:
    QTimer timer_;
};
