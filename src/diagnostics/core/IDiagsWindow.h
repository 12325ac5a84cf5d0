#pragma once
// What the diagnostics link needs of its window besides what every link
// window gives (ICommsWindow): the failure report, the window enabled again
// and a log file that cannot be written.
#include "hublink/core/ICommsWindow.h"

#include <string>

class IDiagsWindow : public hublink::ICommsWindow
{
public:
    // A command failed: the window goes idle, shows the text in its status
    // line (red) and selects its first tab.
    virtual void ReportLinkFailure(const std::string& text) = 0;
    // The window is enabled again after a silent failure.
    virtual void EnableWindow() = 0;
    // An entry of DiagsLog.txt could not be written (the first time only);
    // the command goes on.
    virtual void LogWriteFailed(const std::string& path) = 0;
};
