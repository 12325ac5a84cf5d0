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
    // A new list starts its own account; a resend and the next command of
    // the list are owed answers after those still to come.
    if (session_.CommsState != ProgramWait || (!Retry && session_.ReplyLineCount <= 1))
        owed_.clear();
    if (session_.CommsState == ProgramWait)
        owed_.push_back(session_.CommandText);
    timer_.Stop();
    LinkError error;
    portFailed_ = false;
    if (!port_.Output(platform::Utf8ToWin1252(session_.CommandText) + "\r", error)) {
        const bool reported = portFailed_; // the write found the port gone: PortLost told already
        portFailed_ = true;
        staleReplies_ = 0;
        session_.CommsState = CommsFailed;
        loop_.StateChanged();
        if (!reported)
            window_.ShowCommsError(ErrorText(error));
        return;
    }
    timer_.Start(TimeoutMs);
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
    if (session_.CommsState == ProgramWait && AnswersAnEarlierSend(line))
        return; // its command has had its answer, or has gone unanswered before
    if (Contains(line, "Relation already") && IsWaiting(session_.CommsState)) {
        ProcessReply(session_.CommandText); // the relation is held: the command's echo
        return;
    }
    // A refusal that comes when nothing waits answers a command already
    // ended; it cannot undo that command's end.
    if (BeginsWith(line, "Unknown Command") && IsWaiting(session_.CommsState)) {
        timer_.Stop();
        session_.CommsState = UnknownCommand;
    }
    ProcessReply(line);
}

namespace {

// A reply to a programming command that does not name the command.
bool IsUnnamedListAnswer(const std::string& line)
{
    const std::string upper = model::Upper(line);
    return BeginsWith(line, "Unknown Command") || Contains(line, "Relation already") ||
           Contains(upper, "RELATION ALREADY EXISTS") || Contains(upper, "NODE RELATION ALREADY DEFINED") ||
           Contains(line, "POPULATE FAIL") || Contains(line, "ERROR ");
}

} // namespace

// Settles which send of the programming list the line answers: the send
// whose command the line begins with (its echo; the longest such command),
// else, for an answer that names no command, the oldest send still owed
// one. Sends before the one answered were never answered. True when the
// send answered is not one of the command in flight: the line was owed to
// an earlier command, and counts for nothing else.
bool CommsLink::AnswersAnEarlierSend(const std::string& line)
{
    size_t answered = owed_.size();
    for (size_t i = 0; i < owed_.size(); ++i)
        if (BeginsWith(line, owed_[i]) && (answered == owed_.size() || owed_[i].size() > owed_[answered].size()))
            answered = i;
    if (answered == owed_.size()) {
        if (owed_.empty() || !IsUnnamedListAnswer(line))
            return false; // no answer to a list command: the list walk judges it
        answered = 0;
    }
    const bool earlier = owed_[answered] != session_.CommandText;
    owed_.erase(owed_.begin(), owed_.begin() + static_cast<std::ptrdiff_t>(answered) + 1);
    return earlier;
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
            staleReplies_ = 0; // the resent command owns what comes now
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
    // Each send may still be answered late; those answers must not be taken
    // for the reply to the same command sent again.
    staleCommand_ = session_.CommandText;
    staleReplies_ = session_.RetryCount + 1;
    timer_.Stop();
    session_.CommsState = CommsFailed;
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
    staleReplies_ = 0;
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
    // Until the same command has been resent, lines that come while it
    // waits are counted against the failed sends first.
    if (staleReplies_ > 0) {
        if (!IsWaiting(session_.CommsState)) {
            --staleReplies_; // the late answer came while nothing waits
        } else if (session_.RetryCount == 0 && session_.CommandText == staleCommand_) {
            --staleReplies_;
            return;
        }
    }
    const StateCode before = session_.CommsState;
    if (policy_ != nullptr)
        policy_->Dispatch(line);
    else
        Dispatch(line);
    if (session_.CommsState != before) {
        session_.AcceptedReply = line;
        staleReplies_ = 0; // the unit answers in order: nothing older is still to come
    }
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
    if (!Contains(line, "EXPORT SYSCONFIG"))
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
    if (BeginsWith(line, "ASSIGN RCCS") || BeginsWith(line, "ASSIGN ALL")) {
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
    if (Contains(line, "DELETE DEVICE") && DeletedUnit(line) != DeletedUnit(session_.CommandText))
        return;
    timer_.Stop();
    const char* done = nullptr;
    if (Contains(line, "DELETE DEVICE") || BeginsWith(line, "DEVICE DELETED"))
        done = "Device Successfully Deleted";
    else if (BeginsWith(line, "DELETE NODE"))
        done = "RCC Successfully Deleted";
    else if (BeginsWith(line, "DEVICE NO RESPONSE"))
        done = "Device Deleted, but did not Respond ";
    else if (BeginsWith(line, "DEVICE DELETE TIMEOUT"))
        done = "Device Deleted, but RCC did not Respond ";
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
