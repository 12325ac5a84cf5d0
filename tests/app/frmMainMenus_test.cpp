// The main window's menus, toolbar and options, and the launch of the
// communications window.
#include "app/LogsFrame.h"
#include "app/frmErrorCheck.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/frmPortForm.h"
#include "app/core/CommsLaunch.h"
#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/base/ProgramFolder.h"
#include "views/FrmStats.h"
#include "views/frmComments.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"
#include "views/frmTreeView.h"

#include "app/frmMainFixture.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeView>

namespace {

// One row of the menu tree: the menu, the item, its caption ("-" a
// separator), and whether it is visible on a hub site and on an RLM site.
struct Row
{
    const char* menu;
    const char* name;
    const char* caption;
    bool hub;
    bool rlm;
};

const Row kTree[] = {
    {"FileMenu", "NewFile", "&New", true, true},
    {"FileMenu", "FileLoad", "&Open", true, true},
    {"FileMenu", "FileSave", "&Save", true, true},
    {"FileMenu", "FileSaveAs", "Save &As", true, true},
    {"FileMenu", "FileSep1", "-", false, false},
    {"FileMenu", "PrintConfig", "&Print Configuration", false, false},
    {"FileMenu", "FileSep4", "-", true, true},
    {"FileMenu", "ReadConfig", "Read &Config from a Hub", true, false},
    {"FileMenu", "TolsReadRLMFile", "Read Config From RLM", false, true},
    {"FileMenu", "FileSep3", "-", true, true},
    {"FileMenu", "RecentFiles", "&Recent Files", true, true},
    {"FileMenu", "FileSep2", "-", true, true},
    {"FileMenu", "FileExit", "E&xit", true, true},
    {"ViewMenu", "ConfigStats", "Show Configuration &Statistics", true, true},
    {"ViewMenu", "FindDevice", "&Find a Device or RCC", true, true},
    {"ViewMenu", "TreeView", "&Tree View", true, true},
    {"ViewMenu", "ViewGrid", "&Grid View", true, true},
    {"ToolsMenu", "AddRCC", "&Add An RCC", true, false},
    {"ToolsMenu", "ToolsSep1", "-", true, true},
    {"ToolsMenu", "ErrorCheck", "Check Configuration for &Errors", true, false},
    {"ToolsMenu", "ToolsSep2", "-", true, true},
    {"ToolsMenu", "CompareConfig", "&Compare Config with Hub", true, false},
    {"ToolsMenu", "TolsReadRLM", "Read Config from R&LM", true, true},
    {"ToolsMenu", "ToolsHubRead", "Read Config from &Hub", true, true},
    {"ToolsMenu", "ToolsRCCRead", "Read Config from an &RCC", true, false},
    {"ToolsMenu", "HubProgramToolsMenu", "&Program Hub with Config", true, false},
    {"ToolsMenu", "ToolsSep3", "-", true, true},
    {"ToolsMenu", "mnuOpenComms", "Open Comms with a Hub", true, false},
    {"ToolsMenu", "Diagnostics", "&Diagnostics", true, true},
    {"OptionsMenu", "SetComms", "&Comms Settings", true, true},
    {"OptionsMenu", "EnableProgLog", "Enable &Programming Log", true, true},
    {"OptionsMenu", "EnableDiagsLog", "Enable &Diagnostics Log", true, true},
    {"OptionsMenu", "SetCommsPaths", "&Set Comms Logs Directory", true, true},
    {"OptionsMenu", "ExportLogs", "&Export Log Files", true, true},
    {"OptionsMenu", "OptSep0", "-", true, true},
    {"OptionsMenu", "LockObjects", "&Lock Object Positions", true, true},
    {"OptionsMenu", "ViewToolbar", "&View Toolbar", true, true},
    {"OptionsMenu", "OptSep1", "-", true, true},
    {"OptionsMenu", "ShowQI", "&Quick Info", true, true},
    {"OptionsMenu", "OptionsSiteName", "Show Site &Name", true, true},
    {"OptionsMenu", "OutlineSiteName", "Site Name &Outline", true, true},
    {"OptionsMenu", "OptSep2", "-", true, true},
    {"OptionsMenu", "FilePaths", "Show &Full File Paths", true, true},
    {"OptionsMenu", "UseLastOnStart", "Load Last &Used File on Startup", true, true},
    {"OptionsMenu", "CheckFileOpen", "Check Config File on O&pen", true, true},
    {"OptionsMenu", "CheckFileClose", "Check Config File on Sa&ve", true, true},
    {"OptionsMenu", "optsep3", "-", true, true},
    {"OptionsMenu", "AllowDragDropParent", "&Allow Dragging of an RCC to its Parent", true, true},
    {"OptionsMenu", "ConfirmDiffs", "Confirm &Differences before Programming", true, true},
    {"ShowQI", "NoQuick", "No Info", true, true},
    {"ShowQI", "LA_Quick", "Loop Address Info", true, true},
    {"ShowQI", "Ident_Quick", "Ident Info", true, true},
    {"ShowQI", "QuickChannels", "Radio Channels", true, true},
    {"HelpMenu", "HelpGuide", "Users &Guide", true, true},
    {"HelpMenu", "helpsep2", "-", false, false},
    {"HelpMenu", "HelpHistory", "&History", false, false},
    {"HelpMenu", "HelpAbout", "&About", true, true},
    {"HelpMenu", "ReportComments", "&Comments", true, true},
    {"MasterPopupMenu", "PopupMasterEdit", "&Edit", true, true},
    {"MasterPopupMenu", "MnMenuSep2", "-", true, true},
    {"MasterPopupMenu", "HubComms", "&Open Comms", true, true},
    {"MasterPopupMenu", "MnMenuSep20", "-", true, true},
    {"MasterPopupMenu", "HubRead", "&Read Config from Hub", true, true},
    {"MasterPopupMenu", "HubCompare", "Co&mpare Hub with Config", true, true},
    {"MasterPopupMenu", "HubProgram", "&Program Hub with Config", true, true},
    {"MasterPopupMenu", "MnMenuSep3", "-", true, true},
    {"MasterPopupMenu", "MNPopupExit", "&Cancel", true, true},
    {"NodePopupMenu", "PopupNodeEdit", "&Edit", true, true},
    {"NodePopupMenu", "PopupNodeDevices", "&Devices", true, true},
    {"NodePopupMenu", "TolsReadRLMPopup", "Read Config from RLM", false, true},
    {"NodePopupMenu", "RNMenuSep2", "-", false, false},
    {"NodePopupMenu", "NodeComms", "&Open Comms", false, false},
    {"NodePopupMenu", "sep10", "-", false, false},
    {"NodePopupMenu", "RCCCompare", "Compare RCC with Config", true, false},
    {"NodePopupMenu", "ToolsRCCReadPopup", "Read Config from an RCC", true, false},
    {"NodePopupMenu", "RNMenuSep3", "-", true, true},
    {"NodePopupMenu", "RCCDelete", "Delete", true, false},
    {"NodePopupMenu", "RNMenuSep4", "-", true, true},
    {"NodePopupMenu", "NPopupExit", "&Cancel", true, true},
};

const std::pair<const char*, const char*> kMenus[] = {
    {"FileMenu", "&File"},          {"ViewMenu", "&View"},     {"ToolsMenu", "&Tools"},
    {"OptionsMenu", "&Options"},    {"HelpMenu", "&Help"},     {"MasterPopupMenu", "MasterNodePopup"},
    {"NodePopupMenu", "NodePopop"}, {"ShowQI", "&Quick Info"}, {"RecentFiles", "&Recent Files"},
};

// Toolbar keys and whether each is visible on a hub site and on an RLM site.
const std::tuple<const char*, bool, bool> kButtons[] = {
    {"New", true, true},     {"Open", true, true},       {"Save", true, true},   {"NoQI", true, true},
    {"IdentQI", true, true}, {"LoopQI", true, true},     {"Radio", true, true},  {"Delete", true, false},
    {"Add", true, false},    {"Properties", true, true}, {"Check", true, false}, {"Print", false, false},
    {"Find", true, false},
};

class MenusTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        frmComms::ResetStandIn();
        platform::SetPlainMessageHandler(
            [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
                plain << QString("%1: %2 (%3)")
                             .arg(QString::fromStdString(title), QString::fromStdString(text))
                             .arg(style);
                return 1;
            });
    }
    void TearDown() override
    {
        frmComms::Unload();
        frmComms::ResetStandIn();
        for (void (*unload)() : {&frmDiagnostics::Unload, &FrmStats::Unload, &frmTreeView::Unload,
                                 &frmGrid::Unload, &frmHistory::Unload, &frmComments::Unload})
            unload();
        platform::SetShellOpenHandler({});
        platform::SetPlainMessageHandler({});
        SetEndProcessHook({});
        MainWindowTest::TearDown();
    }

    // Checks every row against the window for one kind of site.
    void CheckTree(bool rlm)
    {
        for (const auto& [name, caption] : kMenus) {
            QMenu* menu = form->Menu(name);
            ASSERT_NE(menu, nullptr) << name;
            EXPECT_EQ(menu->title(), caption) << name;
        }
        std::map<QString, QStringList> order;
        for (const Row& row : kTree) {
            QAction* item = form->MenuItem(row.name);
            ASSERT_NE(item, nullptr) << row.name;
            if (std::string_view(row.caption) == "-")
                EXPECT_TRUE(item->isSeparator()) << row.name;
            else
                EXPECT_EQ(item->text(), row.caption) << row.name;
            EXPECT_EQ(item->isVisible(), rlm ? row.rlm : row.hub)
                << row.name << (rlm ? " on an RLM site" : "");
            EXPECT_TRUE(item->shortcut().isEmpty()) << row.name;
            order[row.menu] << row.name;
        }
        // Each menu holds its items in the order of the tree.
        for (const auto& [menu, names] : order) {
            QStringList actual;
            for (QAction* action : form->Menu(menu)->actions())
                actual << action->objectName();
            EXPECT_EQ(actual, names) << menu.toStdString();
        }
        for (const auto& [key, hub, onRlm] : kButtons) {
            ASSERT_NE(form->ToolButton(key), nullptr) << key;
            EXPECT_EQ(form->ToolButton(key)->isVisible(), rlm ? onRlm : hub) << key;
        }
        EXPECT_EQ(form->MenuItem("ViewMenu")->isEnabled(), !rlm);
        // A hidden item reads as disabled; show it to see its own state.
        QAction* nodeComms = form->MenuItem("NodeComms");
        const bool visible = nodeComms->isVisible();
        nodeComms->setVisible(true);
        EXPECT_EQ(nodeComms->isEnabled(), !rlm);
        nodeComms->setVisible(visible);
    }

    // Runs the armed launch.
    void Tick()
    {
        ASSERT_TRUE(form->CommsFormTimer()->isActive());
        QTest::qWait(form->CommsFormTimer()->interval() + 30);
        QApplication::processEvents();
    }

    // The platform's plain boxes shown: "title: text (style)".
    QStringList plain;

    // Answers every program message box with the button of that caption.
    void AnswerWith(const QString& caption)
    {
        answer = caption;
        AnswerMessages();
    }
};

} // namespace

TEST_F(MenusTest, EveryMenuItemAndButtonOnAHubSiteAndOnAnRlmSite)
{
    Load();
    CheckTree(false);
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "No Files");
    EXPECT_FALSE(form->MenuItem("FileMRU_1")->isEnabled());

    IsLoopInterface = true;
    form->CheckIsLoopInterfaceOptions();
    CheckTree(true);

    // Back on a hub site every hub command is offered again.
    IsLoopInterface = false;
    form->CheckIsLoopInterfaceOptions();
    CheckTree(false);
    form->CheckIsLoopInterfaceOptions();
    CheckTree(false);
}

TEST_F(MenusTest, LaunchesArmTheTimerAndTheLastOneWins)
{
    LoadSite();
    const std::pair<void (frmMain::*)(), std::pair<int32_t, int>> launches[] = {
        {&frmMain::HubProgram_Click, {1, 10}},        {&frmMain::HubProgramToolsMenu_Click, {1, 10}},
        {&frmMain::HubCompare_Click, {2, 10}},        {&frmMain::HubComms_Click, {4, 10}},
        {&frmMain::CompareConfig_Click, {2, 10}},     {&frmMain::mnuOpenComms_Click, {4, 10}},
        {&frmMain::ReadConfig_Click, {3, 100}},       {&frmMain::HubRead_Click, {3, 100}},
        {&frmMain::TolsReadRLM_Click, {3, 100}},      {&frmMain::TolsReadRLMFile_Click, {3, 100}},
        {&frmMain::TolsReadRLMPopup_Click, {3, 100}}, {&frmMain::ToolsHubRead_Click, {3, 100}},
        {&frmMain::RCCCompare_Click, {2, 10}},        {&frmMain::Read_Diags, {3, 10}},
    };
    for (const auto& [launch, expected] : launches) {
        (form.get()->*launch)();
        EXPECT_TRUE(form->CommsFormTimer()->isActive());
        EXPECT_EQ(CommsAction, expected.first);
        EXPECT_EQ(form->CommsFormTimer()->interval(), expected.second);
    }
    ActiveNode = 2;
    form->ToolsRCCRead_Click();
    EXPECT_EQ(CommsAction, 3);
    EXPECT_EQ(form->CommsFormTimer()->interval(), 10);
    EXPECT_EQ(ActiveNode, 2);
    // Nothing has opened yet: the menu handler returns first.
    EXPECT_EQ(frmComms::Loaded(), nullptr);

    // A read armed and then an open-only launch: the window opens once, for
    // the open only.
    frmComms::StandInPortOpens = true;
    form->ReadConfig_Click();
    form->HubComms_Click();
    Tick();
    EXPECT_FALSE(form->CommsFormTimer()->isActive());
    ASSERT_NE(frmComms::Loaded(), nullptr);
    EXPECT_TRUE(frmComms::StandInCalls.isEmpty());
    EXPECT_TRUE(CommsFormActive);
    EXPECT_FALSE(form->isEnabled());
    QTest::qWait(150);
    EXPECT_TRUE(frmComms::StandInCalls.isEmpty()); // fired once only

    frmComms::Unload();
    QApplication::processEvents();
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(CommsFormActive);
}

TEST_F(MenusTest, TheTickRunsTheActionOnTheWindow)
{
    LoadSite();
    frmComms::StandInPortOpens = true;
    const std::pair<void (frmMain::*)(), const char*> launches[] = {
        {&frmMain::HubProgram_Click, "cmdProgram_Click"},
        {&frmMain::CompareConfig_Click, "CompareConfig_Click"},
        {&frmMain::ReadConfig_Click, "ReadConfig_Click"},
    };
    for (const auto& [launch, expected] : launches) {
        frmComms::StandInCalls.clear();
        (form.get()->*launch)();
        Tick();
        EXPECT_EQ(frmComms::StandInCalls, QStringList{expected});
        EXPECT_FALSE(form->isEnabled());
    }
    // A launch while a window is still loaded replaces that window.
    QPointer<frmComms> first = frmComms::Loaded();
    form->HubComms_Click();
    Tick();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(frmComms::Loaded(), nullptr);
}

TEST_F(MenusTest, LaunchesChooseTheirTarget)
{
    LoadSite();
    ClickCaption(3, Qt::LeftButton);
    // From the Tools menu with an RCC selected the program launch targets
    // the RCC, and so do the RCC commands.
    form->HubProgramToolsMenu_Click();
    EXPECT_EQ(ActiveNode, 3);
    form->RCCCompare_Click();
    EXPECT_EQ(ActiveNode, 3);

    form->mnuOpenComms_Click();
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(SelectedNode, 0);
    EXPECT_EQ(PreviousSelectedNode, 3);
    EXPECT_FALSE(form->Dragging());
    EXPECT_FALSE(form->NodeDrag()->isVisible());
    EXPECT_EQ(Border(0), 0x0000FFu);
    EXPECT_NE(Border(3), 0x0000FFu);
    // The hub already selected is not selected again.
    form->mnuOpenComms_Click();
    EXPECT_EQ(PreviousSelectedNode, 3);

    ClickCaption(2, Qt::LeftButton);
    form->ReadConfig_Click();
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(PreviousSelectedNode, 2);

    FileLoaded = true;
    form->Read_Diags();
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_FALSE(FileLoaded);
}

TEST_F(MenusTest, AnRccReadNeedsAnRcc)
{
    LoadSite();
    IsLoopInterface = true;
    for (int node : {-1, 0}) {
        ActiveNode = static_cast<int16_t>(node);
        form->ToolsRCCReadPopup_Click();
        EXPECT_FALSE(form->CommsFormTimer()->isActive());
    }
    ASSERT_EQ(plain.size(), 2);
    EXPECT_EQ(plain[0], "Read an RCC: Please Select an RCC and then Try Again (16)");
    EXPECT_TRUE(IsLoopInterface); // left as it was

    // The platform's own box shows the style's critical icon.
    platform::SetPlainMessageHandler({});
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(20, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            icon = box->icon();
            box->accept();
        }
    });
    form->ToolsRCCRead_Click();
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST_F(MenusTest, APortThatDoesNotOpenIsReportedAndChangesNothing)
{
    LoadSite();
    ClickCaption(4, Qt::LeftButton);
    form->RCCCompare_Click();
    Tick();
    form->Read_Diags();
    Tick();
    form->TolsReadRLM_Click();
    Tick();
    ASSERT_EQ(plain.size(), 3);
    EXPECT_EQ(plain[0], "Open Communications with RCC 4: Unable to Communicate with Selected Device (16)");
    EXPECT_EQ(plain[1],
              "Open Communications with Radio Hub: Unable to Communicate with Selected Device (16)");
    EXPECT_EQ(plain[2],
              "Open Communications with Radio Hub: Unable to Communicate with Selected Device (16)");
    EXPECT_TRUE(frmComms::StandInCalls.isEmpty());
    EXPECT_EQ(frmComms::Loaded(), nullptr);
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(IsLoopInterface);
    EXPECT_TRUE(form->MenuItem("ReadConfig")->isVisible());

    // From the start page, on an empty site: nothing names a hub that is
    // not there.
    form.reset();
    model::ResetSite();
    Load();
    ActiveNode = 0;
    form->Read_Diags();
    Tick();
    EXPECT_EQ(plain.size(), 4);
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(form->PanelText(2), "");
    EXPECT_FALSE(form->ToolButton("Properties")->isEnabled());
}

TEST_F(MenusTest, AReadOfAnRlmSetsTheKindOfSiteUnlessItIsCancelled)
{
    LoadSite();
    frmComms::StandInPortOpens = true;
    form->TolsReadRLMFile_Click();
    EXPECT_FALSE(IsLoopInterface); // not before the window opens
    Tick();
    EXPECT_TRUE(IsLoopInterface);
    frmComms::Unload();
    QApplication::processEvents();

    // The user cancels the read at the save prompt: the window closes and
    // the site stays a hub site... here an RLM site, as it was.
    frmComms::StandInOnAction = [](frmComms&, const QString& action) {
        if (action == "ReadConfig_Click")
            frmComms::Unload();
    };
    form->ToolsHubRead_Click();
    Tick();
    EXPECT_EQ(frmComms::StandInCalls.last(), "ReadConfig_Click");
    EXPECT_TRUE(IsLoopInterface);
    EXPECT_TRUE(form->isEnabled());

    // A read that goes on keeps the kind it was started for.
    frmComms::StandInOnAction = nullptr;
    form->ToolsHubRead_Click();
    Tick();
    EXPECT_FALSE(IsLoopInterface);
}

TEST_F(MenusTest, OptionTogglesFlipTheirMarkAndLeaveTheSiteUnchanged)
{
    LoadSite();
    FileChanged = false;
    form->UpdateTitleBar();
    const QString title = form->windowTitle();
    struct Toggle
    {
        void (frmMain::*click)();
        bool* value;
        const char* item;
    };
    const Toggle toggles[] = {
        {&frmMain::EnableProgLog_Click, &LogProg, "EnableProgLog"},
        {&frmMain::EnableDiagsLog_Click, &LogDiags, "EnableDiagsLog"},
        {&frmMain::ConfirmDiffs_Click, &ConfirmDiffs, "ConfirmDiffs"},
        {&frmMain::UseLastOnStart_Click, &ReOpenLastUsed, "UseLastOnStart"},
        {&frmMain::OptionsSiteName_Click, &ShowSiteName, "OptionsSiteName"},
        {&frmMain::OutlineSiteName_Click, &BorderSiteName, "OutlineSiteName"},
    };
    for (const Toggle& t : toggles) {
        const bool before = *t.value;
        (form.get()->*t.click)();
        EXPECT_EQ(*t.value, !before) << t.item;
        EXPECT_EQ(form->MenuItem(t.item)->isChecked(), !before) << t.item;
        form->MenuItem(t.item)->trigger(); // the menu runs the same toggle
        EXPECT_EQ(*t.value, before) << t.item;
        EXPECT_EQ(form->MenuItem(t.item)->isChecked(), before) << t.item;
    }
    ShowSiteName = true;
    BorderSiteName = false;
    form->OptionsSiteName_Click();
    EXPECT_FALSE(form->SiteNameLabel()->isVisible());
    form->OptionsSiteName_Click();
    EXPECT_TRUE(form->SiteNameLabel()->isVisible());
    form->OutlineSiteName_Click();
    EXPECT_EQ(form->SiteNameLabel()->frameShape(), QFrame::Box);
    form->OutlineSiteName_Click();
    EXPECT_EQ(form->SiteNameLabel()->frameShape(), QFrame::NoFrame);

    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(form->windowTitle(), title);
}

TEST_F(MenusTest, OptionsReachSettingsAtExit)
{
    QTemporaryDir folder;
    platform::SetProgramFolder(folder.path().toStdString());
    int ended = -1;
    SetEndProcessHook([&](int code) { ended = code; });
    LoadSite();
    FileChanged = false;
    const bool prog = LogProg, diags = LogDiags, confirm = ConfirmDiffs, last = ReOpenLastUsed, bar = Toolbar;
    form->EnableProgLog_Click();
    form->EnableDiagsLog_Click();
    form->ConfirmDiffs_Click();
    form->UseLastOnStart_Click();
    form->ViewToolbar_Click();
    form->MenuItem("FileExit")->trigger();
    EXPECT_EQ(ended, 0);

    ResetSettings();
    LoadSettings();
    EXPECT_EQ(LogProg, !prog);
    EXPECT_EQ(LogDiags, !diags);
    EXPECT_EQ(ConfirmDiffs, !confirm);
    EXPECT_EQ(ReOpenLastUsed, !last);
    EXPECT_EQ(Toolbar, !bar);
    platform::SetProgramFolder("");
}

TEST_F(MenusTest, ExitStopsWhileSavingOrWhenTheUserCancels)
{
    AnswerWith("Cancel");
    int ended = -1;
    SetEndProcessHook([&](int code) { ended = code; });
    LoadSite();
    form->SiteNameEdit()->setText("Edited Name");
    form->SiteNameEdit()->show();
    FileChanged = false;
    form->FileExit_Click();
    // The open site-name edit is committed first, which changes the site,
    // so the save prompt comes up.
    EXPECT_EQ(SiteName, "Edited Name");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Do You Want To Save Them?"));
    EXPECT_EQ(ended, -1);
}

TEST_F(MenusTest, TheToolbarCanBeHiddenAndTheCanvasTakesItsPlace)
{
    Toolbar = true;
    Load();
    const long height = form->HeightTwips();
    form->ViewToolbar_Click();
    EXPECT_FALSE(Toolbar);
    EXPECT_FALSE(form->ToolBar1()->isVisible());
    EXPECT_FALSE(form->MenuItem("ViewToolbar")->isChecked());
    EXPECT_EQ(form->Canvas()->TopTwips(), 0);
    EXPECT_NEAR(form->Canvas()->HeightTwips(), height - 1220, 15); // whole pixels

    form->ViewToolbar_Click();
    EXPECT_TRUE(Toolbar);
    EXPECT_TRUE(form->ToolBar1()->isVisible());
    EXPECT_TRUE(form->MenuItem("ViewToolbar")->isChecked());
    EXPECT_EQ(form->Canvas()->TopTwips(), 450);
    EXPECT_NEAR(form->Canvas()->HeightTwips(), height - 1670, 15);
}

TEST_F(MenusTest, ToolbarButtonsRunTheirCommands)
{
    LoadSite();
    AnswerWith("No|Cancel"); // the delete question, the find box; the new-site dialog is cancelled
    NodeQuickInfoMode = 0;
    form->ToolBar1_ButtonClick("IdentQI");
    EXPECT_EQ(NodeQuickInfoMode, 2);
    form->ToolBar1_ButtonClick("LoopQI");
    EXPECT_EQ(NodeQuickInfoMode, 1);
    form->ToolBar1_ButtonClick("Radio");
    EXPECT_EQ(NodeQuickInfoMode, 3);
    form->ToolBar1_ButtonClick("NoQI");
    EXPECT_EQ(NodeQuickInfoMode, 0);

    QSignalSpy deletes(form->MenuItem("RCCDelete"), &QAction::triggered);
    QSignalSpy edits(form->MenuItem("PopupNodeEdit"), &QAction::triggered);
    QSignalSpy news(form->MenuItem("NewFile"), &QAction::triggered);
    QSignalSpy finds(form->MenuItem("FindDevice"), &QAction::triggered);
    ActiveNode = -1;
    form->ToolBar1_ButtonClick("Delete");
    form->ToolBar1_ButtonClick("Properties");
    EXPECT_EQ(deletes.count(), 0);
    EXPECT_EQ(edits.count(), 0);
    ClickCaption(2, Qt::LeftButton);
    form->ToolButton("Delete")->trigger();
    form->ToolButton("Properties")->trigger();
    form->ToolButton("New")->trigger();
    form->ToolButton("Find")->trigger();
    EXPECT_EQ(deletes.count(), 1);
    EXPECT_EQ(edits.count(), 1);
    EXPECT_EQ(news.count(), 1);
    EXPECT_EQ(finds.count(), 1);

    // Nothing while the communications window is loaded.
    CommsFormActive = true;
    for (const auto& [key, hub, rlm] : kButtons)
        form->ToolBar1_ButtonClick(key);
    EXPECT_EQ(NodeQuickInfoMode, 0);
    EXPECT_EQ(deletes.count(), 1);
    EXPECT_EQ(news.count(), 1);
    CommsFormActive = false;
}

TEST_F(MenusTest, TheLockPanelTogglesTheLock)
{
    LoadSite();
    Locked = false;
    FileChanged = false;
    QLabel* lockPanel = form->findChild<QLabel*>("StatusBar1_Panel1");
    ASSERT_NE(lockPanel, nullptr);
    QTest::mouseClick(lockPanel, Qt::LeftButton);
    EXPECT_TRUE(Locked);
    EXPECT_TRUE(form->MenuItem("LockObjects")->isChecked());
    EXPECT_EQ(form->LockPicture(), "LOCKED");
    QTest::mouseClick(form->findChild<QLabel*>("StatusBar1_Panel2"), Qt::LeftButton);
    form->StatusBar1_PanelClick(4);
    EXPECT_TRUE(Locked);
    form->StatusBar1_PanelClick(1);
    EXPECT_FALSE(Locked);
    EXPECT_FALSE(form->MenuItem("LockObjects")->isChecked());
    EXPECT_EQ(form->LockPicture(), "UNLOCKED");
    EXPECT_FALSE(FileChanged);
}

TEST_F(MenusTest, DiagnosticsSelectsTheHubAndOpensItsWindow)
{
    LoadSite();
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);
    form->Diagnostics_Click();
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(SelectedNode, 0);
    EXPECT_EQ(PreviousSelectedNode, 3);
    EXPECT_EQ(Border(0), 0x0000FFu);
    EXPECT_EQ(Border(3), 0u);
    EXPECT_EQ(Border(4), 0u); // the child highlight is gone
    ASSERT_NE(frmDiagnostics::Loaded(), nullptr);
    EXPECT_TRUE(frmDiagnostics::Loaded()->isVisible());
}

TEST_F(MenusTest, ViewAndHelpCommandsOpenTheirWindows)
{
    Load();
    form->ConfigStats_Click();
    form->TreeView_Click();
    form->ViewGrid_Click();
    form->HelpHistory_Click();
    form->ReportComments_Click();
    for (QWidget* window :
         std::initializer_list<QWidget*>{FrmStats::Loaded(), frmTreeView::Loaded(), frmGrid::Loaded(),
                                         frmHistory::Loaded(), frmComments::Loaded()}) {
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
    }

    QString aboutTitle;
    bool modal = false;
    QTimer::singleShot(20, [&] {
        auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (about == nullptr)
            return;
        aboutTitle = about->objectName();
        modal = about->isModal();
        about->reject();
    });
    form->HelpAbout_Click();
    EXPECT_EQ(aboutTitle, "frmAbout");
    EXPECT_TRUE(modal);
}

TEST_F(MenusTest, TheUsersGuideIsOpenedWhenItIsThere)
{
    QTemporaryDir folder;
    platform::SetProgramFolder(folder.path().toStdString());
    QList<QUrl> opened;
    platform::SetShellOpenHandler([&](const QUrl& url) {
        opened << url;
        return true;
    });
    Load();
    form->HelpGuide_Click();
    const QString guide = QDir(folder.path()).filePath("Users Guide.pdf");
    EXPECT_TRUE(opened.isEmpty()); // no guide: nothing handed on, nothing shown
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    form->MenuItem("HelpGuide")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), guide);
    platform::SetProgramFolder("");
}

TEST_F(MenusTest, TheLogCommandsOpenThePanelInTheirMode)
{
    Load();
    LogsFrame* panel = form->LogsPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    form->MenuItem("SetCommsPaths")->trigger();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->title(), "Set Comms Logs Folder");
    EXPECT_EQ(panel->cmdSelect()->text(), "Select");
    EXPECT_EQ(panel->Dir1Path(), QString::fromStdString(LogFolder));
    form->MenuItem("ExportLogs")->trigger();
    EXPECT_EQ(panel->title(), "Export Comms Logs");
    EXPECT_EQ(panel->cmdSelect()->text(), "Export");
    // Laid out inside the window below the toolbar.
    EXPECT_GT(panel->width(), form->width() / 2);
    EXPECT_GT(panel->Dir1()->height(), 0);
    panel->cmdCancel()->click();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(MenusTest, TheCheckShowsTheErrorListOrSaysThereAreNone)
{
    AnswerMessages();
    Load();
    // A hub with everything it needs and nothing else: no faults.
    model::clsNode& hub = model::Nodes[0];
    hub.SetInUse(true);
    hub.SetNodeLoop(1);
    hub.SetNodeAddress(1);
    hub.SetNodeIdent("00001");
    hub.SetY_ChannelA(22);
    hub.SetY_ChannelB(8);
    model::ErrorCheckMode = 3;
    form->MenuItem("ErrorCheck")->trigger();
    EXPECT_EQ(model::ErrorCheckMode, 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "Check Configuration for Errors: No Errors Found in Configuration");
    EXPECT_EQ(frmErrorCheck::Loaded(), nullptr);

    model::Nodes[1].SetInUse(true); // an RCC without ident, loop or channels
    form->ToolBar1_ButtonClick("Check");
    EXPECT_GT(model::MessageCount(), 0);
    ASSERT_NE(frmErrorCheck::Loaded(), nullptr);
    EXPECT_TRUE(frmErrorCheck::Loaded()->isVisible());
    EXPECT_EQ(messages.size(), 1);
    frmErrorCheck::Loaded()->close();
}

TEST_F(MenusTest, CommsSettingsOpenThePortWindowOverTheMainWindow)
{
    Load();
    form->MenuItem("SetComms")->trigger();
    QApplication::processEvents();
    auto* port = form->findChild<frmPortForm*>();
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->isVisible());
    EXPECT_FALSE(port->isModal());
    const QPoint centre = form->frameGeometry().center();
    EXPECT_LE((port->frameGeometry().center() - centre).manhattanLength(), 4);
    port->close();
}
