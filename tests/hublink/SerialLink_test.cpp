// The link end to end: the Qt serial control on a pseudo-terminal, answered
// by the simulated unit from its thread.
#include "hublink/SerialLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/SiteState.h"
#include "platform/Ports.h"
#include "platform/Yield.h"
#include "platform/base/TimeoutScale.h"
#include "support/LinkTestHelpers.h"
#include "support/RecordingWindow.h"
#include "support/SimulatedPort.h"

#include <QElapsedTimer>
#include <algorithm>
#include <ctime>

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

    int32_t CollectConfiguration()
    {
        link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs);
        link.WaitWhileState({SysConfigCollect});
        return CommsState;
    }

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
    const std::string queries = "GET SWV\rIDENTREAD\rQUERY LOOPCOUNT\rGET LP\r";
    const std::tuple<UnitKind, int16_t, int32_t, std::string> cases[] = {
        {UnitKind::Hub, 0, 4, "\r\n\rDEBUGOFF ALL\rDS MON DIS\r" + queries},
        {UnitKind::Rcc, 3, 5, "\r\n\rDEBUGOFF ALL\rDS MON DIS\r" + queries},
        {UnitKind::Rlm, 0, 6, "\r\n\rDEBUGOFF ALL\r" + queries},
    };
    unit.SetIdent("0F00D");
    unit.SetLoopCountText("4");
    unit.SetProtocolWord("ZP3");
    for (const auto& [kind, node, type, wire] : cases) {
        SCOPED_TRACE(static_cast<int>(kind));
        unit.ClearRecord();
        unit.SetKind(kind);
        IsLoopInterface = kind == UnitKind::Rlm;
        link.SendWakeUp();
        EXPECT_TRUE(StopDebugOutput(link));
        EXPECT_EQ(ReadUnitType(link, node), 1);
        EXPECT_EQ(ConnectedUnitType, type);
        EXPECT_EQ(HubVersion, "3.10");
        EXPECT_EQ(ReadIdent(link), "0F00D");
        EXPECT_EQ(ReadLoopCount(link), 4);
        EXPECT_EQ(ReadLoopProtocol(link), 2);
        EXPECT_EQ(unit.Wire(), wire);
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
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 5000);
    platform::WaitUntil([&] { return unit.Commands().size() >= 5; }, 5000);
    const auto commands = unit.Commands();
    ASSERT_EQ(commands.size(), 5u);
    const std::vector<std::string> lines = {"IDENTREAD", "", "IDENTREAD", "", "IDENTREAD"};
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(commands[i].Line, lines[i]) << i;
    for (size_t i : {2u, 4u}) {
        EXPECT_GE(commands[i].AtMs - commands[i - 2].AtMs, 200) << i;
        EXPECT_LT(commands[i].AtMs - commands[i - 2].AtMs, 2000) << i;
    }
    EXPECT_EQ(window.Box, (std::vector<std::string>{
                              "...Retry", "...Retry",
                              "Communications Failure,  Please check Comms Port and try again\r\n\r\n"}));
    EXPECT_FALSE(link.Busy());
}

TEST_F(SerialLinkTest, FailureModesOfTheUnit)
{
    unit.SetFailure(FailureMode::Garbled, "IDENTREAD", 1);
    EXPECT_EQ(ReadIdent(link), "01A2B");
    EXPECT_EQ(RetryCount, 1);

    // Half a time-out either side of the answer, so a busy machine cannot
    // move it past a resend.
    unit.SetLateDelayMs(900);
    unit.SetFailure(FailureMode::Late, "GET LP", 1);
    EXPECT_EQ(ReadLoopProtocol(link), 1);
    EXPECT_EQ(RetryCount, 1);
    Pause(900); // the late answer to the resend arrives, and is taken by nothing
    platform::SetTimeoutScale(0.5);

    unit.SetFailure(FailureMode::UnknownCommand, "QUERY LOOPCOUNT");
    EXPECT_EQ(ReadLoopCount(link), -1);
    unit.SetFailure(FailureMode::UnknownCommand, "GET SWV");
    EXPECT_EQ(ReadUnitType(link, 2), 1);
    EXPECT_EQ(ConnectedUnitType, 5);

    unit.SetConfiguration({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                           "RELATION ADD 5 0 1", "XPROTRADIOCHANNELS 6 7 5"});
    unit.SetFailure(FailureMode::DropMidReply, "GET SYSCONFIG", 1);
    EXPECT_EQ(CollectConfiguration(), CommsFailed);
    EXPECT_EQ(ReplyLines,
              (std::vector<std::string>{"", "POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33"}));
    EXPECT_EQ(CollectConfiguration(), SysConfigDone);
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
    EXPECT_EQ(window.Box.back(), "Device Status Successfully Obtained");

    unit.SetConfiguration(
        {"POPULATE_LOOP2_CALLPOINT_17_3_1A2B3_0", "  RELATION ADD 5 0 1", "RELATION ADD 6 0 1"});
    EXPECT_EQ(CollectConfiguration(), SysConfigDone);
    EXPECT_EQ(ReplyLines,
              (std::vector<std::string>{"", "POPULATE LOOP2 CALLPOINT 17 3 1A2B3 0", "RELATION ADD 6 0 1"}));

    unit.SetConfiguration({});
    EXPECT_EQ(SendProgramList(link, {"RELATION ADD 5 0 1", "RELATION ADD 5 0 1"}), ProgramDone)
        << "\"Relation already exists\" acknowledges";
    EXPECT_EQ(unit.Wire(), "GET DS ALL\rGET SYSCONFIG\rRELATION ADD 5 0 1\rRELATION ADD 5 0 1\r");
}

TEST_F(SerialLinkTest, BytesArrivingWhileTheCompletionBoxWaitsAreReadAfterItInOrder)
{
    LogIntoFreshFolder("serial-box");
    std::string inBox;
    window.WhileMessageOpen = [&] {
        port.Send("AFTER ONE\rAFTER");
        Pause(150);
        port.Send(" TWO\r");
        Pause(150);
        inBox = LastRxLine;
    };
    EXPECT_EQ(SendProgramList(link, {"YPROTRADIOCHANNELS 2 33"}), ProgramDone);
    EXPECT_EQ(inBox, "YPROTRADIOCHANNELS 2 33") << "the receive handler ran inside the box";
    platform::WaitUntil([] { return LastRxLine == "AFTER TWO"; }, 5000);
    EXPECT_NE(ProgLogText().find("Programming Completed Successfully\r\n<- AFTER ONE\r\n<- AFTER TWO\r\n"),
              std::string::npos)
        << ProgLogText();
}

TEST_F(SerialLinkTest, ThePortGoingAwayEndsTheWaitAtOnceAndDisablesThePort)
{
    unit.SetFailure(FailureMode::PortGone, "UNASSIGN ALL");
    link.BeginBusy();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(link.Transact(UnassignAllWait, "UNASSIGN ALL", kUnassignTimeoutMs), CommsFailed);
    EXPECT_LT(clock.elapsed(), 1000) << "not the ten seconds of the time-out";
    EXPECT_FALSE(link.Busy());
    EXPECT_EQ(window.Box,
              (std::vector<std::string>{"Communications Failure,  Please check Comms Port and try again\r\n\r\n"}));
    EXPECT_FALSE(serial.Comm().PortOpen());
    EXPECT_FALSE(PortEnabled);
    ASSERT_EQ(window.PlainMessages.size(), 1u) << "the loss is reported once";
    EXPECT_EQ(window.PlainMessages[0].Title, "Communications Error");
    EXPECT_EQ(window.PlainMessages[0].Text.rfind("Unexpected Communications Error - ", 0), 0u);

    EXPECT_EQ(ReadUnitType(link, 0), kUnitTypeNoPort) << "neither 1 nor 3, which the opening takes as a match";
    EXPECT_EQ(window.PlainMessages.size(), 2u) << "and again for each later send";
}

TEST_F(SerialLinkTest, APortLostWhileIdleIsClosedAtOnceAndLeavesTheProcessorIdle)
{
    QElapsedTimer clock;
    clock.start();
    port.Unplug();
    EXPECT_TRUE(platform::WaitUntil([&] { return !serial.Comm().PortOpen(); }, 2000));
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_FALSE(PortEnabled);
    EXPECT_EQ(window.PlainMessages.size(), 1u);

    timespec before{}, after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    Pause(300);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    const double cpuMs = (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 100) << "no reading of a dead port in a loop";
}

TEST_F(SerialLinkTest, AWaitEndsWithTheReplyNotAtTheNextPoll)
{
    std::vector<qint64> trips;
    QElapsedTimer clock;
    for (int i = 0; i < 31; ++i) {
        clock.start();
        EXPECT_EQ(ReadIdent(link), "01A2B");
        trips.push_back(clock.nsecsElapsed());
    }
    std::sort(trips.begin(), trips.end());
    EXPECT_LT(trips[trips.size() / 2], 2'500'000) << "median round trip in ns";
}

TEST_F(SerialLinkTest, TrafficIsWrittenToProgLogInTheLogFormat)
{
    LogIntoFreshFolder("serial-log");
    WriteProgLogOpeningHeader();
    unit.AddNoiseBeforeNextAnswer("critical error: x");
    EXPECT_TRUE(StopDebugOutput(link));
    link.LogLine("Connected to Radio Hub", true);
    EXPECT_EQ(ProgLogText().substr(0, 22), "\r\n" + LogHeaderLine(0).substr(0, 20));
    EXPECT_EQ(ProgLogBody(), "-> DEBUGOFF ALL\r\n<- DEBUGOFF ALL\r\n-> DS MON DIS\r\n<- DS MON STOP\r\n"
                             "Connected to Radio Hub\r\n");
}

} // namespace
