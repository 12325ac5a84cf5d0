#include "VirtualBench.h"

#include "hublink/core/LinkTiming.h"

#include <algorithm>
#include <gtest/gtest.h>

VirtualBench::VirtualBench(SimulatedUnit& unit) : unit_(unit), link_(*this, *this, *this, *this, site_) {}

bool VirtualBench::Output(const std::string& bytes, hublink::LinkError& error)
{
    if (portGone_) {
        error = hublink::LinkError{5, "Input/output error"};
        return false;
    }
    Writes.push_back(Write{now_, bytes});
    for (UnitOutput& out : unit_.Receive(bytes, now_))
        Schedule(Event{now_ + out.DelayMs, std::move(out.Bytes), out.ClosePort});
    return true;
}

void VirtualBench::Start(int32_t intervalMs)
{
    timerOn_ = true;
    interval_ = hublink::ScaledInterval(intervalMs);
    deadline_ = now_ + interval_;
}

void VirtualBench::UnitSends(const std::string& bytes, int delayMs)
{
    Schedule(Event{now_ + delayMs, bytes, false});
}

// Keeps the pending events in time order, equal times in the order queued.
void VirtualBench::Schedule(Event event)
{
    const auto later = [](const Event& e, int64_t at) { return e.AtMs <= at; };
    events_.insert(std::lower_bound(events_.begin(), events_.end(), event.AtMs, later), std::move(event));
}

// Delivers the earliest pending event (a unit's answer before a timer tick
// due at the same moment). False when nothing is left to happen.
bool VirtualBench::Step(const std::function<bool()>& keepWaiting, int64_t limit)
{
    if (!keepWaiting())
        return false;
    const bool haveEvent = !events_.empty();
    const int64_t eventAt = haveEvent ? events_.front().AtMs : 0;
    if (!haveEvent && !timerOn_)
        return false;
    if (haveEvent && (!timerOn_ || eventAt <= deadline_)) {
        if (eventAt > limit)
            return false;
        Event e = events_.front();
        events_.erase(events_.begin());
        now_ = std::max(now_, e.AtMs);
        if (e.ClosePort) {
            portGone_ = true;
            link_.PortLost(hublink::LinkError{5, "Input/output error"});
        } else {
            Delivered += e.Bytes;
            link_.Comm_OnComm(e.Bytes);
        }
        return true;
    }
    if (deadline_ > limit)
        return false;
    now_ = std::max(now_, deadline_);
    deadline_ += interval_;
    link_.CommsTimer_Timer();
    return true;
}

void VirtualBench::WaitWhile(const std::function<bool()>& keepWaiting)
{
    for (int steps = 0; keepWaiting(); ++steps) {
        if (steps > 100000 || !Step(keepWaiting, INT64_MAX)) {
            ADD_FAILURE() << "the wait would never end (virtual time " << now_ << " ms)";
            return;
        }
    }
}

void VirtualBench::RunFor(int64_t ms)
{
    const int64_t until = now_ + ms;
    while (Step([] { return true; }, until)) {
    }
    now_ = std::max(now_, until);
}

int32_t VirtualBench::ShowMessage(const std::string& text, int32_t style)
{
    Messages.push_back(Message{text, style});
    if (WhileMessageOpen)
        WhileMessageOpen();
    return 1;
}
