// The tabs a unit gets, the automatic refresh countdown, and the page
// controls of each control mode and page.
#include "diagnostics/core/DiagsSession.h"

#include <gtest/gtest.h>

namespace {

TEST(DiagsPages, TabsFollowTheSiteAHubTooOldForLiveStatusLosesThatTabAndAutomaticRefreshComesAtTheFirstTickThenEveryThirty)
{
    diagnostics::DiagsSession rlm, hub;
    using Captions = std::vector<std::string>;
    EXPECT_EQ(rlm.SetTabs(true), (Captions{"Device Status", "Live Status", "Comms Settings", "Comms Log"}));
    EXPECT_EQ(hub.SetTabs(false),
              (Captions{"Device Status", "Signal Strengths", "Live Status", "Comms Settings", "Comms Log"}));
    EXPECT_EQ(rlm.PageOfTab(1), PageLiveStatus);
    EXPECT_EQ(rlm.PageOfTab(4), -1);
    EXPECT_EQ(rlm.PageOfTab(-1), -1) << "no tab selected";
    EXPECT_EQ(hub.TabOfPage(PageCommsLog, 4), -1) << "only the tabs on the strip count";
    // Hubs below 2.34 and 3.11 have no live status; an RLM always has it.
    for (const auto& [version, tab] : std::vector<std::pair<std::string, int>>{
             {"2.33", 2}, {"3.10", 2}, {"2.0", 2}, {"3.05.1", 2}, {"2.34", -1}, {"3.11", -1}, {"4.00", -1}, {"", -1}}) {
        hub.UnitVersion = rlm.UnitVersion = version;
        EXPECT_EQ(hub.UnsupportedTab(false), tab) << version;
        EXPECT_EQ(rlm.UnsupportedTab(true), -1) << version;
    }
    hub.RemoveTab(2);
    EXPECT_EQ(hub.TabOfPage(PageCommsLog, 4), 3);
    EXPECT_EQ(hub.PageOfTab(4), -1);

    // Automatic refresh at the first tick, then every thirty.
    AutoRefreshCountdown countdown;
    countdown.Start();
    std::vector<int> due;
    for (int tick = 1; tick <= 61; ++tick)
        if (countdown.Tick())
            due.push_back(tick);
    EXPECT_EQ(due, (std::vector<int>{1, 31, 61}));
}

PageControlStates IdleOn(int16_t page, bool allDevicesFound = true)
{
    ControlInputs in;
    in.Page = page;
    in.AllDevicesFound = allDevicesFound;
    return ControlStatesFor(in);
}

TEST(DiagsPages, TheFirstSoftKeyShowsOnlyOnTheChartPagesAndOnLiveStatusAfterAMissedUnit)
{
    using Key = std::pair<std::optional<bool>, std::optional<std::string>>;
    const std::pair<int16_t, Key> pages[] = {
        {PageFunctions, {false, std::nullopt}},
        {PageChannelScan, {true, "Scan"}},
        {PageChannelMonitor, {true, "Monitor"}},
        {PageDeviceStatus, {false, std::nullopt}},
        {PageUpdate, {false, std::nullopt}},
        {PageSignalStrengths, {false, std::nullopt}},
        {PageLiveStatus, {false, "Rescan Failed Devices"}},
        {PageCommsSettings, {false, std::nullopt}},
        {PageCommsLog, {false, "Clear"}},
    };
    for (const auto& [page, key] : pages) {
        const ControlChange soft1 = IdleOn(page).cmdSoft1;
        EXPECT_EQ(Key(soft1.Visible, soft1.Caption), key) << page;
        EXPECT_EQ(soft1.Enabled, true) << page;
    }
    EXPECT_EQ(IdleOn(PageLiveStatus, false).cmdSoft1.Visible, true);
}

TEST(DiagsPages, ViewAndClearLogShowOnTheLogPageOnlyWhileLoggingIsTickedAndAreLeftAloneWhileItIsNot)
{
    for (const int32_t mode : {ControlIdle, ControlScanning, ControlMonitoring}) {
        ControlInputs in;
        in.ControlMode = mode;
        in.Page = PageCommsLog;
        PageControlStates s = ControlStatesFor(in);
        EXPECT_FALSE(s.cmdView.Visible.has_value() || s.cmdClearLog.Visible.has_value()) << mode;
        in.LoggingTicked = true;
        s = ControlStatesFor(in);
        EXPECT_EQ(s.cmdView.Visible, true) << mode;
        EXPECT_EQ(s.cmdClearLog.Visible, true) << mode;
        in.Page = PageDeviceStatus;
        s = ControlStatesFor(in);
        EXPECT_EQ(s.cmdView.Visible, false) << mode;
        EXPECT_EQ(s.cmdClearLog.Visible, false) << mode;
    }
}

TEST(DiagsPages, WhileScanningCancelIsOfferedInItsOwnStateWithProgressAndTheLaunchersAreDisabled)
{
    ControlInputs in;
    in.ControlMode = ControlScanning;
    in.Page = PageChannelScan;
    PageControlStates s = ControlStatesFor(in);
    EXPECT_EQ(s.cmdSoft1.Visible, false);
    EXPECT_EQ(s.cmdSoft2.Visible, true);
    EXPECT_EQ(s.cmdSoft2.Caption, "Cancel");
    EXPECT_FALSE(s.cmdSoft2.Enabled.has_value()) << "the Cancel key keeps its state";
    EXPECT_EQ(s.lblProgress.Visible, true);
    EXPECT_EQ(s.CommsProgress.Visible, true);
    EXPECT_EQ(s.fraScanMonitor.Enabled, false);
    EXPECT_EQ(s.cmdClear.Visible, false);
    // On the log page the key keeps its caption; the monitor shows no bar.
    in.Page = PageCommsLog;
    s = ControlStatesFor(in);
    EXPECT_EQ(s.cmdSoft2.Visible, true);
    EXPECT_FALSE(s.cmdSoft2.Caption.has_value());
    EXPECT_EQ(s.cmdClear.Visible, true);
    EXPECT_EQ(s.chkLogging.Visible, true);
    in.ControlMode = ControlMonitoring;
    s = ControlStatesFor(in);
    EXPECT_EQ(s.CommsProgress.Visible, false);
    EXPECT_EQ(s.cmdSoft2.Enabled, true);
}

TEST(DiagsPages, WhileBusyTheSoftKeysProgressAndLogControlsAreHidden)
{
    ControlInputs in;
    in.ControlMode = ControlBusy;
    in.Page = PageCommsLog;
    in.LoggingTicked = true;
    const PageControlStates s = ControlStatesFor(in);
    const std::pair<const char*, const ControlChange*> hidden[] = {
        {"cmdSoft1", &s.cmdSoft1},           {"cmdSoft2", &s.cmdSoft2}, {"lblProgress", &s.lblProgress},
        {"CommsProgress", &s.CommsProgress}, {"cmdClear", &s.cmdClear}, {"chkLogging", &s.chkLogging},
        {"cmdView", &s.cmdView},             {"cmdClearLog", &s.cmdClearLog}};
    for (const auto& [name, control] : hidden)
        EXPECT_EQ(control->Visible, false) << name;
    EXPECT_EQ(s.cmdSoft1.Enabled, true);
    EXPECT_EQ(s.cmdSoft2.Enabled, true);
    EXPECT_FALSE(s.fraScanMonitor.Enabled.has_value());
}

} // namespace
