// The device window on a loaded main window, its boxes answered by the test.
#include "app/frmMainFixture.h"
#include "editors/frmDevices.h"
#include "hublink/core/AddressMaps.h"
#include "model/SiteFile.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "support/ScreenShots.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>

using model::Nodes;

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join("|").toStdString() << ']';
}

namespace {

class DevicesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ShowMessagesInBoxes();
        QuickInfoMode = 1;
    }
    void TearDown() override
    {
        BoxAnswers closing; // "No" to a close question
        closing.Then({"No"});
        frmDevices::Unload();
        MainWindowTest::TearDown();
    }

    // Hub, RCCs 3 and 5 on two loops of 126 addresses; RCC 3 holds devices
    // in slots 1..4 (loop 1 from address 10, slot 4 on loop 2 at 40).
    void SmallSite()
    {
        Load();
        LoopCount = 2;
        MaxLoopAddress = 126;
        for (int n : {0, 3, 5}) {
            Nodes[n].SetInUse(true);
            Nodes[n].SetParent(n == 0 ? -1 : 0);
            Nodes[n].SetNodeIdent(n == 0 ? "F0000" : "F000" + std::to_string(n));
            Nodes[n].SetNodeLoop(1);
            Nodes[n].SetNodeAddress(100 + n);
        }
        for (int s = 1; s <= 4; ++s)
            SetDevice(3, s, 3, s < 4 ? 1 : 2, s < 4 ? 9 + s : 40, "0300" + std::to_string(s));
        SetDevice(5, 1, 6, 2, 60, "05001");
        form->DisplayNodes();
    }
    void SetDevice(int node, int slot, int type, int loop, int address, const std::string& ident)
    {
        Nodes[node].SetDeviceType(slot, type);
        Nodes[node].SetDeviceLoop(slot, loop);
        Nodes[node].SetDeviceAddress(slot, address);
        Nodes[node].SetDeviceIdent(slot, ident);
        hublink::BuildAddressMap();
    }
    frmDevices* Open(int node)
    {
        form->ActivateNode(node);
        form->PopupNodeDevices_Click();
        QApplication::processEvents();
        return frmDevices::Loaded();
    }
    static void Key(frmDevices* w, Qt::Key key) { QTest::keyClick(w, key); }
    static void Drop(frmDevices* w, int slot, int item)
    {
        QMimeData data;
        data.setData("application/x-qvs-device-palette-item", QByteArray::number(item));
        QLabel* target = w->DeviceImage[slot];
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    static std::string LA(const frmDevices* w, int slot)
    {
        const auto& s = w->Slots().Slot(slot);
        return std::to_string(s.loop) + "/" + std::to_string(s.address);
    }
};

TEST_F(DevicesTest, ArrowKeysWalkTheGridAndWrapRound)
{
    SmallSite();
    frmDevices* w = Open(3);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Device Settings for RCC 3");
    Key(w, Qt::Key_Right); // nothing selected: slot 1
    EXPECT_EQ(w->SelectedSlot(), 1);
    EXPECT_EQ(w->IdentText->text(), "03001");
    EXPECT_EQ(w->DeviceDetail[1]->text(), "L1/010");
    const struct { Qt::Key key; int from, to; } moves[] = {
        {Qt::Key_Up, 1, 25},    {Qt::Key_Up, 7, 31},     {Qt::Key_Up, 8, 24},   {Qt::Key_Up, 9, 1},
        {Qt::Key_Down, 16, 24}, {Qt::Key_Down, 24, 8},   {Qt::Key_Down, 25, 1}, {Qt::Key_Down, 31, 7},
        {Qt::Key_Left, 1, 31},  {Qt::Key_Right, 31, 1}};
    for (const auto& m : moves) {
        w->SelectDevice(m.from);
        Key(w, m.key);
        EXPECT_EQ(w->SelectedSlot(), m.to) << m.from;
    }
    // Delete by key: slot 2 emptied, slot 1 selected, the window marked.
    w->SelectDevice(2);
    Key(w, Qt::Key_Delete);
    EXPECT_EQ(w->Slots().Slot(2).type, 0);
    EXPECT_EQ(w->SelectedSlot(), 1);
    EXPECT_EQ(w->windowTitle(), "Device Settings for RCC 3 * ");
    EXPECT_EQ(w->Slots().Owner(1, 11), -1);
    SaveShot(w->grab().toImage(), "devices-small-rcc");
}

TEST_F(DevicesTest, ThePaletteArrowsPageForwardAndBack)
{
    SmallSite();
    frmDevices* w = Open(3);
    ASSERT_NE(w, nullptr);
    // A click on the arrow button at one end of a palette scroll bar.
    const auto click = [](QScrollBar* bar, QStyle::SubControl arrow) {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        const QRect button = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar);
        ASSERT_FALSE(button.isEmpty());
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, button.center());
    };
    // The captions shown, and the item in the first column's top row.
    const auto shown = [w] {
        QStringList captions;
        for (int i = 0; i < 10; ++i)
            if (w->SourceLabel[i]->isVisible())
                captions << w->SourceLabel[i]->text();
        return captions;
    };
    const auto firstColumn = [w] {
        for (int i = 0; i < 10; i += 2)
            if (w->SourceDevice[i]->isVisible() && w->SourceDevice[i]->x() == platform::TwipsToPixels(250))
                return w->SourceLabel[i]->text();
        return QString();
    };
    const QStringList page0 = {"Callpoint",   "Sounder", "Optical",    "Sndr/Bcon",
                               "Multisensor", "Combo",   "Heat (A1R)", "Cmbo/Bcon"};
    const QStringList page1 = {"Optical",    "Sndr/Bcon", "Multisensor", "Combo",
                               "Heat (A1R)", "Cmbo/Bcon", "Heat (CS)",   "I/O Unit"};
    // Only the arrow that leads away from the page shown is offered.
    const auto expectPage = [&](int page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(w->PalettePage(), page);
        EXPECT_EQ(shown(), page == 0 ? page0 : page1);
        EXPECT_EQ(firstColumn(), page == 0 ? "Callpoint" : "Optical");
        EXPECT_EQ(w->DevScrollL->isVisible(), page == 1);
        EXPECT_EQ(w->DevScrollR->isVisible(), page == 0);
    };
    expectPage(0);
    click(w->DevScrollR, QStyle::SC_ScrollBarAddLine);
    expectPage(1);
    click(w->DevScrollL, QStyle::SC_ScrollBarSubLine);
    expectPage(0);
}

TEST_F(DevicesTest, PaletteAddsByDoubleClickAndDropWithFreeAddresses)
{
    SmallSite();
    SetOwner(LoopAddressOwner, 2, 41, 501); // another RCC's address after slot 4's
    frmDevices* w = Open(3);
    BoxAnswers answers;
    w->SourceDevice_DblClick(0);
    EXPECT_EQ(w->SelectedSlot(), 5);
    EXPECT_EQ(w->Slots().Slot(5).type, 2);
    EXPECT_EQ(LA(w, 5), "2/42");
    EXPECT_EQ(w->AddressCombo->currentText(), "42");

    // A combination item dropped on an empty slot: the prompt's third entry
    // gives the Heat CS head, which takes two addresses after slot 9's.
    answers.Then({"OK", 2});
    Drop(w, 6, 5);
    EXPECT_EQ(w->Slots().Slot(6).type, 12);
    EXPECT_EQ(LA(w, 6), "2/43");
    EXPECT_EQ(w->Slots().Owner(2, 44), 306);
    EXPECT_EQ(w->lblAddress2->text(), " and 44");
    EXPECT_EQ(answers.seen, QStringList{"Select Combo Detector Type"});

    // A sounder dropped on the head keeps its place and frees the second address.
    Drop(w, 6, 1);
    EXPECT_EQ(w->Slots().Slot(6).type, 6);
    EXPECT_EQ(LA(w, 6), "2/43");
    EXPECT_EQ(w->Slots().Owner(2, 44), -1);

    // The fourth choice, a combination with no named head, takes two
    // addresses as well: the one just freed and the next.
    answers.Then({"OK", 3});
    Drop(w, 7, 5);
    EXPECT_EQ(LA(w, 7), "2/44");
    EXPECT_EQ(w->Slots().Owner(2, 45), 307);

    // A plain combination base given a head claims its second address too.
    w->Slots().Slot(8) = {13, "", "", 1, 20};
    w->Slots().SetOwner(1, 20, 308);
    w->SelectDevice(8);
    answers.Then({"OK", 0});
    w->TypeChange_Click();
    EXPECT_EQ(w->Slots().Slot(8).type, 10);
    EXPECT_EQ(w->Slots().Owner(1, 21), 308);

    // Every address of every loop taken: the drop is refused with the message.
    for (int loop = 1; loop <= 2; ++loop)
        for (int a = 1; a <= 126; ++a)
            if (w->Slots().IsFree(loop, a))
                w->Slots().SetOwner(loop, a, 501);
    Drop(w, 20, 0);
    EXPECT_EQ(w->Slots().Slot(20).type, 0);
    EXPECT_EQ(w->SelectedSlot(), 19);
    EXPECT_EQ(answers.seen.last(), " No Loop Addresses Free\n");
}

TEST_F(DevicesTest, IdentClashesAreReportedWhileTypingAndOnCommit)
{
    SmallSite();
    SetDevice(5, 2, 3, 1, 5, "0A1B2");
    frmDevices* w = Open(3);
    BoxAnswers answers;
    w->SelectDevice(1);
    const auto type = [&](const QString& text) {
        w->IdentText->setFocus();
        w->IdentText->clear();
        QTest::keyClicks(w->IdentText, text);
    };
    type("3002"); // four characters: padded on commit, clashes with slot 2
    w->IdentTimer->start(60000); // its delayed check still to come, however slow the machine
    w->SelectDevice(3);
    EXPECT_FALSE(w->IdentTimer->isActive()) << "the commit has checked the ident: no second check of it follows";
    w->SelectDevice(1);
    QApplication::setActiveWindow(w); // the field keeps its keys while it has the focus
    w->IdentText->setFocus();
    w->IdentText->clear();
    const auto paste = [&](const char* text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(w->IdentText, Qt::Key_V, Qt::ControlModifier);
    };
    paste("0a-1b 2"); // refused whole, as in the node properties window
    EXPECT_EQ(w->IdentText->text(), "");
    paste("0a1b2");
    EXPECT_EQ(w->IdentText->text(), "0A1B2");
    w->IdentTimer_Timer();
    type("f0005");
    w->IdentTimer_Timer();
    type("F0000");
    w->cmdApply_Click();
    EXPECT_EQ(answers.seen, (QStringList{"Ident 03002\nAlready in Use by Device 2",
                                         "Ident 0A1B2\nAlready in Use by Device at L1/005 on RCC5",
                                         "Ident F0005\nAlready in Use by RCC 5",
                                         "Ident F0000\nAlready in Use by Radio Hub"}));
    EXPECT_EQ(Nodes[3].DeviceIdent(1), "03001");
    QApplication::setActiveWindow(w);
    type("ABCDEF1");
    w->cmdOK->setFocus(); // leaving the field
    EXPECT_EQ(answers.seen.last(), "Ident Can Only Be 5 Characters");
    EXPECT_EQ(w->Slots().Slot(1).ident, "CDEF1");
}

TEST_F(DevicesTest, TheTypeFieldShowsEveryTypeNameWhole)
{
    SmallSite();
    QLineEdit* field = Open(3)->TypeText;
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    // The field draws its text 2 pixels inside the style's contents rect.
    const int room = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width() - 4;
    for (model::DeviceTypeCode code = 0; code < 64; ++code)
        EXPECT_LE(field->fontMetrics().horizontalAdvance(QString::fromStdString(model::DeviceTypeName(code))), room)
            << model::DeviceTypeName(code);
}

TEST_F(DevicesTest, DeleteClearAllAndMoveToAnotherRcc)
{
    SmallSite();
    frmDevices* w = Open(3);
    BoxAnswers answers;
    // Move slot 4 (loop 2, address 40) to RCC 5, whose slot 1 is used.
    w->SelectDevice(4);
    answers.Then({"OK", 0});
    w->MoveRCC_Click();
    EXPECT_EQ(Nodes[5].DeviceType(2), 3);
    EXPECT_EQ(LoopAddressOwner[2][40], 502);
    EXPECT_EQ(Nodes[3].DeviceType(4), 0);
    EXPECT_EQ(w->SelectedSlot(), 3);
    EXPECT_FALSE(w->Changed());
    EXPECT_EQ(answers.seen, (QStringList{"Select Destination RCC", "Device at L2/040 Moved to RCC5"}));

    w->SelectDevice(1);
    w->cmdDel_Click();
    EXPECT_EQ(w->SelectedSlot(), -1);
    EXPECT_EQ(w->Slots().Owner(1, 10), -1);
    w->cmdClearAll_Click();
    EXPECT_EQ(w->Slots().FirstEmpty(), 1);
    answers.Then({"No"});
    frmDevices::Unload();
    EXPECT_EQ(answers.seen.last(), "Changes Have Been Made, Do You Want To Save Them?");
    EXPECT_EQ(Nodes[3].DeviceType(2), 3); // only Apply writes the node
}

TEST_F(DevicesTest, TheRlmIsShownReadOnlyAndKeepsItsDevices)
{
    SmallSite();
    IsLoopInterface = true;
    SetDevice(0, 1, 2, 1, 30, "00001");
    frmDevices* w = Open(0);
    EXPECT_EQ(w->windowTitle(), "Device Settings for RLM");
    EXPECT_FALSE(w->cmdApply->isEnabled());
    EXPECT_FALSE(w->Pallette->isEnabled());
    BoxAnswers answers;
    answers.Then({"OK", 0});
    w->SelectDevice(1);
    w->MoveRCC_Click();
    EXPECT_TRUE(answers.seen.isEmpty());
    w->cmdDel_Click();
    w->cmdApply_Click();
    EXPECT_EQ(Nodes[0].DeviceType(1), 2);
    EXPECT_EQ(Nodes[3].DeviceType(5), 0);
    EXPECT_EQ(LoopAddressOwner[1][30], 1);
}

TEST_F(DevicesTest, ApplyWritesTheNodeMergesOwnersAndMarksTheTitle)
{
    SmallSite();
    frmDevices* w = Open(3);
    BoxAnswers answers;
    w->SourceDevice_DblClick(1);
    // Meanwhile another window gives RCC 5 a cell the device window never touched.
    LoopAddressOwner[1][90] = 500;
    EXPECT_FALSE(FileChanged);
    w->cmdApply_Click();
    EXPECT_EQ(Nodes[3].DeviceType(5), 6);
    EXPECT_EQ(LoopAddressOwner[2][41], 305);
    EXPECT_EQ(LoopAddressOwner[1][90], 500);
    EXPECT_TRUE(FileChanged);
    EXPECT_TRUE(form->windowTitle().contains(" * "));
    EXPECT_EQ(w->windowTitle(), "Device Settings for RCC 3");

    // Pending edits on a switch: Yes applies them to RCC 3, then RCC 5 shows.
    w->SelectDevice(5);
    w->cmdDel_Click();
    answers.Then({"Yes"});
    form->ActivateNode(5);
    EXPECT_EQ(Nodes[3].DeviceType(5), 0);
    EXPECT_EQ(w->windowTitle(), "Device Settings for RCC 5");
    EXPECT_EQ(answers.seen.last(), "Changes Have Been Made\nDo You Want To Apply Them?");
    EXPECT_EQ(answers.titles.last(), "Change Active Object");
}

// The release of a click ends any drag, so the drag is looked at while the
// button is still down.
TEST_F(DevicesTest, ClosingTheUnpinnedWindowByANodeClickStartsNoDrag)
{
    SmallSite();
    Open(3);
    QWidget* caption = form->NodeControls(5).Label();
    QTest::mousePress(caption, Qt::LeftButton);
    EXPECT_EQ(frmDevices::Loaded(), nullptr);
    EXPECT_EQ(ActiveNode, 5);
    EXPECT_FALSE(form->Dragging());
    QTest::mouseRelease(caption, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(frmDevices::Loaded(), nullptr);
    EXPECT_FALSE(form->Dragging());
}

TEST_F(DevicesTest, AnEditOfTheLastSlotOfAFullRccIsApplied)
{
    Load();
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    form->DisplayNodes();
    frmDevices* w = Open(7);
    w->SelectDevice(7);
    w->Slots().Slot(31).name = "Changed 31";
    w->cmdApply_Click();
    EXPECT_EQ(Nodes[7].DeviceName(31), "Changed 31");
}

TEST_F(DevicesTest, AFullRccTakesNoMoreDevices)
{
    Load();
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    form->DisplayNodes();
    frmDevices* w = Open(7);
    BoxAnswers answers;
    w->SourceDevice_DblClick(0);
    EXPECT_EQ(answers.seen, QStringList{"You can only have 31 devices\nConnected to an RCC at any time"});
    EXPECT_EQ(answers.titles, QStringList{"Add Device to RCC"});
}

// The properties window opened from the canvas follows the selection; an
// edit pending when another node is clicked is applied to the node it was
// made on.
TEST_F(DevicesTest, NodeSettingsApplyPendingEditsWhenAnotherNodeIsClicked)
{
    LoadSite();
    SiteFileName = "site.qvs";
    ClickCaption(1, Qt::LeftButton);
    form->NodeLabel_DblClick(1);
    frmNodeSettings* settings = frmNodeSettings::Loaded();
    ASSERT_NE(settings, nullptr);
    settings->PushPin->click();
    EXPECT_TRUE(NodeSettingsPinned);
    settings->NameText->setText("East wing");
    EXPECT_EQ(settings->windowTitle(), "RCC 1 Properties *");

    answer = "Yes";
    AnswerMessages();
    ClickCaption(2, Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{"Change Active Object: Changes Have Been Made, Do You Want To Apply Them?"});
    EXPECT_EQ(Nodes[1].Name(), "East wing");
    EXPECT_EQ(Nodes[2].Name(), "RCC name 2");
    EXPECT_EQ(settings->windowTitle(), "RCC 2 Properties");
    EXPECT_EQ(settings->NameText->text(), "RCC name 2");
    EXPECT_TRUE(form->windowTitle().contains(" * "));
}

} // namespace

TEST_F(DevicesTest, NothingIsDeletableBehindTheHubFace)
{
    SmallSite();
    frmDevices* w = Open(3);
    DevicesPinned = true;
    w->SelectDevice(4);
    form->ActivateNode(0);
    w->RefreshData(3);
    ASSERT_EQ(w->Label1->text(), "Radio Hub has No Devices");
    EXPECT_FALSE(w->cmdDel->isEnabled());
    Key(w, Qt::Key_Delete);
    w->DeleteDevice_Click();
    EXPECT_FALSE(w->Changed());
    EXPECT_EQ(w->Slots().Slot(4).type, 3);
}
