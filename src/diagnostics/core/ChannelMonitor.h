#pragma once
// The channel monitor: the Radio Hub reports the levels of a range of radio
// channels again and again until the user stops it. The first pass takes
// level lines until the first reply time-out; from then on every level line
// asks for the next one at once.
//
// Run sends the monitor command and yields (through the link) until the
// monitor has stopped; the link hands the run its reply lines and time-outs,
// and the Cancel key calls Cancel meanwhile.
#include "diagnostics/core/ChannelScan.h"

#include <functional>
#include <string>
#include <string_view>

namespace diagnostics {

// "SF MON EN <start> <end>" with wire channel numbers.
std::string MonitorCommand(int startChannel, int endChannel);

// Reads a level line ("SFR" then, from its fifth character, two hex digits
// per wire channel number from startChannel on) into the levels of the
// channel indices first..last; a channel the line is too short for keeps its
// level.
void ReadMonitorLevels(std::string_view line, int first, int last, int startChannel, ChannelLevels& levels);

// The start and end channel boxes' key filter: Backspace (8); digits only;
// no 0 as first digit; no 3 to 9 after a number above 2.
bool AcceptChannelKey(const std::string& text, char key);

class ChannelMonitor
{
public:
    explicit ChannelMonitor(IChannelLink& link) : link_(link) {}

    // Monitors the channel indices first..last (1..32, first <= last): results
    // cleared, the monitor command sent; returns when the monitor stopped
    // (MonitorDone), the start was refused or the link failed (the final CommsState).
    // The range stays as it was at the start for the whole run.
    hublink::StateCode Run(int first, int last);
    // A line the link took in MonitorWait, Monitoring and MonitorStopping.
    void Reply(const std::string& line);
    // The reply timer ran out; false leaves the time-out to the link (a
    // resend and then the failure).
    bool TimedOut();
    // The Cancel key: state 46; nothing is sent, the run ends with the next
    // level line or "SF MON STOP". False when no monitor is running.
    bool Cancel();

    const ChannelLevels& Results() const { return results_; }
    int First() const { return first_; }
    int Last() const { return last_; }
    int StartChannel() const { return startChannel_; }
    int EndChannel() const { return endChannel_; }
    bool FirstPass() const { return firstPass_; }
    // Which chart the last level line went to: true the second one.
    bool ChartToggle() const { return toggle_; }
    int LevelLines() const { return levelLines_; }

    // After every level line read (the chart toggle already flipped).
    std::function<void()> LevelsRead;

private:
    void SendCommand();

    IChannelLink& link_;
    ChannelLevels results_{};
    int first_ = 1, last_ = kChannelCount;
    int startChannel_ = 0, endChannel_ = 0;
    bool firstPass_ = false;
    bool toggle_ = false;
    int levelLines_ = 0;
};

} // namespace diagnostics
