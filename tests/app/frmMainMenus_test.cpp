// The main window's menus, toolbar, options and communications launches.
#include "app/LogsFrame.h"
#include "app/frmErrorCheck.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/frmPortForm.h"
#include "model/ConfigurationCheck.h"
#include "app/core/ErrorListText.h"
#include "platform/FileDialogs.h"
#include "platform/PlainMessageBox.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "platform/ShellOpen.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TimeoutScale.h"
#include "views/FrmStats.h"
#include "views/frmComments.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"
#include "views/frmTreeView.h"
#include "support/SimulatedPort.h"

#include "app/frmMainFixture.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>

namespace {

// Items and toolbar buttons: shown on a hub site, shown on an RLM site.
const std::tuple<const char*, bool, bool> kItems[] = {
    {"ReadConfig", true, false},         {"TolsReadRLMFile", false, true},    {"AddRCC", true, false},
    {"ErrorCheck", true, false},         {"CompareConfig", true, false},      {"TolsReadRLM", true, true},
    {"ToolsHubRead", true, true},        {"ToolsRCCRead", true, false},       {"HubProgramToolsMenu", true, false},
    {"mnuOpenComms", true, false},       {"TolsReadRLMPopup", false, true},   {"RCCCompare", true, false},
    {"ToolsRCCReadPopup", true, false},  {"RCCDelete", true, false},          {"NodeComms", false, false},
    {"PrintConfig", false, false},       {"HelpHistory", false, false},       {"HelpGuide", true, true},
};
const std::tuple<const char*, bool, bool> kButtons[] = {
    {"New", true, true},   {"Delete", true, false}, {"Add", true, false},   {"Check", true, false},
    {"Find", true, false}, {"Print", false, false}, {"Properties", true, true}, {"IdentQI", true, true},
};

class MenusTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The windows a launch opens talk to the unit with patient time-outs:
        // an answer held up by a busy machine is never taken for a missing one.
        platform::SetTimeoutScale(5.0);
        // The port opens only once a test plugs the unit in.
        platform::ResetPortList();
        PortNumber = 9;
        platform::SetComPortPath(9, "/nonexistent/tty-of-no-unit");
        const auto recordIn = [this](QStringList& shown) {
            return [this, &shown](QWidget* owner, const std::string& text, int32_t style, const std::string& title) {
                shown << QString("%1: %2 (%3)").arg(QString::fromStdString(title), QString::fromStdString(text)).arg(style);
                owners << (owner != nullptr ? owner->objectName() : QString());
                return 1;
            };
        };
        platform::SetProgramMessageHandler(recordIn(boxes));
        platform::SetPlainMessageHandler(recordIn(plain));
    }
    void TearDown() override
    {
        frmComms::Unload();
        platform::SetTimeoutScale(1.0);
        platform::ResetPortList();
        platform::SetProgramMessageHandler({});
        for (void (*unload)() : {&frmDiagnostics::Unload, &FrmStats::Unload, &frmTreeView::Unload,
                                 &frmGrid::Unload, &frmHistory::Unload, &frmComments::Unload})
            unload();
        platform::SetShellOpenHandler({});
        platform::SetPlainMessageHandler({});
        SetEndProcessHook({});
        MainWindowTest::TearDown();
    }

    // What the window offers on one kind of site.
    void CheckKind(bool rlm)
    {
        for (const auto& [name, hub, onRlm] : kItems)
            EXPECT_EQ(form->MenuItem(name)->isVisible(), rlm ? onRlm : hub) << name << (rlm ? " on RLM" : "");
        for (const auto& [key, hub, onRlm] : kButtons)
            EXPECT_EQ(form->ToolButton(key)->isVisible(), rlm ? onRlm : hub) << key << (rlm ? " on RLM" : "");
        EXPECT_EQ(form->MenuItem("ViewMenu")->isEnabled(), !rlm);
    }

    // Runs the armed launch: its tick stops the timer before it works.
    void Tick()
    {
        ASSERT_TRUE(form->CommsFormTimer()->isActive());
        platform::WaitUntil([this] { return !form->CommsFormTimer()->isActive(); });
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A unit on the cable: the communications window's port opens.
    void PlugIn(UnitKind kind = UnitKind::Hub)
    {
        unit.SetKind(kind);
        if (!port)
            port = std::make_unique<SimulatedPort>(unit);
        platform::SetComPortPath(9, port->SlavePath());
    }

    // The last line of the loaded communications window's status box.
    static QString LastLogLine()
    {
        frmComms* comms = frmComms::Loaded();
        return comms == nullptr ? QString() : comms->StatusRTF->toPlainText().trimmed().section('\n', -1);
    }

    // Plain and program boxes shown: "title: text (style)"; the name of
    // each one's owner, in the order shown.
    QStringList plain;
    QStringList boxes;
    QStringList owners;
    SimulatedUnit unit;
    std::unique_ptr<SimulatedPort> port;

    // Answers every program message box with the button of that caption.
    void AnswerWith(const QString& caption)
    {
        answer = caption;
        AnswerMessages();
    }
};

} // namespace

TEST_F(MenusTest, MenusAndButtonsFollowTheKindOfSite)
{
    Load();
    CheckKind(false);
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "No Files");
    EXPECT_FALSE(form->MenuItem("FileMRU_1")->isEnabled());

    IsLoopInterface = true;
    form->CheckIsLoopInterfaceOptions();
    CheckKind(true);

    // Back on a hub site every hub command is offered again.
    IsLoopInterface = false;
    form->CheckIsLoopInterfaceOptions();
    CheckKind(false);
}

TEST_F(MenusTest, LaunchesArmTheTimerAndTheLastOneWins)
{
    LoadSite();
    // Each menu item runs its own launch: the action and the timer's interval.
    const std::tuple<const char*, int32_t, int> launches[] = {
        {"HubProgram", 1, 10},        {"HubProgramToolsMenu", 1, 10}, {"HubCompare", 2, 10},
        {"HubComms", 4, 10},          {"CompareConfig", 2, 10},       {"mnuOpenComms", 4, 10},
        {"ReadConfig", 3, 100},       {"HubRead", 3, 100},            {"TolsReadRLM", 3, 100},
        {"TolsReadRLMFile", 3, 100},  {"TolsReadRLMPopup", 3, 100},   {"ToolsHubRead", 3, 100},
        {"RCCCompare", 2, 10},
    };
    for (const auto& [item, action, interval] : launches) {
        hublink::CommsAction = 0;
        form->CommsFormTimer()->stop();
        form->MenuItem(item)->trigger();
        EXPECT_TRUE(form->CommsFormTimer()->isActive()) << item;
        EXPECT_EQ(hublink::CommsAction, action) << item;
        EXPECT_EQ(form->CommsFormTimer()->interval(), interval) << item;
    }
    ActiveNode = 2;
    form->ToolsRCCRead_Click(); // an RCC's read starts sooner
    EXPECT_EQ(form->CommsFormTimer()->interval(), 10);
    // Nothing has opened yet: the menu handler returns first.
    EXPECT_EQ(frmComms::Loaded(), nullptr);

    // A read armed, then an open-only launch: the window opens once, to open only.
    PlugIn();
    form->ReadConfig_Click();
    form->HubComms_Click();
    Tick();
    ASSERT_NE(frmComms::Loaded(), nullptr);
    const QString log = frmComms::Loaded()->StatusRTF->toPlainText();
    EXPECT_TRUE(log.contains("Connected to Radio Hub"));
    EXPECT_FALSE(log.contains("Config Successfully Read"));
    EXPECT_FALSE(form->CommsFormTimer()->isActive()); // fired once only

    frmComms::Unload();
    QApplication::processEvents();
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(MenusTest, TheTickRunsTheActionOnTheWindow)
{
    LoadSite();
    FileChanged = false;
    PlugIn();
    // The site has no idents: programming stops at the site check, the
    // compare at the hub's ident.
    const std::pair<void (frmMain::*)(), const char*> launches[] = {
        {&frmMain::HubProgram_Click, ""},
        {&frmMain::CompareConfig_Click, "Ident Mismatch"},
        {&frmMain::ReadConfig_Click, "Config Successfully Read"},
    };
    for (const auto& [launch, expected] : launches) {
        (form.get()->*launch)();
        Tick();
        EXPECT_EQ(LastLogLine(), expected);
        EXPECT_FALSE(form->isEnabled()) << plain.join('\n').toStdString();
    }
    // A launch while a window is still loaded replaces that window.
    QPointer<frmComms> first = frmComms::Loaded();
    form->HubComms_Click();
    Tick();
    EXPECT_TRUE(first.isNull());
    // Closed as by its frame, the window goes and gives the main window back.
    frmComms::Loaded()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmComms::Loaded(), nullptr);
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(MenusTest, AReadOfAnRlmSetsTheKindOfSiteUnlessItIsCancelled)
{
    LoadSite();
    FileChanged = false;
    PlugIn(UnitKind::Rlm);
    form->TolsReadRLMFile_Click();
    EXPECT_FALSE(IsLoopInterface); // not before the window opens
    Tick();
    EXPECT_TRUE(IsLoopInterface);
    EXPECT_EQ(LastLogLine(), "Config Successfully Read");
    frmComms::Unload();
    QApplication::processEvents();

    // A read cancelled at the save prompt closes the window; the kind stays.
    // The prompt stands with the window doing the read.
    FileChanged = true;
    WhenShown<frmMsg>("frmMsg", [](frmMsg* box) {
        EXPECT_EQ(box->windowHandle()->transientParent(), frmComms::Loaded()->windowHandle());
        PressButton(box, "Cancel");
    });
    form->ToolsHubRead_Click();
    Tick();
    EXPECT_EQ(frmComms::Loaded(), nullptr);
    EXPECT_TRUE(IsLoopInterface);

    // A read that goes on keeps the kind it was started for.
    PlugIn(UnitKind::Hub);
    AnswerWith("No");
    form->ToolsHubRead_Click();
    Tick();
    EXPECT_FALSE(IsLoopInterface);
    EXPECT_EQ(LastLogLine(), "Config Successfully Read");
}

TEST_F(MenusTest, LaunchesChooseTheirTarget)
{
    LoadSite();
    ClickCaption(3, Qt::LeftButton);
    // With an RCC selected the Tools program launch and RCC commands target it.
    form->HubProgramToolsMenu_Click();
    EXPECT_EQ(ActiveNode, 3);
    form->RCCCompare_Click();
    EXPECT_EQ(ActiveNode, 3);

    form->mnuOpenComms_Click();
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(PreviousSelectedNode, 3);
    // The hub already selected is not selected again.
    form->mnuOpenComms_Click();
    EXPECT_EQ(PreviousSelectedNode, 3);

    FileLoaded = true;
    form->Read_Diags();
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_FALSE(FileLoaded);
}

TEST_F(MenusTest, AnRccReadNeedsAnRccAndLeavesTheKindOfSite)
{
    LoadSite();
    IsLoopInterface = true;
    for (int node : {-1, 0}) { // nothing selected, or the hub
        ActiveNode = static_cast<int16_t>(node);
        form->ToolsRCCReadPopup_Click();
        EXPECT_FALSE(form->CommsFormTimer()->isActive()) << node;
    }
    ASSERT_EQ(plain.size(), 2);
    EXPECT_EQ(plain[0], "Read an RCC: Please Select an RCC and then Try Again (16)");
    EXPECT_EQ(plain[1], plain[0]);
    EXPECT_TRUE(IsLoopInterface);
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
    EXPECT_EQ(plain[2],
              "Open Communications with Radio Hub: Unable to Communicate with Selected Device (16)");
    EXPECT_EQ(boxes.size(), 3); // the port's own error each time
    // Each box is about the communications window and belongs to it.
    EXPECT_EQ(owners.join(' ').toStdString(), QStringList(6, "frmComms").join(' ').toStdString());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(IsLoopInterface);

    // On an empty site nothing names a hub that is not there.
    form.reset();
    model::ResetSite();
    Load();
    ActiveNode = 0;
    form->Read_Diags();
    Tick();
    EXPECT_EQ(plain.size(), 4);
    EXPECT_EQ(form->PanelText(2), "");
}

TEST_F(MenusTest, OptionTogglesFlipTheirMarkLeaveTheSiteUnchangedAndReachSettingsAtExit)
{
    QTemporaryDir folder;
    platform::SetProgramFolder(folder.path().toStdString());
    int ended = -1;
    SetEndProcessHook([&](int code) { ended = code; });
    LoadSite();
    FileChanged = false;
    form->UpdateTitleBar();
    const QString title = form->windowTitle();
    // The option, its item, whether the settings file keeps it.
    const std::tuple<bool*, const char*, bool> toggles[] = {
        {&LogProg, "EnableProgLog", true},         {&LogDiags, "EnableDiagsLog", true},
        {&ConfirmDiffs, "ConfirmDiffs", true},     {&ReOpenLastUsed, "UseLastOnStart", true},
        {&ShowSiteName, "OptionsSiteName", false}, {&BorderSiteName, "OutlineSiteName", false},
        {&Toolbar, "ViewToolbar", true},           {&CheckOnOpen, "CheckFileOpen", true}};
    std::vector<bool> before;
    for (const auto& [value, item, setting] : toggles) {
        before.push_back(*value);
        form->MenuItem(item)->trigger();
        EXPECT_EQ(*value, !before.back()) << item;
        EXPECT_EQ(form->MenuItem(item)->isChecked(), !before.back()) << item;
    }
    EXPECT_EQ(form->SiteNameLabel()->isVisible(), ShowSiteName);
    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(form->windowTitle(), title);

    form->MenuItem("FileExit")->trigger();
    EXPECT_EQ(ended, 0);
    ResetSettings();
    LoadSettings();
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(!std::get<2>(toggles[i]) || *std::get<0>(toggles[i]) != before[i]) << std::get<1>(toggles[i]);
    platform::SetProgramFolder("");
}

TEST_F(MenusTest, ASecondTriggerOfAnOptionFlipsItBack)
{
    LoadSite();
    const std::pair<bool*, const char*> toggles[] = {
        {&LogProg, "EnableProgLog"},      {&LogDiags, "EnableDiagsLog"},   {&ConfirmDiffs, "ConfirmDiffs"},
        {&ReOpenLastUsed, "UseLastOnStart"}, {&ShowSiteName, "OptionsSiteName"}, {&BorderSiteName, "OutlineSiteName"}};
    for (const auto& [value, item] : toggles) {
        const bool before = *value;
        form->MenuItem(item)->trigger();
        form->MenuItem(item)->trigger();
        EXPECT_EQ(*value, before) << item;
        EXPECT_EQ(form->MenuItem(item)->isChecked(), before) << item;
    }
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
    // The open site-name edit is committed first, so the save prompt comes up.
    EXPECT_EQ(SiteName, "Edited Name");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Do You Want To Save Them?"));
    EXPECT_EQ(ended, -1);
}

// The program's end with the editors open: their own boxes ask.
class ExitTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ShowMessagesInBoxes();
        SetEndProcessHook([this](int code) { ended = code; });
    }
    void TearDown() override
    {
        SetEndProcessHook({});
        MainWindowTest::TearDown();
    }
    int ended = -1;
};

// Pending edits in the editors are offered before the program ends, as
// closing the editor offers them, with Cancel besides to stay; they used to
// be lost without a word.
TEST_F(ExitTest, TheEditorsPendingEditsAreOfferedBeforeTheProgramEnds)
{
    LoadSite();
    FileChanged = false;
    const std::string name = model::Nodes[1].Name();
    form->ActivateNode(1);
    form->PopupNodeEdit_Click();
    form->PopupNodeDevices_Click();
    QPointer<frmNodeSettings> settings = frmNodeSettings::Loaded();
    QPointer<frmDevices> devices = frmDevices::Loaded();
    settings->NameText->setText("Renamed");
    devices->SelectDevice(1);
    devices->cmdDel_Click();
    ASSERT_TRUE(settings->Changed() && devices->Changed());

    {
        BoxAnswers answers{{"Cancel"}};
        form->FileExit_Click();
        EXPECT_EQ(answers.titles, QStringList{"Close Device Details Form"});
        EXPECT_EQ(ended, -1);
        EXPECT_TRUE(devices != nullptr && devices->Changed());
        EXPECT_NE(model::Nodes[1].DeviceType(1), 0);
    }
    {
        // Closing the window: Yes applies the devices, then the properties
        // question is cancelled.
        BoxAnswers answers{{"Yes"}, {"Cancel"}};
        form->close();
        EXPECT_EQ(answers.titles, (QStringList{"Close Device Details Form", "Close Node Properties Form"}));
        EXPECT_EQ(ended, -1);
        EXPECT_EQ(model::Nodes[1].DeviceType(1), 0);
        EXPECT_TRUE(FileChanged);
        EXPECT_EQ(frmDevices::Loaded(), nullptr);
        EXPECT_TRUE(settings != nullptr && settings->Changed());
    }
    {
        // No drops the name; the site's own question follows.
        BoxAnswers answers{{"No"}, {"No"}};
        form->FileExit_Click();
        EXPECT_EQ(answers.titles, (QStringList{"Close Node Properties Form", "Save Changes ?"}));
        EXPECT_EQ(ended, 0);
        EXPECT_EQ(model::Nodes[1].Name(), name);
    }
}

// While the program waits on another window (a serial window, a box), a
// close of the main window changes nothing; once nothing waits, the close
// ends the program.
TEST_F(MenusTest, AClosingWhileTheProgramWaitsOnAnotherWindowChangesNothing)
{
    QTemporaryDir folder;
    platform::SetProgramFolder(folder.path().toStdString());
    int ended = -1;
    SetEndProcessHook([&](int code) { ended = code; });
    // Closes the main window; ends tells whether that ended the program.
    bool ends = false;
    const auto closeMain = [&] {
        ended = -1;
        form->close();
        ends = ended == 0;
    };
    LoadSite();
    FileChanged = false;
    PlugIn();
    form->mnuOpenComms_Click();
    Tick();
    QPointer<frmComms> comms = frmComms::Loaded();
    ASSERT_TRUE(comms != nullptr && !form->isEnabled());
    closeMain();
    EXPECT_FALSE(ends) << "closed over the communications window";
    EXPECT_EQ(frmComms::Loaded(), comms.data());
    comms->cmdCancel_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    form->Diagnostics_Click();
    QPointer<frmDiagnostics> diagnostics = frmDiagnostics::Loaded();
    ASSERT_NE(diagnostics, nullptr);
    ASSERT_TRUE(platform::WaitUntil([&] { return !diagnostics->Loading() && !diagnostics->RefreshBusy; }, 60000));
    closeMain();
    EXPECT_FALSE(ends) << "closed over the diagnostics window";
    diagnostics->Diags().Link().Timer().Stop();
    platform::UnloadFormNow(diagnostics);
    ASSERT_TRUE(form->isEnabled());

    // A box of the program's own, and a platform box.
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        closeMain();
        PressButton(box, "OK");
    });
    frmMsg::Display(form.get(), "Log File Erased", MessageStyle::Information, "Clear Log File");
    EXPECT_FALSE(ends) << "closed over a box";
    QTimer::singleShot(0, form.get(), [&] {
        closeMain();
        QApplication::activeModalWidget()->close();
    });
    platform::PlainMessageBox(form.get(), "Unable To Get Status", MessageStyle::Critical, "Get Device Statuses");
    EXPECT_FALSE(ends) << "closed over a platform box";

    closeMain();
    EXPECT_TRUE(ends) << "nothing waits";
    platform::SetProgramFolder("");
}

// A second copy's file that arrives while the program waits on another
// window (the communications window, a box) leaves the site as it is; it
// opens, through the save question, once that window has gone.
TEST_F(MenusTest, ASecondCopysFileWaitsUntilTheProgramNoLongerWaits)
{
    QTemporaryDir folder;
    const QString first = folder.filePath("first.qvs");
    const QString second = folder.filePath("second.qvs");
    ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/hub-site.qvs", first));
    ASSERT_TRUE(QFile::copy(QVS_TEST_DATA "/loop-interface.qvs", second));
    LoadSite();
    FileChanged = true;
    AnswerWith("No");
    PlugIn();
    form->mnuOpenComms_Click();
    Tick();
    QPointer<frmComms> comms = frmComms::Loaded();
    ASSERT_TRUE(comms != nullptr && !form->isEnabled());
    form->OpenFileFromMessage(first.toStdString());
    QApplication::processEvents();
    EXPECT_EQ(SiteFileName, "untitled.qvs") << "opened under the communications window";
    EXPECT_EQ(model::Nodes[4].Name(), "RCC name 4");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    comms->cmdCancel_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(platform::WaitUntil([&] { return SiteFileName == first.toStdString(); }, 60000));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Save Changes ?: ")) << messages[0].toStdString();
    EXPECT_FALSE(FileChanged);
    answerer.stop();

    // Under a box; a later hand-over replaces the one kept.
    std::string underTheBox;
    WhenShown<frmMsg>("frmMsg", [&](frmMsg* box) {
        form->OpenFileFromMessage("/nowhere/gone.qvs");
        form->OpenFileFromMessage(second.toStdString());
        QApplication::processEvents();
        underTheBox = SiteFileName;
        PressButton(box, "OK");
    });
    frmMsg::Display(form.get(), "Log File Erased", MessageStyle::Information, "Clear Log File");
    EXPECT_EQ(underTheBox, first.toStdString()) << "opened under a box";
    ASSERT_TRUE(platform::WaitUntil([&] { return SiteFileName == second.toStdString(); }, 60000));
    EXPECT_TRUE(IsLoopInterface);
}

TEST_F(MenusTest, ToolbarButtonsRunTheirCommands)
{
    LoadSite();
    AnswerWith("No|Cancel|OK"); // the delete question, the find box, the print answer; no new site
    for (const auto& [key, mode] : {std::pair{"IdentQI", 2}, {"LoopQI", 1}, {"Radio", 3}, {"NoQI", 0}}) {
        form->ToolBar1_ButtonClick(key);
        EXPECT_EQ(NodeQuickInfoMode, mode) << key;
    }

    // Each button runs its menu item once; Delete and Properties need a node.
    const std::pair<const char*, const char*> buttons[] = {{"Delete", "RCCDelete"}, {"Properties", "PopupNodeEdit"},
                                                           {"New", "NewFile"},      {"Find", "FindDevice"},
                                                           {"Open", "FileLoad"},    {"Save", "FileSave"},
                                                           {"Add", "AddRCC"},       {"Print", "PrintConfig"}};
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const auto& [key, item] : buttons)
        spies.push_back(std::make_unique<QSignalSpy>(form->MenuItem(item), &QAction::triggered));
    QSignalSpy& deletes = *spies[0];
    platform::SetFileDialogAnswerer([](const platform::FileDialogRequest&) { return std::optional<QString>(); });
    ActiveNode = -1;
    form->ToolBar1_ButtonClick("Delete");
    form->ToolBar1_ButtonClick("Properties");
    EXPECT_EQ(deletes.count() + spies[1]->count(), 0);
    ClickCaption(2, Qt::LeftButton);
    for (const auto& [key, item] : buttons)
        form->ToolButton(key)->trigger();
    platform::SetFileDialogAnswerer({});
    for (std::size_t i = 0; i < spies.size(); ++i)
        EXPECT_EQ(spies[i]->count(), 1) << buttons[i].first;
    // The hidden print command only says that it does not print.
    EXPECT_TRUE(messages.contains("Print A Configuration: Printing Is Not Yet Supported")) << messages.join('\n').toStdString();

    // Nothing while the communications window is loaded.
    CommsFormActive = true;
    form->ToolBar1_ButtonClick("Delete");
    EXPECT_EQ(deletes.count(), 1);
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
    QTest::mouseClick(form->findChild<QLabel*>("StatusBar1_Panel2"), Qt::LeftButton);
    EXPECT_TRUE(Locked);
    form->StatusBar1_PanelClick(1);
    EXPECT_FALSE(Locked);
    EXPECT_FALSE(FileChanged);
}

TEST_F(MenusTest, DiagnosticsSelectsTheHubAndOpensItsWindow)
{
    LoadSite();
    ClickCaption(3, Qt::LeftButton, Qt::ControlModifier);
    form->Diagnostics_Click();
    EXPECT_EQ(ActiveNode, 0);
    EXPECT_EQ(Border(4), 0u); // the child highlight is gone
    ASSERT_NE(frmDiagnostics::Loaded(), nullptr);
    EXPECT_TRUE(frmDiagnostics::Loaded()->isVisible());
}

TEST_F(MenusTest, ViewAndHelpCommandsOpenTheirWindows)
{
    Load();
    form->ConfigStats_Click(), form->TreeView_Click(), form->ViewGrid_Click();
    form->HelpHistory_Click(), form->ReportComments_Click();
    for (QWidget* window : {static_cast<QWidget*>(FrmStats::Loaded()), static_cast<QWidget*>(frmTreeView::Loaded()),
                            static_cast<QWidget*>(frmGrid::Loaded()), static_cast<QWidget*>(frmHistory::Loaded()),
                            static_cast<QWidget*>(frmComments::Loaded())})
        EXPECT_TRUE(window != nullptr && window->isVisible());

    bool aboutShown = false;
    WhenShown<QDialog>("frmAbout", [&](QDialog* about) {
        aboutShown = about->isModal();
        about->reject();
    });
    form->HelpAbout_Click();
    EXPECT_TRUE(aboutShown);
}

TEST_F(MenusTest, TheLogCommandsOpenThePanelInTheirMode)
{
    Load();
    LogsFrame* panel = form->LogsPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());
    form->MenuItem("SetCommsPaths")->trigger();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->CurrentMode(), LogsFrame::Mode::Set);
    form->MenuItem("ExportLogs")->trigger();
    EXPECT_EQ(panel->CurrentMode(), LogsFrame::Mode::Export);
}

TEST_F(MenusTest, CommsSettingsOpenThePortWindowOverTheMainWindow)
{
    Load();
    form->MenuItem("SetComms")->trigger();
    auto* port = form->findChild<frmPortForm*>();
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->isVisible() && !port->isModal());
    port->close();
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
    EXPECT_TRUE(opened.isEmpty()); // no guide: nothing handed on, nothing shown
    const QString guide = QDir(folder.path()).filePath("Users Guide.pdf");
    ASSERT_TRUE(QFile(guide).open(QIODevice::WriteOnly));
    form->MenuItem("HelpGuide")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), guide);
    platform::SetProgramFolder("");
}

TEST_F(MenusTest, TheCheckShowsTheErrorListOrSaysThereAreNone)
{
    AnswerMessages();
    Load();
    // A hub with everything it needs and nothing else: no faults.
    model::clsNode& hub = model::Nodes[0];
    hub.SetInUse(true), hub.SetNodeLoop(1), hub.SetNodeAddress(1), hub.SetNodeIdent("00001");
    hub.SetY_ChannelA(22), hub.SetY_ChannelB(8);
    app::ErrorCheckMode = 3;
    form->MenuItem("ErrorCheck")->trigger();
    EXPECT_EQ(app::ErrorCheckMode, 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "Check Configuration for Errors: No Errors Found in Configuration");
    EXPECT_EQ(frmErrorCheck::Loaded(), nullptr);

    model::Nodes[1].SetInUse(true); // an RCC without ident, loop or channels
    form->ToolBar1_ButtonClick("Check");
    EXPECT_GT(model::MessageCount(), 0);
    ASSERT_NE(frmErrorCheck::Loaded(), nullptr);
    EXPECT_EQ(messages.size(), 1);
    frmErrorCheck::Loaded()->close();
}
