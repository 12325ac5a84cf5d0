#pragma once
// A command set of its own on the link's engine: which states wait for a
// reply, how received lines move CommsState, what a time-out does and where
// the traffic is logged. A link without a policy runs the communications
// window's command set.
#include "hublink/core/LinkState.h"

#include <cstdint>
#include <string>

namespace hublink {

class ILinkPolicy
{
public:
    virtual ~ILinkPolicy() = default;
    // The state waits for a reply (a lost port fails it).
    virtual bool IsWaitingState(StateCode state) const = 0;
    // The line is the unit's answer to the command sent in the wait state
    // (the dispatcher's own test), and the state waits for one such answer
    // rather than collecting lines.
    virtual bool AnswersWait(StateCode wait, const std::string& line, const std::string& command) const = 0;
    virtual bool WaitsForOneAnswer(StateCode wait) const = 0;
    // Of those answers, the line refuses the command; and whether a resend of
    // the command may be refused as a duplicate once one send was taken.
    virtual bool RefusesWait(StateCode wait, const std::string& line, const std::string& command) const = 0;
    virtual bool DuplicatesRefused(StateCode wait) const = 0;
    // A complete non-empty line, taken as it arrived (no line is filtered).
    virtual void Dispatch(const std::string& line) = 0;
    // A tick of the reply timer.
    virtual void TimerTick() = 0;
    // The port went away, or a reply line was refused, while a command
    // waited: the command fails.
    virtual void PortLostWhileWaiting() = 0;
    // Every line of traffic and every status text of the link.
    virtual void LogLine(const std::string& text, bool toBox) = 0;
};

} // namespace hublink
