// The main window's menus, toolbar, status bar, options and serial-window launch.
#include "app/frmMain.h"

#include "app/LogsFrame.h"
#include "app/Startup.h"
#include "app/core/CanvasDrag.h"
#include "app/core/ErrorListText.h"
#include "app/core/FindEntry.h"
#include "app/core/MenuState.h"
#include "app/frmAbout.h"
#include "app/frmErrorCheck.h"
#include "app/frmMainInternal.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/frmComms.h"
#include "hublink/frmPortForm.h"
#include "model/ConfigurationCheck.h"
#include "model/Selection.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/WindowLimits.h"
#include "platform/Yield.h"
#include "platform/base/MessageStyle.h"
#include "platform/base/ProgramFolder.h"
#include "views/FrmStats.h"
#include "views/frmComments.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"
#include "views/frmTreeView.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

// --- menus, toolbar and status bar ----------------------------------------------

QAction* frmMain::ToolButton(const QString& key) const
{
    const auto it = toolButtons_.find(key);
    return it == toolButtons_.end() ? nullptr : it->second;
}

QAction* frmMain::MenuItem(const QString& name) const
{
    return findChild<QAction*>(name);
}

QMenu* frmMain::Menu(const QString& name) const
{
    return findChild<QMenu*>(name);
}

QString frmMain::PanelText(int panel) const
{
    return panels_.at(static_cast<std::size_t>(panel))->text();
}

void frmMain::SetPanelText(int panel, const QString& text)
{
    panels_.at(static_cast<std::size_t>(panel))->setText(text);
}

void frmMain::SetLockPicture(bool locked)
{
    lockPicture_ = locked ? "LOCKED" : "UNLOCKED";
    panels_[1]->setPixmap(platform::IconPixmap(lockPicture_));
    panels_[1]->setToolTip(locked ? "Object Positions Locked" : "Object Positions Unlocked");
}

void frmMain::CheckIsLoopInterfaceOptions()
{
    for (const app::MenuStateChange& change : app::LoopInterfaceMenuChanges(IsLoopInterface)) {
        const QString name = Q(change.name);
        QAction* item = change.toolButton ? ToolButton(name) : MenuItem(name);
        if (change.visible)
            item->setVisible(*change.visible);
        if (change.enabled) {
            item->setEnabled(*change.enabled);
            if (QMenu* menu = change.toolButton ? nullptr : Menu(name))
                menu->setEnabled(*change.enabled);
        }
        if (change.caption)
            item->setText(Q(*change.caption));
    }
}

// --- menus, options and serial-window launch -----------------------------------

void frmMain::ConnectMenuCommands()
{
    const std::pair<const char*, void (frmMain::*)()> commands[] = {
        {"HubProgram", &frmMain::HubProgram_Click},
        {"HubProgramToolsMenu", &frmMain::HubProgramToolsMenu_Click},
        {"HubCompare", &frmMain::HubCompare_Click},
        {"HubComms", &frmMain::HubComms_Click},
        {"HubRead", &frmMain::HubRead_Click},
        {"CompareConfig", &frmMain::CompareConfig_Click},
        {"mnuOpenComms", &frmMain::mnuOpenComms_Click},
        {"ReadConfig", &frmMain::ReadConfig_Click},
        {"TolsReadRLM", &frmMain::TolsReadRLM_Click},
        {"TolsReadRLMFile", &frmMain::TolsReadRLMFile_Click},
        {"TolsReadRLMPopup", &frmMain::TolsReadRLMPopup_Click},
        {"ToolsHubRead", &frmMain::ToolsHubRead_Click},
        {"ToolsRCCRead", &frmMain::ToolsRCCRead_Click},
        {"ToolsRCCReadPopup", &frmMain::ToolsRCCReadPopup_Click},
        {"RCCCompare", &frmMain::RCCCompare_Click},
        {"Diagnostics", &frmMain::Diagnostics_Click},
        {"ErrorCheck", &frmMain::ErrorCheck_Click},
        {"SetComms", &frmMain::SetComms_Click},
        {"ConfigStats", &frmMain::ConfigStats_Click},
        {"TreeView", &frmMain::TreeView_Click},
        {"ViewGrid", &frmMain::ViewGrid_Click},
        {"HelpGuide", &frmMain::HelpGuide_Click},
        {"HelpHistory", &frmMain::HelpHistory_Click},
        {"PrintConfig", &frmMain::PrintConfig_Click},
        {"HelpAbout", &frmMain::HelpAbout_Click},
        {"ReportComments", &frmMain::ReportComments_Click},
        {"FileExit", &frmMain::FileExit_Click},
        {"EnableProgLog", &frmMain::EnableProgLog_Click},
        {"EnableDiagsLog", &frmMain::EnableDiagsLog_Click},
        {"ConfirmDiffs", &frmMain::ConfirmDiffs_Click},
        {"UseLastOnStart", &frmMain::UseLastOnStart_Click},
        {"ViewToolbar", &frmMain::ViewToolbar_Click},
        {"OptionsSiteName", &frmMain::OptionsSiteName_Click},
        {"OutlineSiteName", &frmMain::OutlineSiteName_Click},
        {"SetCommsPaths", &frmMain::SetCommsPaths_Click},
        {"ExportLogs", &frmMain::ExportLogs_Click},
    };
    for (const auto& [name, handler] : commands)
        connect(MenuItem(name), &QAction::triggered, this, handler);
}

void frmMain::SelectHub()
{
    SelectNode(0, 1, 0);
    EndDrag();
}

void frmMain::Launch(app::LaunchCommand command)
{
    const app::LaunchPlan plan = app::PlanFor(command);
    if (plan.needsRcc && (ActiveNode < 1 || ActiveNode > 31)) {
        PlainMessage(app::kSelectRccText, MessageStyle::Critical, app::kSelectRccTitle);
        return;
    }
    if (plan.selection == app::HubSelection::Select ||
        (plan.selection == app::HubSelection::SelectUnlessHub && ActiveNode != 0)) {
        // Without a hub in the site (an empty window, the start page) the
        // hub is only the target: nothing on screen names it.
        if (NodeAt(0).InUse())
            SelectHub();
        ActiveNode = 0;
    }
    if (plan.unitNotIdentified) {
        FileLoaded = false;
        ActiveNode = -1;
    }
    commsFormTimer_->stop();
    commsFormTimer_->setInterval(plan.intervalMs);
    hublink::CommsAction = plan.action;
    pendingLoopInterface_ = plan.loopInterface;
    commsFormTimer_->start();
}

void frmMain::HubProgram_Click()
{
    Launch(app::LaunchCommand::HubProgram);
}

void frmMain::HubProgramToolsMenu_Click()
{
    Launch(app::LaunchCommand::HubProgramToolsMenu);
}

void frmMain::HubCompare_Click()
{
    Launch(app::LaunchCommand::HubCompare);
}

void frmMain::HubComms_Click()
{
    Launch(app::LaunchCommand::HubComms);
}

void frmMain::HubRead_Click()
{
    Launch(app::LaunchCommand::HubRead);
    frmComms::Unload();
}

void frmMain::CompareConfig_Click()
{
    Launch(app::LaunchCommand::CompareConfig);
}

void frmMain::mnuOpenComms_Click()
{
    Launch(app::LaunchCommand::mnuOpenComms);
}

void frmMain::ReadConfig_Click()
{
    Launch(app::LaunchCommand::ReadConfig);
}

void frmMain::TolsReadRLM_Click()
{
    Launch(app::LaunchCommand::TolsReadRLM);
}

void frmMain::TolsReadRLMFile_Click()
{
    Launch(app::LaunchCommand::TolsReadRLMFile);
}

void frmMain::TolsReadRLMPopup_Click()
{
    Launch(app::LaunchCommand::TolsReadRLMPopup);
}

void frmMain::ToolsHubRead_Click()
{
    Launch(app::LaunchCommand::ToolsHubRead);
}

void frmMain::ToolsRCCRead_Click()
{
    Launch(app::LaunchCommand::ToolsRCCRead);
}

void frmMain::ToolsRCCReadPopup_Click()
{
    Launch(app::LaunchCommand::ToolsRCCReadPopup);
}

void frmMain::RCCCompare_Click()
{
    Launch(app::LaunchCommand::RCCCompare);
}

void frmMain::Read_Diags()
{
    Launch(app::LaunchCommand::Read_Diags);
}

void frmMain::CommsFormTimer_Timer()
{
    commsFormTimer_->stop();
    if (CommsFormActive)
        frmComms::Unload();
    setEnabled(false);
    // A read of one kind of unit sets the kind of site now; it is put back
    // when the read does not replace the site.
    loopInterfaceGuard_.Apply(pendingLoopInterface_, IsLoopInterface);
    pendingLoopInterface_.reset();

    frmComms* comms = frmComms::Load();
    // Closing the window gives the main window back, unless another launch
    // has loaded a new one meanwhile. The window going is no longer a
    // communications window: it is told apart by its address alone.
    connect(comms, &QObject::destroyed, this, [this](QObject* gone) {
        const QWidget* loaded = platform::FindForm("frmComms");
        if (loaded == nullptr || loaded == gone)
            setEnabled(true);
    });
    comms->show();
    if (!comms->PortOpen()) {
        // The box is about the communications window: it belongs to it, so
        // that window managers raise that window with it, not this one.
        platform::ShowPlainMessage(comms, app::kPortFailureText, MessageStyle::Critical,
                                   app::PortFailureTitle(ActiveNode));
        setEnabled(true);
        frmComms::Unload();
        loopInterfaceGuard_.Restore(IsLoopInterface);
        CheckIsLoopInterfaceOptions();
        return;
    }
    switch (app::DispatchFor(hublink::CommsAction)) {
    case app::CommsDispatch::Program:
        comms->cmdProgram_Click();
        break;
    case app::CommsDispatch::Compare:
        comms->CompareConfig_Click();
        break;
    case app::CommsDispatch::Read:
        comms->ReadConfig_Click();
        // A read the user cancelled closes the window and leaves the site.
        if (frmComms::Loaded() == nullptr) {
            loopInterfaceGuard_.Restore(IsLoopInterface);
            CheckIsLoopInterfaceOptions();
        }
        break;
    case app::CommsDispatch::None:
        break;
    }
    loopInterfaceGuard_ = {};
}

void frmMain::Diagnostics_Click()
{
    if (ActiveNode >= 1 && ActiveNode <= 31)
        TakeSelectionDown();
    if (ActiveNode != 0) {
        NodeAt(0).Activate();
        PreviousSelectedNode = SelectedNode;
        SelectedNode = 0;
        ActiveNode = 0;
    }
    frmDiagnostics* diagnostics = frmDiagnostics::Load();
    diagnostics->show();
    diagnostics->raise();
}

void frmMain::ErrorCheck_Click()
{
    app::ErrorCheckMode = 0;
    if (model::CheckConfiguration() != 0)
        frmErrorCheck::Display(this);
    else
        ShowMessage("No Errors Found in Configuration", MessageStyle::Information,
                    "Check Configuration for Errors");
}

void frmMain::SetComms_Click()
{
    frmPortForm::ShowCentredOn(this);
}

namespace {

template <class Form> void ShowModeless()
{
    Form* form = Form::Load();
    form->show();
    form->raise();
}

} // namespace

void frmMain::ConfigStats_Click()
{
    ShowModeless<FrmStats>();
}

void frmMain::TreeView_Click()
{
    if (frmTreeView::Loaded() == nullptr) {
        // A click on a line selects its node here, except while serial work
        // keeps this window disabled.
        connect(frmTreeView::Load(), &frmTreeView::ActivateNodeRequested, this, [this](int index) {
            if (isEnabled())
                ActivateNode(index);
        });
    }
    ShowModeless<frmTreeView>();
}

void frmMain::ViewGrid_Click()
{
    ShowModeless<frmGrid>();
}

void frmMain::HelpHistory_Click()
{
    ShowModeless<frmHistory>();
}

void frmMain::ReportComments_Click()
{
    ShowModeless<frmComments>();
}

void frmMain::PrintConfig_Click()
{
    // The menu item and its tool button are hidden; the command answers
    // all the same when it is reached.
    ShowMessage(app::kPrintText, MessageStyle::Information, app::kPrintTitle);
}

void frmMain::HelpAbout_Click()
{
    frmAbout about(this);
    const platform::ModalLoop modal;
    about.exec();
}

void frmMain::HelpGuide_Click()
{
    // The guide ships beside the program; a missing guide shows nothing.
    const QString name = "Users Guide.pdf";
    const QString inProgramFolder = QDir(Q(platform::ProgramFolder())).filePath(name);
    if (!platform::ShellOpenFile(inProgramFolder))
        platform::ShellOpenFile(QDir(Q(platform::ExecutableFolder())).filePath(name));
}

void frmMain::FileExit_Click()
{
    if (SaveInProgress())
        return;
    if (siteNameEdit_->isVisible())
        EndSiteNameEdit();
    if (!CloseEditorsForExit() || !CheckForChanges())
        return;
    if (windowState() == Qt::WindowNoState)
        StoreRectangle();
    platform::RestoreWindowProc(*this);
    ExitProgram();
}

void frmMain::EnableProgLog_Click()
{
    LogProg = !LogProg;
    MenuItem("EnableProgLog")->setChecked(LogProg);
}

void frmMain::EnableDiagsLog_Click()
{
    LogDiags = !LogDiags;
    MenuItem("EnableDiagsLog")->setChecked(LogDiags);
}

void frmMain::ConfirmDiffs_Click()
{
    ConfirmDiffs = !ConfirmDiffs;
    MenuItem("ConfirmDiffs")->setChecked(ConfirmDiffs);
}

void frmMain::UseLastOnStart_Click()
{
    ReOpenLastUsed = !ReOpenLastUsed;
    MenuItem("UseLastOnStart")->setChecked(ReOpenLastUsed);
}

void frmMain::ViewToolbar_Click()
{
    Toolbar = !Toolbar;
    toolBar_->setVisible(Toolbar);
    MenuItem("ViewToolbar")->setChecked(Toolbar);
    Form_Resize();
    canvas_->SetTopTwips(Toolbar ? kToolbarHeight : 0);
    canvas_->SetHeightTwips(HeightTwips() - kFrameHeight - (Toolbar ? kToolbarHeight : 0));
}

void frmMain::SetSiteNameOptions(bool show, bool border)
{
    ShowSiteName = show;
    BorderSiteName = border;
    MenuItem("OptionsSiteName")->setChecked(show);
    MenuItem("OutlineSiteName")->setChecked(border);
    siteName_->setVisible(show);
    siteName_->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
}

void frmMain::OptionsSiteName_Click()
{
    SetSiteNameOptions(!ShowSiteName, BorderSiteName);
}

void frmMain::OutlineSiteName_Click()
{
    SetSiteNameOptions(ShowSiteName, !BorderSiteName);
}

void frmMain::ToolBar1_ButtonClick(const QString& key)
{
    using app::ToolbarCommand;
    // The commands whose handlers are the menu items' own.
    const std::pair<ToolbarCommand, const char*> viaMenu[] = {
        {ToolbarCommand::NewFile, "NewFile"},       {ToolbarCommand::FileLoad, "FileLoad"},
        {ToolbarCommand::FileSave, "FileSave"},     {ToolbarCommand::RCCDelete, "RCCDelete"},
        {ToolbarCommand::AddRCC, "AddRCC"},         {ToolbarCommand::PopupNodeEdit, "PopupNodeEdit"},
        {ToolbarCommand::FindDevice, "FindDevice"}, {ToolbarCommand::PrintConfig, "PrintConfig"},
    };
    const ToolbarCommand command = app::ToolbarCommandFor(key.toStdString(), CommsFormActive, ActiveNode);
    switch (command) {
    case ToolbarCommand::NoQuick:
        NoQuick_Click();
        return;
    case ToolbarCommand::Ident_Quick:
        Ident_Quick_Click();
        return;
    case ToolbarCommand::LA_Quick:
        LA_Quick_Click();
        return;
    case ToolbarCommand::QuickChannels:
        QuickChannels_Click();
        return;
    case ToolbarCommand::ErrorCheck:
        ErrorCheck_Click();
        return;
    default:
        break;
    }
    for (const auto& [menuCommand, item] : viaMenu)
        if (menuCommand == command)
            MenuItem(item)->trigger();
}

void frmMain::StatusBar1_PanelClick(int panel)
{
    if (panel == 1)
        LockObjects_Click();
}

void frmMain::SetCommsPaths_Click()
{
    logsFrame_->Open(LogsFrame::Mode::Set);
}

void frmMain::ExportLogs_Click()
{
    logsFrame_->Open(LogsFrame::Mode::Export);
}

int frmMain::PlainMessage(const QString& text, int style, const QString& title)
{
    return platform::ShowPlainMessage(this, text.toStdString(), style, title.toStdString());
}
