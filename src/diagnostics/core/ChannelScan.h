#pragma once
// The channel scan: the Radio Hub listens to all 32 radio channels for a
// chosen number of minutes, counting down on the window meanwhile, and then
// reports one level per channel index.
//
// Run sends the start and yields (through the link) until the scan has
// ended; the link hands the run its reply lines and time-outs, the window's
// one-second timer calls Tick, and the Cancel key calls Cancel meanwhile.
#include "diagnostics/core/IChannelLink.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace diagnostics {

// One level per channel index: entry i belongs to channel index i + 1.
using ChannelLevels = std::array<int, kChannelCount>;

// Reads the channel tokens of a scan result line into levels: of the blank-
// separated fields 3 to 34, each of exactly four characters is the channel
// index (two hex digits) and its level (two hex digits). Other fields and
// indices outside 1..32 are skipped.
void ReadScanResult(std::string_view line, ChannelLevels& levels);

// " Scanning, Please Wait  (hh.mm.ss)", the fields of the time left joined by
// the decimal separator.
std::string ScanProgressText(int secondsLeft, char decimalSeparator = '.');

// The scan-time box's key filter: Backspace (8) and a digit that keeps the
// number in the box below 256.
bool AcceptDurationKey(const std::string& text, char key);

class ChannelScan
{
public:
    explicit ChannelScan(IChannelLink& link) : link_(link) {}

    // A scan of minutes (1..255): results cleared, "SF CS <minutes>" sent;
    // returns when the result has been read (ScanDone), the start was refused or
    // the link failed (the final CommsState).
    hublink::StateCode Run(int minutes);
    // A line the link took in ScanWait, Scanning and ScanStopping.
    void Reply(const std::string& line);
    // The reply timer ran out; false leaves the time-out to the link (a
    // resend of the start, a failure while running).
    bool TimedOut();
    // The countdown, once a second while CountdownOn.
    void Tick();
    // The Cancel key or Exit during a running scan: "SF CS DIS" (state 42);
    // the next scan line ends the scan. False when no scan is running.
    bool Cancel();

    const ChannelLevels& Results() const { return results_; }
    int Minutes() const { return minutes_; }
    int SecondsLeft() const { return secondsLeft_; }
    int ProgressValue() const { return progress_; }
    int ProgressMax() const { return minutes_ * 60; }
    bool CountdownOn() const { return countdown_; }
    bool ProgressShown() const { return progressShown_; }

    // After every change the window shows: progress, state, results.
    std::function<void()> Changed;

private:
    void Notify();

    IChannelLink& link_;
    ChannelLevels results_{};
    int minutes_ = 1;
    int secondsLeft_ = 0;
    int progress_ = 0;
    bool countdown_ = false;
    bool progressShown_ = false;
};

} // namespace diagnostics
