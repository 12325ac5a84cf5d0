#pragma once
// What the diagnostics link needs of its window besides what every link
// window gives (ICommsWindow): the failure report, the end of a scan or
// monitor run, and the scan and monitor readings as they arrive.
#include "hublink/core/ICommsWindow.h"

#include <string>

class IDiagsWindow : public ICommsWindow
{
public:
    // A command failed: the window goes idle, shows the text in its status
    // line (red) and selects its first tab.
    virtual void ReportLinkFailure(const std::string& text) = 0;
    // The window is enabled again after a silent failure.
    virtual void EnableWindow() = 0;
    // A channel scan started (its countdown begins) or its result arrived.
    virtual void ScanStarted() = 0;
    virtual void ScanResult(const std::string& line) = 0;
    // A line of monitored channel levels.
    virtual void MonitorLevels(const std::string& line) = 0;
    // An entry of DiagsLog.txt could not be written (the first time only);
    // the command goes on.
    virtual void LogWriteFailed(const std::string& path) = 0;
    // A scan or monitor run ended: the window goes back to the idle mode.
    virtual void RunEnded() = 0;
};
