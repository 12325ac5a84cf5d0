#include "diagnostics/core/DiagsLink.h"

#include "diagnostics/core/ChannelMonitor.h"
#include "diagnostics/core/ChannelScan.h"
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/core/IDiagsWindow.h"
#include "hublink/core/LinkText.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Convert.h"
#include "model/FileNames.h"
#include "model/Settings.h"
#include "model/SiteState.h"

#include <sstream>

using namespace linktext;

namespace {

bool IsRetryState(int32_t state)
{
    switch (state) {
    case ProgramWait:
    case IdentReadWait:
    case IdentProgWait:
    case SysConfigWait:
    case RadioDataWait:
    case PopulateClearWait:
    case StatusMonitorOffWait:
    case ScanWait:
    case MonitorWait:
    case StatusAtWait:
        return true;
    default:
        return false;
    }
}

bool IsFailAtOnceState(int32_t state)
{
    switch (state) {
    case SysConfigCollect:
    case RadioDataCollect:
    case Scanning:
    case AllStatusCollect:
    case SignalsCollect:
    case DailyMaxCollect:
        return true;
    default:
        return false;
    }
}

bool IsSilentState(int32_t state)
{
    return state == DebugOffWait || state == SoftwareVersionWait;
}

bool IsUnitWord(const std::string& line)
{
    for (const char* word : {"RCC", "HUB", "ALID", "WZM", "GELI", "ZWZM", "ZRLM"})
        if (BeginsWith(line, word))
            return true;
    return false;
}

std::vector<std::string> SingleBlankFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ' '))
        fields.push_back(field);
    return fields;
}

} // namespace

std::string DiagsFailureText(int activeNode)
{
    const std::string unit = activeNode == -1  ? "unit"
                             : activeNode != 0 ? "RCC " + std::to_string(activeNode)
                                               : "Radio Hub";
    return "Communications Failure,  Please reset " + unit + " and try again";
}

DiagsLink::DiagsLink(CommsLink& link, ISerialTransport& port, IDiagsWindow& window)
    : link_(link), port_(port), window_(window)
{
    link_.SetPolicy(this);
}

DiagsLink::~DiagsLink()
{
    link_.SetPolicy(nullptr);
}

int32_t DiagsLink::Request(int32_t waitCode, const std::string& command, int32_t timeoutMs)
{
    link_.Transact(waitCode, command, timeoutMs);
    if (waitCode == RadioDataWait)
        link_.WaitWhileState({RadioDataCollect});
    else if (waitCode == ManualUpdateWait)
        link_.WaitWhileState({ManualUpdateReplyWait});
    return CommsState;
}

bool DiagsLink::StopHubDebugOutput()
{
    Request(DebugOffWait, "DEBUGOFF ALL");
    return Request(StatusMonitorOffWait, "DS MON DIS") == StatusMonitorOffDone;
}

int32_t DiagsLink::ReadSoftwareVersion(int expectedNode, std::string& version)
{
    version.clear();
    const int32_t state = Request(SoftwareVersionWait, "GET SWV");
    if (state != SoftwareVersionDone) {
        if (link_.PortFailed())
            return kUnitTypeNoPort;
        return state == UnknownCommand ? 1 : 3;
    }
    const std::string& line = AcceptedReply;
    const std::string kind = model::Upper(line.substr(0, 3));
    int32_t result = 3;
    if (kind == "HUB")
        result = expectedNode != 0 ? 4 : 1;
    else if (kind == "RCC")
        result = expectedNode <= 0 ? 5 : 1;
    else if (IsLoopInterface && (kind == "ALI" || kind == "WZM" || kind == "GEL"))
        result = 1;
    const size_t at = line.find(" V");
    if (at != std::string::npos)
        version = line.substr(at + 2, 7);
    return result;
}

bool DiagsLink::IsWaitingState(int32_t state) const
{
    return IsRetryState(state) || IsFailAtOnceState(state) || IsSilentState(state) || state == ScanStopping ||
           state == Monitoring || state == MonitorStopping || state == ManualUpdateWait ||
           state == ManualUpdateReplyWait;
}

void DiagsLink::Rearm(int32_t ms)
{
    link_.Timer().Stop();
    if (ms > 0)
        link_.Timer().Start(ms);
}

void DiagsLink::SetChannelRuns(diagnostics::ChannelScan* scan, diagnostics::ChannelMonitor* monitor)
{
    scan_ = scan;
    monitor_ = monitor;
}

void DiagsLink::Send(const std::string& command, int32_t timeoutMs)
{
    CommandText = command;
    link_.SendCommand(false, timeoutMs);
}

std::string DiagsLink::FailureText() const
{
    return DiagsFailureText(ActiveNode);
}

void DiagsLink::WaitUntil(const std::function<bool()>& done)
{
    link_.Loop().WaitWhile([&done] { return !done(); });
}

void DiagsLink::SetReplyProgress(int value)
{
    ReplyProgress = value;
    window_.SetProgressValue(ReplyProgress);
}

void DiagsLink::Collect(const std::string& line, int limit)
{
    link_.Timer().Stop();
    if (ReplyLineCount >= kMaxReplyLines) {
        Fail(); // a unit that never ends its list has failed
        return;
    }
    ++ReplyLineCount;
    ReplyLines.resize(static_cast<size_t>(ReplyLineCount) + 1);
    ReplyLines[static_cast<size_t>(ReplyLineCount)] = model::TrimBlanks(line);
    Rearm(kListLineTimeoutMs);
    if (ReplyProgress < limit)
        SetReplyProgress(ReplyProgress + 1);
}

void DiagsLink::Dispatch(const std::string& line)
{
    const int max = window_.ProgressMax();
    switch (CommsState) {
    case IdentReadWait:
        if (BeginsWith(line, "IDENTREAD")) {
            link_.Timer().Stop();
            CommsState = IdentReadDone;
        }
        break;
    case RadioDataWait:
        if (Contains(line, "EXPORT RADIO INFO ALL")) {
            Rearm(kReplyTimeoutMs);
            CommsState = RadioDataCollect;
            EmptyReplyLines();
        }
        break;
    case RadioDataCollect:
        if (Contains(line, "END OF DATA")) {
            link_.Timer().Stop();
            CommsState = RadioDataDone;
        } else {
            Collect(line, 0);
            Rearm(kRadioDataLineTimeoutMs);
        }
        break;
    case DebugOffWait:
        if (Contains(line, "DEBUGOFF")) {
            link_.Timer().Stop();
            CommsState = DebugOffDone;
        }
        break;
    case StatusMonitorOffWait:
        if (Contains(line, "DS MON STOP")) {
            link_.Timer().Stop();
            CommsState = StatusMonitorOffDone;
        }
        break;
    case SoftwareVersionWait:
        if (IsUnitWord(line)) {
            link_.Timer().Stop();
            CommsState = SoftwareVersionDone;
        }
        break;
    case ScanWait:
    case Scanning:
    case ScanStopping:
        if (scan_ != nullptr)
            scan_->Reply(line);
        break;
    case MonitorWait:
    case Monitoring:
    case MonitorStopping:
        if (monitor_ != nullptr)
            monitor_->Reply(line);
        break;
    case StatusAtWait:
        if (BeginsWith(line, "DS LOOP")) {
            link_.Timer().Stop();
            CommsState = StatusAtDone;
            LogLine("Device Status Successfully Obtained", false);
        }
        break;
    case AllStatusCollect:
        if (BeginsWith(line, "END OF DATA")) {
            link_.Timer().Stop();
            CommsState = AllStatusDone;
            LogLine("Device Status Successfully Obtained", false);
            SetReplyProgress(max);
        } else {
            Collect(line, max);
        }
        break;
    case SignalsCollect:
        if (BeginsWith(line, "END OF DATA")) {
            link_.Timer().Stop();
            CommsState = SignalsDone;
            LogLine("Device Signal Strengths Successfully Obtained", false);
            SetReplyProgress(max / 2);
        } else {
            Collect(line, max / 2);
        }
        break;
    case DailyMaxCollect:
        if (BeginsWith(line, "END OF DATA")) {
            link_.Timer().Stop();
            CommsState = DailyMaxDone;
            LogLine("Global Stats Successfully Obtained", false);
            SetReplyProgress(max);
        } else if (BeginsWith(line, "EXPORT DM ALL")) {
            Rearm(kListLineTimeoutMs);
        } else {
            Collect(line, max);
        }
        break;
    case ManualUpdateWait:
        if (line.substr(0, 17) == "GET MANUAL UPDATE") {
            CommsState = ManualUpdateReplyWait;
            Rearm(kManualUpdateTimeoutMs);
        }
        break;
    case ManualUpdateReplyWait: {
        if (IsLoopInterface) {
            const std::vector<std::string> f = SingleBlankFields(line);
            if (f.size() < 4 || f[0] != "MANUAL" || f[1] != "UPDATE" ||
                model::WholeNumber(f[3]) != ExpectedUpdateAddress)
                break;
        }
        link_.Timer().Stop();
        if (ReplyLines.empty())
            ReplyLines.resize(1);
        ReplyLines[0] = model::TrimBlanks(line);
        CommsState = ManualUpdateDone;
        if (window_.ProgressValue() < max)
            window_.SetProgressValue(window_.ProgressValue() + 1);
        if (ReplyProgress < max)
            ++ReplyProgress;
        break;
    }
    default:
        break;
    }
}

void DiagsLink::Resend(int32_t timeoutMs)
{
    LinkError ignored; // a port that refuses the CR refuses the resend too, which reports it
    port_.Output("\r", ignored);
    ++RetryCount;
    LogLine(CommandText + " - ReTry", false);
    link_.SendCommand(true, timeoutMs);
}

void DiagsLink::Fail()
{
    const std::string text = FailureText();
    window_.ReportLinkFailure(text);
    LogLine(text, false);
    link_.Timer().Stop();
    window_.EnableWindow();
    CommsState = CommsFailed;
}

void DiagsLink::TimerTick()
{
    const int32_t state = CommsState;
    // A channel run has its own time-out rules; what it leaves follows the
    // link's.
    if (scan_ != nullptr && state >= ScanWait && state <= ScanStopping && scan_->TimedOut())
        return;
    if (monitor_ != nullptr && state >= MonitorWait && state <= MonitorStopping && monitor_->TimedOut())
        return;
    if (IsRetryState(state)) {
        if (RetryCount >= kMaxResends)
            Fail();
        else
            Resend(ReplyLineCount == 1 || state == PopulateClearWait ? kLongResendTimeoutMs : kReplyTimeoutMs);
    } else if (IsFailAtOnceState(state)) {
        Fail();
    } else if (IsSilentState(state)) {
        link_.Timer().Stop();
        window_.EnableWindow();
        CommsState = CommsFailed;
    } else if (state == Monitoring) {
        if (RetryCount >= kMaxResends) {
            Fail();
        } else {
            Resend(kReplyTimeoutMs);
        }
    } else if (state == ManualUpdateWait || state == ManualUpdateReplyWait) {
        // A unit that never echoes its request has timed out as well.
        link_.Timer().Stop();
        CommsState = ManualUpdateTimedOut;
        if (window_.ProgressValue() < window_.ProgressMax())
            window_.SetProgressValue(window_.ProgressValue() + 1);
    }
}

void DiagsLink::PortLostWhileWaiting()
{
    Fail();
}

void DiagsLink::LogLine(const std::string& text, bool toBox)
{
    if (toBox)
        window_.AppendToLogBox(text);
    if (!LogDiags || AppendDiagsLog(text) || logFailed_)
        return;
    logFailed_ = true;
    window_.LogWriteFailed(DiagsLogPath());
}
