#pragma once
// Waiting by yielding: the program has one UI thread, and every wait (for a
// serial reply, for a button of the program's own boxes) keeps the event
// loop running in a nested QEventLoop until its condition holds.
#include <QObject>
#include <functional>

namespace platform {

// Handles the events waiting now and returns. Handlers it runs may call it
// again, up to a fixed depth; deeper calls return at once, so handlers that
// keep yielding cannot recurse without end. A loop that yields until
// something happens uses WaitUntil, which nests without limit.
void DoEvents();
constexpr int kMaxDoEventsDepth = 8;

// Runs a nested event loop until done() is true (returns true), the time-out
// passes (false) or guard, when given, is destroyed (false). timeoutMs < 0
// waits without limit; a time-out is shortened by the test setting below.
// done() is tested before the first event and after every wake-up; it must
// not touch guard once guard may be gone.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = -1, const QObject* guard = nullptr);

// Runs a nested event loop until done() is true. done() is tested when the
// wait starts and each time WakeWaits() is called, never on a timer, so the
// wait ends in the same pass of the event loop as the handler that made it
// true. Waits nest; each ends when its own condition holds.
void WaitUntilWoken(const std::function<bool()>& done);
// Tests the condition of every running WaitUntilWoken again.
void WakeWaits();

// How many WaitUntil and WaitUntilWoken loops are running (0 outside any wait).
int WaitDepth();

// Marks a nested event loop that is not one of the waits above (a dialog's
// or a drag's exec()) for its lifetime.
class ModalLoop
{
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
};

// True while any nested event loop runs: a wait, DoEvents or a ModalLoop.
// A handler below it on the stack is still running.
bool InNestedLoop();
// Deletes the object once every nested loop has returned (at once, through
// deleteLater, when none runs): a window unloaded from inside a nested loop
// outlives the handlers that started the loop.
void DeleteAfterNestedLoops(QObject* object);

// Time-outs of every yielding wait are multiplied by this factor (1 in the
// program; tests shorten waits with e.g. 0.01). The environment variable
// QVS_TIMEOUT_SCALE sets it for processes started by tests.
void SetTimeoutScale(double scale);
double TimeoutScale();
// A time-out in milliseconds after the scale; at least 1 for a positive value.
int ScaledTimeout(int timeoutMs);

} // namespace platform
