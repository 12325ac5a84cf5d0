// The diagnostics window on the offscreen platform, its port a
// pseudo-terminal answered by the simulated unit.
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/frmDiagnostics.h"
#include "hublink/core/LinkState.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/LoadedForms.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "platform/Yield.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <filesystem>
#include <map>
#include <fstream>
#include <unistd.h>

namespace {

struct Message
{
    std::string Text;
    int32_t Style;
    std::string Title;
};

class DiagnosticsWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSiteState();
        ResetLinkState();
        model::ResetSite();
        platform::ResetPortList();
        platform::SetTimeoutScale(0.05);
        LogFolder = ::testing::TempDir() + "/qvs-diagwin-" + std::to_string(::getpid());
        std::filesystem::remove_all(LogFolder);
        std::filesystem::create_directories(LogFolder);
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        LoopCount = 2;
        ActiveNode = 0; // the main window opens diagnostics on the hub
        model::Nodes[0].SetInUse(true);
        model::Nodes[2].SetInUse(true);
        unit.SetConfiguration({"POPULATE LOOP1 NODE 5 2 0A001 0", "POPULATE LOOP1 CALLPOINT 6 2 0A002 0"});
        unit.SetSoftwareVersionLine("HUB V3.11");
        auto record = [this](QWidget*, const std::string& text, int32_t style, const std::string& title) {
            messages.push_back(Message{text, style, title});
            return 1;
        };
        platform::SetProgramMessageHandler(record);
        platform::SetPlainMessageHandler(record);
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
        platform::UnloadFormNow(main);
        platform::SetProgramMessageHandler(nullptr);
        platform::SetPlainMessageHandler(nullptr);
        platform::SetTimeoutScale(1.0);
    }

    frmDiagnostics* Open()
    {
        frmDiagnostics* w = frmDiagnostics::Load();
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

    QWidget* main = nullptr; // stands for the main window
    SimulatedUnit unit;
    SimulatedPort port{unit};
    std::vector<Message> messages;
};

TEST_F(DiagnosticsWindowTest, OpensOnAHubAndAnRlmWithTheirTabs)
{
    struct Case
    {
        UnitKind kind;
        bool loopInterface;
        std::string version;
        QStringList tabs;
    };
    const Case cases[] = {
        {UnitKind::Hub, false, "HUB V3.11",
         {"Device Status", "Signal Strengths", "Live Status", "Comms Settings", "Comms Log"}},
        {UnitKind::Hub, false, "HUB V3.10", {"Device Status", "Signal Strengths", "Comms Settings", "Comms Log"}},
        {UnitKind::Rlm, true, "ZRLM V3.10", {"Device Status", "Live Status", "Comms Settings", "Comms Log"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        unit.SetKind(c.kind);
        unit.SetSoftwareVersionLine(c.version);
        unit.ClearRecord();
        IsLoopInterface = c.loopInterface;
        model::Nodes[2].SetNodeStatusString("ASA");
        frmDiagnostics* w = Open();
        EXPECT_FALSE(main->isEnabled()) << "the main window is disabled while diagnostics run";
        EXPECT_FALSE(model::Nodes[2].AlarmState(0)) << "no live status is known when the window opens";
        auto* tabs = Child<QTabBar>(w, "TabStrip");
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        EXPECT_EQ(captions, c.tabs);
        EXPECT_EQ(unit.CommandLines(),
                  (SimulatedUnit::Lines{"DEBUGOFF ALL", "DS MON DIS", "GET SWV", "DEBUGOFF ALL", "DS MON DIS",
                                        "GET DS ALL"}))
            << "the handshake, then the first page is refreshed";
        EXPECT_TRUE(messages.empty()) << (messages.empty() ? "" : messages[0].Text);
        EXPECT_EQ(Child<QTabBar>(w, "DeviceTabStrip")->isVisible(), !c.loopInterface);
        const QString kind = c.loopInterface ? QStringLiteral("rlm") : QStringLiteral("hub");
        for (int i = 0; i < tabs->count() && c.version != "HUB V3.10"; ++i) {
            tabs->setCurrentIndex(i);
            const QImage shot = w->grab().toImage();
            SaveShot(shot, QStringLiteral("diagnostics-%1-%2").arg(kind).arg(i + 1));
        }
        w->resize(w->width() + 67, w->height());
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(main->isEnabled());
        EXPECT_EQ(DiagsWindowWidth, 13320 + 67 * 15);
        DiagsWindowWidth = 13320;
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
    EXPECT_TRUE(platform::WaitUntil([] { return frmDiagnostics::Loaded() == nullptr; }, 2000));
    EXPECT_TRUE(main->isEnabled());
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 0u);
}

TEST_F(DiagnosticsWindowTest, AutomaticRefreshRunsAtItsIntervalsUntilUntickedOrFailed)
{
    frmDiagnostics* w = Open();
    auto* autoBox = Child<QPushButton>(w, "cmdAuto");
    unit.ClearRecord();
    QTest::mouseClick(autoBox, Qt::LeftButton);
    EXPECT_FALSE(Child<QPushButton>(w, "cmdRefresh")->isEnabled());
    // (Waits with a time-out are shortened by the test setting too.)
    // Ticks of 2 s shortened twentyfold: the first refresh after one tick,
    // the next 30 ticks later.
    ASSERT_TRUE(platform::WaitUntil([&] { return SendTimes("GET DS ALL").size() >= 2; }, 200000));
    const std::vector<int64_t> times = SendTimes("GET DS ALL");
    EXPECT_NEAR(static_cast<double>(times[1] - times[0]), 3000.0, 400.0);
    QTest::mouseClick(autoBox, Qt::LeftButton);
    Pause(3500);
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 2u) << "unticking stops it";

    unit.SetFailure(FailureMode::Silent, "GET DS ALL");
    QTest::mouseClick(autoBox, Qt::LeftButton);
    ASSERT_TRUE(platform::WaitUntil([&] { return !messages.empty(); }, 100000));
    EXPECT_EQ(messages.back().Text, "Unable To Get Status");
    EXPECT_FALSE(autoBox->isChecked());
    Pause(3500);
    EXPECT_EQ(SendTimes("GET DS ALL").size(), 3u) << "a failed refresh stops it";
}

TEST_F(DiagnosticsWindowTest, ASilentUnitFailsWithTheFailureTextAfterItsResends)
{
    unit.SetFailure(FailureMode::Silent);
    frmDiagnostics* w = Open();
    EXPECT_EQ(SendTimes("DS MON DIS").size(), 3u);
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

TEST_F(DiagnosticsWindowTest, WideningTheWindowWidensThePagesAndMovesOnlyExitAndTheMiddleKey)
{
    frmDiagnostics* w = Open();
    const char* const names[] = {"cmdExit", "cmdSoft1", "cmdSoft2", "cmdClear", "chkLogging", "cmdRefresh",
                                 "StatusRTF", "LiveGrid", "TabFrame9", "CommsProgress"};
    std::map<std::string, QRect> before;
    for (const char* name : names)
        before[name] = Child<QWidget>(w, name)->geometry();
    w->resize(w->width() + 66, w->height() + 66);
    const int moved[] = {66, 33, 0, 0, 0, 0, 0, 0, 0, 0};
    const int widened[] = {0, 0, 0, 0, 0, 0, 66, 66, 66, 66};
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        const QRect now = Child<QWidget>(w, names[i])->geometry();
        EXPECT_EQ(now.x() - before[names[i]].x(), moved[i]);
        EXPECT_EQ(now.width() - before[names[i]].width(), widened[i]);
        if (i < 6) {
            EXPECT_EQ(now.y() - before[names[i]].y(), 66) << "the bottom row follows the bottom edge";
        }
    }
}

TEST_F(DiagnosticsWindowTest, ClosingDuringAReadingWaitsForItsEnd)
{
    platform::SetTimeoutScale(1.0);
    frmDiagnostics* w = Open();
    unit.SetLateDelayMs(300);
    unit.SetFailure(FailureMode::Late, "GET DS ALL", 1);
    QPointer<frmDiagnostics> window(w);
    QTimer::singleShot(50, w, [w] { EXPECT_FALSE(w->close()); });
    w->cmdRefresh_Click();
    EXPECT_FALSE(window.isNull());
    EXPECT_TRUE(messages.empty()) << "the reading completed";
    EXPECT_TRUE(platform::WaitUntil([] { return frmDiagnostics::Loaded() == nullptr; }, 2000));
}

} // namespace
