#include "diagnostics/core/DiagsPages.h"

std::vector<DiagTab> DiagTabs(bool loopInterface)
{
    std::vector<DiagTab> tabs{{"Device Status", PageDeviceStatus}};
    if (!loopInterface)
        tabs.push_back({"Signal Strengths", PageSignalStrengths});
    tabs.push_back({"Live Status", PageLiveStatus});
    tabs.push_back({"Comms Settings", PageCommsSettings});
    tabs.push_back({"Comms Log", PageCommsLog});
    return tabs;
}

bool LiveStatusUnsupported(const std::string& unitVersion)
{
    const std::string head = unitVersion.substr(0, 4);
    return (unitVersion.substr(0, 1) == "2" && head < "2.34") || (unitVersion.substr(0, 1) == "3" && head < "3.11");
}

std::string Soft1CaptionFor(int16_t page)
{
    switch (page) {
    case PageFunctions:
        return "Func";
    case PageChannelScan:
        return "Scan";
    case PageChannelMonitor:
        return "Monitor";
    case PageDeviceStatus:
        return "Devices";
    case PageUpdate:
        return "Update";
    case PageSignalStrengths:
        return "Signal Strengths";
    case PageLiveStatus:
        return "Live Status";
    case PageCommsSettings:
        return "Comms";
    default:
        return {};
    }
}

const char* Soft2Caption(Soft2Action action)
{
    return action == Soft2Action::Print ? "Print" : "Cancel";
}

namespace {

ControlChange Shown(bool visible)
{
    return ControlChange{visible, std::nullopt, std::nullopt};
}

ControlChange Shown(bool visible, const char* caption)
{
    return ControlChange{visible, std::nullopt, std::string(caption)};
}

void SetSoft2(PageControlStates& s, bool visible, Soft2Action action)
{
    s.cmdSoft2 = Shown(visible, Soft2Caption(action));
    s.Soft2 = action;
}

PageControlStates IdleStates(const ControlInputs& in)
{
    const int16_t p = in.Page;
    PageControlStates s;
    const bool scanPage = p == PageChannelScan || p == PageChannelMonitor;
    const bool readingPage = p == PageDeviceStatus || p == PageSignalStrengths || p == PageLiveStatus;
    const bool gridPage = p == PageSignalStrengths || p == PageLiveStatus;
    if (p == PageChannelScan)
        s.cmdSoft1 = Shown(true, "Scan");
    else if (p == PageChannelMonitor)
        s.cmdSoft1 = Shown(true, "Monitor");
    else if (p == PageLiveStatus)
        s.cmdSoft1 = Shown(!in.AllDevicesFound, "Rescan Failed Devices");
    else if (p == PageCommsLog)
        s.cmdSoft1 = Shown(false, "Clear");
    else
        s.cmdSoft1 = Shown(false);
    if (scanPage)
        SetSoft2(s, false, Soft2Action::Print);
    else if (p == PageLiveStatus)
        SetSoft2(s, in.DiagBusy, Soft2Action::Cancel);
    else
        s.cmdSoft2 = Shown(false);
    if (!gridPage)
        s.lblProgress = Shown(false);
    s.CommsProgress = Shown(in.DiagBusy);
    s.cmdAuto = Shown(p == PageDeviceStatus);
    s.cmdRefresh = Shown(readingPage);
    s.CommsLED = Shown(readingPage);
    s.cmdSave = Shown(gridPage);
    s.cmdClear = Shown(p == PageCommsLog);
    s.chkLogging = Shown(p == PageCommsLog);
    if (p != PageCommsLog || in.LoggingTicked) {
        s.cmdView = Shown(p == PageCommsLog);
        s.cmdClearLog = Shown(p == PageCommsLog);
    }
    if (p == PageFunctions)
        s.fraScanMonitor.Enabled = true;
    return s;
}

PageControlStates BusyStates(const ControlInputs& in)
{
    const int32_t m = in.ControlMode;
    const bool logPage = in.Page == PageCommsLog;
    PageControlStates s;
    if (m == ControlBusy) {
        for (ControlChange* c : {&s.cmdSoft1, &s.cmdSoft2, &s.lblProgress, &s.CommsProgress, &s.cmdClear,
                                 &s.chkLogging, &s.cmdView, &s.cmdClearLog})
            *c = Shown(false);
        return s;
    }
    if (m == ControlScanning || m == ControlMonitoring) {
        s.cmdSoft1 = Shown(false);
        if (logPage)
            s.cmdSoft2 = Shown(true);
        else
            SetSoft2(s, true, Soft2Action::Cancel);
        s.lblProgress = Shown(true);
        s.CommsProgress = Shown(m == ControlScanning);
        s.cmdClear = Shown(logPage);
        s.chkLogging = Shown(logPage);
        if (!logPage || in.LoggingTicked) {
            s.cmdView = Shown(logPage);
            s.cmdClearLog = Shown(logPage);
        }
        s.fraScanMonitor.Enabled = false;
        return s;
    }
    // Modes 4 and 5: the soft keys of a live reading.
    s.cmdSoft1 = Shown(m == 5 || !in.AllDevicesFound);
    s.cmdSoft2 = Shown(true);
    s.lblProgress = Shown(false);
    s.CommsProgress = Shown(false);
    return s;
}

} // namespace

PageControlStates ControlStatesFor(const ControlInputs& in)
{
    if (in.ControlMode < 0 || in.ControlMode > 5)
        return {};
    if (in.ControlMode == ControlIdle && (in.Page < 1 || in.Page > 9))
        return {};
    PageControlStates s = in.ControlMode == ControlIdle ? IdleStates(in) : BusyStates(in);
    // Nothing else disables the soft keys: they are enabled again here,
    // except the Cancel key of a running scan.
    s.cmdSoft1.Enabled = true;
    if (in.ControlMode != ControlScanning)
        s.cmdSoft2.Enabled = true;
    return s;
}

bool AutoRefreshCountdown::Tick()
{
    if (RefreshCountdown == 1) {
        RefreshCountdown = 30;
        return true;
    }
    --RefreshCountdown;
    return false;
}
