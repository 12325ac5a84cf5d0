#pragma once
// The program's list of loaded windows, in the order they were loaded. A
// window is loaded when it registers itself and stays in the list until it
// is unloaded or destroyed. Modal boxes walk the list to disable every other
// window while they wait and to put each window's enabled state back.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

namespace platform {

// Adds a window to the end of the list; a window already listed keeps its place.
void LoadForm(QWidget* form);
// Takes a window out of the list, hides it and deletes it once control is
// back in the event loop and every nested loop has returned (safe from inside
// the window's own handlers, also while one of them waits for a box). A
// loaded window closed with WA_DeleteOnClose is held the same way.
void UnloadForm(QWidget* form);
// The same, deleting the window at once: for callers that know none of the
// window's own handlers is running.
void UnloadFormNow(QWidget* form);
// The loaded windows still alive, in load order.
std::vector<QWidget*> LoadedForms();
// True when a loaded window's object name equals name (case-sensitive).
bool IsFormLoaded(const QString& name);
// The first loaded window of that object name, or nullptr.
QWidget* FindForm(const QString& name);

class FormStateHold;

// The enabled states DisableOtherForms recorded, held until they are put
// back. While they are held, a window it disabled that is enabled again (a
// serial window that goes gives the main window back) stays disabled, and
// is put back enabled.
struct SavedFormStates
{
    std::shared_ptr<FormStateHold> hold;
};

// Records every loaded window's enabled state, then disables every window
// but `except` and, when exemptCaption is not empty, the windows captioned
// exactly exemptCaption.
SavedFormStates DisableOtherForms(const QWidget* except, const QString& exemptCaption = {});
// Puts back each recorded window's state; windows closed meanwhile are
// skipped, windows loaded meanwhile are left as they are.
void RestoreFormStates(const SavedFormStates& saved);

// Forgets every window (tests).
void ResetLoadedForms();

} // namespace platform
