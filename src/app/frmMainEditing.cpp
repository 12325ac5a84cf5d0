// The main window's editing commands: files, drag and drop, RCC add and delete, find and site name.
#include "app/frmMain.h"

#include "app/LogsFrame.h"
#include "app/Startup.h"
#include "app/core/CanvasDrag.h"
#include "app/core/CanvasLayout.h"
#include "app/core/FindEntry.h"
#include "app/core/NewSite.h"
#include "app/core/RccCommands.h"
#include "app/core/RecentFiles.h"
#include "app/frmErrorCheck.h"
#include "app/frmMainInternal.h"
#include "app/frmNewSite.h"
#include "app/frmParameter.h"
#include "editors/frmDevices.h"
#include "editors/frmNodeSettings.h"
#include "hublink/frmComms.h"
#include "model/FileNames.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/Units.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/MessageStyle.h"
#include "platform/base/Rounding.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

// --- editing commands ------------------------------------------------------------

void frmMain::ConnectEditingCommands()
{
    const std::pair<const char*, void (frmMain::*)()> items[] = {
        {"NewFile", &frmMain::NewFile_Click},
        {"FileLoad", &frmMain::FileLoad_Click},
        {"FileSave", &frmMain::FileSave_Click},
        {"FileSaveAs", &frmMain::FileSaveAs_Click},
        {"FilePaths", &frmMain::FilePaths_Click},
        {"CheckFileOpen", &frmMain::CheckFileOpen_Click},
        {"CheckFileClose", &frmMain::CheckFileClose_Click},
        {"LockObjects", &frmMain::LockObjects_Click},
        {"AllowDragDropParent", &frmMain::AllowDragDropParent_Click},
        {"AddRCC", &frmMain::AddRCC_Click},
        {"RCCDelete", &frmMain::RCCDelete_Click},
        {"PopupMasterEdit", &frmMain::PopupMasterEdit_Click},
        {"PopupNodeEdit", &frmMain::PopupNodeEdit_Click},
        {"PopupNodeDevices", &frmMain::PopupNodeDevices_Click},
        {"FindDevice", &frmMain::FindDevice_Click},
    };
    for (const auto& [name, handler] : items)
        connect(MenuItem(name), &QAction::triggered, this, handler);
    connect(Menu("RecentFiles"), &QMenu::triggered, this, [this](QAction* item) {
        const QString name = item->objectName();
        if (name.startsWith("FileMRU_"))
            FileMRU_Click(name.mid(8).toInt());
    });
    connect(this, &frmMain::DeleteRccRequested, this, &frmMain::RCCDelete_Click);
    connect(this, &frmMain::FindDeviceRequested, this, &frmMain::FindDevice_Click);
}

// What the file commands ask of the window.

int frmMain::Ask(const std::string& text, int style, const std::string& title)
{
    return ShowMessage(Q(text), style, Q(title), FileOwner());
}

bool frmMain::ChooseFile(bool save, std::string& fileName)
{
    platform::FileDialogRequest request;
    request.save = save;
    request.title = save ? "Save A Quorvel Configuration File" : "Open a Quorvel Configuration File";
    request.fileName = Q(fileName);
    request.filter = "Quorvel Config Files (*.qvs)";
    request.defaultSuffix = "qvs";
    request.confirmOverwrite = save;
    const std::optional<QString> chosen = platform::ShowFileDialog(FileOwner(), request);
    if (!chosen)
        return false;
    // The dialog hands back text: the name it was started on, handed back as
    // it was given, keeps the bytes of the file's name.
    if (*chosen != request.fileName)
        fileName = chosen->toStdString();
    return true;
}

std::string frmMain::SiteNameCaption()
{
    return siteName_->text().toStdString();
}

void frmMain::ClearForLoad()
{
    TellEditorsSiteReplaced();
    ClearScreen();
    siteName_->hide();
}

void frmMain::SetStatusText(int panel, const std::string& text)
{
    SetPanelText(panel, Q(text));
}

void frmMain::ShowErrorList(bool refusedSave)
{
    frmErrorCheck* list = frmErrorCheck::Display(this);
    if (refusedSave) {
        list->setWindowTitle("Configuration File Errors - File NOT Saved");
        list->WarningLabel->setText("WARNING:  File NOT Saved");
        list->WarningLabel->show();
    }
}

// File menu.

void frmMain::NewFile_Click()
{
    EndSiteNameEdit();
    if (!CheckForChanges())
        return;
    auto* dialog = new frmNewSite(this);
    platform::LoadForm(dialog);
    dialog->adjustSize();
    platform::CentreOver(*dialog, *this);
    const platform::ModalLoop modal;
    dialog->exec();
    if (dialog->Tag.toInt() != 0) {
        const app::NewSiteChoice choice = dialog->Choice();
        // A new site starts with nothing selected, in the editors too.
        TellEditorsSiteReplaced();
        if (ActiveNode != -1)
            ClearActiveNode();
        const int rccs = app::ApplyNewSiteHeader(choice);
        PositionNodeShell();
        app::ResetNodesForNewSite(Nodes, rccs, LoopAddressOwner);
        // Named first, so that nothing of the previous site (its name far
        // out) sizes the window or the new drawing.
        app::NameNewSite(choice.name);
        DisplayNodes();
        siteName_->setText(Q(choice.name));
        PlaceSiteName(SiteNameX, SiteNameY);
        MenuItem("OptionsSiteName")->setChecked(true);
        siteName_->show();
        siteName_->raise();
        update();
        UpdateTitleBar();
        ReDraw(-1);
    }
    platform::UnloadFormNow(dialog);
    CheckIsLoopInterfaceOptions();
}

void frmMain::FileLoad_Click()
{
    fileCommands_.Open();
}

void frmMain::FileSave_Click()
{
    fileCommands_.Save();
}

void frmMain::FileSaveAs_Click()
{
    fileCommands_.SaveAs();
}

void frmMain::FileMRU_Click(int index)
{
    fileCommands_.OpenRecent(index);
}

void frmMain::FilePaths_Click()
{
    FilePaths = !FilePaths;
    MenuItem("FilePaths")->setChecked(FilePaths);
    UpdateTitleBar();
    RefreshRecentFilesMenu();
}

void frmMain::CheckFileOpen_Click()
{
    CheckOnOpen = !CheckOnOpen;
    MenuItem("CheckFileOpen")->setChecked(CheckOnOpen);
}

void frmMain::CheckFileClose_Click()
{
    CheckOnClose = !CheckOnClose;
    MenuItem("CheckFileClose")->setChecked(CheckOnClose);
}

// RCC commands and the editors.

void frmMain::AddRCC_Click()
{
    const int added = app::AddRcc(Nodes, ActiveNode);
    if (added < 0) {
        ShowMessage(Q(app::RccLimitMessage()), MessageStyle::Critical, "Add an RCC");
        return;
    }
    ReDraw(added);
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::RCCDelete_Click()
{
    if (ActiveNode < 1 || ActiveNode >= kNodeCount)
        return;
    const int index = ActiveNode;
    if (ShowMessage(Q(app::DeleteRccQuestion(Nodes, index)), MessageStyle::Exclamation + MessageStyle::YesNo,
                    "Delete an RCC") != MessageResult::Yes)
        return;
    // An editor showing the RCC drops what it holds for it: nothing of a
    // deleted RCC is applied.
    if (frmNodeSettings* settings = frmNodeSettings::Loaded(); settings && settings->ShownNode() == index)
        settings->DropNodeBeingDeleted();
    if (frmDevices* devices = frmDevices::Loaded(); devices && devices->ShownNode() == index)
        devices->DropShownNode();
    NodeAt(index).DeActivate();
    app::DeleteRcc(Nodes, index, LoopAddressOwner);
    SetPanelText(2, QString());
    SetPanelText(3, QString());
    ActiveNode = -1;
    ReDraw(-1);
    FileChanged = true;
    UpdateTitleBar();
    // The editors follow the selection, which the delete leaves empty.
    PreviousSelectedNode = SelectedNode;
    SelectedNode = -1;
    TellEditors(false);
}

void frmMain::ShowNodeSettings()
{
    frmNodeSettings* settings = frmNodeSettings::Load();
    settings->show();
    settings->raise();
    settings->RefreshData(PreviousSelectedNode);
}

void frmMain::ShowDevices()
{
    frmDevices::Open(PreviousSelectedNode);
}

void frmMain::PopupMasterEdit_Click()
{
    PopupNodeEdit_Click();
}

void frmMain::PopupNodeEdit_Click()
{
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowNodeSettings();
}

void frmMain::PopupNodeDevices_Click()
{
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowDevices();
}

void frmMain::FindDevice_Click()
{
    // A box that could not be shown (another one waits) leaves nothing to search.
    if (frmParameter::GetParameter(
            this, "Please Enter the Ident as 5 digits\r\nor Loop Address as Loop:Address (eg. 1:25)",
            ParameterEntry::Text, 6, QString(), MessageStyle::CancelOK,
            "Search for a Device") == MessageResult::Refused)
        return;
    const app::FindResult found = app::FindDevice(ParameterResult.toStdString());
    if (!found.found) {
        if (!found.message.empty())
            ShowMessage(Q(found.message), MessageStyle::Critical, "Find Device");
        return;
    }
    if (ShowMessage(Q(found.message), MessageStyle::Question + MessageStyle::YesNo, "Find Device") !=
        MessageResult::Yes)
        return;
    ActivateNode(found.node);
    if (found.slot != 0) {
        PopupNodeDevices_Click();
        if (frmDevices* devices = frmDevices::Loaded())
            devices->SelectDevice(found.slot);
    } else {
        PreviousSelectedNode = SelectedNode;
        SelectedNode = ActiveNode;
        ShowNodeSettings();
    }
}

// Dragging nodes.

bool frmMain::event(QEvent* event)
{
    // A box that comes up while a node is dragged (the editors' question on
    // the press that started the drag) takes the pointer: the release goes
    // to the box, so the drag ends here and nothing is dropped later.
    if (dragging_ &&
        (event->type() == QEvent::WindowBlocked || (event->type() == QEvent::EnabledChange && !isEnabled())))
        EndDrag();
    return QMainWindow::event(event);
}

void frmMain::MoveDragOutline(long left, long top)
{
    dragLeft_ = left;
    dragTop_ = top;
    PlaceTwips(nodeDrag_, left, top);
}

void frmMain::Canvas_MouseMove(int button, int, double x, double y)
{
    if (!dragging_ || button != 1 || dragNode_ < 0)
        return;
    const long left = static_cast<long>(platform::RoundHalfEven(x - dragOffsetX_));
    const long top = static_cast<long>(platform::RoundHalfEven(y - dragOffsetY_));
    if (app::CanvasDragAllowed(static_cast<int32_t>(left), NodeAt(dragNode_).Width(),
                               static_cast<int32_t>(WidthTwips())))
        MoveDragOutline(left, top);
}

void frmMain::NodeLabel_MouseMove(int index, int button, int, double x, double y)
{
    if (!dragging_ || button != 1 || dragNode_ < 0)
        return;
    const NodeLabel* label = NodeControls(index).Label();
    const model::clsNode& node = NodeAt(dragNode_);
    app::OutlineRect outline;
    outline.left = static_cast<int32_t>(platform::RoundHalfEven(::LeftTwips(label) + x - dragOffsetX_));
    outline.top = static_cast<int32_t>(platform::RoundHalfEven(::TopTwips(label) + y - dragOffsetY_));
    outline.width = node.Width();
    outline.height = node.Height();
    outline = app::BoundCaptionDrag(outline, static_cast<int32_t>(WidthTwips()),
                                    static_cast<int32_t>(HeightTwips()), Toolbar);
    MoveDragOutline(outline.left, outline.top);
}

void frmMain::DropNode(int button, int, double, double)
{
    if (button != 1 || !dragging_)
        return;
    dragging_ = false;
    nodeDrag_->hide();
    if (dragNode_ < 0)
        return;
    const model::clsNode& node = NodeAt(dragNode_);
    const app::OutlineRect outline{static_cast<int32_t>(dragLeft_), static_cast<int32_t>(dragTop_),
                                   node.Width(), node.Height()};
    switch (app::DropNodeOutline(Nodes, dragNode_, outline, DropOnParent)) {
    case app::DropResult::Unmoved:
        return;
    case app::DropResult::Refused:
        dragNode_ = -1;
        return;
    case app::DropResult::Reparented:
        ReDraw(dragNode_);
        dragNode_ = -1;
        break;
    case app::DropResult::Moved:
        ComputeDrawingExtent();
        ReDraw(dragNode_);
        break;
    }
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::NodeLabel_DblClick(int index)
{
    if (CommsFormActive)
        return;
    if (ActiveNode != -1)
        NodeAt(ActiveNode).DeActivate();
    ActiveNode = static_cast<int16_t>(index);
    NodeAt(index).Activate();
    PreviousSelectedNode = SelectedNode;
    SelectedNode = ActiveNode;
    ShowNodeSettings();
}

void frmMain::LockObjects_Click()
{
    Locked = !Locked;
    MenuItem("LockObjects")->setChecked(Locked);
    SetLockPicture(Locked);
}

void frmMain::AllowDragDropParent_Click()
{
    DropOnParent = !DropOnParent;
    MenuItem("AllowDragDropParent")->setChecked(DropOnParent);
}

// Events of the status-bar panels, the site-name label and its edit box.

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 1; i <= 4; ++i)
            if (watched == panels_[static_cast<std::size_t>(i)])
                StatusBar1_PanelClick(i);
    if (watched == siteName_) {
        auto* mouse = dynamic_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            SiteName_MouseDown(MouseButtonCode(mouse->button()), ShiftStateCode(mouse->modifiers()),
                               PixelsToTwips(1) * mouse->position().x(),
                               PixelsToTwips(1) * mouse->position().y());
            return true;
        case QEvent::MouseMove:
            // The outline follows the mouse while the label is dragged.
            if (dragging_ && dragNode_ == -2) {
                const QPoint at = canvas_->mapFromGlobal(mouse->globalPosition().toPoint());
                nodeDrag_->setGeometry(at.x() - TwipsToPixels(dragOffsetX_),
                                       at.y() - TwipsToPixels(dragOffsetY_), siteName_->width(),
                                       siteName_->height());
                nodeDrag_->show();
                nodeDrag_->raise();
            }
            return true;
        case QEvent::MouseButtonRelease:
            if (mouse->button() == Qt::LeftButton && dragging_ && dragNode_ == -2)
                EndSiteNameDrag(mouse->globalPosition().toPoint());
            return true;
        case QEvent::MouseButtonDblClick:
            SiteName_DblClick();
            return true;
        default:
            break;
        }
    } else if (watched == siteNameEdit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            SiteNameEdit_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::SiteName_MouseDown(int button, int, double x, double y)
{
    if (button != 1 || Locked)
        return;
    dragging_ = true;
    dragNode_ = -2;
    dragOffsetX_ = static_cast<int>(platform::RoundHalfEven(x));
    dragOffsetY_ = static_cast<int>(platform::RoundHalfEven(y));
}

void frmMain::EndSiteNameDrag(const QPoint& globalPos)
{
    nodeDrag_->hide();
    const QPoint at = canvas_->mapFromGlobal(globalPos);
    if (!canvas_->rect().contains(at))
        return; // dropped outside the canvas: nothing moves
    // The drop point within the label, measured from where the label stands.
    const QPoint inLabel = siteName_->mapFromGlobal(globalPos);
    const double x = PixelsToTwips(inLabel.x());
    const double y = PixelsToTwips(inLabel.y());
    if (siteName_->rect().contains(inLabel)) {
        SiteName_DragDrop(siteName_, x, y);
        return;
    }
    for (int i = 0; i < kNodeCount; ++i) {
        const NodeControlSet& set = NodeControls(i);
        for (const QWidget* label :
             {static_cast<const QWidget*>(set.Label()), static_cast<const QWidget*>(set.QILabel())})
            if (label->isVisible() && label->geometry().contains(at))
                return; // dropped on a caption: nothing moves
    }
    Canvas_DragDrop(siteName_, SiteNameX + x, SiteNameY + y);
}

void frmMain::PlaceSiteName(double left, double top)
{
    SiteNameX = static_cast<int32_t>(platform::RoundHalfEven(left));
    SiteNameY = static_cast<int32_t>(platform::RoundHalfEven(top));
    siteName_->adjustSize();
    PlaceTwips(siteName_, SiteNameX, SiteNameY);
}

void frmMain::Canvas_DragDrop(QWidget* source, double x, double y)
{
    if (source != siteName_)
        return;
    const double left = x - dragOffsetX_;
    const double top = y - dragOffsetY_;
    dragging_ = false;
    dragNode_ = -1;
    // A drop where the label already stands moves nothing and changes nothing.
    if (platform::RoundHalfEven(left) == SiteNameX && platform::RoundHalfEven(top) == SiteNameY)
        return;
    PlaceSiteName(left, top);
    FileChanged = true;
    UpdateTitleBar();
}

void frmMain::SiteName_DragDrop(QWidget* source, double x, double y)
{
    if (dragNode_ != -2)
        return;
    Canvas_DragDrop(source, SiteNameX + x, SiteNameY + y);
}

void frmMain::SiteName_DblClick()
{
    siteNameEdit_->setGeometry(siteName_->x(), siteName_->y(), siteName_->width(),
                               siteNameEdit_->sizeHint().height());
    siteNameEdit_->setText(Q(model::TrimBlanks(siteName_->text().toStdString())));
    siteNameEdit_->show();
    siteNameEdit_->raise();
    siteNameEdit_->setFocus();
}

void frmMain::SiteNameEdit_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        EndSiteNameEdit();
}
