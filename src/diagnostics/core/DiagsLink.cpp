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

using namespace hublink;
using namespace hublink::linktext;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

namespace {

bool IsScanState(StateCode state)
{
    return state == ScanWait || state == Scanning || state == ScanStopping;
}

bool IsMonitorState(StateCode state)
{
    return state == MonitorWait || state == Monitoring || state == MonitorStopping;
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

// The answers of the waits whose handler reads them.
bool IsRadioDataStart(const std::string& line, const std::string&)
{
    return Contains(line, "EXPORT RADIO INFO ALL");
}

bool IsStatusAtReply(const std::string& line, const std::string&)
{
    return BeginsWith(line, "DS LOOP");
}

bool IsManualUpdateEcho(const std::string& line, const std::string&)
{
    return line.substr(0, 17) == "GET MANUAL UPDATE";
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

StateCode DiagsLink::Request(StateCode waitCode, const std::string& command, int32_t timeoutMs)
{
    link_.Transact(waitCode, command, timeoutMs);
    if (waitCode == RadioDataWait)
        link_.WaitWhileState({RadioDataCollect});
    else if (waitCode == ManualUpdateWait)
        link_.WaitWhileState({ManualUpdateReplyWait});
    return link_.Session().CommsState;
}

bool DiagsLink::StopHubDebugOutput()
{
    Request(DebugOffWait, "DEBUGOFF ALL");
    return Request(StatusMonitorOffWait, "DS MON DIS") == StatusMonitorOffDone;
}

int32_t DiagsLink::ReadSoftwareVersion(int expectedNode, std::string& version)
{
    version.clear();
    const StateCode state = Request(SoftwareVersionWait, "GET SWV");
    if (state != SoftwareVersionDone) {
        if (link_.PortFailed())
            return kUnitTypeNoPort;
        return state == UnknownCommand ? 1 : 3;
    }
    const std::string& line = link_.Session().AcceptedReply;
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

bool DiagsLink::IsWaitingState(StateCode state) const
{
    return FindWait(Waits(), state) != nullptr;
}

bool DiagsLink::AnswersWait(StateCode wait, const std::string& line, const std::string& command) const
{
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    return row != nullptr && hublink::AnswersWait(*row, line, command);
}

bool DiagsLink::WaitsForOneAnswer(StateCode wait) const
{
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    return row != nullptr && hublink::WaitsForOneAnswer(*row);
}

bool DiagsLink::RefusesWait(StateCode wait, const std::string& line, const std::string& command) const
{
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    return row != nullptr && hublink::RefusesWait(*row, line, command);
}

bool DiagsLink::DuplicatesRefused(StateCode wait) const
{
    const WaitState<Handler>* row = FindWait(Waits(), wait);
    return row != nullptr && row->duplicatesRefused;
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
    link_.Session().CommandText = command;
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
    if (!link_.Session().AddReplyLine(line)) {
        Fail(); // a unit that never ends its list has failed
        return;
    }
    Rearm(kListLineTimeoutMs);
    if (ReplyProgress < limit)
        SetReplyProgress(ReplyProgress + 1);
}

// The diagnostics' command set. The channel runs read the lines of their
// states; their time-outs go to the runs first (TimerTick).
std::span<const WaitState<DiagsLink::Handler>> DiagsLink::Waits()
{
    using W = WaitState<Handler>;
    using enum WaitKind;
    using enum ReplyMatch;
    static const W kWaits[] = {
        {ProgramWait, Resend},
        {IdentReadWait, Resend, "IDENTREAD", BeginsWith, IdentReadDone},
        {IdentProgWait, Resend},
        {SysConfigWait, Resend},
        {RadioDataWait, Resend, nullptr, BeginsWith, {}, &DiagsLink::RadioDataStart, 0, &IsRadioDataStart},
        {PopulateClearWait, Resend, nullptr, BeginsWith, {}, nullptr, kLongResendTimeoutMs},
        {StatusMonitorOffWait, Resend, "DS MON STOP", Contains, StatusMonitorOffDone},
        {ScanWait, Resend, nullptr, BeginsWith, {}, &DiagsLink::ScanReply},
        {MonitorWait, Resend, nullptr, BeginsWith, {}, &DiagsLink::MonitorReply},
        {Monitoring, Resend, nullptr, BeginsWith, {}, &DiagsLink::MonitorReply, kReplyTimeoutMs},
        {StatusAtWait, Resend, nullptr, BeginsWith, {}, &DiagsLink::StatusAtReply, 0, &IsStatusAtReply},
        {SysConfigCollect, FailAtOnce},
        {RadioDataCollect, FailAtOnce, nullptr, BeginsWith, {}, &DiagsLink::RadioDataLine},
        {Scanning, FailAtOnce, nullptr, BeginsWith, {}, &DiagsLink::ScanReply},
        {AllStatusCollect, FailAtOnce, nullptr, BeginsWith, {}, &DiagsLink::StatusLine},
        {SignalsCollect, FailAtOnce, nullptr, BeginsWith, {}, &DiagsLink::SignalsLine},
        {DailyMaxCollect, FailAtOnce, nullptr, BeginsWith, {}, &DiagsLink::DailyMaxLine},
        {DebugOffWait, Silent, "DEBUGOFF", Contains, DebugOffDone},
        {SoftwareVersionWait, Silent, nullptr, BeginsWith, {}, &DiagsLink::VersionReply, 0, &IsVersionReply},
        {ScanStopping, Own, nullptr, BeginsWith, {}, &DiagsLink::ScanReply},
        {MonitorStopping, Own, nullptr, BeginsWith, {}, &DiagsLink::MonitorReply},
        {ManualUpdateWait, Own, nullptr, BeginsWith, {}, &DiagsLink::ManualUpdateEcho, 0, &IsManualUpdateEcho},
        {ManualUpdateReplyWait, Own, nullptr, BeginsWith, {}, &DiagsLink::ManualUpdateReply},
    };
    return kWaits;
}

void DiagsLink::Dispatch(const std::string& line)
{
    const WaitState<Handler>* wait = FindWait(Waits(), link_.Session().CommsState);
    if (wait != nullptr)
        TakeReply(*this, *wait, line, link_.Session().CommsState, link_.Timer());
}

void DiagsLink::RadioDataStart(const std::string& line)
{
    if (IsRadioDataStart(line, {})) {
        Rearm(kReplyTimeoutMs);
        link_.Session().CommsState = RadioDataCollect;
        link_.Session().EmptyReplyLines();
    }
}

void DiagsLink::RadioDataLine(const std::string& line)
{
    if (Contains(line, "END OF DATA")) {
        link_.Timer().Stop();
        link_.Session().CommsState = RadioDataDone;
    } else {
        Collect(line, 0);
        Rearm(kRadioDataLineTimeoutMs);
    }
}

void DiagsLink::VersionReply(const std::string& line)
{
    if (IsVersionReply(line, {})) {
        link_.Timer().Stop();
        link_.Session().CommsState = SoftwareVersionDone;
    }
}

void DiagsLink::ScanReply(const std::string& line)
{
    if (scan_ != nullptr)
        scan_->Reply(line);
}

void DiagsLink::MonitorReply(const std::string& line)
{
    if (monitor_ != nullptr)
        monitor_->Reply(line);
}

void DiagsLink::StatusAtReply(const std::string& line)
{
    if (IsStatusAtReply(line, {})) {
        link_.Timer().Stop();
        link_.Session().CommsState = StatusAtDone;
        LogLine("Device Status Successfully Obtained", false);
    }
}

void DiagsLink::ListLine(const std::string& line, StateCode done, const char* doneText, int limit)
{
    if (BeginsWith(line, "END OF DATA")) {
        link_.Timer().Stop();
        link_.Session().CommsState = done;
        LogLine(doneText, false);
        SetReplyProgress(limit);
    } else {
        Collect(line, limit);
    }
}

void DiagsLink::StatusLine(const std::string& line)
{
    ListLine(line, AllStatusDone, "Device Status Successfully Obtained", window_.ProgressMax());
}

void DiagsLink::SignalsLine(const std::string& line)
{
    ListLine(line, SignalsDone, "Device Signal Strengths Successfully Obtained", window_.ProgressMax() / 2);
}

void DiagsLink::DailyMaxLine(const std::string& line)
{
    if (BeginsWith(line, "EXPORT DM ALL"))
        Rearm(kListLineTimeoutMs);
    else
        ListLine(line, DailyMaxDone, "Global Stats Successfully Obtained", window_.ProgressMax());
}

void DiagsLink::ManualUpdateEcho(const std::string& line)
{
    if (IsManualUpdateEcho(line, {})) {
        link_.Session().CommsState = ManualUpdateReplyWait;
        Rearm(kManualUpdateTimeoutMs);
    }
}

void DiagsLink::ManualUpdateReply(const std::string& line)
{
    if (IsLoopInterface) {
        const std::vector<std::string> f = SingleBlankFields(line);
        if (f.size() < 4 || f[0] != "MANUAL" || f[1] != "UPDATE" || model::WholeNumber(f[3]) != ExpectedUpdateAddress)
            return;
    }
    LinkSession& session = link_.Session();
    link_.Timer().Stop();
    if (session.ReplyLines.empty())
        session.ReplyLines.resize(1);
    session.ReplyLines[0] = model::TrimBlanks(line);
    session.CommsState = ManualUpdateDone;
    const int max = window_.ProgressMax();
    if (window_.ProgressValue() < max)
        window_.SetProgressValue(window_.ProgressValue() + 1);
    if (ReplyProgress < max)
        ++ReplyProgress;
}

void DiagsLink::Resend(int32_t timeoutMs)
{
    LinkError ignored; // a port that refuses the CR refuses the resend too, which reports it
    port_.Output("\r", ignored);
    ++link_.Session().RetryCount;
    LogLine(link_.Session().CommandText + " - ReTry", false);
    link_.SendCommand(true, timeoutMs);
}

void DiagsLink::Fail()
{
    const std::string text = FailureText();
    window_.ReportLinkFailure(text);
    LogLine(text, false);
    link_.Timer().Stop();
    window_.EnableWindow();
    link_.Session().CommsState = CommsFailed;
}

void DiagsLink::TimerTick()
{
    LinkSession& session = link_.Session();
    const StateCode state = session.CommsState;
    // A channel run has its own time-out rules; what it leaves follows the
    // link's.
    if (scan_ != nullptr && IsScanState(state) && scan_->TimedOut())
        return;
    if (monitor_ != nullptr && IsMonitorState(state) && monitor_->TimedOut())
        return;
    const WaitState<Handler>* wait = FindWait(Waits(), state);
    if (wait == nullptr)
        return;
    switch (wait->kind) {
    case WaitKind::Resend:
        if (session.RetryCount >= kMaxResends)
            Fail();
        else
            Resend(ResendTimeoutMs(*wait, session.ReplyLineCount));
        break;
    case WaitKind::FailAtOnce:
        Fail();
        break;
    case WaitKind::Silent:
        link_.Timer().Stop();
        window_.EnableWindow();
        session.CommsState = CommsFailed;
        break;
    case WaitKind::Own:
        if (state == ManualUpdateWait || state == ManualUpdateReplyWait) {
            // A unit that never echoes its request has timed out as well.
            link_.Timer().Stop();
            session.CommsState = ManualUpdateTimedOut;
            if (window_.ProgressValue() < window_.ProgressMax())
                window_.SetProgressValue(window_.ProgressValue() + 1);
        }
        break;
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
