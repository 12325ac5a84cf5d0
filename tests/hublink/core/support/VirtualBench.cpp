#include "VirtualBench.h"

#include "hublink/core/LinkTiming.h"

#include <algorithm>
#include <gtest/gtest.h>

VirtualBench::VirtualBench(SimulatedUnit& unit) : unit_(unit), link_(*this, *this, *this, *this, *this) {}

bool VirtualBench::Output(const std::string& bytes, LinkError& error)
{
    if (portGone_) {
        error = LinkError{5, "Input/output error"};
        return false;
    }
    Writes.push_back(Write{now_, bytes});
    for (UnitOutput& out : unit_.Receive(bytes, now_))
        events_.push_back(Event{now_ + out.DelayMs, std::move(out.Bytes), out.ClosePort});
    std::stable_sort(events_.begin(), events_.end(),
                     [](const Event& a, const Event& b) { return a.AtMs < b.AtMs; });
    return true;
}

void VirtualBench::Start(int32_t intervalMs)
{
    timerOn_ = true;
    interval_ = ScaledInterval(intervalMs);
    deadline_ = now_ + interval_;
}

void VirtualBench::Stop()
{
    timerOn_ = false;
}

void VirtualBench::UnitSends(const std::string& bytes, int delayMs)
{
    events_.push_back(Event{now_ + delayMs, bytes, false});
    std::stable_sort(events_.begin(), events_.end(),
                     [](const Event& a, const Event& b) { return a.AtMs < b.AtMs; });
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
            link_.PortLost(LinkError{5, "Input/output error"});
        } else {
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

std::string VirtualBench::NodeIdent(int node) const
{
    if (Site != nullptr)
        return Site->NodeIdent(node);
    const auto found = Idents.find(node);
    return found == Idents.end() ? std::string() : found->second;
}

int32_t VirtualBench::FindNodeByIdent(const std::string& ident)
{
    if (Site != nullptr)
        return Site->FindNodeByIdent(ident);
    const auto found = Owners.find(ident);
    return found == Owners.end() ? -1 : found->second;
}

void VirtualBench::SetAssigned(int node, int slot, bool assigned)
{
    if (Site != nullptr)
        Site->SetAssigned(node, slot, assigned);
    else
        AssignedFlags[node * 100 + slot] = assigned;
}
