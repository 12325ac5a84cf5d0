// The communications window over a pseudo-terminal, answered by the
// simulated unit: its opening on each kind of unit and the close it refuses
// meanwhile, the configuration read into a new site step by step, its log
// commands, how Read, Compare and Program end when the unit or the cable
// fails them, and how a programming's progress and completion show.
#include "hublink/frmComms.h"

#include "app/core/CanvasLayout.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteBuilder.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "model/TestSites.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/TimeoutScale.h"
#include "support/LinkTestHelpers.h"
#include "support/ListAt.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <filesystem>

using testsupport::At;
using testsupport::Last;

namespace {

// A hub with two RCCs, RCC 3 below RCC 1, as the unit lists it.
const SimulatedUnit::Lines kStoredSite = {
    "POPULATE LOOP1 NODE 12 0 01A2B 0",     "POPULATE LOOP1 NODE 20 1 0F001 0",
    "POPULATE LOOP3 NODE 21 3 0F003 0",     "POPULATE LOOP1 CALLPOINT 30 1 1A001 0",
    "POPULATE LOOP1 COMBOOPTICAL 31 1 1A002 4", "POPULATE LOOP3 SOUNDER 40 3 1A003 0",
    "YPROTRADIOCHANNELS 2 33",              "XPROTRADIOCHANNELS 6 7 1",
    "XPROTRADIOCHANNELS 8 9 3",             "RELATION ADD 1 0 1",
    "RELATION ADD 3 1 2",
};

// The main window's part: a plain window that lays out a read site and counts error lists.
class CommsWindowTest : public ::testing::Test, public CommsHost
{
protected:
    void SetUp() override
    {
        ResetSettingsAndSite();
        platform::ResetPortList();
        // Patient time-outs: an answer held up by a busy machine is never
        // taken for a missing one (the opening's debug-off request is asked
        // once). A test that times a silence sets its own for its run.
        platform::SetTimeoutScale(kPatientScale);
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        PortBaudIndex = 7;
        logs = LogIntoFreshFolder("comms");
        auto record = [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
            messages.push_back(title + ": " + text + " (" + std::to_string(style) + ")");
            return 1;
        };
        platform::SetProgramMessageHandler(record);
        platform::SetPlainMessageHandler(record);
        frmComms::MainWindow = this;
    }
    void TearDown() override
    {
        platform::SetTimeoutScale(1.0);
        frmComms::Unload();
        QApplication::processEvents();
        frmComms::MainWindow = nullptr;
        platform::SetProgramMessageHandler({});
        platform::SetPlainMessageHandler({});
    }

    frmComms* Open(int node)
    {
        ActiveNode = static_cast<int16_t>(node);
        return frmComms::Load();
    }

    static QString Box(frmComms* window) { return window->StatusRTF->toPlainText(); }

    static constexpr double kPatientScale = 5.0;

    testsupport::TempFolder logs;
    SimulatedUnit unit;
    SimulatedPort port{unit};
    std::vector<std::string> messages;
    int errorListShown = 0;

    QWidget* Window() override { return &mainWindow; }
    bool CheckForChanges(QWidget*) override { return true; }
    void DisplayNewSite() override {}
    void DisplayReadSite() override { app::PositionNodeTree(model::Nodes, 12765, 9165); }
    void ClearSelection() override {}
    void SetErrorCheckMode(long) override {}
    void ShowErrorList() override { ++errorListShown; }
    void CloseErrorList() override {}
    void ActivateHub() override {}
    QWidget mainWindow;
};

} // namespace

TEST_F(CommsWindowTest, OpensOnEachKindOfUnitWithItsCaptionAndLines)
{
    struct Case
    {
        UnitKind kind;
        int node, siteNode; // the node selected; the node given the unit's ident
        const char* caption;
        const char* box;
        bool portOpen, assignment;
    };
    const Case cases[] = {
        {UnitKind::Hub, 0, 0, "Communicate with Radio Hub", "Connected to Radio Hub\n\n", true, true},
        {UnitKind::Rcc, 3, 3, "Communicate with RCC 3", "Connected to RCC 3\n\n", true, false},
        {UnitKind::Rlm, 0, 0, "Communicate with RLM", "Connected to RLM\n\n", true, false},
        {UnitKind::Rcc, -1, 7, "Communicate with RCC 7", "Connected to an RCC\nConnected to RCC 7\n\n", true, false},
        {UnitKind::Hub, -1, -1, "Communicate with Unknown Unit",
         "Connected to a Radio Hub\nThe Connected Hub is not in the Configuration loaded\n\n", true, true},
        {UnitKind::Hub, 0, 2, "Communicate with Radio Hub",
         "Connected to Radio Hub\n\nIdent of Unit Does Not Match Configuration\n", true, true},
        {UnitKind::Hub, 3, 3, "Communicate with RCC 3", "The Connected Node is the Wrong Type\n", false, false},
    };
    // A size kept on a larger screen: the window opens within this one, and
    // what it showed is kept.
    CommsWindowWidth = 30000;
    CommsWindowHeight = 18000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        model::ResetSite();
        if (c.siteNode >= 0)
            model::Nodes[static_cast<size_t>(c.siteNode)].SetNodeIdent("01A2B");
        IsLoopInterface = c.kind == UnitKind::Rlm;
        unit.SetKind(c.kind);
        frmComms* window = Open(c.node);
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(Box(window).toStdString(), c.box);
        EXPECT_EQ(window->PortOpen(), c.portOpen);
        EXPECT_EQ(window->MenuItem("StartAssign")->isEnabled(), c.assignment);
        EXPECT_EQ(window->cmdProgram->isEnabled(), c.portOpen);
        const QRect frame = platform::FrameRect(*window);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(frame));
        frmComms::Unload();
        QApplication::processEvents();
        EXPECT_EQ(QSize(CommsWindowWidth, CommsWindowHeight), frame.size() * 15);
    }
    EXPECT_EQ(ActiveNode, 3);
    EXPECT_FALSE(CommsFormActive);
}

TEST_F(CommsWindowTest, ASilentUnitIsNoConnection)
{
    platform::SetTimeoutScale(1.0); // nothing is answered: the program's own time-outs
    unit.SetFailure(FailureMode::Silent);
    frmComms* window = Open(0);
    EXPECT_EQ(Box(window), "Unable to Connect to Device\n\n");
    EXPECT_FALSE(window->PortOpen());
    EXPECT_FALSE(window->Busy());
    EXPECT_FALSE(window->UnitConnected());
}

TEST_F(CommsWindowTest, AReadFillsANewSiteThatSavesAsTheExpectedFile)
{
    unit.SetConfiguration(kStoredSite);
    unit.SetLoopCountText("3");
    unit.SetProtocolWord("ZP3");
    model::Nodes[5].SetInUse(true); // the site being replaced
    frmComms* window = Open(-1);
    window->ReadConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"Communicate with Radio Hub: Config Successfully Read (64)"});
    EXPECT_EQ(errorListShown, 0);
    EXPECT_EQ(ActiveNode, 0) << "the test's main window clears no selection";
    EXPECT_FALSE(PortEnabled);
    // The bar stands full once the window is no longer busy.
    EXPECT_FALSE(window->CommsProgress->isHidden());
    EXPECT_EQ(window->CommsProgress->value(), window->CommsProgress->maximum());
    SaveShot(window->grab().toImage(), "comms-read");

    const std::string saved = logs.File("read-site.qvs");
    ASSERT_TRUE(model::SaveSiteFile(saved));
    QFile got(QString::fromStdString(saved)), want(QVS_TEST_DATA "/read-site.qvs");
    ASSERT_TRUE(got.open(QIODevice::ReadOnly));
    ASSERT_TRUE(want.open(QIODevice::ReadOnly));
    EXPECT_EQ(got.readAll(), want.readAll());

    // A byte corrupted on the line in the protocol's answer and in a
    // statement of the download: the query is asked again, the download read
    // again, and the site read is the same.
    unit.DrawAnswerFaults([download = 0](const FaultContext& c) mutable {
        AnswerFault f;
        if (c.Command == "GET LP" && c.Send == 0)
            f.Bytes = {{ByteFault::Kind::Replaced, 0, 3, '#'}};
        else if (c.Command == "GET SYSCONFIG" && download++ == 0)
            f.Bytes = {{ByteFault::Kind::Replaced, 5, 1, '#'}};
        return f;
    });
    unit.ClearRecord();
    window->ReadConfig_Click();
    unit.ClearFailure();
    EXPECT_EQ(Last(messages), "Communicate with Radio Hub: Config Successfully Read (64)");
    EXPECT_EQ(unit.CommandLines(), (SimulatedUnit::Lines{"GET SWV", "IDENTREAD", "QUERY LOOPCOUNT", "GET LP", "GET LP",
                                                          "GET SYSCONFIG", "GET SYSCONFIG"}));
    ASSERT_TRUE(model::SaveSiteFile(saved));
    got.close();
    ASSERT_TRUE(got.open(QIODevice::ReadOnly) && want.seek(0));
    EXPECT_EQ(got.readAll(), want.readAll());

    // Lines the parser cannot take are listed; the rest still fills the
    // site. An RCC on the cable gives its own part and says so.
    messages.clear();
    SimulatedUnit::Lines bad = kStoredSite;
    bad.insert(bad.end(), {"POPULATE LOOP1 CALLPOINT 200 3 1A004 1", "POPULATE LOOP1 BEACON 41 3 1A005 2"});
    unit.SetConfiguration(bad);
    unit.SetKind(UnitKind::Rcc);
    unit.SetIdent("0F003");
    window->ReadConfig_Click();
    EXPECT_EQ(errorListShown, 1);
    EXPECT_EQ(model::MessageCount(), 2);
    EXPECT_EQ(model::Nodes[3].DeviceIdent(1), "1A003");
    EXPECT_EQ(model::Nodes[3].DeviceType(3), 0);
    EXPECT_EQ(window->windowTitle(), "Communicate with RCC 3");
    EXPECT_EQ(At(messages, 0), "Communicate with RCC 3: Config was Downloaded from RCC 3\r\n"
                               "The Config is Not Complete Unless Downloaded from a Hub (16)");
    EXPECT_FALSE(window->CommsProgress->isHidden()) << "a read from an RCC ends full too";

    // A unit that cannot tell its type leaves the empty new site. The read
    // asks nothing before it: the program's own time-outs.
    unit.SetFailure(FailureMode::Silent, "GET SWV");
    platform::SetTimeoutScale(1.0);
    window->ReadConfig_Click();
    platform::SetTimeoutScale(kPatientScale);
    EXPECT_FALSE(model::Nodes[0].InUse());
    EXPECT_EQ(SiteName, "New Site");
    EXPECT_TRUE(FileChanged);
    EXPECT_EQ(Last(messages), "Communicate with RCC 3: Unable to Verify The Type of the Connected Node\r\n (16)");

    // A line longer than any unit sends fails the read, and the error list says why.
    unit.ClearFailure();
    unit.SetKind(UnitKind::Hub);
    bad = kStoredSite;
    bad[1] += " " + std::string(hublink::CommsLink::kMaxLineLength, '0');
    unit.SetConfiguration(bad);
    window->ReadConfig_Click();
    EXPECT_EQ(model::MessageList, std::vector<std::string>{"The unit sent a line longer than 65536 characters, which "
                                                           "was refused: POPULATE LOOP1 NODE 20 1 0F001 0 0000000..."});
    EXPECT_EQ(errorListShown, 2);
    EXPECT_EQ(Last(messages), "Communicate with Radio Hub: Unable to Get Config due to Errors (16)");

    // A relation the hub holds for an RCC it has no node for is read with
    // the rest: RCC 3 under it is no RCC the hub can be given, and Program
    // refuses the site with the error list.
    bad = kStoredSite;
    std::ranges::replace(bad, std::string("RELATION ADD 3 1 2"), std::string("RELATION ADD 3 5 2"));
    bad.push_back("RELATION ADD 5 0 1");
    unit.SetConfiguration(bad);
    unit.SetIdent("01A2B");
    window->ReadConfig_Click();
    ASSERT_EQ(Last(messages), "Communicate with Radio Hub: Config Successfully Read (64)");
    unit.ClearRecord();
    window->cmdUpdate_Click();
    EXPECT_EQ(errorListShown, 3);
    EXPECT_EQ(model::MessageList, std::vector<std::string>{"RCC 3 has an Invalid Hop Count"});
    EXPECT_EQ(unit.CommandLines(), SimulatedUnit::Lines{});
}

TEST_F(CommsWindowTest, LogCommandsAndTheBusyClose)
{
    frmComms* window = Open(0);
    window->ViewLog_Click();
    EXPECT_TRUE(Box(window).contains("-> DEBUGOFF ALL\n<- DEBUGOFF ALL\n"));
    window->cmdClear_Click();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(hublink::ProgLogPath())));
    EXPECT_EQ(Box(window), "");
    window->ClearLogFile_Click();
    EXPECT_TRUE(messages.empty());
    window->Link().LogLine("a line", true);
    window->ClearLogFile_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"Clear Log File: Log File Erased (64)"});

    window->Link().BeginBusy();
    window->close();
    EXPECT_TRUE(window->isVisible()) << "no close while busy";
    window->Link().EndBusy();
    window->Link().LogLine("the last line", false);
    window->cmdCancel->click();
    QApplication::processEvents();
    EXPECT_EQ(frmComms::Loaded(), nullptr);
    EXPECT_FALSE(PortEnabled);

    // The next opening heads its session with a dated line of its own.
    hublink::SetLogClock([] { return std::time_t{1700000000}; });
    Open(0);
    hublink::SetLogClock(nullptr);
    const std::string log = ProgLogText();
    EXPECT_NE(
        log.find("\r\n\r\n" + hublink::LogHeaderLine(1700000000) + "\r\n\r\n\r\n", log.find("the last line")),
        std::string::npos)
        << log;
}

// A log that cannot be read is reported when it is viewed; the window
// goes on.
TEST_F(CommsWindowTest, ViewingALogThatCannotBeReadSaysWhy)
{
    frmComms* window = Open(0);
    const std::string path = hublink::ProgLogPath();
    ASSERT_TRUE(std::filesystem::remove(path));
    std::filesystem::create_directory(path); // a folder of the log's name
    window->ViewLog_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"View Log File: The log file " + path + " could not be read: " +
                                                 std::make_error_code(std::errc::is_a_directory).message() +
                                                 ". (16)"});
    EXPECT_EQ(Box(window), "");
    EXPECT_EQ(frmComms::Loaded(), window);
}

TEST_F(CommsWindowTest, AReadLogsEachStepAndMovesTheBarOnWithIt)
{
    unit.SetConfiguration(kStoredSite);
    frmComms* window = Open(0);
    // The bar's value each time it moves, with the box's last line then.
    std::vector<std::pair<int, std::string>> moves;
    QObject::connect(window->CommsProgress, &QProgressBar::valueChanged, window, [&](int value) {
        if (value > 0)
            moves.emplace_back(value, Box(window).trimmed().section('\n', -1).toStdString());
    });
    window->ReadConfig_Click();
    EXPECT_EQ(Box(window).toStdString(),
              "Reading Information, Please Wait ....\nChecking Ident ....\nReading Loop Quantity ....\n"
              "Reading Loop Protocol ....\nReading Configuration ....\nChecking Configuration ....\n"
              "Config Successfully Read\n");
    ASSERT_GE(moves.size(), 4u);
    EXPECT_EQ(std::vector(moves.begin(), moves.begin() + 4),
              (std::vector<std::pair<int, std::string>>{{1, "Checking Ident ...."},
                                                        {2, "Reading Loop Quantity ...."},
                                                        {3, "Reading Loop Protocol ...."},
                                                        {4, "Reading Configuration ...."}}));
    EXPECT_NE(ProgLogBody().find("Checking Ident ....\r\n-> IDENTREAD\r\n"), std::string::npos)
        << "the step is in the file before its question";
}

TEST_F(CommsWindowTest, ACloseAskedWhileTheWindowLoadsIsRefused)
{
    // One close comes at the window's first yield, and one while it checks
    // the unit's ident, when the connection no longer holds it busy.
    std::vector<bool> closed;
    const auto tryClose = [&closed] { closed.push_back(frmComms::Loaded()->close()); };
    QTimer::singleShot(0, [&] {
        frmComms* window = frmComms::Loaded();
        tryClose();
        QObject::connect(window->StatusRTF, &QTextEdit::textChanged, window, [&, window] {
            if (Box(window) == "Connected to Radio Hub\n\n" && closed.size() == 1)
                QMetaObject::invokeMethod(window, tryClose, Qt::QueuedConnection);
        });
    });
    frmComms* window = Open(0);
    EXPECT_EQ(closed, (std::vector<bool>{false, false}));
    EXPECT_EQ(frmComms::Loaded(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->PortOpen());
    EXPECT_TRUE(CommsFormActive);
    EXPECT_EQ(unit.CommandLines(),
              (SimulatedUnit::Lines{"DEBUGOFF ALL", "DS MON DIS", "GET SWV", "IDENTREAD"}))
        << "the loading ran to its end";
    EXPECT_TRUE(window->close()) << "once loaded, the window closes";
}

namespace {

// The hub of the site as programming leaves it, plus `extra` lines; the
// window open on it. The window opens and programs with patient time-outs;
// the test's own run has them scaled by `scale`.
class HubRunTest : public CommsWindowTest
{
protected:
    frmComms* OpenOnProgrammedHub(const SimulatedUnit::Lines& extra, double scale = kPatientScale)
    {
        platform::SetTimeoutScale(kPatientScale);
        LoopCount = 2;
        ConfirmDiffs = false;
        sitebuild::PlaceTwoRccSite(model::Nodes, -1);
        frmComms* window = Open(0);
        window->cmdProgram_Click();
        SimulatedUnit::Lines held = unit.Configuration();
        held.insert(held.end(), extra.begin(), extra.end());
        unit.SetConfiguration(held);
        messages.clear();
        platform::SetTimeoutScale(scale);
        return window;
    }
    static std::string Shown(const std::string& text)
    {
        return "Communicate with Radio Hub: " + text + " (16)";
    }

    // Two devices on RCC 1 that the site does not have: deleted in this order.
    const SimulatedUnit::Lines kTwoGone = {"POPULATE LOOP2 OPTICAL 60 1 1A0A1 5",
                                           "POPULATE LOOP2 OPTICAL 61 1 1A0A2 6"};
};

} // namespace

TEST_F(HubRunTest, ADownloadKeptTalkingWithoutStatementsFailsAndLeavesTheWindowUsable)
{
    // Debug lines 200 ms apart for 20 s: each would keep a download alive.
    // The program's own time-outs: a download without statements fails 5 s
    // after it began, and no answer held up by a busy machine is taken for a
    // missing one. The lines come slowly enough for any machine to read them
    // as they come (the streams of the runs before go on beside the next),
    // so that no answer waits behind them.
    unit.SetDebugStream(200, 100);
    frmComms* window = OpenOnProgrammedHub({}, 1.0);
    const std::pair<const char*, void (frmComms::*)()> runs[] = {{"Compare", &frmComms::CompareConfig_Click},
                                                                 {"Program", &frmComms::cmdProgram_Click},
                                                                 {"Read", &frmComms::ReadConfig_Click}};
    for (const auto& [name, run] : runs) {
        SCOPED_TRACE(name);
        messages.clear();
        // Every read of the download: a download cut short is read again.
        unit.SetFailure(FailureMode::EndlessDebug, "GET SYSCONFIG");
        (window->*run)();
        EXPECT_GT(port.Pending(), 0u) << "the run ended while the unit was still talking";
        EXPECT_EQ(messages, std::vector<std::string>{Shown("Unable to Get Config due to Errors")})
            << Box(window).toStdString();
        EXPECT_FALSE(window->Busy());
    }
    EXPECT_TRUE(window->close());
}

TEST_F(HubRunTest, EveryLineOfADownloadCountsTowardItsLimit)
{
    // Statements among the debug lines keep the download alive. The unit
    // answers every command: the time-outs are lengthened, so that no answer
    // held up by a busy machine is taken for a missing one and the download
    // is reached however slow the machine.
    platform::SetTimeoutScale(10.0);
    LogProg = false;
    frmComms* window = Open(0);
    unit.SetDebugStream(0, 8100, {"RELATION ADD 1 0 1", "DBG 1", "DBG 2", "DBG 3"});
    unit.SetFailure(FailureMode::EndlessDebug, "GET SYSCONFIG", 1);
    window->ReadConfig_Click();
    EXPECT_TRUE(Box(window).contains("The unit sent more than 8000 lines, transfer stopped\n"))
        << Box(window).right(300).toStdString();
    EXPECT_EQ(messages, std::vector<std::string>{Shown("Unable to Get Config due to Errors")});
}

TEST_F(HubRunTest, AUnitThatCannotSendItsConfigurationSaysSo)
{
    frmComms* window = OpenOnProgrammedHub({});
    unit.SetFailure(FailureMode::UnknownCommand, "GET SYSCONFIG");
    const std::string text = "The Connected Node could not Send its Configuration\r\n"
                             "It does not Know the Command GET SYSCONFIG";
    for (void (frmComms::*run)() : {&frmComms::CompareConfig_Click, &frmComms::ReadConfig_Click}) {
        messages.clear();
        (window->*run)();
        EXPECT_EQ(messages, std::vector<std::string>{Shown(text)});
        EXPECT_TRUE(Box(window).endsWith(QString::fromStdString(text).replace("\r\n", "\n") + "\n"));
        EXPECT_TRUE(window->CommsProgress->isHidden());
        EXPECT_FALSE(window->Busy());
    }
}

TEST_F(HubRunTest, ChannelsKeptForAnRccWithoutItsNodeLeaveProgrammingIncomplete)
{
    // The clear question is not answered Yes.
    frmComms* window = OpenOnProgrammedHub({"XPROTRADIOCHANNELS 10 40 6"});
    const std::string question = "Communicate with Radio Hub: Do You Wish to Clear All Programming from the "
                                 "Hub\r\nBefore Re-Programming? (36)";
    const std::string incomplete =
        Shown("The Radio Hub holds X-Protocol Channels for an RCC it has no Node for\r\n"
              "Only Clearing All Programming from the Hub removes them\r\n"
              "Programming is Not Complete");
    window->cmdProgram_Click();
    EXPECT_EQ(messages, (std::vector<std::string>{question, incomplete}));

    // With a device to add as well: it is sent, and the run still says why it is not complete.
    messages.clear();
    sitebuild::PlaceDevice(model::Nodes, 2, 2, 2, 1, 31, "2A002");
    window->cmdProgram_Click();
    EXPECT_EQ(messages, (std::vector<std::string>{question, incomplete}));
    const SimulatedUnit::Lines held = unit.Configuration();
    EXPECT_TRUE(std::ranges::any_of(held, [](const std::string& l) { return l.find("2A002") != l.npos; }));
    EXPECT_EQ(std::ranges::count(held, "XPROTRADIOCHANNELS 10 40 6"), 1);
    EXPECT_FALSE(window->Busy());
    EXPECT_TRUE(window->CommsProgress->isHidden());
}

TEST_F(HubRunTest, APortLostDuringTheDeletesIsToldOnceAndEndsTheRun)
{
    frmComms* window = OpenOnProgrammedHub(kTwoGone);
    unit.SetFailure(FailureMode::PortGone, "FDELETE DEVICE");
    window->cmdProgram_Click();
    ASSERT_EQ(messages.size(), 1u) << testing::PrintToString(messages);
    EXPECT_EQ(messages[0].rfind("Communications Error: Unexpected Communications Error - ", 0), 0u);
    EXPECT_EQ(std::ranges::count_if(unit.CommandLines(),
                                    [](const std::string& c) { return c.starts_with("FDELETE"); }),
              1);
    EXPECT_FALSE(window->Busy());
}

TEST_F(HubRunTest, ARelationDeleteTheHubRefusesEndsTheRunNotComplete)
{
    frmComms* window = OpenOnProgrammedHub({});
    const SimulatedUnit::Lines programmed = unit.Configuration();
    model::Nodes[2].SetParent(0); // RCC 2 moves from RCC 1 to the hub
    unit.SetFailure(FailureMode::Rejected, "RELATION DEL 2 1");
    window->cmdProgram_Click();
    EXPECT_EQ(messages,
              std::vector<std::string>{Shown("The Radio Hub could not Delete\r\n"
                                             "Relationship between RCC 2 and RCC 1\r\n"
                                             "The Changes were not Sent\r\nProgramming is Not Complete")});
    const QString box = Box(window);
    EXPECT_TRUE(box.contains("ERROR: Unable to Delete Relationship between RCC 2 and RCC 1\n"));
    EXPECT_TRUE(box.endsWith("\nProgramming is Not Complete\n")) << box.toStdString();
    EXPECT_FALSE(box.contains("Programming Completed Successfully"));
    EXPECT_EQ(unit.Configuration(), programmed) << "the hub is as it was";
    EXPECT_TRUE(window->CommsProgress->isHidden());
    EXPECT_FALSE(window->Busy());
}

TEST_F(HubRunTest, ALateEchoOfOneDeleteIsNotTakenForTheNext)
{
    // The first delete goes unanswered until it has failed; its echo comes
    // only with the second delete's answer, a refusal. Every answer before
    // the deletes has patient time-outs; the deletes' time-outs, which the
    // test is about, are shortened once the changes are found (a delete then
    // waits 3200 ms, each of its two resends 30 ms).
    frmComms* window = OpenOnProgrammedHub(kTwoGone);
    ConfirmDiffs = true;
    const std::string question = "Communicate with Radio Hub: Differences were Found, Continue Anyway? (36)";
    platform::SetProgramMessageHandler([&](QWidget*, const std::string& text, int32_t style, const std::string& title) {
        messages.push_back(title + ": " + text + " (" + std::to_string(style) + ")");
        if (messages.back() == question)
            platform::SetTimeoutScale(0.05);
        return 1;
    });
    unit.SetFailure(FailureMode::Silent, "FDELETE DEVICE 1A0A1");
    unit.AddCommand("FDELETE DEVICE 1A0A2", [](const std::string&) {
        return SimulatedUnit::Lines{"FDELETE DEVICE 1A0A1", "ERROR IN COMMAND"};
    });
    const auto reads = std::ranges::count(unit.CommandLines(), "GET SYSCONFIG");
    window->cmdProgram_Click();
    // The error text in place of the second delete's answer is no verdict:
    // the hub, read once the deletes are over, still holds both units.
    ASSERT_EQ(messages.size(), 3u) << testing::PrintToString(messages);
    EXPECT_EQ(messages[0], question);
    EXPECT_EQ(messages[2],
              Shown("The Radio Hub could not Delete\r\nDevice 6 from RCC 1\r\nDevice 7 from RCC 1\r\n"
                    "The Changes were not Sent\r\nProgramming is Not Complete"));
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), reads + 2);
    EXPECT_TRUE(Box(window).contains("Unable to Delete Device : ERROR IN COMMAND\n")) << "the hub's words are told";
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 1A0A1"), 3)
        << "the first delete had all its sends before the second went";
}

// The hub answers each relation past the reply time-out and refuses the
// last one, so each late answer meets a resend and the answer owed to the
// resend comes while the next relation waits. The run ends as a failure
// told once, every command it counted as acknowledged was, and the log
// holds the lines that came.
TEST_F(HubRunTest, AnAnswerOwedToAResentRelationIsNotTakenForTheNext)
{
    struct Case
    {
        const char* name;
        int lateMs;
        bool strayLine; // the first relation's first send is lost; the test sends the answer owed to it
    };
    const Case cases[] = {{"700 ms late", 700, false}, {"2000 ms late", 2000, false}, {"stray line", 1500, true}};
    const std::string refused = "RELATION ADD 2 1 2";
    const std::string aborted = Shown("Programming Aborted Due to Unknown Command");
    const QString noReply = "Communications Failure,  Please check Comms Port and try again";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model::ResetSite();
        unit.ClearFailure();
        unit.SetAnswerDelayMs("RELATION ADD", 0);
        unit.SetConfiguration({});
        frmComms* window = OpenOnProgrammedHub({}, 1.0);
        // The hub holds the site but for its relations, which the next run
        // sends first (its first command's resends wait 5000 ms).
        SimulatedUnit::Lines held = unit.Configuration();
        std::erase_if(held, [](const std::string& l) { return l.starts_with("RELATION"); });
        unit.SetConfiguration(held);
        logs = LogIntoFreshFolder("late-answer");
        const size_t before = port.Sent().size();
        unit.ClearRecord();
        unit.SetAnswerDelayMs("RELATION ADD", c.lateMs);
        unit.Refuse(refused);
        QTimer stray;
        if (c.strayLine) {
            unit.SetFailure(FailureMode::Silent, "RELATION ADD 1 0 1", 1);
            QObject::connect(&stray, &QTimer::timeout, [&] {
                if (std::ranges::count(unit.CommandLines(), refused) == 0)
                    return;
                port.Send("Node Relation already defined\r");
                stray.stop();
            });
            stray.start(5);
        }
        messages.clear();
        const int listsShown = errorListShown;
        window->cmdProgram_Click();
        auto came = [&] { return LinesSent(port.Sent().substr(before)); };
        ASSERT_TRUE(
            platform::WaitUntil([&] { return port.Pending() == 0 && LoggedReplies().size() >= came().size(); }, 20000))
            << "not reached: every answer of the hub received";
        EXPECT_EQ(std::ranges::count(messages, Shown("Programming Completed Successfully")), 0)
            << testing::PrintToString(messages);
        // A walk that may have taken a line for the wrong command's answer
        // reads the hub back, and the hub, without the refused relation,
        // differs from the site.
        const bool readBack = messages.size() == 1 && messages[0].find("Programming is Not Complete") !=
                                                          std::string::npos;
        EXPECT_TRUE(messages == std::vector<std::string>{aborted} ||
                    (messages.empty() && Box(window).contains(noReply)) || readBack)
            << "the run did not end as one failure: " << testing::PrintToString(messages)
            << Box(window).toStdString();
        const hublink::LinkSession& walk = window->Link().Session();
        for (int16_t i = 1; !readBack && i < walk.ReplyLineCount && i <= walk.CommandCount; ++i)
            EXPECT_TRUE(unit.Acknowledged(walk.ReplyLines[static_cast<size_t>(i)]))
                << walk.ReplyLines[static_cast<size_t>(i)] << " was counted as acknowledged";
        if (readBack) {
            EXPECT_EQ(messages[0], Shown("The Radio Hub read back does not hold the Config as Programmed\r\n"
                                         "Parent of RCC 2 Changed from Undefined to RCC 1\r\n"
                                         "Programming is Not Complete"));
            EXPECT_EQ(errorListShown - listsShown, 1) << "the differences read back are listed";
        }
        EXPECT_EQ(LoggedReplies(), came()) << "the log holds the lines that came";
        EXPECT_FALSE(window->Busy());
        frmComms::Unload();
        QApplication::processEvents();
    }
}

// A slow hub that answers in turn takes the loop count and the relation
// late and refuses their resends, answers the download twice and sends a
// status line before each delete's answer. None of those lines is the
// answer of the command then in flight: the run completes, and the hub
// holds the site.
TEST_F(HubRunTest, ASlowHubThatRefusesResendsOfWhatItTookIsProgrammedComplete)
{
    frmComms* window = OpenOnProgrammedHub(kTwoGone, 2.0);
    model::Nodes[2].SetParent(0); // RCC 2 moves from RCC 1 to the hub
    unit.SetAnswersInTurn(true);
    for (const char* slow : {"QUERY LOOPCOUNT", "RELATION ADD"}) {
        unit.SetAnswerDelayMs(slow, 1800); // past the reply time-out of 1200 ms, well before the last one
        unit.RefuseResends(slow);
    }
    unit.AnswerTwice("GET SYSCONFIG");
    unit.SendBeforeAnswers("RELATION DEL", "DS LOOP1 5 SSG");
    unit.SendBeforeAnswers("FDELETE", "DS LOOP1 5 SSG");
    window->cmdProgram_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"Communicate with Radio Hub: Programming Completed Successfully (64)"})
        << Box(window).toStdString();

    unit.ClearFailure();
    unit.SetAnswersInTurn(false);
    unit.SetAnswerDelayMs("QUERY LOOPCOUNT", 0);
    unit.SetAnswerDelayMs("RELATION ADD", 0);
    platform::SetTimeoutScale(kPatientScale);
    messages.clear();
    window->CompareConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"Compare Hub with Configuration: The Hub matches the Configuration (64)"});
}

// A line the link cannot be sure of is no verdict on the command: a line of
// the hub's chatter comes just before each delete's echo; the hub's refusal
// of a garbled first send of the loop protocol query comes past the reply
// time-out, in turn, just before the answer to the resend.
TEST_F(HubRunTest, ALineTheLinkCannotBeSureOfIsNoVerdict)
{
    {
        SCOPED_TRACE("chatter before each delete's echo");
        frmComms* window = OpenOnProgrammedHub(kTwoGone);
        unit.DrawAnswerFaults([](const FaultContext& c) {
            AnswerFault f;
            if (c.Command.starts_with("FDELETE"))
                f.Before = "RADIO BUSY";
            return f;
        });
        window->cmdProgram_Click();
        EXPECT_EQ(messages,
                  std::vector<std::string>{"Communicate with Radio Hub: Programming Completed Successfully (64)"})
            << Box(window).toStdString();
        for (const std::string& gone : kTwoGone)
            EXPECT_EQ(std::ranges::count(unit.Configuration(), gone), 0) << gone;
        frmComms::Unload();
        QApplication::processEvents();
    }
    SCOPED_TRACE("protocol's first send refused late");
    model::ResetSite();
    unit.ClearFailure();
    unit.SetConfiguration(kStoredSite);
    unit.SetProtocolWord("ZP3");
    unit.ClearRecord();
    messages.clear();
    platform::SetTimeoutScale(kPatientScale);
    frmComms* window = Open(-1);
    unit.SetLateDelayMs(static_cast<int>(1.5 * hublink::kReplyTimeoutMs * kPatientScale));
    unit.DrawAnswerFaults([](const FaultContext& c) {
        AnswerFault f;
        if (c.Command == "GET LP" && c.Send == 0)
            f = AnswerFault{AnswerFault::Kind::Refused, "", "", 1, true};
        return f;
    });
    window->ReadConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{"Communicate with Radio Hub: Config Successfully Read (64)"});
    EXPECT_EQ(LoopProtocol, 2) << "the site read has the hub's protocol";
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET LP"), 2);
}

TEST_F(HubRunTest, AFailedRunEndsItsProgressBarAndLeavesTheWindowUsable)
{
    // The run fails where the unit fails the command beginning with `command`;
    // `said` is the box it ends with, or, where no box belongs, the line of the log box.
    struct Case
    {
        const char* name;
        void (frmComms::*run)();
        const char* command;
        FailureMode mode;
        std::string said;
        bool inBox;
    };
    const std::string noReply = "Communications Failure,  Please check Comms Port and try again";
    const std::string noConfig = "Unable to Get Config due to Errors";
    const Case cases[] = {
        {"Read, silent unit", &frmComms::ReadConfig_Click, "GET SWV", FailureMode::Silent,
         "Unable to Verify The Type of the Connected Node\r\n", true},
        {"Read, ident unknown", &frmComms::ReadConfig_Click, "IDENTREAD", FailureMode::UnknownCommand,
         "Unable to Read The Ident in the Connected Node\r\n", true},
        {"Read, loop count unanswered", &frmComms::ReadConfig_Click, "QUERY LOOPCOUNT", FailureMode::Silent,
         "Unable to Read the Number of Loops Supported by the Connected Node\r\n", true},
        {"Read, protocol unanswered", &frmComms::ReadConfig_Click, "GET LP", FailureMode::Silent,
         "Unable to Read the Loop Protocol from the Connected Node\r\n", true},
        {"Read, download cut", &frmComms::ReadConfig_Click, "GET SYSCONFIG", FailureMode::DropMidReply,
         noConfig, true},
        {"Compare, ident unanswered", &frmComms::CompareConfig_Click, "IDENTREAD", FailureMode::Silent,
         "Unable to Verify The Ident in The Radio Hub\r\n", true},
        {"Compare, download cut", &frmComms::CompareConfig_Click, "GET SYSCONFIG", FailureMode::DropMidReply,
         noConfig, true},
        {"Program, download cut", &frmComms::cmdProgram_Click, "GET SYSCONFIG", FailureMode::DropMidReply,
         noConfig, true},
        {"Program, statement unknown", &frmComms::cmdProgram_Click, "POPULATE LOOP",
         FailureMode::UnknownCommand, "Programming Aborted Due to Unknown Command", true},
        {"Program, statement unanswered", &frmComms::cmdProgram_Click, "POPULATE LOOP", FailureMode::Silent,
         noReply, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model::ResetSite();
        unit.ClearFailure();
        unit.SetConfiguration({});
        // The case's run has the program's own time-outs, on which its
        // command fails: shortened, a unit slowed down by a busy machine
        // would fail before the command the case fails.
        frmComms* window = OpenOnProgrammedHub({}, 1.0);
        sitebuild::PlaceDevice(model::Nodes, 2, 2, 2, 1, 31, "2A002"); // something for Program to send
        unit.SetFailure(c.mode, c.command);
        (window->*c.run)();
        if (c.inBox)
            EXPECT_EQ(messages, std::vector<std::string>{Shown(c.said)});
        else
            EXPECT_TRUE(Box(window).contains(QString::fromStdString(c.said))) << Box(window).toStdString();
        EXPECT_TRUE(window->CommsProgress->isHidden());
        EXPECT_FALSE(window->Busy());
        EXPECT_TRUE(window->isEnabled() && window->cmdCancel->isEnabled());
        EXPECT_TRUE(window->close());
        frmComms::Unload();
        QApplication::processEvents();
    }
}

// A unit whose type word the program does not know is read into a slot
// with its loop, address and ident but no device type. The site's slot
// without a type holds no device: a hub without the unit matches the site
// read with it. The hub's unit still answers its address: it stays where
// the site holds it as it stands, and a site without it has Compare list it
// and Program delete it.
TEST_F(HubRunTest, AUnitOfAnUnknownTypeStaysOnlyWhereTheSiteHoldsIt)
{
    const std::string unknown = "POPULATE LOOP1 FOOBAR 50 1 0C0AA 9";
    SimulatedUnit::Lines withUnknown = kStoredSite;
    withUnknown.push_back(unknown);
    const std::string matches =
        "Communicate with Radio Hub: The Config matches the Radio Hub already, Update not required (64)";
    const std::string compared = "Compare Hub with Configuration: The Hub matches the Configuration (64)";
    const std::string goOn = "Communicate with Radio Hub: Errors were Encountered, Continue Anyway? (36)";
    const std::string parsed =
        "[" + unknown + "] RCC 1 FOOBAR on ,  Loop 1, Address 50, Ident 0C0AA, Slot 9 / Error In Device Type";
    unit.SetLoopCountText("3");
    frmComms* window = Open(-1);

    unit.SetConfiguration(withUnknown);
    window->ReadConfig_Click();
    ASSERT_EQ(model::Nodes[1].DeviceType(10), 0);
    ASSERT_EQ(model::Nodes[1].DeviceIdent(10), "0C0AA");
    ASSERT_EQ(model::Nodes[1].DeviceAddress(10), 50);
    messages.clear();
    window->cmdUpdate_Click();
    EXPECT_EQ(messages, (std::vector<std::string>{goOn, matches})) << "the site holds it as it stands";
    EXPECT_EQ(std::ranges::count(unit.Configuration(), unknown), 1);
    unit.SetConfiguration(kStoredSite);
    messages.clear();
    window->cmdUpdate_Click();
    EXPECT_EQ(messages, std::vector<std::string>{matches}) << "the site's slot without a type";
    messages.clear();
    window->CompareConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{compared});

    window->ReadConfig_Click();
    unit.SetConfiguration(withUnknown);
    messages.clear();
    window->CompareConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{});
    EXPECT_EQ(model::MessageList,
              (std::vector<std::string>{parsed, "Device 10 on RCC 1 - Device in RCC, but not in Configuration - "
                                                "Device of Unknown Type  0C0AA"}));
    unit.ClearRecord();
    window->cmdUpdate_Click();
    EXPECT_EQ(messages, (std::vector<std::string>{
                            goOn, "Communicate with Radio Hub: Differences were Found, Continue Anyway? (36)",
                            "Communicate with Radio Hub: Programming Completed Successfully (64)"}));
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 0C0AA"), 1);
    EXPECT_EQ(unit.Configuration(), kStoredSite);
    messages.clear();
    window->CompareConfig_Click();
    EXPECT_EQ(messages, std::vector<std::string>{compared});
}

TEST_F(HubRunTest, AProgrammingCompletedOnASecondPassClosesTheWindowOnlyWithCloseOnCompletion)
{
    for (const bool closeOnCompletion : {false, true}) {
        SCOPED_TRACE(closeOnCompletion ? "close on completion" : "stay open");
        model::ResetSite();
        unit.SetConfiguration({});
        frmComms* window = OpenOnProgrammedHub({});
        if (closeOnCompletion)
            window->MenuItem("CloseComplete")->trigger();
        // A channel is programmed first; a second pass finds nothing left.
        model::Nodes[1].SetX_ChannelA(20);
        unit.ClearRecord();
        window->cmdProgram_Click();
        QApplication::processEvents();
        EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), 2);
        EXPECT_EQ(messages, std::vector<std::string>{"Communicate with Radio Hub: Programming Completed "
                                                     "Successfully (64)"});
        EXPECT_EQ(frmComms::Loaded() == nullptr, closeOnCompletion);
        frmComms::Unload();
        QApplication::processEvents();
    }
}

TEST_F(HubRunTest, AListOfOneCommandStepsTheBarByAllTheRangeItHasLeft)
{
    frmComms* window = OpenOnProgrammedHub({});
    // Devices enough that the bar keeps some range after the deletes' steps.
    for (int s = 2; s <= 31; ++s)
        sitebuild::PlaceDevice(model::Nodes, 2, s, 2, 1, 40 + s,
                               (s < 10 ? "2B00" : "2B0") + std::to_string(s));
    window->cmdProgram_Click();
    ASSERT_EQ(messages, std::vector<std::string>{
                            "Communicate with Radio Hub: Programming Completed Successfully (64)"});

    sitebuild::PlaceDevice(model::Nodes, 1, 3, 2, 1, 35, "1A003");
    unit.ClearRecord();
    window->cmdProgram_Click();
    EXPECT_EQ(Last(unit.CommandLines()), "POPULATE LOOP1 CALLPOINT 35 1 1A003 2");
    EXPECT_EQ(std::ranges::count_if(unit.CommandLines(),
                                    [](const std::string& c) { return c.starts_with("POPULATE"); }),
              1);
    const int left = window->CommsProgress->maximum() - window->CommsProgress->value();
    ASSERT_GT(left, 1);
    EXPECT_EQ(window->Link().ProgressStep, left);
}

TEST_F(HubRunTest, ADeleteDuringWhichThePortIsLostIsLoggedAsFailedAndNoMoreAreTried)
{
    struct Case
    {
        const char* name;
        SimulatedUnit::Lines gone; // what the hub holds and the site does not
        const char* failed;        // the delete's line
    };
    const Case cases[] = {
        {"a device", kTwoGone, "Device 6 from RCC 1 in Target Hub..."},
        {"an RCC", {"POPULATE LOOP1 NODE 12 3 0F003 0"}, "RCC 3 in Target Hub..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model::ResetSite();
        unit.ClearFailure();
        unit.SetConfiguration({});
        SimulatedPort cable{unit}; // each loses its own
        platform::SetComPortPath(9, cable.SlavePath());
        frmComms* window = OpenOnProgrammedHub(c.gone);
        unit.SetFailure(FailureMode::PortGone, "FDELETE DEVICE");
        window->cmdProgram_Click();
        const QString box = Box(window);
        EXPECT_TRUE(box.startsWith("Reading Current Configuration from the Radio Hub.....\nDeleting " +
                                   QString(c.failed) + "\n"))
            << box.toStdString();
        EXPECT_TRUE(box.endsWith("\nERROR: Unable to Delete " + QString(c.failed) + "\n"))
            << box.toStdString();
        EXPECT_EQ(box.count("Deleting "), 1);
        frmComms::Unload();
        QApplication::processEvents();
    }
}
