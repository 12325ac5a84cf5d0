// The editors on a desktop: the push pins keep the window and its
// activation, and a real click on the main window still closes the unpinned
// editors; the device window opens active, and behind its covers nothing
// takes a key.
#include "Desktop.h"

#include "editors/core/SlotRules.h"
#include "model/SiteState.h"
#include "views/frmPrintPreview.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <tuple>

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
        {"the device window shown", [&] { return ShownInPlace(devices); }, [&] { ClickTitle(devices); }},
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
        {"the device window shown", [&] { return ShownInPlace(devices); }, [&] { ClickTitle(devices); }},
        {"the device window active", active,
         [&] { Click(devices->SourceDevice[editors::kComboItem], {-1, -1}, 1, 2); }},
        {"the combination prompt", [] { return BoxUp<frmParameter>(); }, [] { Keys("Return"); }},
        {"a combination added and the window active again",
         [&] { return frmParameter::Current() == nullptr && active() && devices->Slots().Slot(3).type != 0; },
         [&] { Click(devices->DeviceImage[1], {-1, -1}, 3); }},
        {"the device menu", [&] { return OnDesktop(devices->DeviceMenu); },
         [&] { menuItem(devices->MoveRCC); }},
        // The focus starts on Cancel: the user clicks OK.
        {"the destination prompt", [] { return BoxUp<frmParameter>() && ShownInPlace(frmParameter::Current()); },
         [] { Click(frmParameter::Current()->DefaultButton()); }},
        // The report comes up at once after the prompt; the user clicks its
        // button once the display shows it, whether or not it has the focus
        // yet.
        {"the move reported", [] { return ShownInPlace(frmMsg::Current()); },
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

// Keys as a user types them at random into the active window: Tab through
// every control, with an arrow, a digit, a letter and Delete at each stop.
void TypeAtEveryStop()
{
    QStringList keys{"key", "--delay", "15"};
    for (int i = 0; i < 16; ++i)
        keys << QStringList{"Tab", "Down", "7", "b", "Delete"};
    Xdo(keys);
}

// A point of a node's box below its caption, on the canvas.
QPoint NodeBox(const frmMain& form, int node)
{
    return form.NodeControls(node).Shape()->geometry().bottomLeft() + QPoint(4, -3);
}

// Behind the "Nothing Selected" and "Radio Hub has No Devices" covers the
// slots still hold the RCC shown before: typing there used to change its
// selected device, unseen, as a pending edit.
TEST_F(DesktopTest, BehindTheDeviceWindowsCoversNothingTakesAKey)
{
    Nodes[1].SetDeviceLoop(1, 1);
    Nodes[1].SetDeviceAddress(1, 10);
    Nodes[1].SetDeviceIdent(1, "1A2B3");
    LoopAddressOwner[1][10] = 101;
    // At the right edge of the screen, clear of the nodes that are clicked.
    DeviceWindowLeft = 1000000;
    DeviceWindowTop = 0;
    form->ActivateNode(1);
    form->PopupNodeDevices_Click();
    QPointer<frmDevices> devices = frmDevices::Loaded();
    ASSERT_NE(devices, nullptr);
    devices->SelectDevice(1);
    const auto slot = [&] {
        const editors::DeviceSlot& s = devices->Slots().Slot(1);
        return std::tie(s.ident, s.loop, s.address);
    };
    const auto before = slot();
    // What the keys left behind a cover, seen when the next face comes up.
    QStringList leftBehind;
    const auto look = [&](const QString& face) {
        const QWidget* focus = devices->focusWidget();
        if (devices->Changed() || slot() != before)
            leftBehind << face + ": the slot edited";
        if (devices->ImageSelect->isVisible())
            leftBehind << face + ": a selection frame on the cover";
        if (focus != nullptr && devices->NoNodeFrame->geometry().contains(focus->mapTo(devices, QPoint())))
            leftBehind << face + ": the focus behind the cover";
    };
    // The face shown (nullptr: the RCC); a question on the way means the keys
    // left an edit pending, and No drops it.
    QPointer<frmMsg> answered;
    const auto face = [&](const char* cover) {
        return [&, cover] {
            if (BoxUp<frmMsg>() && answered != frmMsg::Current()) {
                leftBehind << QString("an edit pending before ") + (cover != nullptr ? cover : "RCC 1");
                answered = frmMsg::Current();
                Keys("n");
            }
            return frmMsg::Current() == nullptr && devices->NoNodeFrame->isVisible() == (cover != nullptr) &&
                   (cover == nullptr || devices->Label1->text() == cover);
        };
    };
    const auto typeThenClick = [&](QPoint at) {
        return [&, at] {
            TypeAtEveryStop();
            Click(form->Canvas(), at);
        };
    };
    ASSERT_TRUE(Drive({
        {"the device window shown", [&] { return OnDesktop(devices); }, [&] { Click(devices->PushPin); }},
        {"pinned", [&] { return DevicesPinned; }, [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"nothing selected", face("Nothing Selected"), [&] { ClickTitle(devices); }},
        {"the device window active", [&] { return ActiveOnDesktop(devices); },
         typeThenClick(NodeBox(*form, 0))},
        {"the hub selected", face("Radio Hub has No Devices"),
         [&] {
             look("Nothing Selected");
             ClickTitle(devices);
         }},
        {"the device window active again", [&] { return ActiveOnDesktop(devices); },
         typeThenClick(EmptyCanvas(*form))},
        {"nothing selected again", face("Nothing Selected"),
         [&] {
             look("Radio Hub has No Devices");
             Click(form->Canvas(), NodeBox(*form, 1));
         }},
        {"RCC 1 shown again", face(nullptr)},
    }));
    EXPECT_TRUE(leftBehind.isEmpty()) << leftBehind.join("; ").toStdString();
    // Uncovered, the slot selected before is selected and framed again.
    EXPECT_EQ(devices->SelectedSlot(), 1);
    EXPECT_TRUE(devices->ImageSelect->isVisible());
    EXPECT_TRUE(devices->IdentText->isEnabled());
}

// Pinned, the properties window stays open through clicks on the main
// window, as the pinned device window does: another node brings the switch
// question (the click is not lost), the empty canvas shows nothing selected.
// Kept past the screen's bottom right corner, it opens with its whole frame
// on the screen.
TEST_F(DesktopTest, APinnedPropertiesWindowFollowsTheCanvas)
{
    // At the bottom right of the screen, clear of the nodes that are clicked.
    NodeWindowLeft = 1000000;
    NodeWindowTop = 1000000;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::string name = Nodes[1].Name();
    form->ActivateNode(1);
    form->PopupNodeEdit_Click();
    QPointer<frmNodeSettings> settings = frmNodeSettings::Loaded();
    ASSERT_NE(settings, nullptr);
    const auto shows = [&](const char* caption) {
        return settings != nullptr && frmMsg::Current() == nullptr && settings->windowTitle() == caption;
    };
    ASSERT_TRUE(Drive({
        {"the properties window shown with its frame on the screen",
         [&] { return ShownInPlace(settings) && screen.contains(DisplayedFrame(settings)); },
         [&] { Click(settings->PushPin); }},
        {"pinned", [&] { return NodeSettingsPinned && ActiveOnDesktop(settings); },
         [&] { Click(settings->NameText); }},
        {"the name field", [&] { return settings->NameText->hasFocus(); },
         [] {
             Xdo({"type", "Z"});
         }},
        {"an edit pending", [&] { return settings->Changed(); },
         [&] { Click(form->Canvas(), NodeBox(*form, 2)); }},
        {"the switch question",
         [] { return BoxUp<frmMsg>() && frmMsg::Current()->windowTitle() == "Change Active Object"; },
         [] { Keys("n"); }},
        {"RCC 2 shown", [&] { return shows("RCC 2 Properties") && ActiveNode == 2; },
         [&] { Click(form->Canvas(), EmptyCanvas(*form)); }},
        {"nothing selected", [&] { return shows("Hub/RCC Properties") && ActiveNode == -1; }},
    }));
    EXPECT_EQ(frmNodeSettings::Loaded(), settings);
    EXPECT_EQ(Nodes[1].Name(), name) << "the edit answered No";
}

// Opened from the RCC's pop-up menu and from Find, the device window takes
// the keyboard: Delete then deletes its selected device, not the RCC.
TEST_F(DesktopTest, TheDeviceWindowOpensActive)
{
    for (int slot : {1, 2}) {
        Nodes[1].SetDeviceLoop(slot, 1);
        Nodes[1].SetDeviceAddress(slot, 10 + slot);
        LoopAddressOwner[1][10 + slot] = 100 + slot;
    }
    // At the right edge of the screen, clear of the nodes that are clicked.
    DeviceWindowLeft = 1000000;
    DeviceWindowTop = 0;
    QPointer<frmDevices> devices;
    const auto opened = [&](int slot) {
        devices = frmDevices::Loaded();
        return OnDesktop(devices) && ActiveOnDesktop(devices) && devices->SelectedSlot() == slot;
    };
    QMenu* menu = form->Menu("NodePopupMenu");
    ASSERT_TRUE(Drive({
        {"the main window", [] { return true; }, [&] { Click(form->Canvas(), NodeBox(*form, 1), 3); }},
        {"RCC 1's pop-up menu", [&] { return OnDesktop(menu); },
         [&] { Click(menu, menu->actionGeometry(form->MenuItem("PopupNodeDevices")).center()); }},
        // The first arrow key selects slot 1.
        {"the device window open", [&] { return opened(-1); }, [] { Keys("Right"); }},
        {"the device window takes the keys", [&] { return devices->SelectedSlot() == 1; },
         [] { Keys("Delete"); }},
        {"its device deleted",
         [&] { return devices->Slots().Slot(1).type == 0 && frmMsg::Current() == nullptr; },
         [&] { Click(devices->cmdOK); }},
        {"closed", [&] { return devices == nullptr && ActiveOnDesktop(form.get()); }, [] { Keys("F4"); }},
        {"the find box", [] { return BoxUp<frmParameter>(); },
         [] {
             Xdo({"key", "1", "colon", "1", "2", "Return"});
         }},
        {"the found device", [] { return BoxUp<frmMsg>(); }, [] { Keys("y"); }},
        // Its fields take the keys now (a device is selected): its OK key.
        {"the device window open on it", [&] { return opened(2); }, [] { Keys("alt+o"); }},
        {"closed again", [&] { return devices == nullptr && frmMsg::Current() == nullptr; }},
    }));
    EXPECT_TRUE(Nodes[1].InUse());
    EXPECT_EQ(Nodes[1].DeviceType(1), 0);
    EXPECT_EQ(Nodes[1].DeviceType(2), 10);
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
