#include "frmMainFixture.h"

#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"

#include <QSignalSpy>
#include <QToolButton>

namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00CF00, kMagenta = 0xFF00FF; // 0x00BBGGRR
using Borders = std::vector<uint32_t>;
using Nodes = std::vector<int>;

// The five-node site loaded, with the state each check reads in one piece.
struct CanvasTest : MainWindowTest
{
    void SetUp() override
    {
        MainWindowTest::SetUp();
        LoadSite();
    }
    // ActiveNode, SelectedNode, PreviousSelectedNode.
    static Nodes Selection() { return {ActiveNode, SelectedNode, PreviousSelectedNode}; }
    Borders AllBorders() const
    {
        Borders b;
        for (int i = 0; i < 5; ++i)
            b.push_back(Border(i));
        return b;
    }
    QStringList Panels() const { return {form->PanelText(2), form->PanelText(3), form->PanelText(4)}; }
    // The link layer's pixel at a point between two nodes' centres, a share
    // `part` of the way from a to b.
    QColor Between(int a, int b, double part = 0.5) const
    {
        const model::clsNode& na = model::Nodes[a];
        const model::clsNode& nb = model::Nodes[b];
        const QPointF at(na.CentreX() + (nb.CentreX() - na.CentreX()) * part,
                         na.CentreY() + (nb.CentreY() - na.CentreY()) * part);
        return form->Canvas()->Picture().pixelColor(static_cast<int>(at.x() / 15),
                                                    static_cast<int>(at.y() / 15));
    }
};

} // namespace

TEST_F(CanvasTest, ClicksSelectHighlightAndNameNodesInTheStatusBar)
{
    EXPECT_EQ(form->NodeControls(3).Label()->toolTip(), "RCC name 3");
    const Qt::MouseButton L = Qt::LeftButton, R = Qt::RightButton, M = Qt::MiddleButton;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    // The hub, four RCCs and three device addresses, of 4 x 32 + 1.
    const QStringList hub = {"Radio Hub Active", "Main Hub", "8 of 129 Addresses Used"};
    const QStringList rcc1 = {"RCC 1 Active", "RCC name 1", "2  of 31 Devices Used"};
    const QStringList rcc2 = {"RCC 2 Active", "RCC name 2", "0  of 31 Devices Used"};
    const QStringList rcc3 = {"RCC 3 Active", "RCC name 3", "0  of 31 Devices Used"};
    const QStringList rcc1On2 = {rcc1[0], rcc1[1], rcc2[2]}, hubOn2 = {hub[0], hub[1], rcc2[2]};
    struct Step
    {
        char where; // 'c' a node's caption, 'b' its box below the caption, 'e' the empty canvas
        int node;
        Qt::MouseButton button;
        Qt::KeyboardModifiers mods;
        Nodes selection; // ActiveNode, SelectedNode, PreviousSelectedNode
        Borders borders;
        QStringList panels;
        bool deletable;
    } const steps[] = {
        {'c', 1, L, {}, {1, 1, -1}, {0, kRed, 0, 0, 0}, rcc1, true},
        {'b', 0, L, {}, {0, 0, 1}, {kRed, 0, 0, 0, 0}, hub, false}, // never the hub
        // Ctrl shows the parent and every descendant.
        {'c', 1, L, ctrl, {1, 1, 0}, {kGreen, kRed, 0, kMagenta, kMagenta}, rcc1, true},
        // A plain click on the same node takes them away again; the editors
        // hear that it was itself selected before.
        {'c', 1, L, {}, {1, 1, 1}, {0, kRed, 0, 0, 0}, rcc1, true},
        {'c', 2, L, {}, {2, 2, 1}, {0, 0, kRed, 0, 0}, rcc2, true},
        // A right click makes the node active for its menu only: the usage
        // stays the selected node's.
        {'c', 1, R, {}, {1, 2, 1}, {0, kRed, 0, 0, 0}, rcc1On2, true},
        {'c', 0, R, {}, {0, 2, 1}, {kRed, 0, 0, 0, 0}, hubOn2, true},
        {'c', 3, L, ctrl, {3, 3, 2}, {0, kGreen, 0, kRed, kMagenta}, rcc3, true},
        // A middle click only takes the old selection down.
        {'c', 2, M, {}, {3, 3, 2}, {0, 0, 0, 0, 0}, rcc3, true},
        {'e', -1, R, {}, {-1, -1, 3}, {0, 0, 0, 0, 0}, {"", "", ""}, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.where << s.node << " button " << s.button);
        if (s.where == 'c')
            ClickCaption(s.node, s.button, s.mods);
        else if (s.where == 'b')
            ClickBox(s.node, s.button, s.mods);
        else
            QTest::mouseClick(form->Canvas(), s.button, s.mods, QPoint(600, 450));
        EXPECT_EQ(Selection(), s.selection);
        EXPECT_EQ(AllBorders(), s.borders);
        EXPECT_EQ(Panels(), s.panels);
        EXPECT_EQ(form->ToolButton("Delete")->isEnabled(), s.deletable);
        EXPECT_EQ(form->ToolButton("Properties")->isEnabled(), s.where != 'e');
        if (s.button == R && s.node >= 0) {
            QApplication::processEvents();
            QMenu* popup = form->Menu(s.node == 0 ? "MasterPopupMenu" : "NodePopupMenu");
            EXPECT_TRUE(popup->isVisible());
            popup->close();
        }
    }

    // Selected from code the hub counts its devices.
    form->ActivateNode(0);
    EXPECT_EQ(form->PanelText(4), "8 of 129 Devices Used");
    form->ActivateNode(4);
    EXPECT_EQ(Selection(), (Nodes{4, 4, 0}));
    EXPECT_FALSE(form->Dragging());
}

TEST_F(CanvasTest, APlainClickStartsADragUnlessOneWasCancelled)
{
    QLabel* caption = form->NodeControls(2).Label();
    QTest::mousePress(caption, Qt::LeftButton);
    EXPECT_EQ(form->DragNode(), 2);
    EXPECT_EQ(form->NodeDrag()->geometry(), form->NodeControls(2).Shape()->geometry());
    QTest::mouseRelease(caption, Qt::LeftButton);
    EXPECT_FALSE(form->NodeDrag()->isVisible());

    // After CancelDrag the next selection starts no drag, the one after does.
    form->CancelDrag();
    for (bool drags : {false, true}) {
        QTest::mousePress(form->NodeControls(1).Label(), Qt::LeftButton);
        EXPECT_EQ(form->Dragging(), drags);
        QTest::mouseRelease(form->NodeControls(1).Label(), Qt::LeftButton);
    }
}

TEST_F(CanvasTest, QuickInfoLabelsFollowTheModeAndAClickOnOneStepsIt)
{
    model::Nodes[1].SetNodeLoop(1);
    model::Nodes[1].SetNodeAddress(5);
    QLabel* label = form->NodeControls(1).QILabel();
    form->LA_Quick_Click();
    EXPECT_EQ(label->text(), "L1/005");
    EXPECT_FALSE(form->NodeControls(2).QILabel()->isVisible()); // no loop address
    QTest::mouseClick(label, Qt::LeftButton); // loop address -> channels
    EXPECT_TRUE(form->MenuItem("QuickChannels")->isChecked());
    form->ToolButton("NoQI")->trigger();
    EXPECT_FALSE(label->isVisible());
}

TEST_F(CanvasTest, IdentQuickInfoShowsANodesIdentAndHidesAnEmptyOne)
{
    QLabel* rcc1 = form->NodeControls(1).QILabel();
    QLabel* rcc2 = form->NodeControls(2).QILabel();
    model::Nodes[1].SetNodeIdent("0A1B2");
    form->MenuItem("Ident_Quick")->trigger();
    EXPECT_TRUE(rcc1->isVisible());
    EXPECT_EQ(rcc1->text(), "0A1B2");
    EXPECT_FALSE(rcc2->isVisible());

    // A redraw follows the idents as they now stand.
    model::Nodes[1].SetNodeIdent("");
    model::Nodes[2].SetNodeIdent("F0002");
    form->ReDraw(-1);
    EXPECT_FALSE(rcc1->isVisible());
    EXPECT_TRUE(rcc2->isVisible());
    EXPECT_EQ(rcc2->text(), "F0002");
}

TEST_F(CanvasTest, LinksArePaintedInTheCanvasLayerInBothStyles)
{
    using model::Nodes;
    EXPECT_EQ(Between(3, 1), QColor(0, 127, 255)); // straight, centre to centre
    // Elbow style: the horizontal run at half height between RCC 2 and the
    // hub, and no straight line a quarter of the way.
    DisplayMode = 1;
    form->ReDraw(-1);
    const double midY = Nodes[2].Top() - (Nodes[2].Top() - Nodes[0].Bottom()) / 2.0;
    const QPoint elbow((Nodes[2].CentreX() + Nodes[0].CentreX()) / 30, static_cast<int>(midY / 15));
    EXPECT_NE(form->Canvas()->Picture().pixelColor(elbow), QColor(Qt::white));
    EXPECT_EQ(Between(2, 0, 0.25), QColor(Qt::white));
}

TEST_F(CanvasTest, F5OnTheCanvasRedrawsTheWholeSite)
{
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);
    model::Nodes[2].SetParent(1); // the old link from RCC 2 to the hub goes on F5
    EXPECT_NE(Between(2, 0), QColor(Qt::white));
    QTest::keyClick(form->Canvas(), Qt::Key_F5);
    EXPECT_EQ(Between(2, 0), QColor(Qt::white));
    EXPECT_EQ(AllBorders(), (Borders{0, 0, 0, kRed, 0})); // the highlight is gone, the selection stays
}

TEST_F(CanvasTest, PinnedEditorsAreToldUnpinnedOnesClose)
{
    frmNodeSettings* settings = frmNodeSettings::Load();
    settings->PushPin->click();
    ASSERT_TRUE(NodeSettingsPinned);
    frmDevices::Load();
    ClickCaption(1, Qt::LeftButton);
    EXPECT_EQ(settings->windowTitle(), "RCC 1 Properties");
    EXPECT_EQ(frmDevices::Loaded(), nullptr);

    // The empty canvas: a pinned editor is told nothing is selected.
    QTest::mouseClick(form->Canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 450));
    EXPECT_EQ(settings->windowTitle(), "Hub/RCC Properties");
    NodeSettingsPinned = false;
    ClickCaption(2, Qt::LeftButton);
    EXPECT_EQ(frmNodeSettings::Loaded(), nullptr);
}

TEST_F(CanvasTest, NothingIsSelectedWhileTheCommsWindowWorks)
{
    CommsFormActive = true;
    ClickCaption(1, Qt::LeftButton);
    ClickBox(2, Qt::LeftButton);
    CommsFormActive = false;
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(AllBorders(), Borders(5, 0));
}

TEST_F(CanvasTest, DeleteKeyLeavesTheHubAndOnlyF4AndCtrlFFind)
{
    AnswerMessages(); // the find box
    QSignalSpy deletes(form.get(), &frmMain::DeleteRccRequested);
    QSignalSpy finds(form.get(), &frmMain::FindDeviceRequested);
    ClickCaption(0, Qt::LeftButton);
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 0); // never the hub
    for (auto [key, mods] : {std::pair{Qt::Key_F4, Qt::KeyboardModifiers()}, {Qt::Key_F, Qt::ControlModifier},
                             {Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier}, {Qt::Key_F, {}}})
        QTest::keyClick(form.get(), key, mods);
    EXPECT_EQ(finds.count(), 2);
}
