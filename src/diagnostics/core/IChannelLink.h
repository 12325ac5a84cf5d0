#pragma once
// What a channel scan or channel monitor run needs of the diagnostics link.
// The link's receive handler hands every line it takes in the states 40 to
// 47 to the run's Reply, and its time-out handler asks the run's TimedOut
// first; the run moves CommsState itself.
#include <cstdint>
#include <functional>
#include <string>

namespace diagnostics {

// The link states of a channel scan and of the channel monitor.
inline constexpr int32_t kScanWait = 40;       // "SF CS <minutes>" sent
inline constexpr int32_t kScanRunning = 41;    // "SF CS START" received, countdown on
inline constexpr int32_t kScanStopping = 42;   // "SF CS DIS" sent
inline constexpr int32_t kScanDone = 43;       // result line read
inline constexpr int32_t kMonitorWait = 44;    // "SF MON EN <start> <end>" sent
inline constexpr int32_t kMonitoring = 45;     // "SF MON START" received
inline constexpr int32_t kMonitorStopping = 46; // the user asked to stop
inline constexpr int32_t kMonitorDone = 47;

inline constexpr int32_t kChannelReplyTimeoutMs = 600;
inline constexpr int32_t kScanLineTimeoutMs = 12000;
inline constexpr int kChannelCount = 32;

class IChannelLink
{
public:
    virtual ~IChannelLink() = default;
    // Sends the command (it becomes CommandText) and restarts the reply
    // timer with timeoutMs.
    virtual void Send(const std::string& command, int32_t timeoutMs) = 0;
    // Restarts the reply timer with ms; 0 stops it.
    virtual void Rearm(int32_t ms) = 0;
    // The link has failed: the failure report, CommsState 255.
    virtual void Fail() = 0;
    // The failure report's text, which a page shows when its run failed.
    virtual std::string FailureText() const = 0;
    // Yields to the message loop until done() holds. The link makes sure a
    // wait on a state it can leave (a reply, a time-out, a lost port,
    // "Unknown Command") ends.
    virtual void WaitUntil(const std::function<bool()>& done) = 0;
};

} // namespace diagnostics
