#pragma once
// A diagnostics link for the channel scan and monitor runs without a window:
// commands go to the simulated unit, whose lines are handed back one at a
// time while a run waits. A reply timer that runs out goes to the run first;
// the link's own rule then fails a running scan at once and resends any
// other command twice before it fails.
#include "DiagsSite.h"
#include "diagnostics/core/IChannelLink.h"
#include "hublink/core/LinkState.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ChannelBench : diagnostics::IChannelLink
{
    SimulatedUnit unit;
    hublink::StateCode state;
    std::vector<std::string> sent;
    std::deque<std::string> pending;
    int32_t timerMs = 0;
    int32_t leftMs = 0; // of timerMs, as Pass spends it
    int resends = 0;
    int failures = 0;
    // Where lines and time-outs go: the run's Reply and TimedOut.
    std::function<void(const std::string&)> reply;
    std::function<bool()> timedOut;
    // Runs before each step of a wait; true when it did something (a tick,
    // a cancel, a line of its own), so that the wait looks again.
    std::function<bool()> meanwhile;

    hublink::StateCode& State() override { return state; }
    void Send(const std::string& text, int32_t timeoutMs) override
    {
        sent.push_back(text);
        timerMs = leftMs = timeoutMs;
        for (const std::string& line : UnitLines(unit, text))
            pending.push_back(line);
    }
    // Hands lines and time-outs to the run.
    template <typename Run> void Wire(Run& run)
    {
        reply = [&run](const std::string& line) { run.Reply(line); };
        timedOut = [&run] { return run.TimedOut(); };
    }
    void Rearm(int32_t ms) override { timerMs = leftMs = ms; }
    // Lets ms go by with nothing from the unit: a reply timer that runs out
    // meanwhile times out, as in a wait. True when it did.
    bool Pass(int32_t ms)
    {
        if (timerMs <= 0 || (leftMs -= ms) > 0)
            return false;
        TimeOut();
        return true;
    }
    void TimeOut()
    {
        if (timedOut())
            return;
        if (state == diagnostics::DiagsStateCode::Scanning)
            Fail(); // a running scan fails at once
        else if (resends++ < 2)
            Send(std::string(sent.back()), timerMs);
        else
            Fail();
    }
    void Fail() override
    {
        ++failures;
        timerMs = 0;
        state = hublink::CommsStateCode::CommsFailed;
    }
    std::string FailureText() const override { return "Communications Failure,  Please reset Radio Hub and try again"; }
    void WaitUntil(const std::function<bool()>& done) override
    {
        for (int steps = 0; !done(); ++steps) {
            ASSERT_LT(steps, 100000) << "the wait never ends";
            if (meanwhile && meanwhile())
                continue;
            if (!pending.empty()) {
                const std::string line = pending.front();
                pending.pop_front();
                if (line.rfind("Unknown Command", 0) == 0) {
                    timerMs = 0;
                    state = hublink::CommsStateCode::UnknownCommand;
                } else {
                    reply(line);
                }
            } else if (timerMs > 0) {
                TimeOut();
            } else {
                FAIL() << "waiting with no timer and nothing to come";
            }
        }
    }
};

inline SimulatedUnit::Handler Answer(SimulatedUnit::Lines lines)
{
    return [lines](const std::string&) { return lines; };
}
