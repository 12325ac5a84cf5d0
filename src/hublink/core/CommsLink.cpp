#include "hublink/core/CommsLink.h"

#include "hublink/core/LinkState.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/ProgLog.h"
#include "model/Convert.h"
#include "model/FileNames.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/base/CodePage.h"

#include <algorithm>

using namespace linktext;

namespace {

const char* const kFailureText = "Communications Failure,  Please check Comms Port";

// States whose command is resent when no reply comes.
bool IsRetryState(int32_t state)
{
    switch (state) {
    case ProgramWait:
    case IdentReadWait:
    case IdentProgWait:
    case SysConfigWait:
    case PopulateClearWait:
    case StatusMonitorOffWait:
    case SoftwareVersionWait:
    case LoopProtocolWait:
    case LoopCountWait:
    case DeleteWait:
    case RelationDeleteWait:
        return true;
    default:
        return false;
    }
}

// States that fail at once when their time-out passes. The two unassign
// states belong here too: their wait must end even when the unit stays
// silent.
bool IsFailAtOnceState(int32_t state)
{
    switch (state) {
    case SysConfigCollect:
    case AssignWait:
    case Assigning:
    case AllStatusCollect:
    case UnassignClearWait:
    case UnassignAllWait:
        return true;
    default:
        return false;
    }
}

// States in which a command awaits its reply.
bool IsWaitingState(int32_t state)
{
    return IsRetryState(state) || IsFailAtOnceState(state) || state == DebugOffWait;
}

std::string ErrorText(const LinkError& error)
{
    return "Unexpected Communications Error - " + std::to_string(error.Number) + "\r\n" + error.Description;
}

} // namespace

CommsLink::CommsLink(ISerialTransport& port, ILinkTimer& timer, IMessageLoop& loop, ICommsWindow& window,
                     ISiteLink& site)
    : port_(port), timer_(timer), loop_(loop), window_(window), site_(site)
{
}

void CommsLink::SendCommand(bool Retry, int32_t TimeoutMs)
{
    RxLine.clear();
    discarding_ = false; // an over-long line in progress ends with the send too
    LogLine("-> " + CommandText, false);
    if (!Retry) {
        RetryCount = 0;
        AcceptedReply.clear();
        refusedLine_.clear();
    }
    timer_.Stop();
    LinkError error;
    portFailed_ = false;
    if (!port_.Output(platform::Utf8ToWin1252(CommandText) + "\r", error)) {
        const bool reported = portFailed_; // the write found the port gone: PortLost told already
        portFailed_ = true;
        staleReplies_ = 0;
        CommsState = CommsFailed;
        loop_.StateChanged();
        if (!reported)
            window_.ShowCommsError(ErrorText(error));
        return;
    }
    timer_.Start(TimeoutMs);
}

void CommsLink::SendWakeUp()
{
    CommandText = "\r\n";
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
            RxLine.clear();
            return;
        }
        EndOfLine();
        return;
    }
    if (discarding_)
        return;
    if (RxLine.size() >= kMaxLineLength) {
        RefuseLine();
        return;
    }
    RxLine += static_cast<char>(c);
}

void CommsLink::RefuseLine()
{
    refusedLine_ = "The unit sent a line longer than " + std::to_string(kMaxLineLength) +
                   " characters, which was refused: " + platform::Win1252ToUtf8(RxLine.substr(0, 40)) + "...";
    RxLine.clear();
    discarding_ = true;
    LogLine("<- " + refusedLine_, false);
    if (!IsWaiting(CommsState))
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
    LastRxLine = platform::Win1252ToUtf8(RxLine);
    if (window_.DeleteTimerRunning())
        LogLine(" ", false);
    if (policy_ != nullptr) {
        LogLine("<- " + LastRxLine, false);
        if (BeginsWith(LastRxLine, "Unknown Command")) {
            timer_.Stop();
            CommsState = UnknownCommand;
        }
        if (!LastRxLine.empty())
            ProcessReply(LastRxLine);
        RxLine.clear();
        return;
    }
    std::string line = LastRxLine;
    const std::string upper = model::Upper(line);
    if (Contains(upper, "CRITICAL ERROR:") || Contains(upper, "UNHANDLED PACKET") ||
        Contains(line, "Old Added")) {
        line.clear();
    } else if (Contains(line, "Relation already")) {
        line = CommandText;
    } else if (BeginsWith(line, "Unknown Command")) {
        timer_.Stop();
        CommsState = UnknownCommand;
    }
    if (!line.empty()) {
        LogLine("<- " + line, false);
        ProcessReply(line);
    }
    RxLine.clear();
}

void CommsLink::CommsTimer_Timer()
{
    if (policy_ != nullptr) {
        policy_->TimerTick();
        loop_.StateChanged();
        return;
    }
    const int32_t state = CommsState;
    if (IsRetryState(state)) {
        if (RetryCount < kMaxResends) {
            LinkError ignored; // a port that refuses the CR refuses the resend too, which reports it
            port_.Output("\r", ignored);
            if (portFailed_)
                return; // the port went with the CR, and PortLost has ended the wait
            ++RetryCount;
            staleReplies_ = 0; // the resent command owns what comes now
            LogLine("...Retry", true);
            const bool longWait = ReplyLineCount == 1 || state == PopulateClearWait;
            SendCommand(true, longWait ? kLongResendTimeoutMs : kReplyTimeoutMs);
        } else {
            LogLine(std::string(kFailureText) + " and try again" + "\r\n\r\n", true);
            TimedOut();
            EndBusyUnlessDeleting(state);
        }
    } else if (IsFailAtOnceState(state)) {
        TimedOut();
        EndBusy();
    } else if (state == DebugOffWait) {
        TimedOut();
    }
    loop_.StateChanged();
}

void CommsLink::TimedOut()
{
    // Each send may still be answered late; those answers must not be taken
    // for the reply to the same command sent again.
    staleCommand_ = CommandText;
    staleReplies_ = RetryCount + 1;
    timer_.Stop();
    CommsState = CommsFailed;
}

void CommsLink::FailNow()
{
    timer_.Stop();
    EndBusyUnlessDeleting(CommsState);
    CommsState = CommsFailed;
}

// The deletes go on after one fails, and the sequence that runs them holds
// the window busy until the last has ended.
void CommsLink::EndBusyUnlessDeleting(int32_t failedState)
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
    RxLine.clear();
    if (policy_ != nullptr && policy_->IsWaitingState(CommsState)) {
        policy_->PortLostWhileWaiting();
    } else if (policy_ == nullptr && IsWaitingState(CommsState)) {
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
    if (ReplyLineCount >= kMaxReplyLines) {
        LogLine("The unit sent more than " + std::to_string(kMaxReplyLines) + " lines, transfer stopped",
                true);
        FailNow();
        return false;
    }
    ++ReplyLineCount;
    ReplyLines.resize(static_cast<size_t>(ReplyLineCount) + 1);
    ReplyLines[static_cast<size_t>(ReplyLineCount)] = model::TrimBlanks(line);
    return true;
}

void CommsLink::ProcessReply(const std::string& Line)
{
    LastRxLine = Line;
    const std::string& line = Line;
    // Until the same command has been resent, lines that come while it
    // waits are counted against the failed sends first.
    if (staleReplies_ > 0) {
        if (!IsWaiting(CommsState)) {
            --staleReplies_; // the late answer came while nothing waits
        } else if (RetryCount == 0 && CommandText == staleCommand_) {
            --staleReplies_;
            return;
        }
    }
    const int32_t before = CommsState;
    if (policy_ != nullptr)
        policy_->Dispatch(line);
    else
        Dispatch(line);
    if (CommsState != before) {
        AcceptedReply = line;
        staleReplies_ = 0; // the unit answers in order: nothing older is still to come
    }
}

bool CommsLink::IsWaiting(int32_t state) const
{
    return policy_ != nullptr ? policy_->IsWaitingState(state) : IsWaitingState(state);
}

void CommsLink::Dispatch(const std::string& line)
{
    switch (CommsState) {
    case Idle:
        LogLine(line, false);
        break;
    case IdentReadWait:
        if (BeginsWith(line, "IDENTREAD")) {
            timer_.Stop();
            CommsState = IdentReadDone;
        }
        break;
    case IdentProgWait:
        if (Contains(line, "IDENTPROG OK")) {
            timer_.Stop();
            CommsState = IdentProgDone;
        }
        break;
    case SysConfigWait:
        if (Contains(line, "EXPORT SYSCONFIG")) {
            CommsState = SysConfigCollect;
            Rearm(kConfigLineTimeoutMs);
            AdvanceProgress();
            EmptyReplyLines();
        }
        break;
    case SysConfigCollect: {
        AdvanceProgress();
        if (Contains(line, "END OF DATA")) {
            timer_.Stop();
            CommsState = SysConfigDone;
            break;
        }
        Rearm(kConfigLineTimeoutMs);
        const std::string head = line.substr(0, 4);
        if (head == "POPU" || head == "RELA" || head == "XPRO" || head == "YPRO")
            CollectLine(line);
        break;
    }
    case UnassignClearWait:
        if (BeginsWith(line, "UNASSIGN CLEAR")) {
            timer_.Stop();
            CommsState = UnassignClearDone;
        }
        break;
    case UnassignAllWait:
        if (BeginsWith(line, "UNASSIGN ALL")) {
            timer_.Stop();
            CommsState = UnassignAllDone;
        }
        break;
    case AssignWait:
        if (BeginsWith(line, "ASSIGN RCCS") || BeginsWith(line, "ASSIGN ALL")) {
            CommsState = Assigning;
            Rearm(kAssignLineTimeoutMs);
        }
        break;
    case Assigning:
        if (BeginsWith(line, "ASSIGN OK")) {
            AssignResult(line, 10, true, "Assigned ");
        } else if (BeginsWith(line, "ASSIGN FAIL")) {
            AssignResult(line, 12, false, "Failed ");
        } else if (BeginsWith(line, "ASSIGN FINISH")) {
            timer_.Stop();
            CommsState = AssignDone;
            LogLine("Assign Process Completed", true);
        }
        break;
    case PopulateClearWait:
        if (Contains(line, "CLEAR")) {
            timer_.Stop();
            CommsState = PopulateClearDone;
        }
        break;
    case DebugOffWait:
        if (Contains(line, "DEBUGOFF")) {
            timer_.Stop();
            CommsState = DebugOffDone;
        }
        break;
    case StatusMonitorOffWait:
        if (Contains(line, "DS MON STOP")) {
            timer_.Stop();
            CommsState = StatusMonitorOffDone;
        }
        break;
    case SoftwareVersionWait:
        if (BeginsWith(line, "RCC") || BeginsWith(line, "HUB")) {
            IsLoopInterface = false;
            timer_.Stop();
            CommsState = SoftwareVersionDone;
        } else if (BeginsWith(line, "WZM") || BeginsWith(line, "ALID") || BeginsWith(line, "GELI") ||
                   BeginsWith(line, "ZWZM") || BeginsWith(line, "ZRLM")) {
            IsLoopInterface = true;
            timer_.Stop();
            CommsState = SoftwareVersionDone;
        }
        break;
    case LoopProtocolWait:
        if (BeginsWith(line, "LP")) {
            timer_.Stop();
            CommsState = LoopProtocolDone;
        }
        break;
    case LoopCountWait:
        if (BeginsWith(line, "QUERY LOOPCOUNT")) {
            timer_.Stop();
            CommsState = LoopCountDone;
        }
        break;
    case DeleteWait:
        timer_.Stop();
        if (Contains(line, "DELETE DEVICE") || BeginsWith(line, "DEVICE DELETED")) {
            LogLine("Device Successfully Deleted", true);
            CommsState = DeleteDone;
        } else if (BeginsWith(line, "DELETE NODE")) {
            LogLine("RCC Successfully Deleted", true);
            CommsState = DeleteDone;
        } else if (BeginsWith(line, "DEVICE NO RESPONSE")) {
            LogLine("Device Deleted, but did not Respond ", true);
            CommsState = DeleteDone;
        } else if (BeginsWith(line, "DEVICE DELETE TIMEOUT")) {
            LogLine("Device Deleted, but RCC did not Respond ", true);
            CommsState = DeleteDone;
        } else {
            LogLine("Unable to Delete Device : " + line, true);
            CommsState = DeleteFailed;
        }
        break;
    case RelationDeleteWait:
        timer_.Stop();
        if (BeginsWith(line, CommandText) || BeginsWith(line, "DELETE RELATION")) {
            CommsState = DeleteDone;
        } else {
            LogLine(line, true);
            CommsState = DeleteFailed;
        }
        break;
    case AllStatusCollect:
        timer_.Stop();
        if (BeginsWith(line, "END OF DATA")) {
            LogLine("Device Status Successfully Obtained", true);
            CommsState = AllStatusDone;
        } else if (CollectLine(line)) {
            Rearm(kStatusLineTimeoutMs);
        }
        break;
    case ProgramWait:
        ProgramReply(line);
        break;
    default:
        break;
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
    const bool acknowledged = BeginsWith(line, CommandText) || Contains(upper, "RELATION ALREADY EXISTS") ||
                              Contains(upper, "NODE RELATION ALREADY DEFINED");
    if (acknowledged) {
        ++ReplyLineCount;
        if (ReplyLineCount <= CommandCount) {
            AdvanceProgress();
            const auto index = static_cast<size_t>(ReplyLineCount);
            CommandText = index < ReplyLines.size() ? ReplyLines[index] : std::string();
            if (index < CommandCaptions.size() && !CommandCaptions[index].empty())
                LogLine(CommandCaptions[index], true);
            SendCommand(false, kReplyTimeoutMs);
            return;
        }
        timer_.Stop();
        if (!ProgramEndIsFinal) {
            CommsState = ProgramDone;
            return;
        }
        window_.HideProgress();
        EndBusy();
        LogLine("Programming Completed Successfully", true);
        window_.ShowMessage("Programming Completed Successfully", 64);
        CommsState = ProgramDone;
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
    CommsState = ProgramAborted;
}

int32_t CommsLink::Transact(int32_t waitCode, const std::string& command, int32_t timeoutMs)
{
    CommsState = waitCode;
    CommandText = command;
    SendCommand(false, timeoutMs);
    WaitWhileState({waitCode});
    return CommsState;
}

void CommsLink::WaitWhileState(std::initializer_list<int32_t> codes)
{
    loop_.WaitWhile([codes] { return std::find(codes.begin(), codes.end(), CommsState) != codes.end(); });
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

void CommsLink::EndBusy()
{
    window_.SetControlsBusy(false);
    busy_ = false;
}

void CommsLink::AdvanceProgress()
{
    const int next = window_.ProgressValue() + ProgressStep;
    if (next < window_.ProgressMax())
        window_.SetProgressValue(next);
}
