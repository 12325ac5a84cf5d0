#include "hublink/core/CommsLink.h"

#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/ProgLog.h"
#include "hublink/core/UnitQueries.h"
#include "model/Convert.h"
#include "model/FileNames.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/base/CodePage.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace hublink {

using namespace linktext;

using enum CommsStateCode;

namespace {

const char* const kFailureText = "Communications Failure,  Please check Comms Port";

std::string ErrorText(const LinkError& error)
{
    return "Unexpected Communications Error - " + std::to_string(error.Number) + "\r\n" + error.Description;
}

// The unit a delete's echo (or command) names: the word after "DELETE DEVICE".
std::string_view DeletedUnit(std::string_view line)
{
    const std::string_view words = "DELETE DEVICE";
    const size_t at = line.find(words);
    if (at == std::string_view::npos)
        return {};
    std::string_view rest = line.substr(at + words.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    return rest.substr(0, rest.find(' '));
}

// The echo of a delete of another unit than the command's.
bool EchoesAnotherDelete(const std::string& line, const std::string& command)
{
    return Contains(line, "DELETE DEVICE") && DeletedUnit(line) != DeletedUnit(command);
}

// What the log says of a delete the line reports done; nullptr when it
// reports none.
const char* DeleteDoneText(const std::string& line)
{
    if (Contains(line, "DELETE DEVICE") || BeginsWith(line, "DEVICE DELETED"))
        return "Device Successfully Deleted";
    if (BeginsWith(line, "DELETE NODE"))
        return "RCC Successfully Deleted";
    if (BeginsWith(line, "DEVICE NO RESPONSE"))
        return "Device Deleted, but did not Respond ";
    if (BeginsWith(line, "DEVICE DELETE TIMEOUT"))
        return "Device Deleted, but RCC did not Respond ";
    return nullptr;
}


// The hub holds the relation a RELATION ADD asks for.
bool HoldsRelation(const std::string& line)
{
    const std::string upper = model::Upper(line);
    return Contains(upper, "RELATION ALREADY EXISTS") || Contains(upper, "NODE RELATION ALREADY DEFINED");
}

// What a line says of the programming command in flight: its echo, or for a
// relation one the hub already holds, acknowledges it; a failed populate or
// a command error rejects it.
enum class ListAnswer
{
    None,
    Acknowledged,
    PopulateFailed,
    CommandError,
};

// A line saying the relation is already as a relation command asks: one
// that says the hub holds it answers only an add.
bool RelationAlreadyAsAsked(const std::string& line, const std::string& command)
{
    if (HoldsRelation(line))
        return BeginsWith(command, "RELATION ADD");
    return Contains(line, "Relation already") && BeginsWith(command, "RELATION ");
}

ListAnswer ReadListAnswer(const std::string& line, const std::string& command)
{
    if (BeginsWith(line, command) || RelationAlreadyAsAsked(line, command))
        return ListAnswer::Acknowledged;
    if (Contains(line, "POPULATE FAIL"))
        return ListAnswer::PopulateFailed;
    if (Contains(line, "ERROR "))
        return ListAnswer::CommandError;
    return ListAnswer::None;
}

// The answers of the waits whose handler reads them.
bool IsListAnswer(const std::string& line, const std::string& command)
{
    return ReadListAnswer(line, command) != ListAnswer::None;
}

bool RefusesListCommand(const std::string& line, const std::string& command)
{
    const ListAnswer answer = ReadListAnswer(line, command);
    return answer == ListAnswer::PopulateFailed || answer == ListAnswer::CommandError;
}

bool IsDownloadStart(const std::string& line, const std::string&)
{
    return Contains(line, "EXPORT SYSCONFIG");
}

bool IsAssignmentStart(const std::string& line, const std::string&)
{
    return BeginsWith(line, "ASSIGN RCCS") || BeginsWith(line, "ASSIGN ALL");
}

// A line of another exchange or of the unit's own talk: a line of a
// configuration download or of another list, a status line, an assignment
// result. It answers no delete, done or refused.
bool IsOtherExchangesLine(const std::string& line)
{
    for (const char* head : {"EXPORT ", "END OF DATA", "POPULATE ", "RELATION ADD ", "XPROTRADIOCHANNELS",
                             "YPROTRADIOCHANNELS", "DS ", "ASSIGN "})
        if (BeginsWith(line, head))
            return true;
    return false;
}

// A delete's answers that say it was done (not the echo of another
// delete, which answers that one).
bool IsDeleteAnswer(const std::string& line, const std::string& command)
{
    return DeleteDoneText(line) != nullptr && !EchoesAnotherDelete(line, command);
}

// A delete is refused by any line that neither says a delete was done nor
// belongs to another exchange: a relation held answers a relation added,
// and a relation's answers a relation delete.
bool RefusesDelete(const std::string& line, const std::string&)
{
    return DeleteDoneText(line) == nullptr && !HoldsRelation(line) && !BeginsWith(line, "RELATION ") &&
           !BeginsWith(line, "DELETE RELATION") && !IsOtherExchangesLine(line);
}

bool IsRelationDeleteAnswer(const std::string& line, const std::string& command)
{
    return BeginsWith(line, command) || BeginsWith(line, "DELETE RELATION") || RelationAlreadyAsAsked(line, command);
}

// A relation delete is refused by any line that says neither that, nor that
// a device was deleted, nor belongs to another exchange.
bool RefusesRelationDelete(const std::string& line, const std::string& command)
{
    return !IsRelationDeleteAnswer(line, command) && !HoldsRelation(line) &&
           DeleteDoneText(line) == nullptr && !IsOtherExchangesLine(line);
}

// A command as the unit echoes it: the unit reads an underscore as a blank.
std::string AsEchoed(std::string command)
{
    std::replace(command.begin(), command.end(), '_', ' ');
    return command;
}

// Time-outs of the link for which the sends of a command no longer in
// flight are still awaited, and for which a send given up may still be
// refused (as long as the command in flight can wait for its own answer);
// the most sends awaited at once, and the most commands remembered as sent.
constexpr int kOwedTicks = 1;
constexpr int kGivenUpTicks = kMaxResends;
constexpr size_t kMaxOwedSends = 64;
constexpr size_t kRecentCommands = 32;

} // namespace

CommsLink::CommsLink(ISerialTransport& port, ILinkTimer& timer, IMessageLoop& loop, ICommsWindow& window,
                     ISiteLink& site)
    : port_(port), timer_(timer), loop_(loop), window_(window), site_(site)
{
}

void CommsLink::SendCommand(bool Retry, int32_t TimeoutMs)
{
    session_.RxLine.clear();
    discarding_ = false; // an over-long line in progress ends with the send too
    LogLine("-> " + session_.CommandText, false);
    if (!Retry) {
        session_.RetryCount = 0;
        session_.AcceptedReply.clear();
        refusedLine_.clear();
    }
    timer_.Stop();
    LinkError error;
    portFailed_ = false;
    if (!port_.Output(platform::Utf8ToWin1252(session_.CommandText) + "\r", error)) {
        const bool reported = portFailed_; // the write found the port gone: PortLost told already
        portFailed_ = true;
        owed_.clear(); // nothing more comes through a port that is gone
        session_.CommsState = CommsFailed;
        loop_.StateChanged();
        if (!reported)
            window_.ShowCommsError(ErrorText(error));
        return;
    }
    Owe(Retry);
    timer_.Start(TimeoutMs);
}

// Records a send that went out. The wake-up, sent while nothing waits, asks
// for no answer. A resend means a send went unanswered in time, so that a
// later line may answer either: the exchanges are irregular.
void CommsLink::Owe(bool retry)
{
    if (!IsWaiting(session_.CommsState))
        return;
    const std::string command = AsEchoed(session_.CommandText);
    if (retry) {
        irregular_ = true;
    } else {
        if (!answeredInFlight_)
            for (OwedSend& send : owed_)
                send.unanswered = send.unanswered || send.number == commandNumber_;
        answeredInFlight_ = false;
        pendingRefusal_.clear();
        ++commandNumber_;
        std::erase(recent_, command);
        recent_.push_back(command);
        if (recent_.size() > kRecentCommands)
            recent_.pop_front();
    }
    owed_.push_back(OwedSend{command, session_.CommsState, commandNumber_, kOwedTicks});
    if (owed_.size() > kMaxOwedSends)
        owed_.pop_front();
}

void CommsLink::SendWakeUp()
{
    session_.CommandText = "\r\n";
    SendCommand(false, kReplyTimeoutMs);
    timer_.Stop();
}

void CommsLink::Comm_OnComm(const std::string& received)
{
    pending_ += received;
    if (receiving_)
        return;
    receiving_ = true;
    // Lines handled here may open a box that yields; bytes arriving then are
    // appended to pending_ and taken by this same loop afterwards.
    for (size_t i = 0; i < pending_.size(); ++i)
        HandleByte(static_cast<unsigned char>(pending_[i]));
    pending_.clear();
    receiving_ = false;
    loop_.StateChanged();
}

void CommsLink::HandleByte(unsigned char c)
{
    if (c == '_')
        c = ' ';
    if (c == '\n')
        return;
    if (c == '\r') {
        if (discarding_) {
            discarding_ = false;
            session_.RxLine.clear();
            return;
        }
        EndOfLine();
        return;
    }
    if (discarding_)
        return;
    if (session_.RxLine.size() >= kMaxLineLength) {
        RefuseLine();
        return;
    }
    session_.RxLine += static_cast<char>(c);
}

void CommsLink::RefuseLine()
{
    refusedLine_ = "The unit sent a line longer than " + std::to_string(kMaxLineLength) +
                   " characters, which was refused: " + platform::Win1252ToUtf8(session_.RxLine.substr(0, 40)) + "...";
    session_.RxLine.clear();
    discarding_ = true;
    LogLine("<- " + refusedLine_, false);
    if (!IsWaiting(session_.CommsState))
        return;
    // The reply cannot be whole without the line: its command fails.
    LogLine(refusedLine_, true);
    if (policy_ != nullptr) {
        policy_->PortLostWhileWaiting();
        return;
    }
    FailNow();
}

void CommsLink::EndOfLine()
{
    // The unit's bytes are Windows-1252 text; the program's text is UTF-8.
    session_.LastRxLine = platform::Win1252ToUtf8(session_.RxLine);
    if (window_.DeleteTimerRunning())
        LogLine(" ", false);
    const std::string line = session_.LastRxLine;
    session_.RxLine.clear();
    if (policy_ != nullptr) {
        LogLine("<- " + line, false);
    } else {
        if (line.empty() || Contains(model::Upper(line), "CRITICAL ERROR:") ||
            Contains(model::Upper(line), "UNHANDLED PACKET") || Contains(line, "Old Added"))
            return;
        // The log holds each line as it came, whatever it is taken for.
        LogLine("<- " + line, false);
    }
    const bool waiting = IsWaiting(session_.CommsState);
    const Answered answered = line.empty() ? Answered::None : TakeAnswer(line);
    const StateCode before = session_.CommsState;
    // Owed to another send than one of the command in flight, or a refusal
    // that does not yet say the command in flight was refused.
    const bool notDeciding =
        answered == Answered::Earlier || answered == Answered::Stray || answered == Answered::Pending;
    if (answered == Answered::Pending)
        pendingRefusal_ = line;
    if (notDeciding) {
        irregular_ = true;
        // A downloaded configuration lists the hub's statements in the very
        // words that programmed them: an echo owed to an earlier send is
        // settled, and is still a line of the download.
        const bool listed = answered == Answered::Earlier && policy_ == nullptr && before == SysConfigCollect &&
                            !BeginsWith(line, "Unknown Command");
        if (waiting && !listed)
            return; // it counts for nothing the command in flight waits for
    }
    // A refusal that comes when nothing waits answers a command already
    // ended; it cannot undo that command's end. The diagnostics' command
    // set ends any state on it, unless an earlier send is owed it.
    if (BeginsWith(line, "Unknown Command") && !notDeciding && (waiting || policy_ != nullptr)) {
        timer_.Stop();
        session_.CommsState = UnknownCommand;
    }
    if (!line.empty())
        ProcessReply(line);
    if (answered != Answered::None)
        return;
    if (session_.CommsState != before)
        InFlightAnswered(); // an answer not known by its words ended the wait (a failed delete, a status list)
    else if (waiting && WaitsForOneAnswer(before))
        irregular_ = true; // a line nothing waited for
}

// Settles which send still owed an answer the line answers: the send whose
// command the line begins with (its echo; the longest such command), else
// the oldest send whose answer the line can be. Only the send answered is
// settled (and, when it is one of the command in flight, the sends of
// earlier commands that had no answer): the unit may still answer the
// other sends, late or out of turn. A line that answers no send (a line of
// a collection, the unit's own talk) is left to the command in flight,
// unless it echoes another command the link sent while the command in
// flight waits for one answer (a collection may list what was sent).
CommsLink::Answered CommsLink::TakeAnswer(const std::string& line)
{
    const size_t none = owed_.size();
    size_t answered = none;
    for (size_t i = 0; i < owed_.size(); ++i) {
        const OwedSend& send = owed_[i];
        if (!send.givenUp && !send.command.empty() && BeginsWith(line, send.command) &&
            (answered == none || send.command.size() > owed_[answered].command.size()))
            answered = i;
    }
    // A line that could answer more than one command goes to the oldest,
    // an earlier one: that makes the exchanges irregular (EndOfLine). A send
    // given up can only be refused: a unit that answers in turn refuses it
    // before it answers anything sent after it.
    for (size_t i = 0; answered == none && i < owed_.size(); ++i)
        if (Claims(owed_[i], line))
            answered = i;
    if (answered == none)
        return WaitsForOneAnswer(session_.CommsState) && EchoesAnotherCommand(line) ? Answered::Stray
                                                                                     : Answered::None;
    const OwedSend send = owed_[answered];
    owed_.erase(owed_.begin() + static_cast<std::ptrdiff_t>(answered));
    if (send.number != commandNumber_)
        return Answered::Earlier;
    // A unit that took one send of a statement or a delete may refuse the
    // others (a duplicate, a unit it no longer holds): while another send
    // of it may still be answered, a refusal does not say the command was
    // refused.
    const auto ownOwed = [this](const OwedSend& s) { return !s.givenUp && s.number == commandNumber_; };
    if (Refuses(send, line) && DuplicatesRefused(send.wait) &&
        std::any_of(owed_.begin(), owed_.end(), ownOwed))
        return Answered::Pending;
    ForgetEarlierCommands();
    return Answered::InFlight;
}

// The command in flight has had an answer: the unit has gone past the
// sends of earlier commands that never had one, and has lost them (it was
// off, or they were garbled). Those of a command that had its answer may
// still be answered, late.
void CommsLink::ForgetEarlierCommands()
{
    answeredInFlight_ = true;
    std::erase_if(owed_, [this](const OwedSend& s) { return s.unanswered && s.number != commandNumber_; });
}

void CommsLink::GiveUp(OwedSend& send)
{
    send.givenUp = true;
    send.ticksLeft = kGivenUpTicks;
}

// Whether the line is an answer the send can get besides its echo: what
// its wait takes as the answer, from the wait's own row.
bool CommsLink::Answers(const OwedSend& send, const std::string& line) const
{
    if (policy_ != nullptr)
        return policy_->AnswersWait(send.wait, line, send.command);
    const WaitState<Handler>* wait = FindWait(Waits(), send.wait);
    return wait != nullptr && AnswersWait(*wait, line, send.command);
}

// Whether the line can be the answer the send is owed: what its wait takes
// as the answer, or a refusal of its command when the command is in flight
// or had an answer. The sends of a command that had no answer at all were
// most likely lost: only their own answers and "Unknown Command" are
// theirs. A send given up can only be refused.
bool CommsLink::Claims(const OwedSend& send, const std::string& line) const
{
    if (send.givenUp)
        return Refuses(send, line);
    return Answers(send, line) || (!send.unanswered && Refuses(send, line));
}

bool CommsLink::Refuses(const OwedSend& send, const std::string& line) const
{
    if (policy_ != nullptr)
        return policy_->RefusesWait(send.wait, line, send.command);
    const WaitState<Handler>* wait = FindWait(Waits(), send.wait);
    return wait != nullptr && RefusesWait(*wait, line, send.command);
}

bool CommsLink::DuplicatesRefused(StateCode state) const
{
    if (policy_ != nullptr)
        return policy_->DuplicatesRefused(state);
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    return wait != nullptr && wait->duplicatesRefused;
}

bool CommsLink::WaitsForOneAnswer(StateCode state) const
{
    if (policy_ != nullptr)
        return policy_->WaitsForOneAnswer(state);
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    return wait != nullptr && hublink::WaitsForOneAnswer(*wait);
}

// The line begins with a command the link sent lately, and that command is
// not the one in flight (the longest such command decides, so that a
// command that begins another is no echo of it).
bool CommsLink::EchoesAnotherCommand(const std::string& line) const
{
    const std::string* longest = nullptr;
    for (const std::string& command : recent_)
        if (!command.empty() && BeginsWith(line, command) && (longest == nullptr || command.size() > longest->size()))
            longest = &command;
    return longest != nullptr && *longest != AsEchoed(session_.CommandText);
}

// The command in flight has had its answer: its oldest send still owed one
// is settled.
void CommsLink::InFlightAnswered()
{
    const auto own = std::find_if(owed_.begin(), owed_.end(),
                                  [this](const OwedSend& s) { return s.number == commandNumber_; });
    if (own != owed_.end())
        owed_.erase(own);
    ForgetEarlierCommands();
}

void CommsLink::CommsTimer_Timer()
{
    AgeOwedSends();
    if (policy_ != nullptr) {
        policy_->TimerTick();
        loop_.StateChanged();
        return;
    }
    const StateCode state = session_.CommsState;
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    const WaitKind kind = wait != nullptr ? wait->kind : WaitKind::Own;
    if (kind == WaitKind::Resend) {
        if (session_.RetryCount < kMaxResends) {
            LinkError ignored; // a port that refuses the CR refuses the resend too, which reports it
            port_.Output("\r", ignored);
            if (portFailed_)
                return; // the port went with the CR, and PortLost has ended the wait
            ++session_.RetryCount;
            LogLine("...Retry", true);
            SendCommand(true, ResendTimeoutMs(*wait, session_.ReplyLineCount));
        } else if (!pendingRefusal_.empty()) {
            RefusedAtLast();
        } else {
            LogLine(std::string(kFailureText) + " and try again" + "\r\n\r\n", true);
            TimedOut();
            EndBusyUnlessDeleting(state);
        }
    } else if (kind == WaitKind::FailAtOnce) {
        TimedOut();
        EndBusy();
    } else if (kind == WaitKind::Silent) {
        TimedOut();
    }
    loop_.StateChanged();
}

// The last send of the command has had its time-out, and every answer
// that came for it was a refusal: the unit refused the command.
void CommsLink::RefusedAtLast()
{
    const std::string line = std::exchange(pendingRefusal_, {});
    answeredInFlight_ = true;
    if (BeginsWith(line, "Unknown Command")) {
        timer_.Stop();
        session_.CommsState = UnknownCommand;
    }
    ProcessReply(line);
}

void CommsLink::TimedOut()
{
    timer_.Stop();
    session_.CommsState = CommsFailed;
}

// A time-out of the link: the sends of commands no longer in flight have
// waited a reply time-out of another command, and are given up. A unit
// that has not answered them by then has lost them (it was off, or the
// line garbled): what comes now is the resent command's, and a line taken
// wrongly so is a refusal at worst, after irregular exchanges. But a slow
// unit that answered a command may still refuse a resend of it (a
// duplicate), in turn, before it answers the command now in flight: such a
// refusal is the given-up send's for as long as the command in flight can
// wait. The sends of a command that had no answer at all were lost.
void CommsLink::AgeOwedSends()
{
    const bool waiting = IsWaiting(session_.CommsState);
    for (OwedSend& send : owed_) {
        const bool inFlight = send.number == commandNumber_;
        if ((inFlight && waiting) || --send.ticksLeft > 0 || send.givenUp)
            continue;
        if (!send.unanswered && (!inFlight || answeredInFlight_))
            GiveUp(send);
    }
    std::erase_if(owed_, [](const OwedSend& s) { return s.ticksLeft <= 0; });
}

void CommsLink::FailNow()
{
    timer_.Stop();
    EndBusyUnlessDeleting(session_.CommsState);
    session_.CommsState = CommsFailed;
}

// The deletes go on after one fails, and the sequence that runs them holds
// the window busy until the last has ended.
void CommsLink::EndBusyUnlessDeleting(StateCode failedState)
{
    if (failedState != DeleteWait && failedState != RelationDeleteWait)
        EndBusy();
}

void CommsLink::PortLost(const LinkError& error)
{
    portFailed_ = true;
    owed_.clear(); // nothing more comes through a port that is gone
    PortEnabled = false; // the next command opens the port again
    timer_.Stop();
    session_.RxLine.clear();
    if (policy_ != nullptr && policy_->IsWaitingState(session_.CommsState)) {
        policy_->PortLostWhileWaiting();
    } else if (policy_ == nullptr && IsWaiting(session_.CommsState)) {
        LogLine(std::string(kFailureText) + " and try again" + "\r\n\r\n", true);
        FailNow();
    }
    loop_.StateChanged();
    window_.ShowCommsError(ErrorText(error));
}

void CommsLink::Rearm(int32_t ms)
{
    timer_.Stop();
    timer_.Start(ms);
}

bool CommsLink::CollectLine(const std::string& line)
{
    if (session_.AddReplyLine(line))
        return true;
    TooManyLines();
    return false;
}

void CommsLink::TooManyLines()
{
    LogLine("The unit sent more than " + std::to_string(kMaxReplyLines) + " lines, transfer stopped", true);
    FailNow();
}

void CommsLink::ProcessReply(const std::string& Line)
{
    session_.LastRxLine = Line;
    const std::string& line = Line;
    const StateCode before = session_.CommsState;
    if (policy_ != nullptr)
        policy_->Dispatch(line);
    else
        Dispatch(line);
    if (session_.CommsState != before)
        session_.AcceptedReply = line;
}

bool CommsLink::IsWaiting(StateCode state) const
{
    return policy_ != nullptr ? policy_->IsWaitingState(state) : FindWait(Waits(), state) != nullptr;
}

// The communications window's command set. The two unassign states fail at
// once: their wait must end even when the unit stays silent.
std::span<const WaitState<CommsLink::Handler>> CommsLink::Waits()
{
    using W = WaitState<Handler>;
    using enum WaitKind;
    using enum ReplyMatch;
    static const W kWaits[] = {
        {ProgramWait, Resend, nullptr, BeginsWith, {}, &CommsLink::ProgramReply, 0, &IsListAnswer,
         &RefusesListCommand, true},
        {IdentReadWait, Resend, "IDENTREAD", BeginsWith, IdentReadDone},
        {IdentProgWait, Resend, "IDENTPROG OK", Contains, IdentProgDone},
        {SysConfigWait, Resend, nullptr, BeginsWith, {}, &CommsLink::SysConfigStart, 0, &IsDownloadStart},
        {SysConfigCollect, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::SysConfigLine},
        {UnassignClearWait, FailAtOnce, "UNASSIGN CLEAR", BeginsWith, UnassignClearDone},
        {UnassignAllWait, FailAtOnce, "UNASSIGN ALL", BeginsWith, UnassignAllDone},
        {AssignWait, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::AssignStart, 0, &IsAssignmentStart},
        {Assigning, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::AssignLine},
        {PopulateClearWait, Resend, "CLEAR", Contains, PopulateClearDone, nullptr, kLongResendTimeoutMs},
        {DebugOffWait, Silent, "DEBUGOFF", Contains, DebugOffDone},
        {StatusMonitorOffWait, Resend, "DS MON STOP", Contains, StatusMonitorOffDone},
        {SoftwareVersionWait, Resend, nullptr, BeginsWith, {}, &CommsLink::VersionReply, 0, &IsVersionReply},
        {LoopProtocolWait, Resend, "LP", BeginsWith, LoopProtocolDone},
        {LoopCountWait, Resend, "QUERY LOOPCOUNT", BeginsWith, LoopCountDone},
        {DeleteWait, Resend, nullptr, BeginsWith, {}, &CommsLink::DeleteReply, 0, &IsDeleteAnswer, &RefusesDelete,
         true},
        {RelationDeleteWait, Resend, nullptr, BeginsWith, {}, &CommsLink::RelationDeleteReply, 0,
         &IsRelationDeleteAnswer, &RefusesRelationDelete, true},
        {AllStatusCollect, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::StatusLine},
    };
    return kWaits;
}

void CommsLink::Dispatch(const std::string& line)
{
    if (session_.CommsState == Idle) {
        LogLine(line, false);
        return;
    }
    const WaitState<Handler>* wait = FindWait(Waits(), session_.CommsState);
    if (wait != nullptr)
        TakeReply(*this, *wait, line, session_.CommsState, timer_);
}

void CommsLink::SysConfigStart(const std::string& line)
{
    if (!IsDownloadStart(line, session_.CommandText))
        return;
    session_.CommsState = SysConfigCollect;
    Rearm(kConfigLineTimeoutMs);
    AdvanceProgress();
    session_.EmptyReplyLines();
    downloadLines_ = 0;
}

// Only a statement of the configuration keeps the download alive, and every
// line counts toward the limit: a unit that talks of other things (debug
// output) without ever ending the download fails it.
void CommsLink::SysConfigLine(const std::string& line)
{
    AdvanceProgress();
    if (Contains(line, "END OF DATA")) {
        timer_.Stop();
        session_.CommsState = SysConfigDone;
        return;
    }
    if (++downloadLines_ > kMaxReplyLines) {
        TooManyLines();
        return;
    }
    const std::string head = line.substr(0, 4);
    if (head == "POPU" || head == "RELA" || head == "XPRO" || head == "YPRO") {
        Rearm(kConfigLineTimeoutMs);
        CollectLine(line);
    }
}

void CommsLink::AssignStart(const std::string& line)
{
    if (IsAssignmentStart(line, session_.CommandText)) {
        session_.CommsState = Assigning;
        Rearm(kAssignLineTimeoutMs);
    }
}

void CommsLink::AssignLine(const std::string& line)
{
    if (BeginsWith(line, "ASSIGN OK")) {
        AssignResult(line, 10, true, "Assigned ");
    } else if (BeginsWith(line, "ASSIGN FAIL")) {
        AssignResult(line, 12, false, "Failed ");
    } else if (BeginsWith(line, "ASSIGN FINISH")) {
        timer_.Stop();
        session_.CommsState = AssignDone;
        LogLine("Assign Process Completed", true);
    }
}

// The reply ends the query; the caller reads which unit it names.
void CommsLink::VersionReply(const std::string& line)
{
    if (!IsVersionReply(line, session_.CommandText))
        return;
    timer_.Stop();
    session_.CommsState = SoftwareVersionDone;
}

// The echo of a delete of another unit answers an earlier delete that had
// already failed, a relation held answers a relation added, and a line of
// another exchange (a download owed to an earlier send, a status line
// nobody asked for) answers no delete: the delete waits on for its own
// answer, which says it was done or refuses it.
void CommsLink::DeleteReply(const std::string& line)
{
    const bool done = IsDeleteAnswer(line, session_.CommandText);
    if (!done && !RefusesDelete(line, session_.CommandText))
        return;
    timer_.Stop();
    LogLine(done ? std::string(DeleteDoneText(line)) : "Unable to Delete Device : " + line, true);
    session_.CommsState = done ? DeleteDone : DeleteFailed;
}

void CommsLink::RelationDeleteReply(const std::string& line)
{
    const bool done = IsRelationDeleteAnswer(line, session_.CommandText);
    if (!done && !RefusesRelationDelete(line, session_.CommandText))
        return;
    timer_.Stop();
    if (done) {
        session_.CommsState = DeleteDone;
    } else {
        LogLine(line, true);
        session_.CommsState = DeleteFailed;
    }
}

void CommsLink::StatusLine(const std::string& line)
{
    timer_.Stop();
    if (BeginsWith(line, "END OF DATA")) {
        LogLine("Device Status Successfully Obtained", true);
        session_.CommsState = AllStatusDone;
    } else if (CollectLine(line)) {
        Rearm(kStatusLineTimeoutMs);
    }
}

void CommsLink::AssignResult(const std::string& line, size_t identAt, bool assigned, const char* logWord)
{
    timer_.Stop();
    const int32_t owner = site_.FindNodeByIdent(Mid(line, identAt, 5));
    if (owner != -1) {
        const int node = owner / 100;
        const int slot = owner % 100;
        site_.SetAssigned(node, slot, assigned);
        LogLine(logWord + std::to_string(node) + ":" + std::to_string(slot), false);
    }
    Rearm(kAssignLineTimeoutMs);
}

void CommsLink::ProgramReply(const std::string& line)
{
    const ListAnswer answer = ReadListAnswer(line, session_.CommandText);
    if (answer == ListAnswer::Acknowledged) {
        ++session_.ReplyLineCount;
        if (session_.ReplyLineCount <= session_.CommandCount) {
            AdvanceProgress();
            const auto index = static_cast<size_t>(session_.ReplyLineCount);
            session_.CommandText = index < session_.ReplyLines.size() ? session_.ReplyLines[index] : std::string();
            if (index < session_.CommandCaptions.size() && !session_.CommandCaptions[index].empty())
                LogLine(session_.CommandCaptions[index], true);
            SendCommand(false, kReplyTimeoutMs);
            return;
        }
        timer_.Stop();
        if (!ProgramEndIsFinal || irregular_) {
            session_.CommsState = ProgramDone;
            return;
        }
        EndBusy();
        LogLine("Programming Completed Successfully", true);
        window_.ShowMessage("Programming Completed Successfully", 64);
        session_.CommsState = ProgramDone;
        return;
    }
    if (answer == ListAnswer::None) {
        LogLine("...Comms Error, Retrying", true);
        return;
    }
    const char* abortText = answer == ListAnswer::PopulateFailed ? "Programming Aborted Due to Failed Populate Command"
                                                                 : "Programming Aborted Due to Command Error";
    timer_.Stop();
    EndBusy();
    LogLine(abortText, true);
    window_.ShowMessage(abortText, 16);
    session_.CommsState = ProgramAborted;
}

StateCode CommsLink::Transact(StateCode waitCode, const std::string& command, int32_t timeoutMs)
{
    session_.CommsState = waitCode;
    session_.CommandText = command;
    SendCommand(false, timeoutMs);
    WaitWhileState({waitCode});
    return session_.CommsState;
}

void CommsLink::WaitWhileState(std::initializer_list<StateCode> codes)
{
    loop_.WaitWhile([this, codes] {
        return std::find(codes.begin(), codes.end(), session_.CommsState) != codes.end();
    });
}

void CommsLink::LogLine(const std::string& Text, bool ToBox)
{
    if (policy_ != nullptr) {
        policy_->LogLine(Text, ToBox);
        return;
    }
    if (ToBox)
        window_.AppendToLogBox(Text);
    if (LogProg)
        AppendProgLog(Text);
}

void CommsLink::BeginBusy()
{
    window_.SetControlsBusy(true);
    busy_ = true;
}

// However the run ended, nothing is in progress any more: a bar left
// standing would tell the engineer otherwise.
void CommsLink::EndBusy()
{
    window_.HideProgress();
    window_.SetControlsBusy(false);
    busy_ = false;
}

void CommsLink::AdvanceProgress()
{
    const int next = window_.ProgressValue() + ProgressStep;
    if (next < window_.ProgressMax())
        window_.SetProgressValue(next);
}

} // namespace hublink
