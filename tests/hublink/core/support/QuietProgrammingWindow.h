#pragma once
// A communications window for the programming run and Compare Config run
// without a window: the port is ready, the unit acknowledged the debug-off
// request, and the window services (error list, log box, captions, progress
// bar, restore, close) do nothing. A bench derives from it and answers the
// boxes, parses the download and keeps what it wants to look at.
#include "hublink/core/IProgrammingWindow.h"

class QuietProgrammingWindow : public hublink::IProgrammingWindow
{
public:
    hublink::PortStatus ResetPort() override { return hublink::PortStatus::Ready; }
    void EnableProgram() override {}
    void SetErrorCheckMode(long) override {}
    void ShowErrorList() override {}
    void CloseErrorList() override {}
    void ClearLogBox() override {}
    void SetCancelCaption(const std::string&) override {}
    void ShowProgress() override {}
    void SetProgressMaximum(int) override {}
    void SetDeleteDots(bool) override {}
    void RestoreWindow() override {}
    void SelectHub() override {}
    bool DebugOutputStopped() const override { return false; }
    void SetDebugOutputStopped(bool) override {}
    bool UnitConnected() const override { return true; }
    bool OpenedOnly() const override { return false; }
    void CloseWindow() override {}
};
