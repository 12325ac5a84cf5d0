#include "frmMainFixture.h"

#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"

#include <QImage>
#include <QSignalSpy>

TEST_F(MainWindowTest, TheSiteIsDrawnWithItsLinksUnderTheNodes)
{
    LoadSite();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(form->NodeControls(i).Shape()->isVisible()) << i;
        EXPECT_EQ(form->NodeControls(i).Shape()->FillColor(), 0xFFFFC0u);
    }
    EXPECT_FALSE(form->NodeControls(5).Shape()->isVisible());
    EXPECT_EQ(form->NodeControls(0).Label()->text(), "Radio\nHub");
    EXPECT_EQ(form->NodeControls(3).Label()->text(), "3");
    EXPECT_EQ(form->NodeControls(3).Label()->toolTip(), "RCC name 3");
}

TEST_F(MainWindowTest, ALeftClickSelectsTheNodeAndNamesItInTheStatusBar)
{
    LoadSite();
    ClickCaption(1, Qt::LeftButton);
    EXPECT_EQ(ActiveNode, 1);
    EXPECT_EQ(SelectedNode, 1);
    EXPECT_EQ(PreviousSelectedNode, -1);
    EXPECT_EQ(Border(1), 0x0000FFu);
    EXPECT_EQ(Border(0), 0u);
    EXPECT_EQ(form->PanelText(2), "RCC 1 Active");
    EXPECT_EQ(form->PanelText(3), "RCC name 1");
    EXPECT_EQ(form->PanelText(4), "2  of 31 Devices Used");
    EXPECT_TRUE(form->ToolButton("Delete")->isEnabled());
    EXPECT_TRUE(form->ToolButton("Properties")->isEnabled());

    // A click on the hub's box (not its caption) goes through the canvas.
    ClickBox(0, Qt::LeftButton);
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(SelectedNode, 0);
    EXPECT_EQ(PreviousSelectedNode, 1);
    EXPECT_EQ(Border(1), 0u);
    EXPECT_EQ(Border(0), 0x0000FFu);
    EXPECT_EQ(form->PanelText(2), "Radio Hub Active");
    EXPECT_EQ(form->PanelText(3), "Main Hub");
    // The hub, four RCCs and three device addresses, of 4 x 32 + 1.
    EXPECT_EQ(form->PanelText(4), "8 of 129 Addresses Used");
    EXPECT_FALSE(form->ToolButton("Delete")->isEnabled());
}

TEST_F(MainWindowTest, CtrlClickShowsTheParentAndEveryDescendant)
{
    LoadSite();
    ClickCaption(1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Border(1), 0x0000FFu);
    EXPECT_EQ(Border(0), 0x00CF00u); // parent green
    EXPECT_EQ(Border(3), 0xFF00FFu); // child magenta
    EXPECT_EQ(Border(4), 0xFF00FFu); // grandchild magenta
    EXPECT_EQ(Border(2), 0u);
    EXPECT_FALSE(form->NodeDrag()->isVisible());

    // A plain click on the same node takes the highlights away again and
    // tells the editors that the node was itself selected before.
    ClickCaption(1, Qt::LeftButton);
    EXPECT_EQ(PreviousSelectedNode, 1);
    EXPECT_EQ(Border(1), 0x0000FFu);
    EXPECT_EQ(Border(0), 0u);
    EXPECT_EQ(Border(3), 0u);
    EXPECT_EQ(Border(4), 0u);

    // Selecting another node takes the whole highlight down.
    ClickCaption(1, Qt::LeftButton, Qt::ControlModifier);
    ClickCaption(2, Qt::LeftButton);
    for (int i : {0, 1, 3, 4})
        EXPECT_EQ(Border(i), 0u) << i;
    EXPECT_EQ(Border(2), 0x0000FFu);

    // A redraw leaves only the active node red.
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Border(1), 0x00CF00u);
    form->ReDraw(-1);
    EXPECT_EQ(Border(1), 0u);
    EXPECT_EQ(Border(4), 0u);
    EXPECT_EQ(Border(3), 0x0000FFu);
}

TEST_F(MainWindowTest, ARightClickMakesTheNodeActiveForItsMenuOnly)
{
    LoadSite();
    ClickCaption(2, Qt::LeftButton);
    ClickCaption(1, Qt::RightButton);
    EXPECT_EQ(ActiveNode, 1);
    EXPECT_EQ(SelectedNode, 2);
    EXPECT_EQ(PreviousSelectedNode, -1);
    EXPECT_EQ(Border(1), 0x0000FFu);
    EXPECT_EQ(Border(2), 0u);
    EXPECT_EQ(form->PanelText(2), "RCC 1 Active");
    EXPECT_EQ(form->PanelText(3), "RCC name 1");
    EXPECT_EQ(form->PanelText(4), "0  of 31 Devices Used"); // still RCC 2's usage
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    QApplication::processEvents();
    QMenu* popup = form->Menu("NodePopupMenu");
    EXPECT_TRUE(popup->isVisible());
    popup->close();

    ClickCaption(0, Qt::RightButton);
    EXPECT_EQ(form->PanelText(2), "Radio Hub Active");
    EXPECT_EQ(form->PanelText(3), "Main Hub");
    QApplication::processEvents();
    EXPECT_TRUE(form->Menu("MasterPopupMenu")->isVisible());
    form->Menu("MasterPopupMenu")->close();
}

TEST_F(MainWindowTest, AMiddleClickOnlyTakesTheOldSelectionDown)
{
    LoadSite();
    ClickCaption(1, Qt::LeftButton, Qt::ControlModifier);
    ClickCaption(2, Qt::MiddleButton);
    EXPECT_EQ(ActiveNode, 1);
    EXPECT_EQ(SelectedNode, 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Border(i), 0u) << i;
}

TEST_F(MainWindowTest, AClickOnEmptyCanvasClearsTheSelection)
{
    LoadSite();
    ClickCaption(3, Qt::LeftButton);
    QTest::mouseClick(form->Canvas(), Qt::RightButton, Qt::NoModifier, QPoint(600, 450));
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(SelectedNode, -1);
    EXPECT_EQ(PreviousSelectedNode, 3);
    EXPECT_EQ(Border(3), 0u);
    for (int panel = 2; panel <= 4; ++panel)
        EXPECT_TRUE(form->PanelText(panel).isEmpty()) << panel;
    EXPECT_FALSE(form->ToolButton("Delete")->isEnabled());
    EXPECT_FALSE(form->ToolButton("Properties")->isEnabled());
}

TEST_F(MainWindowTest, APlainClickStartsADragUnlessTheSiteIsLocked)
{
    LoadSite();
    QTest::mousePress(form->NodeControls(2).Label(), Qt::LeftButton);
    EXPECT_TRUE(form->Dragging());
    EXPECT_EQ(form->DragNode(), 2);
    EXPECT_TRUE(form->NodeDrag()->isVisible());
    EXPECT_EQ(form->NodeDrag()->geometry(), form->NodeControls(2).Shape()->geometry());
    QTest::mouseRelease(form->NodeControls(2).Label(), Qt::LeftButton);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    EXPECT_FALSE(FileChanged);

    // After CancelDrag the next selection starts no drag, the one after does.
    form->CancelDrag();
    QTest::mousePress(form->NodeControls(1).Label(), Qt::LeftButton);
    EXPECT_FALSE(form->Dragging());
    QTest::mouseRelease(form->NodeControls(1).Label(), Qt::LeftButton);
    QTest::mousePress(form->NodeControls(1).Label(), Qt::LeftButton);
    EXPECT_TRUE(form->Dragging());
    QTest::mouseRelease(form->NodeControls(1).Label(), Qt::LeftButton);

    Locked = true;
    QTest::mousePress(form->NodeControls(2).Label(), Qt::LeftButton);
    EXPECT_EQ(ActiveNode, 2);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(form->NodeDrag()->isVisible());
}

TEST_F(MainWindowTest, SelectingFromCodeNamesTheHubsDevices)
{
    LoadSite();
    form->ActivateNode(0);
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(SelectedNode, 0);
    EXPECT_EQ(Border(0), 0x0000FFu);
    EXPECT_EQ(form->PanelText(4), "8 of 129 Devices Used");
    EXPECT_FALSE(form->Dragging());
    form->ActivateNode(4);
    EXPECT_EQ(PreviousSelectedNode, 0);
    EXPECT_EQ(Border(0), 0u);
    EXPECT_EQ(form->PanelText(2), "RCC 4 Active");
}

TEST_F(MainWindowTest, QuickInfoModesAndTheirCycling)
{
    using model::Nodes;
    LoadSite();
    Nodes[1].SetNodeLoop(1);
    Nodes[1].SetNodeAddress(5);
    Nodes[1].SetNodeIdent("1a2b");
    Nodes[1].SetX_ChannelA(33);
    Nodes[1].SetX_ChannelB(3);
    QLabel* label = form->NodeControls(1).QILabel();
    form->LA_Quick_Click();
    EXPECT_EQ(NodeQuickInfoMode, 1);
    EXPECT_TRUE(form->MenuItem("LA_Quick")->isChecked());
    EXPECT_TRUE(form->ToolButton("LoopQI")->isChecked());
    EXPECT_FALSE(form->MenuItem("NoQuick")->isChecked());
    EXPECT_EQ(label->text(), "L1/005");
    EXPECT_TRUE(label->isVisible());
    EXPECT_FALSE(form->NodeControls(2).QILabel()->isVisible()); // no loop address
    // The label sits centred 230 twips above the box.
    const QRect box = form->NodeControls(1).Shape()->geometry();
    EXPECT_NEAR(label->geometry().center().x(), box.center().x(), 1);
    EXPECT_EQ(label->y(), box.y() - 230 / 15);
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);

    QTest::mouseClick(label, Qt::LeftButton); // 1 -> 3
    EXPECT_EQ(NodeQuickInfoMode, 3);
    EXPECT_EQ(label->text(), "F1:03");
    EXPECT_TRUE(form->MenuItem("QuickChannels")->isChecked());
    EXPECT_FALSE(form->MenuItem("LA_Quick")->isChecked());
    QTest::mouseClick(label, Qt::LeftButton); // 3 -> 2
    EXPECT_EQ(label->text(), "01A2B");
    EXPECT_TRUE(form->ToolButton("IdentQI")->isChecked());
    QTest::mouseClick(label, Qt::LeftButton); // 2 -> 1
    EXPECT_EQ(NodeQuickInfoMode, 1);

    form->ToolButton("NoQI")->trigger();
    EXPECT_EQ(NodeQuickInfoMode, 0);
    EXPECT_FALSE(label->isVisible());
}

TEST_F(MainWindowTest, LinksArePaintedInTheCanvasLayerInBothStyles)
{
    using model::Nodes;
    LoadSite();
    const QColor link = QColor(0, 127, 255);
    // Straight: the middle of the line from RCC 3's centre to RCC 1's centre.
    const QPoint mid((Nodes[3].CentreX() + Nodes[1].CentreX()) / 30,
                     (Nodes[3].CentreY() + Nodes[1].CentreY()) / 30);
    EXPECT_EQ(form->Canvas()->Picture().pixelColor(mid), link);
    // RCC 6 hangs five hops from the hub: its link is red.
    Nodes[5].SetInUse(true);
    Nodes[5].SetParent(4);
    Nodes[6].SetInUse(true);
    Nodes[6].SetParent(5);
    Nodes[6].SetLeft(4000);
    Nodes[6].SetTop(5600);
    Nodes[5].SetLeft(4000);
    Nodes[5].SetTop(3800);
    form->ReDraw(-1);
    const QPoint far((Nodes[6].CentreX() + Nodes[5].CentreX()) / 30,
                     (Nodes[6].CentreY() + Nodes[5].CentreY()) / 30);
    EXPECT_EQ(form->Canvas()->Picture().pixelColor(far), QColor(255, 0, 0));

    // Elbow style: the horizontal run at half height between RCC 2 and the hub.
    DisplayMode = 1;
    form->ReDraw(-1);
    const double midY = Nodes[2].Top() - (Nodes[2].Top() - Nodes[0].Bottom()) / 2.0;
    const QPoint elbow((Nodes[2].CentreX() + Nodes[0].CentreX()) / 30, static_cast<int>(midY / 15));
    EXPECT_NE(form->Canvas()->Picture().pixelColor(elbow), QColor(Qt::white));
    // No straight line now: a quarter of the way from RCC 2 to the hub.
    const QPoint quarter((3 * Nodes[2].CentreX() + Nodes[0].CentreX()) / 60,
                         (3 * Nodes[2].CentreY() + Nodes[0].CentreY()) / 60);
    EXPECT_EQ(form->Canvas()->Picture().pixelColor(quarter), QColor(Qt::white));
}

TEST_F(MainWindowTest, PinnedEditorsAreToldUnpinnedOnesClose)
{
    LoadSite();
    frmNodeSettings* settings = frmNodeSettings::Load();
    NodeSettingsPinned = true;
    frmDevices::Load();
    DevicesPinned = false;
    ClickCaption(1, Qt::LeftButton);
    EXPECT_EQ(frmNodeSettings::Loaded(), settings);
    EXPECT_EQ(settings->windowTitle(), "RCC 1 Properties"); // first selection: NodeSelected
    EXPECT_EQ(frmDevices::Loaded(), nullptr);

    // The empty canvas: a pinned editor is told nothing is selected.
    QTest::mouseClick(form->Canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 450));
    EXPECT_EQ(settings->windowTitle(), "Hub/RCC Properties");
    NodeSettingsPinned = false;
    ClickCaption(2, Qt::LeftButton);
    EXPECT_EQ(frmNodeSettings::Loaded(), nullptr);
}

TEST_F(MainWindowTest, NothingIsSelectedWhileTheCommsWindowWorks)
{
    LoadSite();
    CommsFormActive = true;
    ClickCaption(1, Qt::LeftButton);
    ClickBox(2, Qt::LeftButton);
    CommsFormActive = false;
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(Border(1), 0u);
}

TEST_F(MainWindowTest, DeleteAndFindKeys)
{
    LoadSite();
    AnswerMessages(); // the delete question and the find box
    QSignalSpy deletes(form.get(), &frmMain::DeleteRccRequested);
    QSignalSpy finds(form.get(), &frmMain::FindDeviceRequested);
    ClickCaption(0, Qt::LeftButton);
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 0); // never the hub
    ClickCaption(2, Qt::LeftButton);
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 1);
    QTest::keyClick(form.get(), Qt::Key_F4);
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(form.get(), Qt::Key_F);
    EXPECT_EQ(finds.count(), 2);
}

TEST_F(MainWindowTest, F5OnTheCanvasRedrawsTheWholeSite)
{
    using model::Nodes;
    LoadSite();
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);
    Nodes[2].SetParent(1); // the old link from RCC 2 to the hub goes on F5
    const QPoint oldMid((Nodes[2].CentreX() + Nodes[0].CentreX()) / 30,
                        (Nodes[2].CentreY() + Nodes[0].CentreY()) / 30);
    EXPECT_NE(form->Canvas()->Picture().pixelColor(oldMid), QColor(Qt::white));
    QTest::keyClick(form->Canvas(), Qt::Key_F5);
    EXPECT_EQ(form->Canvas()->Picture().pixelColor(oldMid), QColor(Qt::white));
    EXPECT_EQ(Border(1), 0u); // the parent highlight is gone, the selection stays
    EXPECT_EQ(Border(3), 0x0000FFu);
}
