#pragma once
// Drives the program's modal boxes from a test: the action runs inside the
// box's wait, once the box is up.
#include "app/BoxDialog.h"
#include "app/frmMsg.h"
#include "app/frmParameter.h"
#include "platform/LoadedForms.h"
#include "platform/Yield.h"
#include "support/ModalWatch.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Presses the box's shown button of that caption ("&" ignored; "A|B": the
// first the box has). A box without it fails the test and is closed at once.
inline void PressButton(BoxDialog* box, const QString& caption)
{
    for (const QString& wanted : QString(caption).remove('&').split('|'))
        for (QPushButton* button : box->cmdButton)
            if (button != nullptr && button->isVisible() && QString(button->text()).remove('&') == wanted) {
                button->click();
                return;
            }
    ADD_FAILURE() << box->objectName().toStdString() << " has no button " << caption.toStdString();
    box->close();
}

// Runs action(box) once the loaded window `name` is visible, from a timer
// inside whatever wait the box's caller is in.
template <typename Box> void WhenShown(const QString& name, std::function<void(Box*)> action)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [timer, name, action] {
        auto* box = qobject_cast<Box*>(platform::FindForm(name));
        if (box == nullptr || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        QPointer<Box> held(box);
        action(box);
        // A box left waiting would hold the test: it fails and is closed.
        auto* dialog = qobject_cast<BoxDialog*>(held.data());
        if (dialog != nullptr && dialog->isVisible() && dialog->ResultCode == 0) {
            ADD_FAILURE() << name.toStdString() << " was left waiting";
            dialog->close();
        }
    });
    timer->start();
    modalwatch::AnswersWhile(timer, [name](const QWidget* w) { return w->objectName() == name; });
}

// Plain loaded windows a test puts around a box.
struct TestWindows
{
    QWidget* Add(const QString& name, const QString& caption, bool enabled = true)
    {
        auto w = std::make_unique<QWidget>();
        w->setObjectName(name);
        w->setWindowTitle(caption);
        w->setEnabled(enabled);
        platform::LoadForm(w.get());
        owned.push_back(std::move(w));
        return owned.back().get();
    }
    std::vector<std::unique_ptr<QWidget>> owned;
};

// The message or input box now waiting that is not in handled yet (then added).
// Every loaded box counts: one that comes up while an answered box is still
// loaded (going back to its owner) is found as well, so that a box the test
// does not expect fails it rather than waiting for ever.
inline BoxDialog* NextWaitingBox(QList<QPointer<BoxDialog>>& handled)
{
    for (const char* name : {"frmMsg", "frmParameter"})
        for (QWidget* form : platform::LoadedForms()) {
            auto* box = qobject_cast<BoxDialog*>(form);
            if (box == nullptr || form->objectName() != QLatin1String(name) || !box->isVisible() || box->ResultCode != 0 ||
                handled.contains(box))
                continue;
            handled << box;
            return box;
        }
    return nullptr;
}

// Answers the program's boxes in order from a timer with each step's button
// (an input box first gets the step's list entry or typed text). seen keeps a
// message box's text or an input box's title; boxes beyond the steps get
// their default button.
class BoxAnswers
{
public:
    struct Step
    {
        Step(const QString& b = "OK", int e = -1, const QString& t = {}) : button(b), entry(e), typed(t) {}
        QString button;
        int entry;
        QString typed;
    };
    BoxAnswers(std::initializer_list<Step> steps = {}) : steps_(steps)
    {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start();
        modalwatch::AnswersWhile(&timer_, modalwatch::IsProgramBox);
    }
    void Then(Step step) { steps_.push_back(step); }
    bool Done() const { return steps_.empty(); }
    QStringList seen, titles;

private:
    void Tick()
    {
        BoxDialog* box = NextWaitingBox(handled_);
        if (box == nullptr)
            return;
        titles << box->windowTitle();
        if (auto* msg = qobject_cast<frmMsg*>(box))
            seen << msg->Label1->text();
        else
            seen << box->windowTitle();
        if (steps_.empty()) {
            box->DefaultButton()->click();
            return;
        }
        const Step step = steps_.front();
        steps_.pop_front();
        if (auto* input = qobject_cast<frmParameter*>(box)) {
            if (step.entry >= 0)
                input->Combo1->setCurrentIndex(step.entry);
            if (!step.typed.isEmpty())
                input->txtEntry->setText(step.typed);
        }
        PressButton(box, step.button);
    }
    std::deque<Step> steps_;
    QList<QPointer<BoxDialog>> handled_;
    QTimer timer_;
};
