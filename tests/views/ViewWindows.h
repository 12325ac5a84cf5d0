#pragma once
// Helpers for the view windows' tests: a site from the test data, the
// messages the windows show, and closing a window for good.
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "platform/LoadedForms.h"
#include "support/MessageRecorder.h"
#include "model/TestSites.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class ViewWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
    }
    void TearDown() override
    {
        for (QWidget* form : platform::LoadedForms())
            form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        model::ResetSite();
        ResetSiteState();
    }
    static void LoadSite(const char* name) { model::LoadSiteFile(std::string(QVS_TEST_DATA) + "/" + name); }

    MessageRecorder recorder;
    std::vector<ShownMessage>& messages = recorder.Messages;
};
