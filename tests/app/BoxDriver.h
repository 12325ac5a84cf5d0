#pragma once
// Drives the program's modal boxes from a test: the action runs inside the
// box's wait, once the box is up.
#include "platform/LoadedForms.h"
#include "platform/Yield.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

// Runs action(box) once a loaded window named `name` is visible. Polls from
// a timer so that it runs inside whatever wait the box's caller is in.
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
        action(box);
    });
    timer->start();
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
