#pragma once
// The diagnostics command set on the link's virtual bench (LinkFixture): the simulated
// unit answers in-process on a virtual clock, and a recording window keeps
// what the diagnostics told it.
#include "diagnostics/core/DiagsLink.h"
#include "diagnostics/core/IDiagsWindow.h"
#include "hublink/core/LinkFixture.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class RecordingDiagsWindow : public IDiagsWindow
{
public:
    void AppendToLogBox(const std::string& text) override { Box.push_back(text); }
    void SetControlsBusy(bool) override {}
    int ProgressValue() const override { return Progress; }
    int ProgressMax() const override { return 100; }
    void SetProgressValue(int value) override { Progress = value; }
    void HideProgress() override {}
    int32_t ShowMessage(const std::string&, int32_t) override { return 1; }
    void ShowCommsError(const std::string& text) override { Errors.push_back(text); }
    bool DeleteTimerRunning() const override { return false; }
    void ReportLinkFailure(const std::string& text) override { Failures.push_back(text); }
    void EnableWindow() override {}
    void LogWriteFailed(const std::string& path) override { LogFailures.push_back(path); }

    std::vector<std::string> Box, Errors, Failures, LogFailures;
    int Progress = 0;
};

class DiagsFixture : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        LogDiags = false;
        ActiveNode = 0;
    }

    // A fresh log folder of the test's own.
    void LogInto(const std::string& name)
    {
        LogDiags = true;
        logs_ = testsupport::TempFolder("diag-" + name);
        LogFolder = logs_.String();
    }

    // The times (virtual ms) at which each write carrying `command` went out.
    std::vector<int64_t> SendTimes(const std::string& command) const
    {
        std::vector<int64_t> times;
        for (const auto& w : bench.Writes)
            if (w.Bytes == command + "\r")
                times.push_back(w.AtMs);
        return times;
    }

    RecordingDiagsWindow window;
    DiagsLink diags{link, bench, window};
    testsupport::TempFolder logs_;
};
