// The main window's canvas display, quick info and node selection.
#include "app/frmMain.h"

#include "app/BoxDialog.h"
#include "app/Startup.h"
#include "app/core/CanvasDrag.h"
#include "app/core/CanvasLayout.h"
#include "app/core/CanvasStatus.h"
#include "app/core/RccCommands.h"
#include "app/frmMainInternal.h"
#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/Units.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/Rounding.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

// --- canvas display ---------------------------------------------------------------

void frmMain::ClearScreen()
{
    canvas_->SetAutoRedraw(true);
    canvas_->Cls();
    for (auto& node : Nodes)
        node.Hide();
}

void frmMain::ReDraw(int nodeIndex)
{
    canvas_->ReservePicture(DrawingWidth, DrawingHeight);
    canvas_->SetAutoRedraw(true);
    if (nodeIndex == -1)
        ClearScreen();
    else
        canvas_->Cls();
    for (int i = 0; i < kNodeCount; ++i)
        NodeControls(i).Draw(NodeAt(i), true, *canvas_, Nodes, DisplayMode);
    canvas_->SetAutoRedraw(false);
    if (nodeIndex == -1) {
        for (int i = 0; i < kNodeCount; ++i)
            NodeControls(i).Draw(NodeAt(i), false, *canvas_, Nodes, DisplayMode);
    } else if (nodeIndex >= 0 && nodeIndex < kNodeCount) {
        NodeControls(nodeIndex).Draw(NodeAt(nodeIndex), false, *canvas_, Nodes, DisplayMode);
    }
    toolBar_->setVisible(Toolbar);
    if (Toolbar)
        toolBar_->raise();
}

void frmMain::ComputeDrawingExtent()
{
    siteName_->adjustSize();
    const app::DrawingExtent extent =
        app::ComputeDrawingExtent(Nodes, SiteNameX, SiteNameY, static_cast<int32_t>(::WidthTwips(siteName_)),
                                  static_cast<int32_t>(::HeightTwips(siteName_)));
    DrawingWidth = extent.width;
    DrawingHeight = extent.height;
}

void frmMain::DisplayNodes()
{
    ClearScreen();
    siteName_->setText(" " + Q(SiteName) + " ");
    ComputeDrawingExtent();
    // The window grows to show the drawing, never shrinks.
    SizeWithinScreen(DrawingWidth, DrawingHeight, true);
    ReDraw(-1);
    siteName_->adjustSize();
    PlaceTwips(siteName_, SiteNameX, SiteNameY);
    MenuItem("OptionsSiteName")->setChecked(ShowSiteName);
    siteName_->setVisible(ShowSiteName);
    siteName_->raise();
    MenuItem("OutlineSiteName")->setChecked(BorderSiteName);
    siteName_->setFrameShape(BorderSiteName ? QFrame::Box : QFrame::NoFrame);
    MenuItem("LockObjects")->setChecked(Locked);
    SetLockPicture(Locked);
    UpdateTitleBar();
    toolBar_->setVisible(Toolbar);
    // The scroll bars follow the new drawing, whether or not the window grew.
    Form_Resize();
}

void frmMain::SizeWithinScreen(long width, long height, bool growOnly)
{
    if (windowState() != Qt::WindowNoState)
        return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    const long maxWidth = avail.isEmpty() ? width : PixelsToTwips(avail.width());
    const long maxHeight = avail.isEmpty() ? height : PixelsToTwips(avail.height());
    long newWidth = std::min(width, maxWidth);
    long newHeight = std::min(height, maxHeight);
    if (growOnly) {
        newWidth = std::max(newWidth, WidthTwips());
        newHeight = std::max(newHeight, HeightTwips());
    }
    if (newWidth == WidthTwips() && newHeight == HeightTwips())
        return;
    SetSizeTwips(newWidth, newHeight);
    if (avail.isEmpty())
        return;
    // The whole window, frame included, stays on the screen's free area:
    // the scroll bars reach the rest of the drawing, and the window's own
    // controls stay in reach.
    const QRect frame = platform::FrameRect(*this);
    QPoint shift(std::min(0, avail.right() - frame.right()), std::min(0, avail.bottom() - frame.bottom()));
    shift.rx() = std::max(shift.x(), avail.left() - frame.left());
    shift.ry() = std::max(shift.y(), avail.top() - frame.top());
    if (!shift.isNull())
        move(pos() + shift);
}

void frmMain::HScroll1_Change(int value)
{
    canvas_->SetLeftTwips(-value);
}

void frmMain::VScroll1_Change(int value)
{
    canvas_->SetTopTwips(Toolbar ? kToolbarHeight - value : -value);
}

void frmMain::cmdFull_Click()
{
    cmdFull_->hide();
    hScroll_->hide();
    vScroll_->hide();
    SizeWithinScreen(long{DrawingWidth} + 500, long{DrawingHeight} + 2000, false);
    const long h = HeightTwips();
    if (Toolbar) {
        canvas_->SetTopTwips(kToolbarHeight);
        canvas_->SetHeightTwips(h - kFrameHeight - kToolbarHeight);
    } else {
        canvas_->SetTopTwips(0);
        canvas_->SetHeightTwips(h - kFrameHeight);
    }
    canvas_->SetLeftTwips(0);
    // A drawing larger than the screen still needs its scroll bars.
    Form_Resize();
}

void frmMain::PositionNodeTree()
{
    app::PositionNodeTree(Nodes, WidthTwips(), HeightTwips());
}

void frmMain::PositionNodeShell()
{
    app::PositionNodeShell(Nodes, WidthTwips(), HeightTwips(), PixelsToTwips(statusBar()->height()));
}

// --- quick info ---------------------------------------------------------------------

void frmMain::RefreshQuickInfo()
{
    for (int i = 0; i < kNodeCount; ++i)
        NodeControls(i).UpdateQI(NodeAt(i));
}

void frmMain::SetQuickInfoMode(int mode)
{
    NodeQuickInfoMode = mode;
    for (int m = 0; m <= 3; ++m) {
        MenuItem(kQuickInfoItems[m])->setChecked(m == mode);
        ToolButton(kQuickInfoButtons[m])->setChecked(m == mode);
    }
    RefreshQuickInfo();
}

void frmMain::NoQuick_Click()
{
    SetQuickInfoMode(0);
}

void frmMain::LA_Quick_Click()
{
    SetQuickInfoMode(1);
}

void frmMain::Ident_Quick_Click()
{
    SetQuickInfoMode(2);
}

void frmMain::QuickChannels_Click()
{
    SetQuickInfoMode(3);
}

void frmMain::QI_Label_Click()
{
    for (const char* item : kQuickInfoItems)
        MenuItem(item)->setChecked(false);
    const int mode = app::NextQuickInfoMode(NodeQuickInfoMode);
    if (mode >= 0 && mode <= 3)
        SetQuickInfoMode(mode);
    else
        RefreshQuickInfo();
}

// --- selection ------------------------------------------------------------------------

void frmMain::CalculateUsed(int index)
{
    const app::StatusTexts texts =
        app::UsageTexts(Nodes, index, ActiveNode, IsLoopInterface, MaxLoopAddress, LoopCount);
    SetPanelText(2, Q(texts.activeNode));
    SetPanelText(3, Q(texts.name));
    SetPanelText(4, Q(texts.usage));
}

void frmMain::TakeSelectionDown()
{
    if (ActiveNode < 0 || ActiveNode >= kNodeCount)
        return;
    for (auto& node : Nodes)
        node.NotAsChild();
    const int parent = NodeAt(ActiveNode).Parent();
    if (parent >= 0)
        NodeAt(parent).NotAsParent();
    NodeAt(ActiveNode).DeActivate();
}

bool frmMain::CloseUnpinnedEditors()
{
    bool asked = false;
    if (frmNodeSettings* settings = frmNodeSettings::Loaded(); settings != nullptr && !NodeSettingsPinned) {
        asked = settings->Changed();
        frmNodeSettings::Unload();
    }
    if (frmDevices* devices = frmDevices::Loaded(); devices != nullptr && !DevicesPinned) {
        asked = asked || devices->Changed();
        frmDevices::Unload();
    }
    return asked;
}

namespace {

// An editor's pending edits are offered as its own close offers them, the
// question offering Cancel besides; false when the user cancels.
template <class Editor> bool Settle(bool& asked)
{
    Editor* editor = Editor::Loaded();
    if (editor == nullptr || !editor->Changed())
        return true;
    asked = true;
    return editor->SettlePendingEdits(true);
}

// An editor with pending edits is closed once they are settled.
template <class Editor> bool CloseForExit()
{
    bool asked = false;
    if (!Settle<Editor>(asked))
        return false;
    if (asked)
        Editor::Unload();
    return true;
}

} // namespace

bool frmMain::CloseEditorsForExit()
{
    return CloseForExit<frmDevices>() && CloseForExit<frmNodeSettings>();
}

bool frmMain::SettleEditors()
{
    bool asked = false;
    if (!Settle<frmDevices>(asked) || !Settle<frmNodeSettings>(asked))
        return false;
    if (asked) {
        // The editors show the site as it now stands: nothing that was
        // dropped is left in their fields to be applied later.
        TellEditors(false);
        // The command goes on from the main window: the question gave the
        // activation to its editor, under which a pinned editor would keep
        // the command's own dialog.
        if (isEnabled())
            ReturnToOwner(this);
    }
    return true;
}

void frmMain::EnableNodeButtons()
{
    ToolButton("Delete")->setEnabled(ActiveNode != 0);
    ToolButton("Properties")->setEnabled(true);
}

void frmMain::TellEditors(bool focusDevices)
{
    if (frmNodeSettings* settings = frmNodeSettings::Loaded()) {
        if (PreviousSelectedNode == -1)
            settings->NodeSelected();
        settings->RefreshData(PreviousSelectedNode);
    }
    if (frmDevices* devices = frmDevices::Loaded()) {
        devices->NodeSelected();
        devices->RefreshData(PreviousSelectedNode);
        if (focusDevices)
            devices->activateWindow();
    }
}

void frmMain::TellEditorsSiteReplaced()
{
    // A drag of the old site's node must not drop onto the new site's node
    // of that number.
    EndDrag();
    if (frmNodeSettings* settings = frmNodeSettings::Loaded())
        settings->DropShownNode();
    if (frmDevices* devices = frmDevices::Loaded())
        devices->DropShownNode();
    // The editors hold no node now: the next selection is a first one.
    SelectedNode = -1;
}

void frmMain::SelectNode(int index, int button, int shift)
{
    if (CommsFormActive)
        return;
    // An editor's close question takes the release of this press: the press
    // starts no drag, which no release would end.
    if (CloseUnpinnedEditors())
        CancelDrag();
    if (ActiveNode != index && ActiveNode != -1)
        TakeSelectionDown();
    model::clsNode& node = NodeAt(index);
    if (button == 1) {
        node.Activate();
        PreviousSelectedNode = SelectedNode;
        ActiveNode = static_cast<int16_t>(index);
        SelectedNode = static_cast<int16_t>(index);
        node.ScanForChildren(Nodes);
        const int parent = node.Parent();
        if (shift & 2) {
            if (parent >= 0)
                NodeAt(parent).ShowAsParent();
            for (int j = 1; j < kNodeCount; ++j)
                if (node.GetChild(j))
                    NodeAt(j).ShowAsChild();
        } else {
            if (parent >= 0)
                NodeAt(parent).NotAsParent();
            for (int j = 1; j < kNodeCount; ++j)
                if (node.GetChild(j))
                    NodeAt(j).NotAsChild();
            if (!Locked && !skipNextDrag_)
                StartDrag(index);
            skipNextDrag_ = false;
        }
        EnableNodeButtons();
        TellEditors(true);
        CalculateUsed(index);
    } else if (button == 2) {
        node.Activate();
        ActiveNode = static_cast<int16_t>(index);
        CloseUnpinnedEditors();
        if (IsLoopInterface) {
            SetPanelText(2, "RLM Active");
            SetPanelText(3, QString());
            CheckIsLoopInterfaceOptions();
            PopUp(Menu("NodePopupMenu"));
        } else {
            SetPanelText(2, Q(app::ActiveNodeText(index, false)));
            SetPanelText(3, Q(node.Name()));
            PopUp(Menu(index == 0 ? "MasterPopupMenu" : "NodePopupMenu"));
        }
    }
}

void frmMain::PopUp(QMenu* menu)
{
    // Opened once control is back in the event loop, so that the mouse event
    // that asked for it has been handled completely.
    QMetaObject::invokeMethod(
        menu, [menu] { menu->popup(QCursor::pos()); }, Qt::QueuedConnection);
}

void frmMain::StartDrag(int index)
{
    const model::clsNode& node = NodeAt(index);
    dragging_ = true;
    dragNode_ = index;
    MoveDragOutline(node.Left(), node.Top());
    SizeTwips(nodeDrag_, node.Width(), node.Height());
    nodeDrag_->show();
    nodeDrag_->raise();
}

void frmMain::EndSiteNameEdit()
{
    if (!siteNameEdit_->isVisible())
        return;
    const QString text = siteNameEdit_->text().trimmed();
    if (text != siteName_->text().trimmed()) {
        FileChanged = true;
        UpdateTitleBar();
    }
    siteName_->setText(" " + text + " ");
    siteName_->adjustSize();
    SiteName = text.toStdString();
    siteNameEdit_->hide();
}

void frmMain::CancelDrag()
{
    skipNextDrag_ = true;
    EndDrag();
}

void frmMain::EndDrag()
{
    dragging_ = false;
    nodeDrag_->hide();
}

void frmMain::ActivateNode(int index)
{
    if (index < 0 || index >= kNodeCount)
        return;
    if (ActiveNode != index && ActiveNode != -1)
        TakeSelectionDown();
    if (ActiveNode != index) {
        NodeAt(index).Activate();
        ActiveNode = static_cast<int16_t>(index);
    }
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    EnableNodeButtons();
    TellEditors(false);
    const app::StatusTexts texts = app::UsageTexts(Nodes, ActiveNode, ActiveNode, IsLoopInterface,
                                                   MaxLoopAddress, LoopCount, app::HubUsageWording::Devices);
    SetPanelText(2, Q(texts.activeNode));
    SetPanelText(3, Q(texts.name));
    SetPanelText(4, Q(texts.usage));
}

void frmMain::Canvas_MouseDown(int button, int shift, double x, double y)
{
    if (CommsFormActive)
        return;
    // A left press means the press of any drag still recorded was released
    // where the canvas did not see it (on a box): that drag ends unmoved.
    if (button == 1)
        EndDrag();
    EndSiteNameEdit();
    const int hit = app::NodeAt(Nodes, x, y);
    if (hit >= 0) {
        const model::clsNode& node = NodeAt(hit);
        dragOffsetX_ = static_cast<int>(platform::RoundHalfEven(x - node.Left()));
        dragOffsetY_ = static_cast<int>(platform::RoundHalfEven(y - node.Top()));
        SelectNode(hit, button, shift);
        return;
    }
    // Empty canvas: the editors are told, and the selection is cleared.
    if (frmNodeSettings* settings = frmNodeSettings::Loaded()) {
        if (!NodeSettingsPinned)
            frmNodeSettings::Unload();
        else
            settings->NoNodeSelected();
    }
    if (frmDevices* devices = frmDevices::Loaded()) {
        if (!DevicesPinned)
            frmDevices::Unload();
        else
            devices->NoNodeSelected();
    }
    if (ActiveNode != -1)
        ClearActiveNode();
}

void frmMain::ClearActiveNode()
{
    TakeSelectionDown();
    SetPanelText(2, QString());
    SetPanelText(3, QString());
    SetPanelText(4, QString());
    PreviousSelectedNode = ActiveNode;
    ActiveNode = -1;
    SelectedNode = -1;
    ToolButton("Delete")->setEnabled(false);
    ToolButton("Properties")->setEnabled(false);
}

void frmMain::NodeLabel_MouseDown(int index, int button, int shift, double x, double y)
{
    if (CommsFormActive)
        return;
    if (button == 1)
        EndDrag(); // as on the canvas
    EndSiteNameEdit();
    const NodeLabel* label = NodeControls(index).Label();
    const model::clsNode& node = NodeAt(index);
    dragOffsetX_ = static_cast<int>(platform::RoundHalfEven(::LeftTwips(label) - node.Left() + x));
    dragOffsetY_ = static_cast<int>(platform::RoundHalfEven(::TopTwips(label) - node.Top() + y));
    SelectNode(index, button, shift);
}

void frmMain::Canvas_MouseUp(int button, int shift, double x, double y)
{
    if (!CommsFormActive)
        DropNode(button, shift, x, y);
}

void frmMain::NodeLabel_MouseUp(int, int button, int shift, double x, double y)
{
    if (!CommsFormActive)
        DropNode(button, shift, x, y);
}
