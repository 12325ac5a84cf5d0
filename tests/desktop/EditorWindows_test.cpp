// The editors on a desktop: the push pins keep the window and its
// activation, and a real click on the main window still closes the editors
// (the unpinned device window, the node properties window).
#include "Desktop.h"

#include <QToolButton>

using namespace desktop;
using model::Nodes;

namespace {

// A point of the canvas that no node covers.
QPoint EmptyCanvas(const frmMain& form)
{
    return {form.Canvas()->width() - 40, form.Canvas()->height() - 40};
}

TEST_F(DesktopTest, PushPinsKeepTheirWindowActive)
{
    form->ActivateNode(1);
    form->PopupNodeEdit_Click();
    QPointer<frmNodeSettings> settings = frmNodeSettings::Loaded();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(Drive({
        {"the properties window shown", [&] { return settings->isVisible(); }, [&] { ClickTitle(settings); }},
        {"the properties window active", [&] { return ActiveOnDesktop(settings); },
         [&] { Click(settings->PushPin); }},
        {"pinned and still active",
         [&] { return NodeSettingsPinned && ActiveOnDesktop(settings) && platform::IsTopMost(*settings); },
         [&] { Click(settings->PushPin); }},
        {"unpinned and still active",
         [&] { return !NodeSettingsPinned && ActiveOnDesktop(settings) && !platform::IsTopMost(*settings); },
         [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"closed by a click on the main window", [] { return frmNodeSettings::Loaded() == nullptr; }},
    }));

    form->ActivateNode(1);
    form->PopupNodeDevices_Click();
    QPointer<frmDevices> devices = frmDevices::Loaded();
    ASSERT_NE(devices, nullptr);
    ASSERT_TRUE(Drive({
        {"the device window shown", [&] { return devices->isVisible(); }, [&] { ClickTitle(devices); }},
        {"the device window active", [&] { return ActiveOnDesktop(devices); }, [&] { Click(devices->PushPin); }},
        {"pinned and still active", [&] { return DevicesPinned && ActiveOnDesktop(devices); },
         [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"the main window active", [&] { return ActiveOnDesktop(form.get()); }},
    }));
    EXPECT_EQ(frmDevices::Loaded(), devices) << "a pinned device window stays open";
}

} // namespace
