#include "editors/frmNodeSettings.h"
#include "model/Selection.h"
#include "editors/EditorsHost.h"
#include "model/TestSites.h"
#include "model/ChannelPlan.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "platform/ProgramMessage.h"
#include "app/ModalAnswer.h"
#include "support/ScreenShots.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

using model::Nodes;

namespace {

// The hub with RCCs 1, 2, 3 (3 on 1:10), 5 (X 3/25) and 7 (X 4/21); device
// 4 of RCC 2 on 2:7 with ident 0D004.
class NodeSettingsTest : public ::testing::Test, public EditorsHost
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSelection();
        ResetToEmptySite();
        for (int n : {0, 1, 2, 3, 5, 7}) {
            Nodes[n].SetInUse(true);
            Nodes[n].SetParent(n == 0 ? -1 : 0);
            Nodes[n].SetNodeIdent(std::to_string(n));
        }
        LoopCount = 2;
        Nodes[0].SetNodeIdent("12345");
        Nodes[3].SetName("Stairs"), Nodes[3].SetNodeLoop(1), Nodes[3].SetNodeAddress(10);
        SetOwner(LoopAddressOwner, 1, 10, 300);
        Nodes[2].SetDeviceType(4, 2), Nodes[2].SetDeviceIdent(4, "0D004");
        Nodes[2].SetDeviceLoop(4, 2), Nodes[2].SetDeviceAddress(4, 7);
        SetOwner(LoopAddressOwner, 2, 7, 204);
        for (const auto& [n, a, b] : {std::tuple{5, 3, 25}, {7, 4, 21}})
            Nodes[n].SetX_ChannelA(a), Nodes[n].SetX_ChannelB(b);
        auto answer = [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
            boxes.push_back(QString::fromStdString(title + ": " + text) + QString(" [%1]").arg(style));
            const int code = answers.empty() ? 1 : answers.front();
            if (!answers.empty())
                answers.pop_front();
            return code;
        };
        platform::SetProgramMessageHandler(answer);
        platform::SetPlainMessageHandler(answer);
        SetEditorsHost(this);
    }
    void TearDown() override
    {
        frmNodeSettings::Unload();
        platform::SetProgramMessageHandler({});
        platform::SetPlainMessageHandler({});
        SetEditorsHost(nullptr);
        model::ResetSite();
    }
    frmNodeSettings* Open(int node)
    {
        ActiveNode = static_cast<int16_t>(node);
        frmNodeSettings* w = frmNodeSettings::Load();
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        w->RefreshData(-1);
        return w;
    }
    void Select(int node)
    {
        const int previous = ActiveNode;
        ActiveNode = static_cast<int16_t>(node);
        frmNodeSettings::Loaded()->RefreshData(previous);
    }
    static QStringList Items(const QComboBox* list)
    {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        return items;
    }
    static void Pick(QComboBox* list, const QString& text) { list->setCurrentIndex(list->findText(text)); }
    static int Owner(int loop, int address) { return GetOwner(LoopAddressOwner, loop, address); }
    // The boxes shown as "title [style]".
    QStringList Titles() const
    {
        QStringList titles;
        for (const QString& box : boxes)
            titles << box.section(':', 0, 0) + box.mid(box.lastIndexOf(" ["));
        return titles;
    }

    std::deque<int> answers; // button codes, in order; OK after they run out
    QStringList boxes;       // "title: text [style]"
    int titleUpdates = 0;

    void UpdateTitleBar() override { ++titleUpdates; }
    void RedrawSite() override {}
    void CalculateUsed(int) override {}
    void CancelDrag() override {}
    int ChooseFromList(QWidget*, const QString&, int, const QString&, int, const QString&, int&) override { return 2; }
};

const QString kClash = ": Ident 0D004\r\nAlready in Use by Device 4 on RCC 2 [16]";

} // namespace

TEST_F(NodeSettingsTest, HubRccAndRlmShowTheirFields)
{
    Nodes[2].SetDeviceAddress(4, 127); // an address only Ziton ZP holds
    frmNodeSettings* w = Open(0);
    SaveShot(w->grab().toImage(), "node-settings-hub");
    EXPECT_EQ(w->windowTitle(), "Radio Hub Properties");
    EXPECT_EQ(Items(w->TotalLoopsCombo), (QStringList{"     2", "     3", "     4"}));
    EXPECT_EQ(Items(w->ProtocolCombo), QStringList{"Ziton ZP"});
    Nodes[2].SetDeviceAddress(4, 7);
    Nodes[5].SetDeviceType(1, 18), Nodes[5].SetDeviceLoop(1, 1), Nodes[5].SetDeviceAddress(1, 126);
    Select(0);
    EXPECT_EQ(Items(w->ProtocolCombo), QStringList{"Ziton ZP"}) << "a combination head on 126 takes 127 too";
    EXPECT_TRUE(w->ParentCombo->isHidden() && w->cmdDevices->isHidden());
    EXPECT_FALSE(w->cmdRandom->isHidden()) << "the hub generates the default channels";
    EXPECT_EQ(Items(w->LoopCombo), (QStringList{"     1", "     2"}));

    Nodes[3].SetParent(1);
    Nodes[1].SetParent(-1);
    Select(3);
    EXPECT_EQ(w->windowTitle(), "RCC 3 Properties");
    EXPECT_EQ(Items(w->ParentCombo), (QStringList{"No Parent", "Radio Hub", "   1", "   2", "   5", "   7"}));
    EXPECT_EQ(w->ParentCombo->currentText(), "   1");
    EXPECT_EQ(w->HopCount->text(), "0"); // RCC 1 has no parent: the path is broken
    EXPECT_FALSE(w->InvalidHop->isHidden());
    EXPECT_EQ(w->AddressCombo->currentText(), "    10");
    EXPECT_FALSE(w->cmdDevices->isHidden());
    EXPECT_TRUE(w->TotalLoopsCombo->isHidden());
    EXPECT_EQ(w->InfoLabelY->text(), "Select the Radio Channels used for Communications between the RCC and its Devices");
    // With no node there is nothing to apply, until one is selected again.
    Select(-1);
    EXPECT_FALSE(w->cmdApply->isEnabled());
    w->NodeSelected();
    Select(3);
    EXPECT_TRUE(w->cmdApply->isEnabled());

    frmNodeSettings::Unload();
    IsLoopInterface = true;
    w = Open(0);
    EXPECT_EQ(w->windowTitle(), "RLM Properties");
    EXPECT_EQ(w->InfoLabelY->text(), "Radio Channels used for Communications between the RLM and Devices");
    EXPECT_TRUE(w->cmdApply->isHidden());
    EXPECT_TRUE(w->cmdRandom->isHidden());
    EXPECT_FALSE(w->ChannelACombo->isEnabled());
    EXPECT_FALSE(w->IdentText->isEnabled());
}

TEST_F(NodeSettingsTest, IdentIsNormalisedAndCheckedHoweverItIsEntered)
{
    frmNodeSettings* w = Open(3);
    w->IdentText->setFocus();
    w->IdentText->clear();
    QTest::keyClicks(w->IdentText, "a1x b");
    EXPECT_EQ(w->IdentText->text(), "A1B");
    EXPECT_EQ(w->windowTitle(), "RCC 3 Properties *");
    w->NameText->setFocus(); // leaving the field pads the ident
    EXPECT_EQ(w->IdentText->text(), "00A1B");

    w->IdentText->setFocus();
    w->IdentText->selectAll();
    QTest::keyClicks(w->IdentText, "ff0d004"); // typed too long, then cut by Enter: a clash
    QTest::keyClick(w->IdentText, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->IdentText->text().isEmpty(); }, 30000));
    EXPECT_EQ(boxes, QStringList{kClash});

    boxes.clear();
    w->IdentText->setText("D004"); // pasted short: padded on leaving, then checked
    w->NameText->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->IdentText->text().isEmpty(); }, 30000));
    w->IdentText->setFocus();
    w->IdentText->setText("1234567");
    w->NameText->setFocus();
    EXPECT_EQ(w->IdentText->text(), "34567");
    EXPECT_EQ(boxes, (QStringList{kClash, ": Ident Can Only Be 5 Characters [16]"}));
}

TEST_F(NodeSettingsTest, ChannelChoicesAreGuarded)
{
    const QString change = "Change Radio Channels [1040]";
    frmNodeSettings* w = Open(0);
    answers = {17, 6};
    Pick(w->ChannelACombo, "   3"); // hub Y channel 3 meets RCC 5's first X channel
    EXPECT_EQ(Titles(), (QStringList{change, "Change Radio Channels [36]", "Set Y-Protocol Channels [32]"}));
    EXPECT_EQ(boxes, (QStringList{"Change Radio Channels: WARNING: Changing Radio Channels on an Existing System\r\n"
                                  "will require ALL devices to be reprogrammed\r\n"
                                  "This function should only be used for New Systems\" [1040]",
                                  "Change Radio Channels: Are You Sure ? [36]",
                                  "Set Y-Protocol Channels: You Must Not Use The Same Channels for the Y-Protocol\r\n"
                                  "and the X-Protocol [32]"}));
    EXPECT_EQ(w->ChannelACombo->currentIndex(), -1);
    EXPECT_EQ(w->windowTitle(), "Radio Hub Properties *");
    w->cmdApply_Click();
    Nodes[0].SetY_ChannelA(6);

    boxes.clear();
    Select(2); // no X channels yet: no questions
    Pick(w->ChannelACombo, "   4");
    Pick(w->ChannelBCombo, "   21");
    Pick(w->ChannelBCombo, "   6");
    EXPECT_EQ(Titles(), (QStringList{"Set X-Protocol Channels [48]", "Set X-Protocol Channels [16]"}));
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_TRUE(boxes[0].contains("as those on RCC 7")) << boxes[0].toStdString();
    EXPECT_EQ(boxes, (QStringList{"Set X-Protocol Channels: WARNING: The X-Channels you have selected are the same\r\n"
                                  "as those on RCC 7\r\nIt is recommended to change to use other channels [48]",
                                  "Set X-Protocol Channels: You Must Not Use Y-Protocol Channels\r\n"
                                  "for X-Protocol Channels [16]"}));
    EXPECT_EQ(w->ChannelACombo->currentText(), "   4");
    EXPECT_EQ(w->ChannelBCombo->currentIndex(), -1);

    boxes.clear();
    Select(7); // the pending edit of RCC 2 is dropped (OK is not Yes)
    answers = {2};
    Pick(w->ChannelBCombo, "   30");
    EXPECT_EQ(Titles().last(), change);
    EXPECT_EQ(w->ChannelBCombo->currentText(), "   21");
    EXPECT_EQ(Nodes[2].X_ChannelA(), -1);
}

// A stored channel the lists cannot show stays as it is unless the user
// chooses another one in that list.
TEST_F(NodeSettingsTest, OkKeepsAStoredChannelTheListCannotShow)
{
    Nodes[5].SetX_ChannelA(35);
    frmNodeSettings* w = Open(5);
    EXPECT_EQ(w->ChannelACombo->currentIndex(), -1);
    w->cmdApply->click();
    EXPECT_EQ(Nodes[5].X_ChannelA(), 35);
    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(titleUpdates, 0);

    answers = {17, 6}; // Proceed, Yes
    Pick(w->ChannelBCombo, "   26");
    w->cmdOK->click();
    EXPECT_EQ((std::pair{Nodes[5].X_ChannelA(), Nodes[5].X_ChannelB()}), (std::pair<int16_t, int16_t>{35, 26}));
    EXPECT_TRUE(FileChanged);
}

// The parent highlight follows the parent chosen, applied or put back.
TEST_F(NodeSettingsTest, TheParentHighlightFollowsTheChosenParent)
{
    Nodes[3].SetParent(1);
    frmNodeSettings* w = Open(3);
    EXPECT_TRUE(Nodes[1].IsShownAsParent());
    Pick(w->ParentCombo, "   2");
    w->cmdApply->click();
    EXPECT_EQ((std::pair{Nodes[1].IsShownAsParent(), Nodes[2].IsShownAsParent()}), (std::pair{false, true}));
    // A parent chosen is a pending edit: the caption says so and the close
    // asks about it.
    Pick(w->ParentCombo, "   5");
    EXPECT_EQ(w->windowTitle().toStdString(), "RCC 3 Properties *");
    answers = {7}; // No to the close question
    w->cmdCancel->click();
    ASSERT_FALSE(boxes.isEmpty()) << "no close question";
    EXPECT_EQ(Titles().last(), "Close Node Properties Form [36]");
    EXPECT_EQ(Nodes[3].Parent(), 2);
    for (int n : {1, 2, 5})
        EXPECT_FALSE(Nodes[n].IsShownAsParent()) << n;

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed window goes
    Nodes[3].SetParent(1);
    w = Open(3);
    Pick(w->ParentCombo, "   7");
    w->cmdOK->click();
    EXPECT_EQ(Nodes[3].Parent(), 7);
    for (int n : {1, 7})
        EXPECT_FALSE(Nodes[n].IsShownAsParent()) << n;
}

TEST_F(NodeSettingsTest, PendingEditsGoToTheNodeShownOrBack)
{
    frmNodeSettings* w = Open(3);
    auto edit = [&] {
        Pick(w->LoopCombo, "     2");
        Pick(w->AddressCombo, "     4");
        w->NameText->setText("Lift");
    };
    edit();
    EXPECT_EQ(Items(w->AddressCombo).mid(4, 3), (QStringList{"     5", "     6", "     8"})); // 7 is taken
    EXPECT_EQ(Owner(2, 4), 300);
    answers = {7}; // No
    Select(1);
    EXPECT_EQ(boxes.last(), "Change Active Object: Changes Have Been Made, Do You Want To Apply Them? [36]");
    EXPECT_EQ(Nodes[3].Name(), "Stairs");
    EXPECT_EQ(Nodes[3].NodeLoop(), 1);
    EXPECT_EQ(Nodes[3].NodeAddress(), 10);
    EXPECT_EQ((std::pair{Owner(1, 10), Owner(2, 4)}), (std::pair{300, -1}));
    EXPECT_EQ(Nodes[1].Name(), "");

    Select(3);
    edit();
    answers = {6}; // Yes
    ActiveNode = 1;
    SelectedNode = 1;
    w->RefreshData(-1); // the caller's idea of the previous node does not matter
    EXPECT_EQ(Nodes[3].Name(), "Lift");
    EXPECT_EQ((std::pair{Owner(1, 10), Owner(2, 4)}), (std::pair{-1, 300}));
    EXPECT_EQ(Nodes[1].Name(), "");
    EXPECT_TRUE(FileChanged);
    EXPECT_EQ(titleUpdates, 1);

    Select(3);
    Pick(w->LoopCombo, "     1");
    Pick(w->AddressCombo, "     9");
    answers = {7};
    w->cmdCancel->click(); // Cancel puts the node back, then No to the close question
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(boxes.last(), "Close Node Properties Form: Changes Have Been Made, Do You Want To Save Them? [36]");
    EXPECT_EQ((std::pair{Owner(1, 9), Owner(2, 4)}), (std::pair{-1, 300}));
    EXPECT_EQ(Nodes[3].NodeAddress(), 4);
}

TEST_F(NodeSettingsTest, ApplyReportsADuplicateLoopAddress)
{
    Nodes[5].SetNodeLoop(2); // loaded on the address of device 4 of RCC 2
    Nodes[5].SetNodeAddress(7);
    frmNodeSettings* w = Open(5);
    w->NameText->setText("Plant room");
    w->cmdApply->click();
    EXPECT_EQ(boxes, QStringList{"Duplicate Loop Address: A Duplicate Loop Address Has Been Found\r\n"
                                 "The Node Loop Address must be Re-Selected [48]"});
    EXPECT_EQ(Owner(2, 7), 204);
    EXPECT_EQ(Nodes[5].NodeLoop(), -1);
    EXPECT_EQ(Nodes[5].Name(), "Plant room");
    EXPECT_EQ(w->LoopCombo->currentIndex(), -1);
    EXPECT_EQ(w->windowTitle(), "RCC 5 Properties");
}

TEST_F(NodeSettingsTest, GeneratedChannelsFollowTheHubIdent)
{
    frmNodeSettings* w = Open(0);
    w->IdentText->setText("0BEEF");
    answers = {17, 6};
    w->cmdRandom_Click();
    EXPECT_EQ(Titles(), (QStringList{"Change Radio Channels [1040]", "Change Radio Channels [36]"}));
    EXPECT_EQ(boxes, (QStringList{"Change Radio Channels: WARNING: Changing Radio Channels on an Existing System\r\n"
                                  "Will require ALL Devices to be Re-Programmed\r\n"
                                  "This Function should only be used for New Systems\" [1040]",
                                  "Change Radio Channels: Are You Sure ? [36]"}));
    const int32_t shown = w->ChannelACombo->currentIndex() + 1;
    const model::NodeArray generated = Nodes;
    EXPECT_EQ(Nodes[0].NodeIdent(), "0BEEF");
    EXPECT_FALSE(w->cmdRandom->isEnabled());
    // The plan is the one the typed ident gives, for every node.
    model::AutoAssignChannels();
    EXPECT_EQ(Nodes[0].Y_ChannelA(), shown);
    EXPECT_NE(shown, 0);
    for (int n = 0; n < model::kNodeCount; ++n) {
        EXPECT_EQ(generated[n].Y_ChannelA(), Nodes[n].Y_ChannelA()) << n;
        EXPECT_EQ(generated[n].X_ChannelB(), Nodes[n].X_ChannelB()) << n;
    }
}

TEST_F(NodeSettingsTest, StaysOnScreenAndCtrlTabTurnsThePage)
{
    NodeWindowLeft = 60000;
    NodeWindowTop = 60000;
    frmNodeSettings* w = Open(1);
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    EXPECT_LE(w->x() + w->width(), screen.width());
    EXPECT_LE(w->y() + w->height(), screen.height());
    QTest::keyClick(w->NameText, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(w->FraOptions[1]->isVisible());
    QTest::keyClick(w->ChannelACombo, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(w->FraOptions[0]->isVisible());
    w->move(30, 45);
    w->close();
    EXPECT_EQ((std::pair{NodeWindowLeft, NodeWindowTop}), (std::pair{450, 675}));
}
