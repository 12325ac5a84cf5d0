// The live-status version rule, the page controls and the automatic
// refresh countdown.
#include "diagnostics/core/DiagsPages.h"

#include <gtest/gtest.h>

namespace {

TEST(DiagsPages, OldHubSoftwareHasNoLiveStatus)
{
    for (const char* old : {"2.33", "3.10", "2.0", "3.05.1"})
        EXPECT_TRUE(LiveStatusUnsupported(old)) << old;
    for (const char* current : {"2.34", "3.11", "4.00", "", "1.00"})
        EXPECT_FALSE(LiveStatusUnsupported(current)) << current;
}

TEST(DiagsPages, ControlsFollowThePageAndTheWork)
{
    ControlInputs in;
    in.Page = PageLiveStatus;
    in.AllDevicesFound = false;
    in.DiagBusy = true;
    PageControlStates s = ControlStatesFor(in);
    EXPECT_EQ(s.cmdSoft2.Caption, "Cancel");
    EXPECT_FALSE(s.lblProgress.Visible.has_value());
    EXPECT_EQ(s.cmdAuto.Visible, false);

    // The tabs the window offers show the first soft key only on Live Status.
    for (int16_t page : {PageDeviceStatus, PageSignalStrengths, PageCommsSettings, PageCommsLog}) {
        in.Page = page;
        EXPECT_EQ(ControlStatesFor(in).cmdSoft1.Visible, false) << page;
    }
    // The log page leaves View and Clear Log alone while logging is off.
    EXPECT_FALSE(ControlStatesFor(in).cmdView.Visible.has_value());
    in.LoggingTicked = true;
    EXPECT_EQ(ControlStatesFor(in).cmdClearLog.Visible, true);

    in.Page = 12;
    EXPECT_FALSE(ControlStatesFor(in).cmdSoft1.Enabled.has_value()) << "an unknown page changes nothing";

    // Busy modes: a scan's Cancel keeps its state, other work hides the keys.
    in.Page = PageChannelMonitor;
    in.ControlMode = ControlScanning;
    EXPECT_FALSE(ControlStatesFor(in).cmdSoft2.Enabled.has_value());
    EXPECT_EQ(ControlStatesFor(in).fraScanMonitor.Enabled, false);
    in.ControlMode = ControlBusy;
    EXPECT_EQ(ControlStatesFor(in).cmdSoft2.Visible, false);
    EXPECT_EQ(ControlStatesFor(in).CommsProgress.Visible, false);
}

TEST(DiagsPages, AutomaticRefreshAtTheFirstTickThenEveryThirty)
{
    AutoRefreshCountdown countdown;
    countdown.Start();
    std::vector<int> due;
    for (int tick = 1; tick <= 61; ++tick)
        if (countdown.Tick())
            due.push_back(tick);
    EXPECT_EQ(due, (std::vector<int>{1, 31, 61}));
}

} // namespace
