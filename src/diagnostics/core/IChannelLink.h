#pragma once
// What a channel scan or channel monitor run needs of the diagnostics link.
// The link's receive handler hands every line it takes in the scan and
// monitor states to the run's Reply, and its time-out handler asks the run's
// TimedOut first; the run moves the link's state itself.
#include "diagnostics/core/DiagsStates.h"
#include "hublink/core/LinkState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace diagnostics {

inline constexpr int32_t kChannelReplyTimeoutMs = 600;
inline constexpr int32_t kScanLineTimeoutMs = 12000;
inline constexpr int kChannelCount = 32;

class IChannelLink
{
public:
    virtual ~IChannelLink() = default;
    // The link's CommsState, which the run moves through its own codes.
    virtual hublink::StateCode& State() = 0;
    // Sends the command (it becomes CommandText) and restarts the reply
    // timer with timeoutMs.
    virtual void Send(const std::string& command, int32_t timeoutMs) = 0;
    // Restarts the reply timer with ms; 0 stops it.
    virtual void Rearm(int32_t ms) = 0;
    // The link has failed: the failure report, CommsState CommsFailed.
    virtual void Fail() = 0;
    // The failure report's text, which a page shows when its run failed.
    virtual std::string FailureText() const = 0;
    // Yields to the message loop until done() holds. The link makes sure a
    // wait on a state it can leave (a reply, a time-out, a lost port,
    // "Unknown Command") ends.
    virtual void WaitUntil(const std::function<bool()>& done) = 0;
};

} // namespace diagnostics
