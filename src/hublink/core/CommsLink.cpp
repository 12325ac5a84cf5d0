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

bool StartsDownload(const std::string& line)
{
    return Contains(line, "EXPORT SYSCONFIG");
}

bool StartsAssignment(const std::string& line)
{
    return BeginsWith(line, "ASSIGN RCCS") || BeginsWith(line, "ASSIGN ALL");
}

// A reply to a programming command that does not name the command.
bool IsUnnamedListAnswer(const std::string& line)
{
    const std::string upper = model::Upper(line);
    return BeginsWith(line, "Unknown Command") || Contains(line, "Relation already") ||
           Contains(upper, "RELATION ALREADY EXISTS") || Contains(upper, "NODE RELATION ALREADY DEFINED") ||
           Contains(line, "POPULATE FAIL") || Contains(line, "ERROR ");
}

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
// for no answer. Once the command in flight is resent, the sends of commands
// that ended without any answer are owed nothing more: the unit has had a
// whole time-out since to answer them, and what comes now is taken for the
// resent command's.
void CommsLink::Owe(bool retry)
{
    if (policy_ != nullptr || !IsWaiting(session_.CommsState))
        return;
    if (retry)
        ForgetUnansweredCommands();
    else
        ++commandNumber_;
    owed_.push_back(OwedSend{session_.CommandText, session_.CommsState, commandNumber_});
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
    if (policy_ != nullptr) {
        LogLine("<- " + session_.LastRxLine, false);
        if (BeginsWith(session_.LastRxLine, "Unknown Command")) {
            timer_.Stop();
            session_.CommsState = UnknownCommand;
        }
        if (!session_.LastRxLine.empty())
            ProcessReply(session_.LastRxLine);
        session_.RxLine.clear();
        return;
    }
    const std::string line = session_.LastRxLine;
    const std::string upper = model::Upper(line);
    session_.RxLine.clear();
    if (line.empty() || Contains(upper, "CRITICAL ERROR:") || Contains(upper, "UNHANDLED PACKET") ||
        Contains(line, "Old Added"))
        return;
    // The log holds each line as it came, whatever it is taken for.
    LogLine("<- " + line, false);
    const bool waiting = IsWaiting(session_.CommsState);
    const Answered answered = TakeAnswer(line);
    if (answered == Answered::Earlier && waiting)
        return; // owed to an earlier command, it counts for nothing else
    if (Contains(line, "Relation already") && waiting) {
        ProcessReply(session_.CommandText); // the relation is held: the command's echo
        return;
    }
    const StateCode before = session_.CommsState;
    // A refusal that comes when nothing waits answers a command already
    // ended; it cannot undo that command's end.
    if (BeginsWith(line, "Unknown Command") && waiting) {
        timer_.Stop();
        session_.CommsState = UnknownCommand;
    }
    ProcessReply(line);
    if (answered == Answered::None && session_.CommsState != before)
        InFlightAnswered(); // an answer not known by its words ended the wait (a failed delete, a status list)
}

// Settles which send still owed an answer the line answers: the send whose
// command the line begins with (its echo; the longest such command), else
// the oldest send whose answer the line can be. The sends before it went
// unanswered and are owed nothing more. A line that answers no send (a
// line of a collection, the unit's own talk) is left to the command in
// flight.
CommsLink::Answered CommsLink::TakeAnswer(const std::string& line)
{
    const size_t none = owed_.size();
    size_t answered = none;
    for (size_t i = 0; i < owed_.size(); ++i)
        if (!owed_[i].command.empty() && BeginsWith(line, owed_[i].command) &&
            (answered == none || owed_[i].command.size() > owed_[answered].command.size()))
            answered = i;
    for (size_t i = 0; answered == none && i < owed_.size(); ++i)
        if (Answers(owed_[i], line))
            answered = i;
    if (answered == none)
        return Answered::None;
    const bool earlier = owed_[answered].number != commandNumber_;
    owed_.erase(owed_.begin(), owed_.begin() + static_cast<std::ptrdiff_t>(answered) + 1);
    return earlier ? Answered::Earlier : Answered::InFlight;
}

// Whether the line is an answer the send can get besides its echo: any
// command may be refused, and a relation the unit already holds stands for
// the echo of whatever waits; otherwise the answer that its wait takes.
bool CommsLink::Answers(const OwedSend& send, const std::string& line)
{
    if (BeginsWith(line, "Unknown Command") || Contains(line, "Relation already"))
        return true;
    if (send.wait == ProgramWait)
        return IsUnnamedListAnswer(line);
    if (send.wait == SysConfigWait)
        return StartsDownload(line);
    if (send.wait == AssignWait)
        return StartsAssignment(line);
    if (send.wait == SoftwareVersionWait)
        return VersionReplyUnit(line) != VersionUnit::None;
    if (send.wait == DeleteWait)
        return DeleteDoneText(line) != nullptr && !EchoesAnotherDelete(line, send.command);
    if (send.wait == RelationDeleteWait)
        return BeginsWith(line, "DELETE RELATION");
    const WaitState<Handler>* wait = FindWait(Waits(), send.wait);
    return wait != nullptr && EndsWait(*wait, line);
}

// The command in flight has had its answer: its oldest send still owed one
// is answered, and the sends before that went unanswered.
void CommsLink::InFlightAnswered()
{
    const auto own = std::find_if(owed_.begin(), owed_.end(),
                                  [this](const OwedSend& s) { return s.number == commandNumber_; });
    if (own != owed_.end())
        owed_.erase(owed_.begin(), own + 1);
}

void CommsLink::CommsTimer_Timer()
{
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

void CommsLink::TimedOut()
{
    EndedUnanswered();
    timer_.Stop();
    session_.CommsState = CommsFailed;
}

// The command in flight ends without its answer. Each of its sends still
// owed one may be answered late, or may have been lost on the way; those of
// an earlier command that ended so have had the whole wait of this one to
// come, and are owed nothing more.
void CommsLink::EndedUnanswered()
{
    ForgetUnansweredCommands();
    for (OwedSend& send : owed_)
        if (send.number == commandNumber_)
            send.unanswered = true;
}

void CommsLink::ForgetUnansweredCommands()
{
    std::erase_if(owed_, [this](const OwedSend& s) { return s.unanswered && s.number != commandNumber_; });
}

void CommsLink::FailNow()
{
    EndedUnanswered();
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
        {ProgramWait, Resend, nullptr, BeginsWith, {}, &CommsLink::ProgramReply},
        {IdentReadWait, Resend, "IDENTREAD", BeginsWith, IdentReadDone},
        {IdentProgWait, Resend, "IDENTPROG OK", Contains, IdentProgDone},
        {SysConfigWait, Resend, nullptr, BeginsWith, {}, &CommsLink::SysConfigStart},
        {SysConfigCollect, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::SysConfigLine},
        {UnassignClearWait, FailAtOnce, "UNASSIGN CLEAR", BeginsWith, UnassignClearDone},
        {UnassignAllWait, FailAtOnce, "UNASSIGN ALL", BeginsWith, UnassignAllDone},
        {AssignWait, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::AssignStart},
        {Assigning, FailAtOnce, nullptr, BeginsWith, {}, &CommsLink::AssignLine},
        {PopulateClearWait, Resend, "CLEAR", Contains, PopulateClearDone, nullptr, kLongResendTimeoutMs},
        {DebugOffWait, Silent, "DEBUGOFF", Contains, DebugOffDone},
        {StatusMonitorOffWait, Resend, "DS MON STOP", Contains, StatusMonitorOffDone},
        {SoftwareVersionWait, Resend, nullptr, BeginsWith, {}, &CommsLink::VersionReply},
        {LoopProtocolWait, Resend, "LP", BeginsWith, LoopProtocolDone},
        {LoopCountWait, Resend, "QUERY LOOPCOUNT", BeginsWith, LoopCountDone},
        {DeleteWait, Resend, nullptr, BeginsWith, {}, &CommsLink::DeleteReply},
        {RelationDeleteWait, Resend, nullptr, BeginsWith, {}, &CommsLink::RelationDeleteReply},
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
    if (!StartsDownload(line))
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
    if (StartsAssignment(line)) {
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
    if (VersionReplyUnit(line) == VersionUnit::None)
        return;
    timer_.Stop();
    session_.CommsState = SoftwareVersionDone;
}

void CommsLink::DeleteReply(const std::string& line)
{
    // The echo of a delete of another unit answers an earlier delete that
    // had already failed: this one still waits for its own reply.
    if (EchoesAnotherDelete(line, session_.CommandText))
        return;
    timer_.Stop();
    const char* done = DeleteDoneText(line);
    LogLine(done != nullptr ? std::string(done) : "Unable to Delete Device : " + line, true);
    session_.CommsState = done != nullptr ? DeleteDone : DeleteFailed;
}

void CommsLink::RelationDeleteReply(const std::string& line)
{
    timer_.Stop();
    if (BeginsWith(line, session_.CommandText) || BeginsWith(line, "DELETE RELATION")) {
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
    const std::string upper = model::Upper(line);
    const bool acknowledged = BeginsWith(line, session_.CommandText) || Contains(upper, "RELATION ALREADY EXISTS") ||
                              Contains(upper, "NODE RELATION ALREADY DEFINED");
    if (acknowledged) {
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
        if (!ProgramEndIsFinal) {
            session_.CommsState = ProgramDone;
            return;
        }
        EndBusy();
        LogLine("Programming Completed Successfully", true);
        window_.ShowMessage("Programming Completed Successfully", 64);
        session_.CommsState = ProgramDone;
        return;
    }
    const char* abortText = nullptr;
    if (Contains(line, "POPULATE FAIL"))
        abortText = "Programming Aborted Due to Failed Populate Command";
    else if (Contains(line, "ERROR "))
        abortText = "Programming Aborted Due to Command Error";
    if (abortText == nullptr) {
        LogLine("...Comms Error, Retrying", true);
        return;
    }
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
