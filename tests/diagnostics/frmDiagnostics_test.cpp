// The diagnostics window on the offscreen platform, its port a
// pseudo-terminal answered by the simulated unit.
#include "core/DiagsSite.h"
#include "diagnostics/ChannelChart.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/DeviceMapWidget.h"
#include "diagnostics/DiagsGrid.h"
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/core/LinkState.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/TestSites.h"
#include "platform/FileDialogs.h"
#include "platform/LoadedForms.h"
#include "platform/Ports.h"
#include "platform/PrinterDialog.h"
#include "platform/Units.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"
#include "support/MessageRecorder.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace {

class DiagnosticsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
        platform::ResetPortList();
        // Patient time-outs: an answer held up by a busy machine is never
        // taken for a missing one. A test that times a silence sets its own.
        platform::SetTimeoutScale(kPatientScale);
        LogFolder = logs.String();
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        LoopCount = 2;
        ActiveNode = 0; // the main window opens diagnostics on the hub
        model::Nodes[0].SetInUse(true);
        model::Nodes[2].SetInUse(true);
        unit.SetConfiguration({"POPULATE LOOP1 NODE 5 2 0A001 0", "POPULATE LOOP1 CALLPOINT 6 2 0A002 0"});
        unit.SetSoftwareVersionLine("HUB V3.11");
        main = new QWidget;
        main->setObjectName(QStringLiteral("frmMain"));
        platform::LoadForm(main);
    }
    void TearDown() override
    {
        if (frmDiagnostics* w = frmDiagnostics::Loaded()) {
            w->Diags().Link().Timer().Stop();
            platform::UnloadFormNow(w);
        }
        // A window that closed itself is deleted later, and holds its port
        // until then: it lets go of it before the unit's end goes, so that
        // its link does not report the loss into the next test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::UnloadFormNow(main);
        platform::SetFileDialogAnswerer({});
        platform::SetPrinterAnswerer({});
        platform::SetTimeoutScale(1.0);
    }

    // With a link scale, the unit's answers are awaited that many times the
    // program's time-outs from the handshake on, while the window's own
    // timers (set when it is made) keep the scale they were made with.
    frmDiagnostics* Open(double linkScale = 0)
    {
        frmDiagnostics* w = frmDiagnostics::Load();
        if (linkScale > 0)
            platform::SetTimeoutScale(linkScale);
        w->show();
        EXPECT_TRUE(platform::WaitUntil([w] { return !w->Loading(); }, 200000));
        return w;
    }
    template <typename T> T* Child(QWidget* w, const char* name)
    {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
    void Pause(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        platform::WaitUntil([&] { return clock.elapsed() >= ms; });
    }
    std::vector<int64_t> SendTimes(const std::string& command)
    {
        std::vector<int64_t> times;
        for (const ReceivedCommand& c : unit.Commands())
            if (c.Line == command)
                times.push_back(c.AtMs);
        return times;
    }

    // The small site of the diagnostics' logic tests, on the unit too.
    void UseDiagsSite()
    {
        BuildDiagsSite();
        SiteName = "Depot";
        ActiveNode = 0;
        ConfigureUnit(unit);
    }
    std::vector<std::string> ManualUpdates()
    {
        std::vector<std::string> asked;
        for (const std::string& line : unit.CommandLines())
            if (line.rfind("GET_MANUAL_UPDATE_", 0) == 0)
                asked.push_back(line);
        return asked;
    }
    // No tab of the window offers the pages 1, 2, 3 and 5: code reaches them
    // by tabs with their codes.
    void AddPageTab(frmDiagnostics* w, int16_t page, const char* caption)
    {
        auto* tabs = Child<QTabBar>(w, "TabStrip");
        w->Session.TabPageCode[static_cast<size_t>(tabs->count() + 1)] = page;
        tabs->addTab(QString::fromLatin1(caption));
    }
    // A scan's start is all the hub answers itself.
    frmDiagnostics* OpenOnChannelPage(int16_t page, double linkScale = 0)
    {
        frmDiagnostics* w = Open(linkScale);
        AddPageTab(w, PageChannelScan, "Channel Scan");
        AddPageTab(w, PageChannelMonitor, "Channel Monitor");
        EXPECT_TRUE(w->SelectPage(page));
        unit.AddCommand("SF CS ", [](const std::string&) { return SimulatedUnit::Lines{"SF CS START"}; });
        unit.ClearRecord();
        return w;
    }
    static uint32_t RowBack(DiagsGrid* grid, int gridRow)
    {
        return platform::BGRFromColour(grid->item(gridRow - 1, 0)->background().color());
    }

    // Where the unit answers every command and timing is not what a test
    // looks at: no busy machine holds an answer five times the program's
    // time-outs, and waiting that long costs nothing while answers come.
    static constexpr double kPatientScale = 5.0;

    QWidget* main = nullptr; // stands for the main window
    const testsupport::TempFolder logs{"diagwin"};
    SimulatedUnit unit;
    SimulatedPort port{unit};
    MessageRecorder recorder;
    std::vector<ShownMessage>& messages = recorder.Messages;
};

TEST_F(DiagnosticsWindowTest, OpensOnAHubAndAnRlmWithTheirTabs)
{
    struct Case
    {
        UnitKind kind;
        bool loopInterface;
        std::string version;
        int tabs;     // their captions are the session's
        QSize stored; // twips: the default, and a size kept on a larger screen
    } const cases[] = {{UnitKind::Hub, false, "HUB V3.11", 5, {13320, 9030}},
                       {UnitKind::Rlm, true, "ZRLM V3.10", 4, {30000, 18000}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        unit.SetKind(c.kind);
        unit.SetSoftwareVersionLine(c.version);
        unit.ClearRecord();
        IsLoopInterface = c.loopInterface;
        model::Nodes[2].SetNodeStatusString("ASA");
        platform::SetTimeoutScale(kPatientScale);
        DiagsWindowWidth = c.stored.width();
        DiagsWindowHeight = c.stored.height();
        frmDiagnostics* w = Open();
        const QRect frame = platform::FrameRect(*w);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(frame));
        EXPECT_FALSE(main->isEnabled()) << "the main window is disabled while diagnostics run";
        EXPECT_FALSE(model::Nodes[2].AlarmState(0)) << "no live status is known when the window opens";
        EXPECT_EQ(Child<QTabBar>(w, "TabStrip")->count(), c.tabs);
        EXPECT_EQ(unit.CommandLines(), (SimulatedUnit::Lines{"DEBUGOFF ALL", "DS MON DIS", "GET SWV",
                                                             "DEBUGOFF ALL", "DS MON DIS", "GET DS ALL"}))
            << "the handshake, then the first page is refreshed";
        EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].Text);
        EXPECT_EQ(Child<QTabBar>(w, "DeviceTabStrip")->isVisible(), !c.loopInterface);
        SaveShot(w->grab().toImage(), c.loopInterface ? "diagnostics-rlm" : "diagnostics-hub");
        w->resize(w->width() + 67, w->height());
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(main->isEnabled());
        EXPECT_EQ(DiagsWindowWidth, (frame.width() + 67) * 15) << "what it showed is kept";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the port is free again
    }
}

TEST_F(DiagnosticsWindowTest, AnRccOnTheCableIsRefusedAndTheWindowCloses)
{
    unit.SetKind(UnitKind::Rcc);
    unit.SetSoftwareVersionLine("");
    Open();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Diagnostics can only be done at the Radio Hub");
    EXPECT_EQ(messages[0].Style, 16);
    EXPECT_TRUE(platform::WaitUntil([] { return frmDiagnostics::Loaded() == nullptr; }, 60000));
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 0u);
}

TEST_F(DiagnosticsWindowTest, AutomaticRefreshRunsAtItsIntervalsUntilUntickedOrFailed)
{
    frmDiagnostics* w = Open();
    auto* autoBox = Child<QPushButton>(w, "cmdAuto");
    // Ticks of 2 s shortened twentyfold (the tick is set when the box is
    // ticked); the unit's answers keep patient time-outs.
    auto clickAuto = [&] {
        platform::SetTimeoutScale(0.05);
        QTest::mouseClick(autoBox, Qt::LeftButton);
        platform::SetTimeoutScale(kPatientScale);
    };
    unit.ClearRecord();
    clickAuto();
    EXPECT_FALSE(Child<QPushButton>(w, "cmdRefresh")->isEnabled());
    // The next refresh 30 ticks after the first.
    ASSERT_TRUE(platform::WaitUntil([&] { return SendTimes("GET DS ALL").size() >= 2; }, 20000));
    EXPECT_GE(SendTimes("GET DS ALL")[1] - SendTimes("GET DS ALL")[0], 2900);
    clickAuto();
    Pause(3500);
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 2u) << "unticking stops it";

    unit.SetFailure(FailureMode::Silent, "GET DS ALL");
    clickAuto();
    ASSERT_TRUE(platform::WaitUntil([&] { return !messages.empty(); }, 20000));
    EXPECT_EQ(messages.back().Text, "Unable To Get Status");
    EXPECT_FALSE(autoBox->isChecked());
    Pause(3500);
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 3u) << "a failed refresh stops it";
}

TEST_F(DiagnosticsWindowTest, ASilentUnitFailsWithTheFailureTextAfterItsResends)
{
    platform::SetTimeoutScale(1.0); // nothing is answered: the program's own time-outs
    unit.SetFailure(FailureMode::Silent);
    frmDiagnostics* w = Open();
    EXPECT_EQ(Child<QLabel>(w, "lblStatus")->text(),
              QStringLiteral("Communications Failure,  Please reset Radio Hub and try again"));
    EXPECT_EQ(SendTimes("GET SWV").size(), 0u) << "the unit is not asked further";
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(DiagnosticsWindowTest, TheLogPageViewsClearsAndErasesDiagsLog)
{
    LogDiags = true;
    frmDiagnostics* w = Open();
    ASSERT_TRUE(w->SelectPage(PageCommsLog));
    auto* box = Child<QTextEdit>(w, "StatusRTF");
    EXPECT_TRUE(Child<QCheckBox>(w, "chkLogging")->isChecked());
    QTest::mouseClick(Child<QPushButton>(w, "cmdView"), Qt::LeftButton);
    EXPECT_TRUE(box->toPlainText().contains(QStringLiteral("-> GET SWV\n<- HUB V3.11")));
    QTest::mouseClick(Child<QPushButton>(w, "cmdClear"), Qt::LeftButton);
    EXPECT_TRUE(box->toPlainText().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(DiagsLogPath()));
    QTest::mouseClick(Child<QPushButton>(w, "cmdClearLog"), Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(DiagsLogPath()));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "Log File Erased");
    EXPECT_EQ(messages[0].Title, "Clear Log File");

    QTest::mouseClick(Child<QCheckBox>(w, "chkLogging"), Qt::LeftButton);
    EXPECT_FALSE(LogDiags);
    EXPECT_FALSE(Child<QPushButton>(w, "cmdView")->isEnabled());
}

TEST_F(DiagnosticsWindowTest, APortChangeThatFailsKeepsThePreviousPort)
{
    const std::string notAPort = LogFolder + "/not-a-port";
    std::ofstream(notAPort) << "x";
    platform::SetComPortPath(10, notAPort);
    frmDiagnostics* w = Open();
    ASSERT_TRUE(w->SelectPage(PageCommsSettings));
    auto* list = Child<QComboBox>(w, "PortSelect");
    ASSERT_EQ(list->currentText(), QStringLiteral("Com9"));
    list->setCurrentIndex(list->findText(QStringLiteral("Com10")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text.rfind("Error Opening Port 10, \r\nCode ", 0), 0u) << messages[0].Text;
    EXPECT_EQ(messages[0].Title, "Open Port 10");
    EXPECT_EQ(PortNumber, 9);
    EXPECT_EQ(list->currentText(), QStringLiteral("Com9"));
    unit.ClearRecord();
    ASSERT_TRUE(w->SelectPage(PageDeviceStatus));
    QTest::mouseClick(Child<QPushButton>(w, "cmdRefresh"), Qt::LeftButton);
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 1u) << "the previous port still carries the link";
}

TEST_F(DiagnosticsWindowTest, ClosingDuringARefreshIsRefusedFromItsFirstExchangeToTheEndOfItsReading)
{
    frmDiagnostics* w = Open();
    // The unit keeps its answer to the phase's command until the test has
    // asked for the close, so the close comes in that phase however slow the
    // machine; no time-out ends the phase first.
    platform::SetTimeoutScale(100.0);
    struct Phase
    {
        const char* name;
        const char* command;
        const char* answer;
        std::function<bool()> in;
    } const phases[] = {
        {"the debug output switched off", "DS MON DIS", "DS MON STOP\r",
         [w] { return w->Session.ControlMode == ControlBusy; }},
        {"the reading", "GET DS ALL", "GET DS ALL\rDS LOOP1 5 SSG\rDS LOOP1 6 SSG\rEND OF DATA\r",
         [w] { return w->Session.DiagBusy; }},
    };
    for (const Phase& phase : phases) {
        SCOPED_TRACE(phase.name);
        unit.ClearRecord();
        unit.SetFailure(FailureMode::Silent, phase.command, 1);
        std::optional<bool> closed;
        QTimer asker;
        QObject::connect(&asker, &QTimer::timeout, [&] {
            if (closed || !phase.in() || SendTimes(phase.command).empty())
                return;
            closed = w->close();
            port.Send(phase.answer);
        });
        asker.start(1);
        w->cmdRefresh_Click();
        asker.stop();
        ASSERT_TRUE(closed.has_value()) << "the refresh ended before its phase was reached";
        EXPECT_FALSE(*closed);
        EXPECT_TRUE(messages.empty()) << "the reading completed";
        platform::DoEvents();
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(frmDiagnostics::Loaded(), w) << "the refused close is not carried out later";
    }
    EXPECT_TRUE(w->close()) << "the window closes once the refresh has ended";
}

TEST_F(DiagnosticsWindowTest, TheProgressBarShowsWhileTheDeviceStatusIsReadAndGoesOnceItIsIn)
{
    frmDiagnostics* w = Open();
    auto* bar = Child<QProgressBar>(w, "CommsProgress");
    EXPECT_FALSE(bar->isVisible()) << "the first reading is in";
    // The unit keeps its answer until the bar has been looked at.
    platform::SetTimeoutScale(100.0);
    unit.ClearRecord();
    unit.SetFailure(FailureMode::Silent, "GET DS ALL", 1);
    std::optional<bool> shownWhileReading;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (shownWhileReading || !w->Session.DiagBusy || SendTimes("GET DS ALL").empty())
            return;
        shownWhileReading = bar->isVisible();
        port.Send("GET DS ALL\rDS LOOP1 5 SSG\rDS LOOP1 6 SSG\rEND OF DATA\r");
    });
    watcher.start(1);
    QTest::mouseClick(Child<QPushButton>(w, "cmdRefresh"), Qt::LeftButton);
    watcher.stop();
    ASSERT_TRUE(shownWhileReading.has_value()) << "the refresh ended before its reading was seen";
    EXPECT_TRUE(*shownWhileReading);
    EXPECT_TRUE(messages.empty()) << "the reading completed";
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(DiagnosticsWindowTest, PortEnabledShowsThePortAsItIsAfterARefusedExitAndOnOpening)
{
    frmDiagnostics* w = Open();
    auto* tick = Child<QCheckBox>(w, "P_OnOff");
    ASSERT_TRUE(tick->isChecked());
    // Exit clicked while the refresh reads: refused, and the port stays on.
    platform::SetTimeoutScale(100.0);
    unit.ClearRecord();
    unit.SetFailure(FailureMode::Silent, "GET DS ALL", 1);
    bool clicked = false;
    QTimer asker;
    QObject::connect(&asker, &QTimer::timeout, [&] {
        if (clicked || !w->Session.DiagBusy || SendTimes("GET DS ALL").empty())
            return;
        clicked = true;
        QTest::mouseClick(Child<QPushButton>(w, "cmdExit"), Qt::LeftButton);
        port.Send("GET DS ALL\rDS LOOP1 5 SSG\rDS LOOP1 6 SSG\rEND OF DATA\r");
    });
    asker.start(1);
    w->cmdRefresh_Click();
    asker.stop();
    ASSERT_TRUE(clicked) << "the refresh ended before its reading";
    ASSERT_EQ(frmDiagnostics::Loaded(), w);
    EXPECT_TRUE(PortEnabled);
    EXPECT_TRUE(tick->isChecked());
    // A setting changed on the page reopens the port, which goes on carrying
    // the link without a refresh to switch it on again.
    platform::SetTimeoutScale(kPatientScale);
    ASSERT_TRUE(w->SelectPage(PageCommsSettings));
    QTest::mouseClick(Child<QCheckBox>(w, "P_DTR"), Qt::LeftButton);
    EXPECT_TRUE(tick->isChecked());
    unit.ClearRecord();
    w->GetDeviceStatusAt(1, 5);
    EXPECT_EQ(SendTimes("GET DS LOOP1 5").size(), 1u) << "the port is open";
    EXPECT_TRUE(messages.empty());

    // Exit leaves the setting off, yet the window opened next opens its port
    // and ticks the box, which a refresh leaves ticked.
    QTest::mouseClick(Child<QPushButton>(w, "cmdExit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(frmDiagnostics::Loaded(), nullptr);
    EXPECT_FALSE(PortEnabled);
    w = Open();
    tick = Child<QCheckBox>(w, "P_OnOff");
    EXPECT_TRUE(tick->isChecked());
    w->cmdRefresh_Click();
    EXPECT_TRUE(tick->isChecked());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DiagnosticsWindowTest, TheHubIdentCheckAndTheStimulusFileAreReachedFromCode)
{
    unit.SetIdent("0A001");
    model::Nodes[0].SetNodeIdent("0A001");
    model::Nodes[2].SetNodeIdent("0A002");
    frmDiagnostics* w = Open();
    EXPECT_TRUE(w->VerifyHubIdent(0));
    EXPECT_FALSE(w->VerifyHubIdent(2));
    EXPECT_FALSE(w->VerifyHubIdent(32));

    platform::SetProgramFolder(LogFolder);
    const QString stimulus = QString::fromStdString(LogFolder + "/stimulus.txt");
    std::ofstream(stimulus.toStdString()) << "line\r\n";
    std::vector<platform::FileDialogRequest> asked;
    std::optional<QString> answer = stimulus;
    platform::SetFileDialogAnswerer([&](const platform::FileDialogRequest& request) {
        asked.push_back(request);
        return answer;
    });
    w->LoadCommsStimulusFile();
    EXPECT_TRUE(w->StimulusFileOpen);
    std::string line;
    EXPECT_TRUE(w->StimulusStream && std::getline(*w->StimulusStream, line) && line == "line\r");
    answer.reset(); // a cancel closes the file open before
    w->LoadCommsStimulusFile();
    EXPECT_TRUE(!w->StimulusFileOpen && w->StimulusStream == nullptr);
    answer = QString::fromStdString(LogFolder + "/missing.txt");
    w->LoadCommsStimulusFile();
    EXPECT_FALSE(w->StimulusFileOpen) << "a file that cannot be opened leaves none open";
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].title + asked[0].filter, "Select a Comms Stimulus FileText File (*.txt)");
    EXPECT_EQ(QStringList({asked[0].fileName, asked[1].fileName, asked[2].fileName}),
              QStringList({QString::fromStdString(LogFolder + "/Comms Input"), stimulus,
                           QString::fromStdString(LogFolder + "/Comms Input")}))
        << "an open file's name is offered again";

    answer = stimulus;
    w->LoadCommsStimulusFile();
    ASSERT_TRUE(w->StimulusFileOpen);
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(!w->StimulusFileOpen && w->StimulusStream == nullptr) << "the window's end releases the file";
    platform::SetProgramFolder("");
}

TEST_F(DiagnosticsWindowTest, TheStimulusFileIsChosenInAnOpenDialogOfTextFilesFromCommsInput)
{
    frmDiagnostics* w = Open();
    platform::SetProgramFolder(LogFolder);
    std::vector<platform::FileDialogRequest> asked;
    platform::SetFileDialogAnswerer([&](const platform::FileDialogRequest& request) {
        asked.push_back(request);
        return std::optional<QString>();
    });
    w->LoadCommsStimulusFile();
    platform::SetProgramFolder("");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].save) << "a file to read, not one to write";
    EXPECT_EQ(asked[0].title, "Select a Comms Stimulus File");
    EXPECT_EQ(asked[0].filter, "Text File (*.txt)");
    EXPECT_EQ(asked[0].fileName, QString::fromStdString(LogFolder + "/Comms Input"));
    EXPECT_FALSE(w->StimulusFileOpen);
}

TEST_F(DiagnosticsWindowTest, TheDeviceMapDescribesAClickedSlotAndFiltersByClass)
{
    // The colours and texts of every class are the core's; here the wiring:
    // a sounder in alarm and one in good health of RCC 2, at 1.40 and 1.41.
    UseDiagsSite();
    for (int i : {0, 1}) {
        model::clsNode& rcc = model::Nodes[2];
        rcc.SetDeviceType(i + 2, 6);
        rcc.SetDeviceLoop(i + 2, 1);
        rcc.SetDeviceAddress(i + 2, 40 + i);
        rcc.SetDeviceIdent(i + 2, "4000" + std::to_string(i));
        unit.SetStatus("4000" + std::to_string(i), i == 0 ? "ASA" : "OK");
    }
    hublink::BuildAddressMap();
    ConfigureUnit(unit);
    frmDiagnostics* w = Open();
    auto* map = Child<DeviceMapWidget>(w, "DeviceMap");
    QTest::mouseClick(map, Qt::LeftButton, {}, map->SlotRect(40).center());
    EXPECT_EQ(Child<QLabel>(w, "StatusLabel")->text(), " Loop 1 Address 40,  RCC 2 Device 2, Sounder, FIRE");
    EXPECT_EQ(map->Highlight(), 40);
    EXPECT_EQ(w->GetDeviceStatusAt(1, 40), "ASA");
    // Off the slots onto the page: the description and the highlight go.
    QTest::mouseMove(Child<QWidget>(w, "TabFrame4"), QPoint(2, 2));
    EXPECT_EQ(Child<QLabel>(w, "StatusLabel")->text(), "");
    EXPECT_EQ(map->Highlight(), -1);
    QTest::mouseClick(map, Qt::LeftButton, {}, map->SlotRect(40).center());
    // A tip asked over a slot names its unit; one asked next over the gap
    // beside it takes that tip away, well before the tip's own ten seconds.
    const auto askTip = [map](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, map->mapToGlobal(at));
        QCoreApplication::sendEvent(map, &help);
    };
    askTip(map->SlotRect(40).center());
    EXPECT_EQ(QToolTip::text(), "Status for RCC 2.2");
    QPoint gap = map->SlotRect(40).center();
    while (map->SlotAt(gap) != -1)
        gap.rx()++;
    askTip(gap);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000))
        << QToolTip::text().toStdString();

    // The fire box shows its own slot and dims the other.
    QTest::mouseClick(Child<QRadioButton>(w, "optSel"), Qt::LeftButton);
    auto* fire = Child<QCheckBox>(w, "chkShow1");
    QTest::mouseClick(fire, Qt::LeftButton);
    EXPECT_FALSE(Child<QCheckBox>(w, "chkShow0")->isChecked());
    EXPECT_EQ(map->Highlight(), -1);
    EXPECT_TRUE(map->View().places[39].clickable);
    EXPECT_FALSE(map->View().places[40].clickable);
    QTest::mouseClick(fire, Qt::LeftButton);
    EXPECT_TRUE(Child<QCheckBox>(w, "chkShow0")->isChecked()) << "unticking the last box shows all again";

    // An RCC's own tab: its devices, and the RCC itself as slot 32.
    Child<QTabBar>(w, "DeviceTabStrip")->setCurrentIndex(3);
    EXPECT_EQ(map->View().places[31].number, "RCC");
    SaveShot(w->grab().toImage(), "diagnostics-device-map");
}

TEST_F(DiagnosticsWindowTest, TheSignalGridShowsTheReadingsAndKeepsItsSortOnRefresh)
{
    UseDiagsSite();
    unit.SetSignalStrengths("1000B", {40, 38, 44, 41});
    frmDiagnostics* w = Open();
    w->cmdSignals_Click();
    auto* grid = Child<DiagsGrid>(w, "SignalGrid");
    EXPECT_EQ(grid->Cell(4, 5), "40");
    SaveShot(w->grab().toImage(), "diagnostics-signal-grid");
    auto addresses = [grid] {
        QStringList cells;
        for (int r = 1; r <= grid->rowCount(); ++r)
            cells << grid->Cell(r, 3);
        return cells.join(' ');
    };
    w->SignalGrid_DblClick(2); // by loop, then address
    w->SignalGrid_DblClick(2);
    EXPECT_FALSE(grid->horizontalHeaderItem(2)->icon().isNull());
    w->cmdRefresh_Click();
    EXPECT_EQ(addresses(), " 17-18 21 20 11 10 1") << "a refresh keeps the sort";
}

TEST_F(DiagnosticsWindowTest, ALiveRunOffersARescanOfASilentRccAndCanBeCancelled)
{
    UseDiagsSite();
    unit.SetFailure(FailureMode::Silent, "GET_MANUAL_UPDATE_1_020");
    frmDiagnostics* w = Open();
    platform::SetTimeoutScale(1.0); // the silent unit's own time-out
    w->cmdLiveTest_Click();
    platform::SetTimeoutScale(kPatientScale);
    auto* grid = Child<DiagsGrid>(w, "LiveGrid");
    using diagnostics::LiveRowColour;
    auto back = [](LiveRowColour colour) { return diagnostics::LiveRowColours(colour).back; };
    // Rows: hub, spare, RCC 1, callpoint, combination head, RCC 2, sounder.
    EXPECT_EQ(RowBack(grid, 6), back(LiveRowColour::NoAnswer));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().Text, "Some Devices Failed to Respond");
    auto* rescan = Child<QPushButton>(w, "cmdSoft1");
    EXPECT_EQ(rescan->text(), "Rescan Failed Devices");
    SaveShot(w->grab().toImage(), "diagnostics-live-grid");

    unit.ClearFailure();
    unit.ClearRecord();
    QTest::mouseClick(rescan, Qt::LeftButton);
    EXPECT_EQ(ManualUpdates(),
              (std::vector<std::string>{"GET_MANUAL_UPDATE_1_020", "GET_MANUAL_UPDATE_1_021"}));
    EXPECT_EQ(messages.back().Text, "All Device Information Successfully Obtained");
    EXPECT_FALSE(rescan->isVisible());

    // Cancel while the third unit is asked: the earlier rows keep their colours.
    unit.AddCommand("GET_MANUAL_UPDATE_1_011", [](const std::string&) { return SimulatedUnit::Lines{}; });
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, w, [&] {
        if (ManualUpdates().size() == 3 && Child<QPushButton>(w, "cmdSoft2")->isVisible())
            QTest::mouseClick(Child<QPushButton>(w, "cmdSoft2"), Qt::LeftButton);
    });
    unit.ClearRecord();
    cancel.start(5);
    w->cmdRefresh_Click();
    cancel.stop();
    EXPECT_EQ(ManualUpdates().size(), 3u);
    EXPECT_EQ(messages.back().Text, "Manual Update Cancelled");
    EXPECT_EQ(RowBack(grid, 4), back(LiveRowColour::Asking));
    EXPECT_FALSE(w->Session.DiagBusy);

    // The port goes while the second unit is asked: one message, no unit
    // asked after it.
    unit.ClearRecord();
    unit.SetFailure(FailureMode::PortGone, "GET_MANUAL_UPDATE_1_020");
    const size_t before = messages.size();
    w->cmdRefresh_Click();
    EXPECT_EQ(ManualUpdates(),
              (std::vector<std::string>{"GET_MANUAL_UPDATE_1_010", "GET_MANUAL_UPDATE_1_020"}));
    EXPECT_EQ(messages.size(), before + 1);
    EXPECT_FALSE(w->Session.DiagBusy);
}

TEST_F(DiagnosticsWindowTest, SaveWritesTheGridInTheFormItsNameAsksFor)
{
    UseDiagsSite();
    unit.SetSoftwareVersionLine("HUB V2.34");
    unit.SetLinkBudgets("1000B", {19, 35, 5, 5});
    unit.AddCommand("GET_MANUAL_UPDATE_1_021", [](const std::string& c) {
        return SimulatedUnit::Lines{c, "MANUAL UPDATE 1 21 255.255 20 20 3 4"};
    });
    const QString folder = QString::fromStdString(LogFolder);
    QString answer;
    QString offered, offeredTitle; // the file name and title the dialog offers: the table's
    platform::SetFileDialogAnswerer([&](const platform::FileDialogRequest& request) {
        offered = request.fileName;
        offeredTitle = request.title;
        return std::optional<QString>(answer);
    });
    auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    frmDiagnostics* w = Open();
    auto* save = Child<QPushButton>(w, "cmdSave");
    w->cmdLiveTest_Click();
    ASSERT_TRUE(save->isVisible() && save->isEnabled()) << "the live page offers Save";
    messages.clear();
    // The CSV title line carries the time of the save: compared after it.
    const QString golden = QString(QVS_TEST_DATA) + "/diags-live";
    answer = folder + "/diags-live.csv";
    QTest::mouseClick(save, Qt::LeftButton);
    const QByteArray csv = bytes(answer), goldenCsv = bytes(golden + ".csv");
    EXPECT_TRUE(csv.startsWith("Link Budgets for ,Depot, Taken on ,")) << csv.left(60).toStdString();
    EXPECT_EQ(csv.mid(csv.indexOf("\r\n")), goldenCsv.mid(goldenCsv.indexOf("\r\n")));
    answer = folder + "/diags-live.txt";
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(bytes(answer), bytes(golden + ".txt"));
    EXPECT_EQ(offered, "Link Budgets");
    EXPECT_EQ(offeredTitle, "Save A Link Budget File");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].Text, "File Saved Successfully");
    EXPECT_EQ(messages[1].Title, "Save a Link Budget File");

    answer = folder + "/no/such/folder/x.csv";
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(messages.back().Style, 16) << "a file that cannot be written is reported";
}

} // namespace

TEST_F(DiagnosticsWindowTest, AScanCountsDownOnTheWindowAndACancelEndsItWithItsChartBeforeTheWindowCloses)
{
    platform::SetTimeoutScale(0.05); // the countdown's ticks of 1 s come every 50 ms
    frmDiagnostics* w = OpenOnChannelPage(PageChannelScan, kPatientScale);
    unit.SetScanLevel(0x2A);
    QStringList countdown;
    QTimer hub; // reports while it scans
    QObject::connect(&hub, &QTimer::timeout, [&] {
        if (w->Comms().CommsState != diagnostics::DiagsStateCode::Scanning)
            return;
        EXPECT_EQ(w->Session.ControlMode, ControlScanning);
        countdown << Child<QLabel>(w, "lblProgress")->text();
        port.Send("SF CS RUNNING 1\r");
        if (countdown.front() == countdown.back())
            return; // until the window has counted down
        EXPECT_EQ(w->GetDeviceStatusAt(1, 5), "") << "no second command inside the scan's wait";
        QTest::mouseClick(Child<QPushButton>(w, "cmdSoft2"), Qt::LeftButton);
        EXPECT_FALSE(w->close());
    });
    hub.start(100);
    QTest::mouseClick(Child<QPushButton>(w, "cmdSoft1"), Qt::LeftButton);
    EXPECT_EQ(unit.CommandLines(), (SimulatedUnit::Lines{"SF CS 1", "SF CS DIS", "GET SF CS RESULT"}));
    ASSERT_FALSE(countdown.isEmpty()) << "not reached: the scan running; the status reads "
                                      << Child<QLabel>(w, "lblStatus")->text().toStdString();
    EXPECT_TRUE(countdown.front().startsWith(QStringLiteral(" Scanning, Please Wait  (00.0")));
    EXPECT_GT(countdown.front(), countdown.back()) << "the window counts down";
    EXPECT_EQ(w->findChild<ChannelScanPage*>()->MSChart->Levels(), QList<int>(32, 0x2A));
    EXPECT_EQ(w->Session.ControlMode, ControlIdle);
    SaveShot(w->grab().toImage(), "frmDiagnostics-ChannelScan");
    EXPECT_TRUE(platform::WaitUntil([] { return frmDiagnostics::Loaded() == nullptr; }, 60000));
}

TEST_F(DiagnosticsWindowTest, ALostPortEndsAScanAtOnceWithTheFailureText)
{
    frmDiagnostics* w = OpenOnChannelPage(PageChannelScan);
    platform::SetTimeoutScale(1.0); // a silent scan fails after 12 s
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(100, w, [&] { port.Unplug(); });
    w->cmdSoft1_Click();
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(w->findChild<ChannelScanPage*>()->lblStatus->text(),
              QStringLiteral("Communications Failure,  Please reset Radio Hub and try again"));
    EXPECT_EQ(w->Session.ControlMode, ControlIdle);
}

TEST_F(DiagnosticsWindowTest, AClearLogThatCannotEraseTheFileSaysWhyInItsBox)
{
    LogDiags = true;
    frmDiagnostics* w = Open();
    ASSERT_TRUE(w->SelectPage(PageCommsLog));
    // A folder in the log's place cannot be erased as the log file.
    std::filesystem::remove(DiagsLogPath());
    std::filesystem::create_directories(DiagsLogPath() + "/kept");
    const size_t before = messages.size();
    QTest::mouseClick(Child<QPushButton>(w, "cmdClearLog"), Qt::LeftButton);
    ASSERT_EQ(messages.size(), before + 1);
    EXPECT_EQ(messages.back().Title, "Clear Log File");
    EXPECT_EQ(messages.back().Style, 16);
    EXPECT_EQ(messages.back().Text.rfind("The log file " + DiagsLogPath() + " could not be erased: ", 0), 0u)
        << messages.back().Text;
    EXPECT_TRUE(std::filesystem::exists(DiagsLogPath() + "/kept"));
}

TEST_F(DiagnosticsWindowTest, EveryPageShowsItsOwnPageButtonsAndNoneOfTheOthers)
{
    LogDiags = true;
    frmDiagnostics* w = Open();
    AddPageTab(w, PageFunctions, "Functions");
    AddPageTab(w, PageChannelScan, "Channel Scan");
    AddPageTab(w, PageChannelMonitor, "Channel Monitor");
    AddPageTab(w, PageUpdate, "Update");
    const char* const controls[] = {"cmdSoft1",    "cmdSoft2",   "cmdAuto",     "cmdRefresh",
                                    "CommsLED",    "cmdSave",    "cmdClear",    "cmdView",
                                    "cmdClearLog", "chkLogging", "lblProgress", "CommsProgress"};
    const std::map<int16_t, std::set<std::string>> shown = {
        {PageFunctions, {}},
        {PageChannelScan, {"cmdSoft1"}},
        {PageChannelMonitor, {"cmdSoft1"}},
        {PageDeviceStatus, {"cmdAuto", "cmdRefresh", "CommsLED"}},
        {PageUpdate, {}},
        {PageSignalStrengths, {"cmdRefresh", "CommsLED", "cmdSave"}},
        {PageLiveStatus, {"cmdRefresh", "CommsLED", "cmdSave"}},
        {PageCommsSettings, {}},
        {PageCommsLog, {"cmdClear", "cmdView", "cmdClearLog", "chkLogging"}},
    };
    // Up and down again: each page comes after both its neighbours, so what
    // one page shows cannot be left standing on the next.
    for (int16_t page : {1, 2, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 4, 3, 2, 1}) {
        ASSERT_TRUE(w->SelectPage(page));
        for (const char* name : controls)
            EXPECT_EQ(Child<QWidget>(w, name)->isVisible(), shown.at(page).count(name) == 1)
                << name << " on page " << page;
    }
    ASSERT_TRUE(w->SelectPage(PageChannelScan));
    EXPECT_EQ(Child<QPushButton>(w, "cmdSoft1")->text().toStdString(), "Scan");
    ASSERT_TRUE(w->SelectPage(PageChannelMonitor));
    EXPECT_EQ(Child<QPushButton>(w, "cmdSoft1")->text().toStdString(), "Monitor");
}

TEST_F(DiagnosticsWindowTest, TheLiveGridIsLaidOutWhenItsPageOpensButNotOnOtherPagesNorDuringAReading)
{
    UseDiagsSite();
    unit.SetAnswerDelayMs("GET_MANUAL_UPDATE_", 100);
    frmDiagnostics* w = Open();
    QHeaderView* header = Child<DiagsGrid>(w, "LiveGrid")->horizontalHeader();
    const int designed = platform::TwipsToPixels(diagnostics::LiveGridWidths()[1]);
    const int dragged = designed / 2;
    header->resizeSection(1, dragged); // as the engineer drags the column's edge
    for (int16_t page : {PageCommsSettings, PageCommsLog, PageSignalStrengths, PageDeviceStatus}) {
        ASSERT_TRUE(w->SelectPage(page));
        EXPECT_EQ(header->sectionSize(1), dragged) << "page " << page;
    }
    ASSERT_TRUE(w->SelectPage(PageLiveStatus));
    EXPECT_EQ(header->sectionSize(1), designed);

    // Chosen again while its reading runs, the page keeps the grid as it is
    // and offers the reading's Cancel.
    auto* cancel = Child<QPushButton>(w, "cmdSoft2");
    bool chosen = false;
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, w, [&] {
        if (chosen || !w->Session.DiagBusy)
            return;
        chosen = true;
        header->resizeSection(1, dragged);
        ASSERT_TRUE(w->SelectPage(PageCommsSettings));
        EXPECT_FALSE(cancel->isVisible());
        ASSERT_TRUE(w->SelectPage(PageLiveStatus));
        EXPECT_EQ(header->sectionSize(1), dragged);
        EXPECT_TRUE(cancel->isVisible());
        EXPECT_EQ(cancel->text().toStdString(), "Cancel");
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    meanwhile.start(5);
    QTest::mouseClick(Child<QPushButton>(w, "cmdRefresh"), Qt::LeftButton);
    meanwhile.stop();
    EXPECT_TRUE(chosen);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().Text, "Manual Update Cancelled");
}

TEST_F(DiagnosticsWindowTest, AfterALinkFailureTheWindowIsOnItsFirstPageWithItsIdleControlsAndWorks)
{
    frmDiagnostics* w = Open();
    ASSERT_TRUE(w->SelectPage(PageLiveStatus));
    unit.SetFailure(FailureMode::Silent, "DS MON DIS");
    unit.ClearRecord();
    auto* refresh = Child<QPushButton>(w, "cmdRefresh");
    platform::SetTimeoutScale(1.0); // the silent command's own time-outs
    QTest::mouseClick(refresh, Qt::LeftButton);
    platform::SetTimeoutScale(kPatientScale);
    auto* status = Child<QLabel>(w, "lblStatus");
    EXPECT_EQ(status->text().toStdString(), "Communications Failure,  Please reset Radio Hub and try again");
    EXPECT_EQ(status->palette().color(QPalette::Window), QColor(255, 200, 200));
    EXPECT_EQ(w->SelectedPage(), PageDeviceStatus) << "the first tab shows its page";
    EXPECT_TRUE(Child<QWidget>(w, "TabFrame4")->isVisible());
    EXPECT_FALSE(Child<QWidget>(w, "TabFrame7")->isVisible());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(w->Session.ControlMode, ControlIdle);
    // The controls of the page shown, whose refresh went on.
    EXPECT_TRUE(Child<QPushButton>(w, "cmdAuto")->isVisible());
    EXPECT_FALSE(Child<QPushButton>(w, "cmdSave")->isVisible());
    EXPECT_FALSE(Child<QPushButton>(w, "cmdSoft2")->isVisible());
    EXPECT_TRUE(refresh->isVisible() && refresh->isEnabled());
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 1u);
    EXPECT_TRUE(ManualUpdates().empty());

    unit.ClearFailure();
    unit.ClearRecord();
    const size_t told = messages.size();
    QTest::mouseClick(refresh, Qt::LeftButton);
    EXPECT_EQ(unit.CommandLines(), (SimulatedUnit::Lines{"DEBUGOFF ALL", "DS MON DIS", "GET DS ALL"}));
    EXPECT_EQ(messages.size(), told);
    EXPECT_TRUE(w->close());
}

TEST_F(DiagnosticsWindowTest, AScanOfAnHourOrMoreCountsItsHoursDownOnTheWindow)
{
    // The countdown's ticks are given below, one by one.
    frmDiagnostics* w = OpenOnChannelPage(PageChannelScan);
    auto* page = w->findChild<ChannelScanPage*>();
    page->txtDuration->clear();
    QTest::keyClicks(page->txtDuration, "61");
    auto* progress = Child<QLabel>(w, "lblProgress");
    QStringList shown;
    QObject::connect(page, &ChannelScanPage::ProgressChanged, w, [&] {
        if (progress->text().startsWith(QStringLiteral(" Scanning")) &&
            (shown.isEmpty() || shown.back() != progress->text()))
            shown << progress->text();
    });
    QTimer seconds;
    QObject::connect(&seconds, &QTimer::timeout, w, [&] {
        if (w->Comms().CommsState != diagnostics::DiagsStateCode::Scanning)
            return;
        if (page->Scan.SecondsLeft() > 3598)
            page->ProcessTimer_Timer();
        else
            QTest::mouseClick(Child<QPushButton>(w, "cmdSoft2"), Qt::LeftButton);
    });
    seconds.start(0);
    QTest::mouseClick(Child<QPushButton>(w, "cmdSoft1"), Qt::LeftButton);
    seconds.stop();
    ASSERT_FALSE(unit.CommandLines().empty());
    EXPECT_EQ(unit.CommandLines().front(), "SF CS 61");
    EXPECT_EQ(Child<QProgressBar>(w, "CommsProgress")->maximum(), 3660);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.front().toStdString(), " Scanning, Please Wait  (01.01.00)");
    const qsizetype hour = shown.indexOf(QStringLiteral(" Scanning, Please Wait  (01.00.00)"));
    ASSERT_TRUE(hour > 0 && hour + 1 < shown.size()) << shown.join('|').toStdString();
    EXPECT_EQ(shown[hour - 1].toStdString(), " Scanning, Please Wait  (01.00.01)");
    EXPECT_EQ(shown[hour + 1].toStdString(), " Scanning, Please Wait  (00.59.59)");
}

TEST_F(DiagnosticsWindowTest,
       TheSecondSoftKeyCancelsTheRunningScanOrMonitorFromAnyChartPageAndPrintsWhenNoneRuns)
{
    int printerAsked = 0;
    platform::SetPrinterAnswerer([&](QPrinter&) {
        ++printerAsked;
        return false;
    });
    frmDiagnostics* w = OpenOnChannelPage(PageChannelScan);
    auto* soft2 = Child<QPushButton>(w, "cmdSoft2");
    auto* clear = Child<QPushButton>(w, "cmdClear");
    int step = 0;
    QTimer scanning;
    QObject::connect(&scanning, &QTimer::timeout, w, [&] {
        if (w->Comms().CommsState != diagnostics::DiagsStateCode::Scanning || step == 2)
            return;
        if (step++ == 0) {
            // On the log page the key keeps its caption, beside the log's own buttons.
            ASSERT_TRUE(w->SelectPage(PageCommsLog));
            EXPECT_TRUE(soft2->isVisible());
            EXPECT_EQ(soft2->text().toStdString(), "Cancel");
            EXPECT_TRUE(clear->isVisible());
            return;
        }
        // The monitor's page chosen during the scan offers Cancel too, and it stops the scan.
        ASSERT_TRUE(w->SelectPage(PageChannelMonitor));
        EXPECT_TRUE(soft2->isVisible());
        EXPECT_EQ(soft2->text().toStdString(), "Cancel");
        EXPECT_FALSE(clear->isVisible());
        QTest::mouseClick(soft2, Qt::LeftButton);
    });
    scanning.start(10);
    QTest::mouseClick(Child<QPushButton>(w, "cmdSoft1"), Qt::LeftButton);
    scanning.stop();
    EXPECT_EQ(step, 2);
    EXPECT_EQ(unit.CommandLines(), (SimulatedUnit::Lines{"SF CS 1", "SF CS DIS", "GET SF CS RESULT"}));
    EXPECT_FALSE(soft2->isVisible());
    EXPECT_EQ(soft2->text().toStdString(), "Print");

    // The monitor, on its page: Cancel stops it at the hub's next word.
    bool stopped = false;
    QTimer monitoring;
    QObject::connect(&monitoring, &QTimer::timeout, w, [&] {
        if (stopped || w->Comms().CommsState != diagnostics::DiagsStateCode::Monitoring)
            return;
        stopped = true;
        EXPECT_TRUE(soft2->isVisible());
        EXPECT_EQ(soft2->text().toStdString(), "Cancel");
        QTest::mouseClick(soft2, Qt::LeftButton);
        EXPECT_EQ(w->Comms().CommsState, diagnostics::DiagsStateCode::MonitorStopping);
        EXPECT_EQ(Child<QLabel>(w, "lblStatus")->text().toStdString(), " Stopping Channel Monitoring... ");
    });
    monitoring.start(10);
    QTest::mouseClick(Child<QPushButton>(w, "cmdSoft1"), Qt::LeftButton);
    monitoring.stop();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(w->Comms().CommsState, diagnostics::DiagsStateCode::MonitorDone);
    EXPECT_EQ(printerAsked, 0) << "Cancel never prints";
    EXPECT_FALSE(soft2->isVisible());
    EXPECT_EQ(soft2->text().toStdString(), "Print");
    // With nothing running the key prints the log box.
    w->cmdSoft2_Click();
    EXPECT_EQ(printerAsked, 1);
}
