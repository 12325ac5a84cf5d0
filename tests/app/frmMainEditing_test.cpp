#include "frmMainFixture.h"

#include "app/frmErrorCheck.h"
#include "app/frmNewSite.h"
#include "model/ConfigurationCheck.h"
#include "model/SiteFile.h"
#include "platform/FileDialogs.h"
#include "platform/Units.h"

#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <optional>

using model::Nodes;

namespace {

// Fills the new-site dialog once it is up and presses OK.
void AnswerNewSite(int rccs, int loops, int protocol, const QString& name)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* dialog = qobject_cast<frmNewSite*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        dialog->NameText->setText(name);
        for (auto [box, index] :
             {std::pair{dialog->QtyCombo, rccs - 1}, std::pair{dialog->LoopCombo, loops - 1},
              std::pair{dialog->ProtocolCombo, protocol - 1}}) {
            box->setCurrentIndex(index - 1); // picked with the arrow key
            QTest::keyClick(box, Qt::Key_Down);
        }
        dialog->cmdOK->click();
    });
    modalwatch::AnswersWhile(timer, [](const QWidget* w) { return qobject_cast<const frmNewSite*>(w) != nullptr; });
    timer->start();
}

class EditingTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        model::ResetSiteFile();
        model::ResetConfigurationCheck();
        platform::SetFileDialogAnswerer([this](const platform::FileDialogRequest& request) {
            requests.push_back(request);
            std::optional<QString> answer;
            if (!files.empty()) {
                answer = files.front();
                files.pop_front();
            }
            return answer;
        });
    }
    void TearDown() override
    {
        platform::SetFileDialogAnswerer({});
        if (frmErrorCheck* list = frmErrorCheck::Loaded())
            platform::UnloadFormNow(list);
        FileChanged = false; // the window's close must not ask
        MainWindowTest::TearDown();
    }
    // A press on node i's caption, a move by (dx, dy) pixels and a release.
    void DragCaption(int node, int dx, int dy)
    {
        NodeLabel* label = form->NodeControls(node).Label();
        const QPoint from = label->rect().center();
        QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(label, from + QPoint(dx / 2, dy / 2));
        QTest::mouseMove(label, from + QPoint(dx, dy));
        QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, dy));
        QApplication::processEvents();
    }
    QString Title() const { return form->windowTitle(); }
    // The device window on RCC 1, selected by a click, pinned and on its
    // slot 1.
    QPointer<frmDevices> PinnedDevicesOnRcc1()
    {
        ClickCaption(1, Qt::LeftButton);
        form->PopupNodeDevices_Click();
        QPointer<frmDevices> devices = frmDevices::Loaded();
        if (devices != nullptr) {
            devices->PushPin->click();
            devices->SelectDevice(1);
        }
        return devices;
    }
    // The properties window on the selected node, pinned, with a name typed
    // and not applied.
    // The site loaded, the program's boxes shown, RCC 1 selected and the
    // pinned properties window on it with a name pending; the site unchanged.
    QPointer<frmNodeSettings> PinnedSettingsOnRcc1WithAPendingName()
    {
        LoadSite();
        ShowMessagesInBoxes();
        ClickCaption(1, Qt::LeftButton);
        QPointer<frmNodeSettings> settings = PinnedSettingsWithAPendingName();
        FileChanged = false;
        return settings;
    }
    QPointer<frmNodeSettings> PinnedSettingsWithAPendingName()
    {
        form->PopupNodeEdit_Click();
        QPointer<frmNodeSettings> settings = frmNodeSettings::Loaded();
        if (settings != nullptr) {
            settings->PushPin->click();
            settings->NameText->setText("Old plant room");
        }
        return settings;
    }

    std::vector<platform::FileDialogRequest> requests;
    std::deque<std::optional<QString>> files;
    QTemporaryDir dir;
};

} // namespace

TEST_F(EditingTest, NewSiteIsSavedOpenedAgainAndRefusedWhenFaulty)
{
    Load();
    AnswerNewSite(3, 2, 1, "Block A");
    form->MenuItem("NewFile")->trigger();
    EXPECT_EQ(LoopCount, 2);
    EXPECT_FALSE(form->NodeControls(4).Shape()->isVisible());
    EXPECT_TRUE(Title().endsWith("[untitled.qvs] * ")) << Title().toStdString();

    // Save As, starting from the site name.
    const QString path = dir.filePath("block.qvs");
    files = {path};
    form->MenuItem("FileSaveAs")->trigger();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].fileName, "Block A.qvs");
    EXPECT_TRUE(Title().endsWith("[block.qvs]")) << Title().toStdString();

    // Open gives the saved site back.
    const int32_t left = Nodes[2].Left();
    Nodes[2].SetLeft(9000);
    files = {path};
    form->MenuItem("FileLoad")->trigger();
    EXPECT_EQ(Nodes[2].Left(), left);

    // A second file joins the recent list at the top; the first is one down.
    const QString other = dir.filePath("other.qvs");
    files = {other};
    form->FileSaveAs_Click();
    EXPECT_EQ(form->MenuItem("FileMRU_2")->text(), "block.qvs");
    form->MenuItem("FileMRU_2")->trigger();
    EXPECT_EQ(SiteFileName, path.toStdString());

    // With the check before saving, the faulty site is not written.
    form->MenuItem("CheckFileClose")->trigger();
    FileChanged = true;
    form->MenuItem("FileSave")->trigger();
    EXPECT_EQ(requests.size(), 3u); // no dialog
    frmErrorCheck* list = frmErrorCheck::Loaded();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->WarningLabel->text(), "WARNING:  File NOT Saved");
    EXPECT_EQ(list->windowTitle(), "Configuration File Errors - File NOT Saved");
    EXPECT_TRUE(FileChanged);
    EXPECT_FALSE(form->SaveInProgress());
}

TEST_F(EditingTest, CancelledNewAndAClosedSaveChangesBoxKeepTheSite)
{
    LoadSite();
    FileChanged = true;
    BoxAnswers script({{"&Cancel"}, {"&Yes"}});
    form->NewFile_Click();
    EXPECT_TRUE(Nodes[4].InUse());
    ASSERT_EQ(script.seen.size(), 1);
    EXPECT_TRUE(script.seen[0].startsWith("Changes Have Been Made"));

    // Yes, then a cancelled save dialog: nothing is lost and New stops.
    files = {std::nullopt};
    form->NewFile_Click();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(Nodes[4].InUse());
    EXPECT_TRUE(FileChanged);
}

TEST_F(EditingTest, ANewSiteStartsWithNothingSelected)
{
    LoadSite();
    ClickCaption(2, Qt::LeftButton);
    ASSERT_FALSE(form->PanelText(2).isEmpty());
    FileChanged = false;
    AnswerNewSite(3, 1, 1, "Block B");
    form->NewFile_Click();
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(form->PanelText(2), "");
    EXPECT_EQ(form->PanelText(3), "");
    EXPECT_FALSE(form->ToolButton("Delete")->isEnabled());
    QSignalSpy deletes(form.get(), &frmMain::DeleteRccRequested);
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 0);
    EXPECT_TRUE(Nodes[2].InUse());
}

// The drawing of a new site is measured afresh: what lay far out in the old
// one (here its name) no longer sizes the drawing or the scroll bars.
TEST_F(EditingTest, ANewSiteHasItsOwnDrawingExtentAndScrollRanges)
{
    LoadSite();
    SiteNameX = 40000;
    SiteNameY = 30000;
    DisplayInWindow(9000, 7000);
    ASSERT_TRUE(form->HScroll1()->isVisible());
    ASSERT_TRUE(form->VScroll1()->isVisible());
    FileChanged = false;
    AnswerNewSite(2, 1, 1, "Block D");
    form->NewFile_Click();
    ASSERT_EQ(SiteName, "Block D");
    const QLabel* label = form->SiteNameLabel();
    const app::DrawingExtent extent = app::ComputeDrawingExtent(
        Nodes, SiteNameX, SiteNameY, platform::PixelsToTwips(label->width()), platform::PixelsToTwips(label->height()));
    EXPECT_EQ(DrawingWidth, extent.width);
    EXPECT_EQ(DrawingHeight, extent.height);
    EXPECT_LT(DrawingWidth, 40000);
    EXPECT_LT(DrawingHeight, 30000);
    const long width = form->WidthTwips();
    const long height = form->HeightTwips();
    EXPECT_EQ(form->HScroll1()->isVisible(), width < DrawingWidth);
    if (form->HScroll1()->isVisible()) {
        EXPECT_EQ(form->HScroll1()->maximum(), DrawingWidth - width);
    }
    EXPECT_EQ(form->VScroll1()->isVisible(), height < DrawingHeight + 1600);
    if (form->VScroll1()->isVisible()) {
        EXPECT_EQ(form->VScroll1()->maximum(), DrawingHeight - height + 1600);
    }
}

// Pinned editors across a new site: nothing they held for the old site's
// RCC 1 reaches the new site, whether by OK or by a move.
TEST_F(EditingTest, PinnedEditorsLetGoOfTheOldSiteOnNew)
{
    LoadSite();
    ShowMessagesInBoxes();
    QPointer<frmDevices> devices = PinnedDevicesOnRcc1();
    ASSERT_NE(devices, nullptr);
    QPointer<frmNodeSettings> settings = PinnedSettingsWithAPendingName();
    ASSERT_NE(settings, nullptr);
    FileChanged = false;

    AnswerNewSite(3, 1, 1, "Block B");
    {
        BoxAnswers drop({{"&No"}}); // the pending name is dropped
        form->NewFile_Click();
        EXPECT_TRUE(drop.Done());
    }
    AnswerMessages(); // a move would ask for its destination
    EXPECT_EQ(devices->windowTitle(), "Device Details");
    EXPECT_EQ(settings->windowTitle(), "Hub/RCC Properties");
    devices->MoveRCC_Click();
    settings->cmdOK->click();
    devices->cmdOK->click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(Nodes[n].DetectorCountRCC(), 0) << n;
        EXPECT_EQ(Nodes[n].Name(), "") << n;
    }
    EXPECT_EQ(Nodes[1].Parent(), -1);
}

// An edit still pending in an editor belongs to the site on the screen: it
// is offered before that site can go, and the save question covers it.
TEST_F(EditingTest, PendingEditsAreOfferedBeforeTheSiteIsReplaced)
{
    QPointer<frmNodeSettings> settings = PinnedSettingsOnRcc1WithAPendingName();
    ASSERT_NE(settings, nullptr);

    {
        BoxAnswers cancel({{"&Cancel"}});
        form->NewFile_Click();
        EXPECT_EQ(cancel.titles, QStringList{"Close Node Properties Form"});
    }
    EXPECT_EQ(Nodes[1].Name(), "RCC name 1");
    EXPECT_TRUE(settings->Changed());
    EXPECT_FALSE(FileChanged);

    // Yes applies the name to this site; the save question follows, and a
    // Save As cancelled there keeps the site with the edit in it.
    BoxAnswers yes({{"&Yes"}, {"&Yes"}});
    files = {std::nullopt};
    form->MenuItem("FileLoad")->trigger();
    EXPECT_EQ(yes.titles, (QStringList{"Close Node Properties Form", "Save Changes ?"}));
    EXPECT_EQ(Nodes[1].Name(), "Old plant room");
    EXPECT_TRUE(FileChanged);
    EXPECT_FALSE(settings->Changed());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].save) << "only the Save As dialog";
}

// The pinned device window offers the loops of the site on the screen: a
// new site of four loops after one of fewer.
TEST_F(EditingTest, APinnedDeviceWindowOffersTheLoopsOfTheNewSite)
{
    LoadSite();
    LoopCount = 2;
    QPointer<frmDevices> devices = PinnedDevicesOnRcc1();
    ASSERT_NE(devices, nullptr);
    ASSERT_EQ(devices->LoopCombo->count(), 2);
    FileChanged = false;
    AnswerNewSite(3, 4, 1, "Block C");
    form->NewFile_Click();
    ASSERT_EQ(LoopCount, 4);
    ClickCaption(1, Qt::LeftButton);
    EXPECT_EQ(devices->windowTitle(), "Device Settings for RCC 1");
    EXPECT_EQ(devices->LoopCombo->count(), 4);
}

// A read from a hub starts a new site as New does: the pinned device window
// is told, and its pending edit is not applied.
TEST_F(EditingTest, APinnedDeviceWindowIsToldWhenAReadStartsANewSite)
{
    LoadSite();
    QPointer<frmDevices> devices = PinnedDevicesOnRcc1();
    ASSERT_NE(devices, nullptr);
    devices->cmdDel->click();
    frmComms::MainWindow->DisplayNewSite();
    EXPECT_EQ(devices->windowTitle(), "Device Details");
    devices->cmdOK->click();
    EXPECT_EQ(Nodes[1].DetectorCountRCC(), 2);
}

// After Open the pinned properties window holds nothing of the old site, and
// the next selection shows the new site's node on its tabs.
TEST_F(EditingTest, PinnedPropertiesWindowLetsGoOfTheOldSiteOnOpen)
{
    QPointer<frmNodeSettings> settings = PinnedSettingsOnRcc1WithAPendingName();
    ASSERT_NE(settings, nullptr);
    const QString path = dir.filePath("full.qvs");
    ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/full-site.qvs", path));
    files = {path};
    {
        BoxAnswers drop({{"&No"}}); // the pending name is dropped
        form->MenuItem("FileLoad")->trigger();
        EXPECT_TRUE(drop.Done());
    }
    ASSERT_EQ(Nodes[1].Name(), "RCC 1");
    EXPECT_EQ(settings->windowTitle(), "Hub/RCC Properties");
    settings->cmdApply_Click();
    EXPECT_EQ(Nodes[1].Name(), "RCC 1");
    EXPECT_FALSE(FileChanged);

    ClickCaption(2, Qt::LeftButton);
    EXPECT_EQ(settings->windowTitle(), "RCC 2 Properties");
    EXPECT_TRUE(settings->FraOptions[0]->isVisible());
    EXPECT_EQ(settings->NameText->text().toStdString(), Nodes[2].Name());
}

TEST_F(EditingTest, DroppingAnRccOnAnotherNodeReparentsOrMovesIt)
{
    LoadSite();
    ASSERT_TRUE(DropOnParent);
    // RCC 2 (6500, 2000) dragged by its caption onto RCC 1 (1500, 2000).
    DragCaption(2, -5000 / 15, 0);
    EXPECT_EQ(Nodes[2].Parent(), 1);
    EXPECT_EQ(Nodes[2].Left(), 6500);
    EXPECT_TRUE(FileChanged);
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    EXPECT_EQ(Border(2), model::kBorderSelected); // the dragged RCC is the selected one

    form->MenuItem("AllowDragDropParent")->trigger();
    EXPECT_FALSE(DropOnParent);
    DragCaption(2, -4950 / 15, 30);
    EXPECT_EQ(Nodes[2].Parent(), 1);
    EXPECT_EQ(Nodes[2].Left(), 1550);
    EXPECT_EQ(Nodes[2].Top(), 2450);

    // A click without a move changes nothing.
    FileChanged = false;
    ClickCaption(3, Qt::LeftButton);
    EXPECT_FALSE(FileChanged);
}

TEST_F(EditingTest, LockedPositionsStopDragsButNotSelection)
{
    LoadSite();
    form->MenuItem("LockObjects")->trigger();
    EXPECT_EQ(form->LockPicture(), "LOCKED");
    DragCaption(2, -300, 0);
    EXPECT_EQ(ActiveNode, 2);
    EXPECT_EQ(Nodes[2].Left(), 6500);
    EXPECT_FALSE(FileChanged);
    // the site name cannot be dragged either
    QLabel* name = form->SiteNameLabel();
    QTest::mousePress(name, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(form->Dragging());
    QTest::mouseRelease(name, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));

    form->MenuItem("LockObjects")->trigger();
    DragCaption(2, 0, 40);
    EXPECT_EQ(Nodes[2].Top(), 2600);
}

// A drag whose press was released where the canvas did not see it drops
// nothing: the editors' questions that come up on the press end it, a site
// that replaces this one ends it, and a left press on the empty canvas or on
// a caption ends one still recorded, so the moves and the release that
// follow move no node.
TEST_F(EditingTest, ADragWhoseReleaseTheCanvasDidNotSeeMovesNothing)
{
    LoadSite();
    ShowMessagesInBoxes();
    QWidget* canvas = form->Canvas();
    NodeLabel* caption = form->NodeControls(2).Label();
    const QPoint empty(9000 / 15, 4500 / 15);
    ASSERT_EQ(canvas->childAt(empty), nullptr);
    // Presses with the button held on (the release went elsewhere), then a
    // move across the canvas and a release there.
    const auto moveAndReleaseOnCanvas = [canvas, empty] {
        QTest::mouseMove(canvas, empty + QPoint(30, 20));
        QTest::mouseMove(canvas, empty + QPoint(60, 40));
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, empty + QPoint(60, 40));
    };
    const auto expectUnmoved = [](const char* after) {
        EXPECT_EQ(Nodes[2].Left(), 6500) << after;
        EXPECT_EQ(Nodes[2].Top(), 2000) << after;
        EXPECT_FALSE(FileChanged) << after;
    };

    QTest::mousePress(caption, Qt::LeftButton);
    ASSERT_TRUE(form->Dragging());
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, empty);
    moveAndReleaseOnCanvas();
    expectUnmoved("a press on the empty canvas");

    QTest::mousePress(caption, Qt::LeftButton);
    ASSERT_TRUE(form->Dragging());
    // Selects RCC 3 and highlights its relatives; it starts no drag.
    QTest::mousePress(form->NodeControls(3).Label(), Qt::LeftButton, Qt::ControlModifier);
    moveAndReleaseOnCanvas();
    expectUnmoved("a Ctrl+press on a caption");

    QTest::mousePress(caption, Qt::LeftButton);
    ASSERT_TRUE(form->Dragging());
    frmComms::MainWindow->DisplayNewSite(); // a read from a hub
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    moveAndReleaseOnCanvas();
    expectUnmoved("a new site");

    // The unpinned properties window's close question, asked on the press,
    // takes the release too: the press starts no drag.
    ClickCaption(1, Qt::LeftButton);
    form->PopupNodeEdit_Click();
    ASSERT_NE(frmNodeSettings::Loaded(), nullptr);
    frmNodeSettings::Loaded()->NameText->setText("Old plant room");
    FileChanged = false;
    {
        BoxAnswers no({{"&No"}});
        QTest::mousePress(caption, Qt::LeftButton);
        EXPECT_EQ(no.titles, QStringList{"Close Node Properties Form"});
    }
    EXPECT_EQ(frmNodeSettings::Loaded(), nullptr);
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    moveAndReleaseOnCanvas();
    expectUnmoved("the properties window's close question");

    QPointer<frmDevices> devices = PinnedDevicesOnRcc1();
    ASSERT_NE(devices, nullptr);
    devices->cmdDel->click();
    {
        BoxAnswers no({{"&No"}});
        QTest::mousePress(caption, Qt::LeftButton);
        EXPECT_EQ(no.titles, QStringList{"Change Active Object"});
    }
    EXPECT_EQ(ActiveNode, 2);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, empty);
}

TEST_F(EditingTest, TheSiteNameIsDraggedAndEditedInPlace)
{
    LoadSite();
    QLabel* name = form->SiteNameLabel();
    const int32_t x0 = SiteNameX, y0 = SiteNameY;
    const QPoint grab(4, 4);
    QTest::mousePress(name, Qt::LeftButton, Qt::NoModifier, grab);
    EXPECT_EQ(form->DragNode(), -2);
    QTest::mouseMove(name, grab + QPoint(200, 300));
    QTest::mouseRelease(name, Qt::LeftButton, Qt::NoModifier, grab + QPoint(200, 300));
    EXPECT_EQ(SiteNameX, x0 + 200 * 15);
    EXPECT_EQ(SiteNameY, y0 + 300 * 15);
    EXPECT_TRUE(FileChanged);

    FileChanged = false;
    QTest::mouseDClick(name, Qt::LeftButton, Qt::NoModifier, grab);
    QLineEdit* edit = form->SiteNameEdit();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "Site Name"); // the label's caption without its blanks
    // the same name, blanks aside, is no change
    edit->setText("  " + edit->text() + " ");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_FALSE(FileChanged);

    QTest::mouseDClick(name, Qt::LeftButton, Qt::NoModifier, grab);
    edit->clear();
    edit->insert(QString::fromUtf8("\xCE\xA9")); // the site file could not hold it
    QTest::keyClicks(edit, "East Wing");
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(name->text(), " East Wing ");
    EXPECT_TRUE(Title().endsWith(" * "));
}

TEST_F(EditingTest, AddAndDeleteRccs)
{
    LoadSite();
    form->MenuItem("AddRCC")->trigger();
    EXPECT_EQ(ActiveNode, 5);
    EXPECT_TRUE(form->NodeControls(5).Shape()->isVisible());
    EXPECT_TRUE(FileChanged);

    Nodes[3].SetDeviceType(1, 2); // RCC 3 is RCC 4's parent
    ClickCaption(3, Qt::LeftButton);
    FileChanged = false;
    {
        BoxAnswers no({{"&No"}});
        form->MenuItem("RCCDelete")->trigger();
        EXPECT_TRUE(Nodes[3].InUse());
        ASSERT_EQ(no.seen.size(), 1);
        EXPECT_EQ(no.seen[0], "Are you sure you want to delete RCC 3?\nThis will delete all Devices on this RCC");
    }
    BoxAnswers yes({{"&Yes"}});
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_TRUE(yes.Done());
    EXPECT_FALSE(Nodes[3].InUse());
    EXPECT_FALSE(form->NodeControls(3).Shape()->isVisible()) << "its box leaves the canvas";
    EXPECT_FALSE(form->NodeControls(3).Label()->isVisible());
    EXPECT_TRUE(FileChanged);
    EXPECT_EQ(Nodes[4].Parent(), 1);
    EXPECT_EQ(ActiveNode, -1);
}

// Deleting the RCC a pinned device window shows: the window lets go of it,
// asks nothing about its edits and writes nothing back, so no address of the
// deleted RCC stays taken.
TEST_F(EditingTest, DeletingTheRccAPinnedDeviceWindowShowsWritesNothingBack)
{
    LoadSite();
    Nodes[1].SetDeviceLoop(1, 1);
    Nodes[1].SetDeviceAddress(1, 10);
    SetOwner(LoopAddressOwner, 1, 10, 101);
    QPointer<frmDevices> devices = PinnedDevicesOnRcc1();
    ASSERT_NE(devices, nullptr);
    devices->SourceDevice_DblClick(0); // a pending device on 1:11
    ASSERT_EQ(devices->Slots().Slot(3).address, 11);

    BoxAnswers yes({{"&Yes"}});
    form->MenuItem("RCCDelete")->trigger();
    EXPECT_EQ(yes.seen.size(), 1) << yes.seen.join('|').toStdString();
    EXPECT_EQ(devices->windowTitle(), "Device Details");
    devices->cmdOK->click();
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 10), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 1, 11), -1);
    EXPECT_EQ(Nodes[1].DetectorCountRCC(), 0);
}

// Deleting the RCC a pinned properties window shows, with a name, a loop and
// a parent chosen and not applied: the window lets go of it without asking,
// the delete goes by the RCC as it was loaded (its loop address freed, its
// child handed to its own parent) and OK writes nothing back.
TEST_F(EditingTest, DeletingTheRccAPinnedPropertiesWindowShowsWritesNothingBack)
{
    LoadSite();
    Nodes[3].SetNodeLoop(1);
    Nodes[3].SetNodeAddress(5);
    SetOwner(LoopAddressOwner, 1, 5, 300);
    ClickCaption(3, Qt::LeftButton);
    QPointer<frmNodeSettings> settings = PinnedSettingsWithAPendingName();
    ASSERT_NE(settings, nullptr);
    settings->LoopCombo->setCurrentIndex(settings->LoopCombo->findData(2));
    settings->ParentCombo->setCurrentIndex(settings->ParentCombo->findData(2));
    ASSERT_EQ(Nodes[3].NodeLoop(), 2);
    ASSERT_EQ(Nodes[3].Parent(), 2);

    BoxAnswers yes({{"&Yes"}});
    form->MenuItem("RCCDelete")->trigger();
    EXPECT_EQ(yes.seen.size(), 1) << yes.seen.join('|').toStdString();
    EXPECT_EQ(settings->windowTitle(), "Hub/RCC Properties");
    EXPECT_EQ(Nodes[4].Parent(), 1);
    FileChanged = false;
    settings->cmdOK->click();
    EXPECT_FALSE(FileChanged);
    EXPECT_FALSE(Nodes[3].InUse());
    EXPECT_EQ(Nodes[3].Name(), "");
    EXPECT_EQ(Nodes[3].NodeLoop(), -1);
    EXPECT_EQ(Nodes[3].NodeAddress(), -1);
    EXPECT_EQ(Nodes[3].Parent(), -1);
    for (int loop = 1; loop <= 4; ++loop)
        for (int address = 1; address <= 128; ++address)
            EXPECT_NE(GetOwner(LoopAddressOwner, loop, address) / 100, 3) << loop << ":" << address;
}

TEST_F(EditingTest, FindReachesTheNodeOrTheDeviceSlot)
{
    LoadSite();
    Nodes[3].SetNodeIdent("002A1");
    Nodes[1].SetDeviceLoop(2, 1);
    Nodes[1].SetDeviceAddress(2, 25); // a combination head on 1:25 and 1:26
    {
        BoxAnswers script({{"&OK", -1, "2A1"}, {"&Yes"}});
        QTest::keyClick(form.get(), Qt::Key_F4);
        ASSERT_EQ(script.seen.size(), 2);
        EXPECT_EQ(script.seen[0], "Search for a Device");
        EXPECT_EQ(script.seen[1], "Ident 002A1 is used by RCC 3\n Go to Selected Device ?");
        EXPECT_EQ(SelectedNode, 3);
        EXPECT_NE(frmNodeSettings::Loaded(), nullptr);
    }
    {
        BoxAnswers script({{"&OK", -1, "L1/26"}, {"&Yes"}});
        form->MenuItem("FindDevice")->trigger();
        ASSERT_EQ(script.seen.size(), 2);
        EXPECT_TRUE(script.seen[1].contains(" in slot 2 on RCC 1"));
        EXPECT_NE(frmDevices::Loaded(), nullptr);
    }
    {
        BoxAnswers script({{"&Cancel", -1, "4:99"}, {"&OK"}});
        form->FindDevice_Click();
        ASSERT_EQ(script.seen.size(), 2);
        EXPECT_EQ(script.seen[1], "No Match Found for [4:99]");
        EXPECT_EQ(ActiveNode, 1);
    }
}

TEST_F(EditingTest, FullPathsOptionChangesTheTitleAndTheRecentMenu)
{
    Load();
    SiteFileName = "/jobs/east/site.qvs";
    MruFiles[1] = SiteFileName;
    form->MenuItem("FilePaths")->trigger();
    EXPECT_TRUE(Title().endsWith("[/jobs/east/site.qvs]"));
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "/jobs/east/site.qvs");
    form->MenuItem("FilePaths")->trigger();
    EXPECT_TRUE(Title().endsWith("[site.qvs]"));
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "site.qvs");
}
