#pragma once
// Waiting by yielding: the link's callers wait for a reply by letting the
// program's event loop run (receive events, timer ticks, repaints) until a
// condition holds.
#include <functional>

class IMessageLoop
{
public:
    virtual ~IMessageLoop() = default;
    // Runs events while keepWaiting() returns true.
    virtual void WaitWhile(const std::function<bool()>& keepWaiting) = 0;
};
