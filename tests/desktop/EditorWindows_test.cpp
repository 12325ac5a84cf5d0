// The editors on a desktop: the push pins keep the window and its
// activation, and a real click on the main window still closes the editors
// (the unpinned device window, the node properties window).
#include "Desktop.h"

#include "editors/core/SlotRules.h"
#include "model/SiteState.h"
#include "views/frmPrintPreview.h"

#include <QMenu>
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
        {"the properties window shown", [&] { return OnDesktop(settings); }, [&] { ClickTitle(settings); }},
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
        {"the device window shown", [&] { return OnDesktop(devices); }, [&] { ClickTitle(devices); }},
        {"the device window active", [&] { return ActiveOnDesktop(devices); }, [&] { Click(devices->PushPin); }},
        {"pinned and still active", [&] { return DevicesPinned && ActiveOnDesktop(devices); },
         [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"the main window active", [&] { return ActiveOnDesktop(form.get()); }},
    }));
    EXPECT_EQ(frmDevices::Loaded(), devices) << "a pinned device window stays open";
}

// The unpinned device window stays the active window through the boxes it
// shows (a closing box used to hand the activation to the main window, which
// then unloaded the device window, in the middle of a move while its own
// handler still ran).
TEST_F(DesktopTest, TheDeviceWindowStaysActiveThroughItsBoxesAndAMove)
{
    Nodes[1].SetDeviceLoop(1, 1);
    Nodes[1].SetDeviceAddress(1, 10);
    LoopAddressOwner[1][10] = 101;
    form->ActivateNode(1);
    form->PopupNodeDevices_Click();
    QPointer<frmDevices> devices = frmDevices::Loaded();
    ASSERT_NE(devices, nullptr);
    const auto active = [&] { return devices != nullptr && ActiveOnDesktop(devices); };
    const auto menuItem = [&](QAction* action) {
        Click(devices->DeviceMenu, devices->DeviceMenu->actionGeometry(action).center());
    };
    ASSERT_TRUE(Drive({
        {"the device window shown", [&] { return OnDesktop(devices); }, [&] { ClickTitle(devices); }},
        {"the device window active", active,
         [&] { Click(devices->SourceDevice[editors::kComboItem], {-1, -1}, 1, 2); }},
        {"the combination prompt", [] { return BoxUp<frmParameter>(); }, [] { Keys("Return"); }},
        {"a combination added and the window active again",
         [&] { return frmParameter::Current() == nullptr && active() && devices->Slots().Slot(3).type != 0; },
         [&] { Click(devices->DeviceImage[1], {-1, -1}, 3); }},
        {"the device menu", [&] { return OnDesktop(devices->DeviceMenu); },
         [&] { menuItem(devices->MoveRCC); }},
        // The focus starts on Cancel: the user clicks OK.
        {"the destination prompt", [] { return BoxUp<frmParameter>(); },
         [] { Click(frmParameter::Current()->DefaultButton()); }},
        // The report comes up at once after the prompt; the user clicks its
        // button once it is there, whether or not it has the focus yet.
        {"the move reported", [] { return OnDesktop(frmMsg::Current()); },
         [] { Click(frmMsg::Current()->DefaultButton()); }},
        {"the device window active after the move", [&] { return frmMsg::Current() == nullptr && active(); },
         [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"closed by a click on the main window", [] { return frmDevices::Loaded() == nullptr; }},
    }));
    EXPECT_EQ(Nodes[1].DeviceType(1), 0);
    EXPECT_EQ(Nodes[2].DeviceType(1), 2);
    EXPECT_EQ(LoopAddressOwner[1][10], 201);
    EXPECT_NE(Nodes[1].DeviceType(3), 0) << "the combination, applied with the move";
}

TEST_F(DesktopTest, ThePrintPreviewIsLaidOutAlikeOnOpeningAndAfterAResize)
{
    QPointer<frmPrintPreview> preview = frmPrintPreview::Load();
    preview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    ExpectLaidOutAsAfterAResize(preview, {"cmdClose", "cmdPrint"});
    frmPrintPreview::Unload();
}

} // namespace
