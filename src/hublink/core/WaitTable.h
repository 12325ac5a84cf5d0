#pragma once
// One row per wait state of a command set: what its time-out does, the
// reply that ends it, or the handler that reads its lines. The engine of
// each command set looks the state up; a state without a row waits for
// nothing.
#include "hublink/core/ILinkTimer.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"

#include <span>
#include <string>

namespace hublink {

enum class WaitKind
{
    Resend,     // the command is resent until kMaxResends, then fails
    FailAtOnce, // the first time-out fails the command
    Silent,     // the first time-out ends the wait without a report
    Own,        // the command set's own time-out rule
};

enum class ReplyMatch
{
    BeginsWith,
    Contains,
};

// Whether a line, other than the command's echo, is the unit's answer to
// the command that waits (a handler row's own test).
using AnswerTest = bool (*)(const std::string& line, const std::string& command);

template <typename Handler>
struct WaitState
{
    StateCode wait;
    WaitKind kind;
    // The reply that ends the wait: the timer stops and the state becomes
    // done. Without one, the handler reads every line (no handler: lines
    // are ignored).
    const char* reply = nullptr;
    ReplyMatch match = ReplyMatch::BeginsWith;
    StateCode done{};
    Handler handler = nullptr;
    // The time-out of a resend; 0 gives the usual one (see ResendTimeoutMs).
    int32_t resendMs = 0;
    // For a row with a handler: the lines the handler takes as the answer.
    // A row with neither this nor a reply waits for no single answer (it
    // collects lines, or has none to take).
    AnswerTest answers = nullptr;
    // Of those, the ones that refuse the command (the handler fails it on
    // them). A line beginning "Unknown Command" refuses any command.
    AnswerTest refuses = nullptr;
    // Once the unit has taken one send of the command, it may refuse a resend
    // as a duplicate: a refusal then fails the command only when every send
    // of it was refused.
    bool duplicatesRefused = false;
    // Only "Unknown Command" says the unit did not carry the command out:
    // another line in place of its answer (an error text, a garbled echo)
    // leaves that to the unit's state.
    bool hubStateDecides = false;
    // The whole form of the answer: a line the row takes as its answer but
    // that fails this was garbled on the line. It is no answer and no
    // verdict; the command is asked again as for a lost answer.
    AnswerTest form = nullptr;
    // Of the answers of their form, those whose value the command set knows.
    // Another (one corrupted byte may have made it) is taken only once two
    // sends of the command were answered alike.
    AnswerTest known = nullptr;
};

template <typename Handler>
const WaitState<Handler>* FindWait(std::span<const WaitState<Handler>> table, StateCode state)
{
    for (const WaitState<Handler>& row : table)
        if (row.wait == state)
            return &row;
    return nullptr;
}

template <typename Handler>
bool EndsWait(const WaitState<Handler>& row, const std::string& line)
{
    if (row.reply == nullptr)
        return false;
    return row.match == ReplyMatch::BeginsWith ? linktext::BeginsWith(line, row.reply)
                                               : linktext::Contains(line, row.reply);
}

// The one test of which lines answer a wait, which the dispatcher and the
// link's account of sends owed an answer both read: the row's reply or
// handler test. A refusal answers any command, and nothing else answers a
// row that waits for no single answer.
template <typename Handler>
bool AnswersWait(const WaitState<Handler>& row, const std::string& line, const std::string& command)
{
    if (linktext::BeginsWith(line, "Unknown Command"))
        return true;
    return row.answers != nullptr ? row.answers(line, command) : EndsWait(row, line);
}

// The line refuses the command sent in the row's wait.
template <typename Handler>
bool RefusesWait(const WaitState<Handler>& row, const std::string& line, const std::string& command)
{
    if (linktext::BeginsWith(line, "Unknown Command"))
        return true;
    return row.refuses != nullptr && row.refuses(line, command);
}

// The row waits for one answer to its command, rather than collecting lines.
template <typename Handler>
bool WaitsForOneAnswer(const WaitState<Handler>& row)
{
    return row.reply != nullptr || row.answers != nullptr;
}

// Hands the line to the row's handler, or ends the wait when the line is
// the row's reply.
template <typename Owner>
void TakeReply(Owner& owner, const WaitState<void (Owner::*)(const std::string&)>& row, const std::string& line,
               StateCode& state, ILinkTimer& timer)
{
    if (row.handler != nullptr) {
        (owner.*row.handler)(line);
    } else if (EndsWait(row, line)) {
        timer.Stop();
        state = row.done;
    }
}

// The first command of a programming list may take long to answer; every
// other resend waits the usual reply time-out.
template <typename Handler>
int32_t ResendTimeoutMs(const WaitState<Handler>& row, int16_t replyLineCount)
{
    if (row.resendMs > 0)
        return row.resendMs;
    return replyLineCount == 1 ? kLongResendTimeoutMs : kReplyTimeoutMs;
}

} // namespace hublink
