#pragma once
// The diagnostics window's command set on the shared link engine: the states
// its commands wait in, how reply lines move them on, list collection with
// its progress count, the time-out rules (resends, silent and at-once
// failures) and its traffic log, DiagsLog.txt. Lines are taken as they
// arrive, without the communications window's filters. In the scan and
// monitor states the link carries the channel scan and the channel monitor:
// their lines and time-outs go to the runs, which send through the link as
// their IChannelLink.
#include "diagnostics/core/DiagsStates.h"
#include "diagnostics/core/IChannelLink.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/ILinkPolicy.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/WaitTable.h"

#include <cstdint>
#include <span>
#include <string>

class IDiagsWindow;
namespace diagnostics {
class ChannelMonitor;
class ChannelScan;
} // namespace diagnostics

constexpr int32_t kListLineTimeoutMs = 1000;
constexpr int32_t kRadioDataLineTimeoutMs = 10000;
constexpr int32_t kManualUpdateTimeoutMs = 15000;

// "Communications Failure,  Please reset <unit> and try again", the unit
// named from the active node (-1 "unit", 0 "Radio Hub", n "RCC n").
std::string DiagsFailureText(int activeNode);

class DiagsLink : public hublink::ILinkPolicy, public diagnostics::IChannelLink
{
public:
    // Puts itself on the link as its policy; takes itself off when destroyed.
    DiagsLink(hublink::CommsLink& link, hublink::ISerialTransport& port, IDiagsWindow& window);
    ~DiagsLink() override;
    DiagsLink(const DiagsLink&) = delete;
    DiagsLink& operator=(const DiagsLink&) = delete;

    hublink::CommsLink& Link() { return link_; }

    // Sends the command in the wait state and yields while the state keeps
    // it (and, for a list, while it collects). Returns the final state.
    hublink::StateCode Request(hublink::StateCode waitCode, const std::string& command,
                               int32_t timeoutMs = hublink::kReplyTimeoutMs);

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

    // The runs that take the lines and time-outs of the scan and monitor
    // states; nullptr ignores them.
    void SetChannelRuns(diagnostics::ChannelScan* scan, diagnostics::ChannelMonitor* monitor);

    // IChannelLink
    hublink::StateCode& State() override { return link_.Session().CommsState; }
    void Send(const std::string& command, int32_t timeoutMs) override;
    void Rearm(int32_t ms) override;
    // The failure report: the window goes idle and shows the failure text,
    // CommsState CommsFailed.
    void Fail() override;
    std::string FailureText() const override;
    void WaitUntil(const std::function<bool()>& done) override;

    // ILinkPolicy
    bool IsWaitingState(hublink::StateCode state) const override;
    bool AnswersWait(hublink::StateCode wait, const std::string& line, const std::string& command) const override;
    bool WaitsForOneAnswer(hublink::StateCode wait) const override;
    bool RefusesWait(hublink::StateCode wait, const std::string& line,
                     const std::string& command) const override;
    bool DuplicatesRefused(hublink::StateCode wait) const override;
    void Dispatch(const std::string& line) override;
    void TimerTick() override;
    void PortLostWhileWaiting() override;
    void LogLine(const std::string& text, bool toBox) override;

    // A log entry that could not be written is reported once per link.
    bool LogWriteFailed() const { return logFailed_; }

private:
    // The states with work beyond ending their wait.
    using Handler = void (DiagsLink::*)(const std::string& line);
    static std::span<const hublink::WaitState<Handler>> Waits();
    void RadioDataStart(const std::string& line);
    void RadioDataLine(const std::string& line);
    void VersionReply(const std::string& line);
    void ScanReply(const std::string& line);
    void MonitorReply(const std::string& line);
    void StatusAtReply(const std::string& line);
    void StatusLine(const std::string& line);
    void SignalsLine(const std::string& line);
    void DailyMaxLine(const std::string& line);
    void ManualUpdateEcho(const std::string& line);
    void ManualUpdateReply(const std::string& line);
    // A list line, or its end: the state becomes done with the log text and
    // the progress at its end.
    void ListLine(const std::string& line, hublink::StateCode done, const char* doneText, int limit);

    void Collect(const std::string& line, int limit);
    void SetReplyProgress(int value);
    void Resend(int32_t timeoutMs);

    hublink::CommsLink& link_;
    hublink::ISerialTransport& port_;
    IDiagsWindow& window_;
    diagnostics::ChannelScan* scan_ = nullptr;
    diagnostics::ChannelMonitor* monitor_ = nullptr;
    bool logFailed_ = false;
};
