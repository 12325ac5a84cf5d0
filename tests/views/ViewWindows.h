#pragma once
// Helpers for the view windows' tests: a site from the test data, the
// messages the windows show, and closing a window for good.
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct ShownMessage
{
    std::string text;
    int32_t style;
    std::string title;
};

class ViewWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSiteState();
        model::ResetSite();
        platform::SetPlainMessageHandler([this](QWidget*, const std::string& text, int32_t style,
                                                const std::string& title) {
            messages.push_back({text, style, title});
            return 1;
        });
    }
    void TearDown() override
    {
        for (QWidget* form : platform::LoadedForms())
            form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::SetPlainMessageHandler({});
        model::ResetSite();
        ResetSiteState();
    }
    static void LoadSite(const char* name) { model::LoadSiteFile(std::string(QVS_TEST_DATA) + "/" + name); }

    std::vector<ShownMessage> messages;
};
