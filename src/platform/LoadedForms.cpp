#include "platform/LoadedForms.h"

#include "platform/Yield.h"

#include <QEvent>
#include <algorithm>

namespace platform {
namespace {

std::vector<QPointer<QWidget>> g_forms;

// A window's deferred deletion (its unload or its close) reaches it inside
// the nested loop of a wait that one of its own handlers may have started
// (a box it shows); the deletion is held until every nested loop has
// returned, so that no handler runs on a deleted window.
class DeletionHolder : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::DeferredDelete || !InNestedLoop())
            return false;
        DeleteAfterNestedLoops(watched);
        return true;
    }
};

DeletionHolder& Holder()
{
    static DeletionHolder* holder = new DeletionHolder;
    return *holder;
}

void Prune()
{
    g_forms.erase(
        std::remove_if(g_forms.begin(), g_forms.end(), [](const QPointer<QWidget>& f) { return f.isNull(); }),
        g_forms.end());
}

} // namespace

void LoadForm(QWidget* form)
{
    if (form == nullptr)
        return;
    Prune();
    if (std::find(g_forms.begin(), g_forms.end(), form) == g_forms.end()) {
        g_forms.emplace_back(form);
        form->installEventFilter(&Holder());
    }
}

void UnloadForm(QWidget* form)
{
    if (form == nullptr)
        return;
    g_forms.erase(std::remove(g_forms.begin(), g_forms.end(), form), g_forms.end());
    Prune();
    form->hide();
    form->deleteLater();
}

void UnloadFormNow(QWidget* form)
{
    if (form == nullptr)
        return;
    g_forms.erase(std::remove(g_forms.begin(), g_forms.end(), form), g_forms.end());
    Prune();
    delete form;
}

std::vector<QWidget*> LoadedForms()
{
    Prune();
    std::vector<QWidget*> out;
    out.reserve(g_forms.size());
    for (const auto& f : g_forms)
        out.push_back(f.data());
    return out;
}

bool IsFormLoaded(const QString& name)
{
    return FindForm(name) != nullptr;
}

QWidget* FindForm(const QString& name)
{
    for (QWidget* f : LoadedForms())
        if (f->objectName() == name)
            return f;
    return nullptr;
}

// Each window disabled for the hold with the state it is to be put back to.
class FormStateHold : public QObject
{
public:
    struct Saved
    {
        QPointer<QWidget> form;
        bool enabled = true;
    };
    std::vector<Saved> saved;
    bool held = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* form = static_cast<QWidget*>(watched);
        if (!held || event->type() != QEvent::EnabledChange || !form->isEnabled())
            return false;
        for (Saved& s : saved)
            if (s.form == form) {
                s.enabled = true;
                s.form->setEnabled(false);
            }
        return false;
    }
};

SavedFormStates DisableOtherForms(const QWidget* except, const QString& exemptCaption)
{
    auto hold = std::make_shared<FormStateHold>();
    for (QWidget* f : LoadedForms()) {
        hold->saved.push_back({f, f->isEnabled()});
        if (f == except)
            continue;
        if (!exemptCaption.isEmpty() && f->windowTitle() == exemptCaption)
            continue;
        f->setEnabled(false);
        f->installEventFilter(hold.get());
    }
    return {hold};
}

void RestoreFormStates(const SavedFormStates& saved)
{
    if (!saved.hold)
        return;
    saved.hold->held = false;
    for (const auto& s : saved.hold->saved)
        if (!s.form.isNull()) {
            s.form->removeEventFilter(saved.hold.get());
            s.form->setEnabled(s.enabled);
        }
}

void ResetLoadedForms()
{
    g_forms.clear();
}

} // namespace platform
