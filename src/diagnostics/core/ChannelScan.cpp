#include "diagnostics/core/ChannelScan.h"

#include "diagnostics/core/ReplyFields.h"
#include "model/Convert.h"

#include <algorithm>

namespace diagnostics {

using enum DiagsStateCode;

namespace {

constexpr std::size_t kFirstToken = 2; // fields 3..34
constexpr std::size_t kLastToken = 33;
constexpr char kBackspace = 8;

bool Contains(const std::string& line, const char* text)
{
    return line.find(text) != std::string::npos;
}

std::string TwoDigits(int value)
{
    std::string text = std::to_string(value);
    return model::PadWithLeadingZeros(text, 2);
}

} // namespace

void ReadScanResult(std::string_view line, ChannelLevels& levels)
{
    const auto fields = SplitFields(line);
    for (std::size_t f = kFirstToken; f <= kLastToken && f < fields.size(); ++f) {
        if (fields[f].size() != 4)
            continue;
        const int index = model::HexToByte(std::string(fields[f].substr(0, 2)));
        if (index >= 1 && index <= kChannelCount)
            levels[static_cast<std::size_t>(index - 1)] = model::HexToByte(std::string(fields[f].substr(2, 2)));
    }
}

std::string ScanProgressText(int secondsLeft, char decimalSeparator)
{
    const int seconds = std::max(secondsLeft, 0);
    return " Scanning, Please Wait  (" + TwoDigits(seconds / 3600) + decimalSeparator +
           TwoDigits(seconds % 3600 / 60) + decimalSeparator + TwoDigits(seconds % 60) + ")";
}

bool AcceptDurationKey(const std::string& text, char key)
{
    if (key == kBackspace)
        return true;
    if (key < '0' || key > '9')
        return false;
    const bool digits = !text.empty() && text.size() <= 3 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const int now = digits ? std::stoi(text) : 0;
    return now * 10 + (key - '0') < 256;
}

void ChannelScan::Notify()
{
    if (Changed)
        Changed();
}

hublink::StateCode ChannelScan::Run(int minutes)
{
    minutes_ = std::clamp(minutes, 1, 255);
    results_.fill(0);
    progress_ = 0;
    secondsLeft_ = ProgressMax();
    progressShown_ = true;
    countdown_ = false;
    link_.State() = ScanWait;
    Notify();
    link_.Send("SF CS " + std::to_string(minutes_), kChannelReplyTimeoutMs);
    // One wait for the whole run: a cancel may come in the same pass as the
    // start's reply.
    link_.WaitUntil([this] {
        const hublink::StateCode state = link_.State();
        return state != ScanWait && state != Scanning && state != ScanStopping;
    });
    // However it ended, the countdown stops with it.
    countdown_ = false;
    progressShown_ = false;
    Notify();
    return link_.State();
}

void ChannelScan::Reply(const std::string& line)
{
    if (link_.State() == ScanWait) {
        if (Contains(line, "SF CS START")) {
            link_.State() = Scanning;
            link_.Rearm(kScanLineTimeoutMs);
            secondsLeft_ = ProgressMax();
            countdown_ = true;
            Notify();
        }
        return;
    }
    if (link_.State() != Scanning && link_.State() != ScanStopping)
        return;
    // A start answered again is the answer still owed to a resend of the
    // start: the scan runs on, it has no result yet.
    if (Contains(line, "SF CS START"))
        return;
    if (Contains(line, "SF CS RUNNING")) {
        link_.Rearm(kScanLineTimeoutMs);
    } else if (Contains(line, "SF CS STOP")) {
        link_.Send("GET SF CS RESULT", kScanLineTimeoutMs);
    } else if (Contains(line, "SF CS")) {
        countdown_ = false;
        progress_ = ProgressMax();
        link_.Rearm(0);
        ReadScanResult(line, results_);
        link_.State() = ScanDone;
        Notify();
    }
}

bool ChannelScan::TimedOut()
{
    if (link_.State() != ScanStopping)
        return false;
    // The hub did not answer the cancel: the link has gone.
    link_.Fail();
    return true;
}

void ChannelScan::Tick()
{
    if (!countdown_)
        return;
    if (link_.State() != Scanning && link_.State() != ScanStopping) {
        countdown_ = false; // the scan ended (a failed link) under the countdown
        return;
    }
    if (secondsLeft_ > 0)
        --secondsLeft_;
    if (progress_ < ProgressMax()) {
        ++progress_;
    } else {
        // The time is up: the result is awaited, still cancellable.
        countdown_ = false;
        progressShown_ = false;
    }
    Notify();
}

bool ChannelScan::Cancel()
{
    if (link_.State() != Scanning)
        return false;
    link_.State() = ScanStopping;
    countdown_ = false;
    progressShown_ = false;
    link_.Send("SF CS DIS", kScanLineTimeoutMs);
    Notify();
    return true;
}

} // namespace diagnostics
