// The link end to end: the Qt serial control on a pseudo-terminal, answered
// by the simulated unit from its thread.
#include "hublink/SerialLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/ProgLog.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Ports.h"
#include "platform/Yield.h"
#include "platform/base/TimeoutScale.h"
#include "support/RecordingWindow.h"
#include "support/SimulatedPort.h"

#include <QElapsedTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

class SerialLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSiteState();
        ResetLinkState();
        platform::ResetPortList();
        platform::SetTimeoutScale(1.0);
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        ASSERT_FALSE(serial.ResetPort(nullptr));
        ASSERT_TRUE(serial.Comm().PortOpen());
    }
    void TearDown() override { platform::SetTimeoutScale(1.0); }

    // Waits (yielding) until the unit has seen `count` command lines.
    void WaitForCommands(size_t count)
    {
        QElapsedTimer clock;
        clock.start();
        platform::WaitUntil([&] { return unit.Commands().size() >= count; }, 5000);
    }

    // Lets the event loop run for ms.
    void Pause(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        platform::WaitUntil([&] { return clock.elapsed() >= ms; });
    }

    SimulatedUnit unit;
    SimulatedPort port{unit};
    RecordingWindow window;
    SerialLink serial{window, window};
    CommsLink& link = serial.Link();
};

TEST_F(SerialLinkTest, QueriesOfAHubRccAndRlmPutTheExactBytesOnTheWire)
{
    struct Case
    {
        UnitKind kind;
        int16_t node;
        int32_t type;
        const char* wire;
    };
    const Case cases[] = {
        {UnitKind::Hub, 0, 4,
         "\r\n\rDEBUGOFF ALL\rDS MON DIS\rGET SWV\rIDENTREAD\rQUERY LOOPCOUNT\rGET LP\r"},
        {UnitKind::Rcc, 3, 5,
         "\r\n\rDEBUGOFF ALL\rDS MON DIS\rGET SWV\rIDENTREAD\rQUERY LOOPCOUNT\rGET LP\r"},
        {UnitKind::Rlm, 0, 6, "\r\n\rDEBUGOFF ALL\rGET SWV\rIDENTREAD\rQUERY LOOPCOUNT\rGET LP\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        unit.ClearRecord();
        unit.SetKind(c.kind);
        unit.SetIdent("0F00D");
        unit.SetLoopCount(4);
        unit.SetProtocolWord("ZP3");
        IsLoopInterface = c.kind == UnitKind::Rlm;
        link.SendWakeUp();
        EXPECT_TRUE(StopDebugOutput(link));
        EXPECT_EQ(ReadUnitType(link, c.node), 1);
        EXPECT_EQ(ConnectedUnitType, c.type);
        EXPECT_EQ(HubVersion, "3.10");
        EXPECT_EQ(ReadIdent(link), "0F00D");
        EXPECT_EQ(ReadLoopCount(link), 4);
        EXPECT_EQ(ReadLoopProtocol(link), 2);
        EXPECT_EQ(unit.Wire(), c.wire);
        EXPECT_EQ(RetryCount, 0);
        EXPECT_TRUE(window.Box.empty());
    }
}

TEST_F(SerialLinkTest, ASilentUnitGetsResendsAtTheIntervalThenTheFailure)
{
    platform::SetTimeoutScale(0.5);
    unit.SetFailure(FailureMode::Silent);
    link.BeginBusy();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs), CommsFailed);
    const qint64 took = clock.elapsed();
    EXPECT_GE(took, 900);
    EXPECT_LT(took, 5000);
    WaitForCommands(5);
    const auto commands = unit.Commands();
    ASSERT_EQ(commands.size(), 5u);
    const std::vector<std::string> lines = {"IDENTREAD", "", "IDENTREAD", "", "IDENTREAD"};
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(commands[i].Line, lines[i]) << i;
    for (size_t i : {2u, 4u}) {
        const int64_t gap = commands[i].AtMs - commands[i - 2].AtMs;
        EXPECT_GE(gap, 200) << i;
        EXPECT_LT(gap, 2000) << i;
    }
    EXPECT_EQ(window.Box, (std::vector<std::string>{
                              "...Retry", "...Retry",
                              "Communications Failure,  Please check Comms Port and try again\r\n\r\n"}));
    EXPECT_FALSE(link.Busy());
}

TEST_F(SerialLinkTest, FailureModesOfTheUnit)
{
    platform::SetTimeoutScale(0.5);
    unit.SetFailure(FailureMode::Garbled, "IDENTREAD", 1);
    EXPECT_EQ(ReadIdent(link), "01A2B");
    EXPECT_EQ(RetryCount, 1);

    unit.SetLateDelayMs(450);
    unit.SetFailure(FailureMode::Late, "GET LP", 1);
    EXPECT_EQ(ReadLoopProtocol(link), 1);
    EXPECT_EQ(RetryCount, 1) << "one resend went out before the late answer";
    Pause(400); // the late answer to the first send arrives, and is taken by nothing
    EXPECT_EQ(LastRxLine, "LP XP95");

    unit.SetFailure(FailureMode::UnknownCommand, "QUERY LOOPCOUNT");
    EXPECT_EQ(ReadLoopCount(link), -1);
    unit.SetFailure(FailureMode::UnknownCommand, "GET SWV");
    EXPECT_EQ(ReadUnitType(link, 2), 1);
    EXPECT_EQ(ConnectedUnitType, 5);

    unit.SetConfiguration({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                           "RELATION ADD 5 0 1", "XPROTRADIOCHANNELS 6 7 5"});
    unit.SetFailure(FailureMode::DropMidReply, "GET SYSCONFIG", 1);
    EXPECT_EQ(link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs), SysConfigCollect);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_EQ(ReplyLines,
              (std::vector<std::string>{"", "POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33"}));

    unit.ClearFailure();
    link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(CommsState, SysConfigDone);
    EXPECT_EQ(ReplyLineCount, 4);
}

TEST_F(SerialLinkTest, FiltersAndCollectionsOverTheWire)
{
    unit.AddNoiseBeforeNextAnswer("CRITICAL_ERROR:_radio_fault");
    unit.AddNoiseBeforeNextAnswer("Node 3 Old Added");
    unit.SetConfiguration({"POPULATE LOOP2 CALLPOINT 17 3 1A2B3 0"});
    unit.SetStatus("1A2B3", "OK_BATT");
    EXPECT_EQ(link.Transact(AllStatusCollect, "GET DS ALL", kReplyTimeoutMs), AllStatusDone);
    EXPECT_EQ(ReplyLines, (std::vector<std::string>{"", "GET DS ALL", "DS LOOP2 17 OK BATT"}));

    unit.SetConfiguration(
        {"POPULATE_LOOP2_CALLPOINT_17_3_1A2B3_0", "  RELATION ADD 5 0 1", "RELATION ADD 6 0 1"});
    link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(CommsState, SysConfigDone);
    EXPECT_EQ(ReplyLines,
              (std::vector<std::string>{"", "POPULATE LOOP2 CALLPOINT 17 3 1A2B3 0", "RELATION ADD 6 0 1"}));

    // An existing relation answered "Relation already exists" acknowledges.
    unit.SetConfiguration({});
    ReplyLines = {"", "RELATION ADD 5 0 1", "RELATION ADD 5 0 1"};
    CommandCaptions = {"", "", ""};
    CommandCount = 2;
    ReplyLineCount = 1;
    EXPECT_EQ(link.Transact(ProgramWait, "RELATION ADD 5 0 1", kReplyTimeoutMs), ProgramDone);
    EXPECT_EQ(unit.Wire(), "GET DS ALL\rGET SYSCONFIG\rRELATION ADD 5 0 1\rRELATION ADD 5 0 1\r");
}

TEST_F(SerialLinkTest, BytesArrivingWhileTheCompletionBoxWaitsAreHandledAfterIt)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/serial-box";
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
    ReplyLines = {"", "YPROTRADIOCHANNELS 2 33"};
    CommandCaptions = {"", ""};
    CommandCount = 1;
    ReplyLineCount = 1;
    std::string inBox;
    window.WhileMessageOpen = [&] {
        port.Send("AFTER ONE\rAFTER");
        Pause(150);
        port.Send(" TWO\r");
        Pause(150);
        inBox = LastRxLine;
    };
    EXPECT_EQ(link.Transact(ProgramWait, "YPROTRADIOCHANNELS 2 33", kReplyTimeoutMs), ProgramDone);
    EXPECT_EQ(inBox, "YPROTRADIOCHANNELS 2 33") << "the receive handler ran inside the box";
    EXPECT_EQ(LastRxLine, "AFTER TWO");
    std::ifstream in(ProgLogPath(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Programming Completed Successfully\r\n<- AFTER ONE\r\n<- AFTER TWO\r\n"),
              std::string::npos)
        << text;
}

TEST_F(SerialLinkTest, ThePortGoingAwayEndsTheWaitWithAFailure)
{
    platform::SetTimeoutScale(0.5);
    unit.SetFailure(FailureMode::PortGone, "GET SWV");
    link.BeginBusy();
    EXPECT_EQ(ReadUnitType(link, 0), 3);
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_FALSE(link.Busy());
    ASSERT_FALSE(window.PlainMessages.empty());
    EXPECT_EQ(window.PlainMessages[0].Title, "Communications Error");
    EXPECT_EQ(window.PlainMessages[0].Text.rfind("Unexpected Communications Error - ", 0), 0u);
    EXPECT_FALSE(serial.Comm().PortOpen());
}

TEST_F(SerialLinkTest, TrafficIsWrittenToProgLogInTheLogFormat)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/serial-log";
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
    WriteProgLogOpeningHeader();
    unit.AddNoiseBeforeNextAnswer("critical error: x");
    EXPECT_TRUE(StopDebugOutput(link));
    link.LogLine("Connected to Radio Hub", true);
    std::ifstream in(ProgLogPath(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string header = LogHeaderLine(0).substr(0, 20);
    ASSERT_EQ(text.substr(0, 22), "\r\n" + header);
    const size_t body = text.find("\r\n\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(text.substr(body + 6),
              "-> DEBUGOFF ALL\r\n<- DEBUGOFF ALL\r\n-> DS MON DIS\r\n<- DS MON STOP\r\n"
              "Connected to Radio Hub\r\n");
}

} // namespace
