#pragma once
// Waiting by yielding: the link's callers wait for a reply by letting the
// program's event loop run (receive events, timer ticks, repaints) until a
// condition holds.
#include <functional>

namespace hublink {

class IMessageLoop
{
public:
    virtual ~IMessageLoop() = default;
    // Runs events while keepWaiting() returns true. keepWaiting() is tested
    // when the wait starts and after each StateChanged(), not on a clock.
    virtual void WaitWhile(const std::function<bool()>& keepWaiting) = 0;
    // CommsState may have changed: the running waits test their conditions
    // again. The link calls it after each receive event, time-out tick and
    // port loss; code that sets CommsState while a wait runs (a cancel)
    // calls it too.
    virtual void StateChanged() {}
};

} // namespace hublink
