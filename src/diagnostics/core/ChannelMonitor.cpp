#include "diagnostics/core/ChannelMonitor.h"

#include "model/ChannelPlan.h"
#include "model/Convert.h"

#include <algorithm>

namespace diagnostics {

using enum DiagsStateCode;

namespace {

constexpr std::size_t kFirstLevelAt = 4; // the fifth character
constexpr char kBackspace = 8;

bool Running(hublink::StateCode state)
{
    return state == MonitorWait || state == Monitoring || state == MonitorStopping;
}

} // namespace

std::string MonitorCommand(int startChannel, int endChannel)
{
    return "SF MON EN " + std::to_string(startChannel) + " " + std::to_string(endChannel);
}

void ReadMonitorLevels(std::string_view line, int first, int last, int startChannel, ChannelLevels& levels)
{
    for (int k = std::max(first, 1); k <= std::min(last, kChannelCount); ++k) {
        const int offset = model::ChannelTable(k) - startChannel;
        if (offset < 0)
            continue;
        const std::size_t at = kFirstLevelAt + 2 * static_cast<std::size_t>(offset);
        if (at + 2 <= line.size())
            levels[static_cast<std::size_t>(k - 1)] = model::HexToByte(std::string(line.substr(at, 2)));
    }
}

bool AcceptChannelKey(const std::string& text, char key)
{
    if (key == kBackspace)
        return true;
    if (key < '0' || key > '9')
        return false;
    if (text.empty())
        return key != '0';
    const bool digits = text.size() <= 3 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return !(key >= '3' && (!digits || std::stoi(text) > 2));
}

void ChannelMonitor::SendCommand()
{
    link_.State() = MonitorWait;
    link_.Send(MonitorCommand(startChannel_, endChannel_), kChannelReplyTimeoutMs);
}

hublink::StateCode ChannelMonitor::Run(int first, int last)
{
    first_ = std::clamp(std::min(first, last), 1, kChannelCount);
    last_ = std::clamp(std::max(first, last), 1, kChannelCount);
    startChannel_ = model::ChannelTable(first_);
    endChannel_ = model::ChannelTable(last_);
    results_.fill(0);
    firstPass_ = true;
    toggle_ = false;
    levelLines_ = 0;
    SendCommand();
    // One wait for the whole run: a cancel before the start's reply
    // (MonitorStopping from MonitorWait) waits for the monitor's end too.
    link_.WaitUntil([this] { return !Running(link_.State()); });
    return link_.State();
}

void ChannelMonitor::Reply(const std::string& line)
{
    if (link_.State() == MonitorWait) {
        if (line.find("SF MON START") != std::string::npos) {
            link_.State() = Monitoring;
            link_.Rearm(kChannelReplyTimeoutMs);
        }
        return;
    }
    if (link_.State() != Monitoring && link_.State() != MonitorStopping)
        return;
    if (line.find("SF MON START") != std::string::npos) {
        link_.Rearm(kChannelReplyTimeoutMs);
    } else if (line.rfind("SFR", 0) == 0) {
        ReadMonitorLevels(line, first_, last_, startChannel_, results_);
        if (firstPass_) {
            link_.Rearm(kChannelReplyTimeoutMs);
        } else if (link_.State() == Monitoring) {
            SendCommand();
        } else {
            link_.State() = MonitorDone;
            link_.Rearm(0);
        }
        toggle_ = !toggle_;
        ++levelLines_;
        if (LevelsRead)
            LevelsRead();
    } else if (line.find("SF MON STOP") != std::string::npos) {
        link_.State() = MonitorDone;
        link_.Rearm(0);
    }
}

bool ChannelMonitor::TimedOut()
{
    if (link_.State() == Monitoring && firstPass_) {
        firstPass_ = false;
        SendCommand();
        return true;
    }
    if (link_.State() == MonitorStopping) {
        // Stopped, and the hub sends no more levels.
        link_.State() = MonitorDone;
        link_.Rearm(0);
        return true;
    }
    return false;
}

bool ChannelMonitor::Cancel()
{
    if (link_.State() != MonitorWait && link_.State() != Monitoring)
        return false;
    link_.State() = MonitorStopping;
    return true;
}

} // namespace diagnostics
