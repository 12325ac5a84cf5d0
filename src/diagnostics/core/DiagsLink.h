#pragma once
// The diagnostics window's command set on the shared link engine: the states
// its commands wait in, how reply lines move them on, list collection with
// its progress count, the time-out rules (resends, silent and at-once
// failures) and its traffic log, DiagsLog.txt. Lines are taken as they
// arrive, without the communications window's filters. In the states 40 to
// 47 the link carries the channel scan and the channel monitor: their lines
// and time-outs go to the runs, which send through the link as their
// IChannelLink.
#include "diagnostics/core/IChannelLink.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/ILinkPolicy.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"

#include <cstdint>
#include <string>

class IDiagsWindow;
namespace diagnostics {
class ChannelMonitor;
class ChannelScan;
} // namespace diagnostics

// The diagnostics' own values of CommsState (the shared ones, such as
// IdentReadWait or AllStatusCollect, are those of LinkState.h).
enum DiagsStateCode : int32_t
{
    RadioDataWait = 19,
    RadioDataCollect = 20,
    RadioDataDone = 21,
    ScanWait = diagnostics::kScanWait,
    Scanning = diagnostics::kScanRunning,
    ScanStopping = diagnostics::kScanStopping,
    ScanDone = diagnostics::kScanDone,
    MonitorWait = diagnostics::kMonitorWait,
    Monitoring = diagnostics::kMonitoring,
    MonitorStopping = diagnostics::kMonitorStopping,
    MonitorDone = diagnostics::kMonitorDone,
    StatusAtWait = 53,
    StatusAtDone = 55,
    SignalsCollect = 57,
    SignalsDone = 58,
    DailyMaxCollect = 59,
    DailyMaxDone = 60,
    ManualUpdateWait = 64,
    ManualUpdateReplyWait = 65,
    ManualUpdateDone = 66,
    ManualUpdateTimedOut = 67,
    ManualUpdateCancelled = 68,
};

constexpr int32_t kListLineTimeoutMs = 1000;
constexpr int32_t kRadioDataLineTimeoutMs = 10000;
constexpr int32_t kManualUpdateTimeoutMs = 15000;

// "Communications Failure,  Please reset <unit> and try again", the unit
// named from the active node (-1 "unit", 0 "Radio Hub", n "RCC n").
std::string DiagsFailureText(int activeNode);

class DiagsLink : public ILinkPolicy, public diagnostics::IChannelLink
{
public:
    // Puts itself on the link as its policy; takes itself off when destroyed.
    DiagsLink(CommsLink& link, ISerialTransport& port, IDiagsWindow& window);
    ~DiagsLink() override;
    DiagsLink(const DiagsLink&) = delete;
    DiagsLink& operator=(const DiagsLink&) = delete;

    CommsLink& Link() { return link_; }

    // Sends the command in the wait state and yields while the state keeps
    // it (and, for a list, while it collects). Returns the final state.
    int32_t Request(int32_t waitCode, const std::string& command, int32_t timeoutMs = kReplyTimeoutMs);

    // "DEBUGOFF ALL" then "DS MON DIS"; true when the unit said "DS MON STOP".
    bool StopHubDebugOutput();
    // "GET SWV": 1 the unit fits the expected node, 3 no usable reply,
    // 4 a hub answered where the expected node is not 0, 5 an RCC answered
    // where it is 0 or less, kUnitTypeNoPort (2) when the port is gone.
    // version receives the seven characters after " V".
    int32_t ReadSoftwareVersion(int expectedNode, std::string& version);

    // Reply lines counted for the running list request (the window's
    // progress bar follows it).
    int ReplyProgress = 0;
    // The loop address a manual-update reply must name on a loop-interface site.
    int ExpectedUpdateAddress = -1;

    // The runs that take the lines and time-outs of the states 40 to 42
    // (scan) and 44 to 46 (monitor); nullptr ignores them.
    void SetChannelRuns(diagnostics::ChannelScan* scan, diagnostics::ChannelMonitor* monitor);

    // IChannelLink
    void Send(const std::string& command, int32_t timeoutMs) override;
    void Rearm(int32_t ms) override;
    // The failure report: the window goes idle and shows the failure text,
    // CommsState 255.
    void Fail() override;
    std::string FailureText() const override;
    void WaitUntil(const std::function<bool()>& done) override;

    // ILinkPolicy
    bool IsWaitingState(int32_t state) const override;
    void Dispatch(const std::string& line) override;
    void TimerTick() override;
    void PortLostWhileWaiting() override;
    void LogLine(const std::string& text, bool toBox) override;

    // A log entry that could not be written is reported once per link.
    bool LogWriteFailed() const { return logFailed_; }

private:
    void Collect(const std::string& line, int limit);
    void SetReplyProgress(int value);
    void Resend(int32_t timeoutMs);

    CommsLink& link_;
    ISerialTransport& port_;
    IDiagsWindow& window_;
    diagnostics::ChannelScan* scan_ = nullptr;
    diagnostics::ChannelMonitor* monitor_ = nullptr;
    bool logFailed_ = false;
};
