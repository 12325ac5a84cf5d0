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
#include <QTimer>
#include <ctime>

using namespace hublink;

namespace {

class SerialLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ResetSiteState();
        platform::ResetPortList();
        // Patient time-outs: an answer held up by a busy machine is never
        // taken for a missing one (the debug-off request is asked once).
        platform::SetTimeoutScale(5.0);
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        ASSERT_EQ(serial.ResetPort(nullptr), PortStatus::Ready);
        ASSERT_TRUE(serial.Comm().PortOpen());
    }
    void TearDown() override { platform::SetTimeoutScale(1.0); }

    SimulatedUnit unit;
    SimulatedPort port{unit};
    RecordingWindow window;
    SerialLink serial{window, window};
    CommsLink& link = serial.Link();
};

TEST_F(SerialLinkTest, QueriesOfAHubRccAndRlmPutTheExactBytesOnTheWire)
{
    const std::string queries = "GET SWV\rIDENTREAD\rQUERY LOOPCOUNT\rGET LP\r";
    const std::tuple<UnitKind, int16_t, std::string> cases[] = {
        {UnitKind::Hub, 0, "\r\n\rDEBUGOFF ALL\rDS MON DIS\r" + queries},
        {UnitKind::Rlm, 0, "\r\n\rDEBUGOFF ALL\r" + queries},
    };
    unit.SetIdent("0F00D");
    unit.SetLoopCountText("4");
    unit.SetProtocolWord("ZP3");
    for (const auto& [kind, node, wire] : cases) {
        SCOPED_TRACE(static_cast<int>(kind));
        unit.ClearRecord();
        unit.SetKind(kind);
        IsLoopInterface = kind == UnitKind::Rlm;
        link.SendWakeUp();
        EXPECT_TRUE(StopDebugOutput(link));
        EXPECT_EQ(ReadUnitType(link, node), 1);
        EXPECT_EQ(ReadIdent(link), "0F00D");
        EXPECT_EQ(ReadLoopCount(link), 4);
        EXPECT_EQ(ReadLoopProtocol(link), 2);
        EXPECT_EQ(unit.Wire(), wire);
    }
}

TEST_F(SerialLinkTest, ThePortGoingAwayEndsTheWaitAtOnceAndDisablesThePort)
{
    // The time-out lengthened to 100 s, far beyond the moment the port goes
    // on any machine: the wait is over before it could fire, ended by the
    // port's loss, with the one send of the command and no resend.
    platform::SetTimeoutScale(10.0);
    unit.SetFailure(FailureMode::PortGone, "UNASSIGN ALL");
    link.BeginBusy();
    int ticks = 0;
    QObject::connect(&serial.ReplyTimer(), &QTimer::timeout, [&ticks] { ++ticks; });
    unit.ClearRecord();
    EXPECT_EQ(link.Transact(CommsStateCode::UnassignAllWait, "UNASSIGN ALL", kUnassignTimeoutMs),
              CommsStateCode::CommsFailed);
    EXPECT_EQ(ticks, 0) << "the reply time-out ended the wait";
    EXPECT_EQ(link.Session().RetryCount, 0);
    EXPECT_EQ(unit.Wire(), "UNASSIGN ALL\r") << "one send, no resend";
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
    // Nothing is sent: only the watch of the idle port can close it.
    port.Unplug();
    EXPECT_TRUE(platform::WaitUntil([&] { return !serial.Comm().PortOpen(); }, 60000));
    EXPECT_FALSE(PortEnabled);
    EXPECT_EQ(window.PlainMessages.size(), 1u);

    timespec before{}, after{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &before);
    QElapsedTimer clock;
    clock.start();
    platform::WaitUntil([&] { return clock.elapsed() >= 300; });
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &after);
    const double cpuMs = (after.tv_sec - before.tv_sec) * 1e3 + (after.tv_nsec - before.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 100) << "no reading of a dead port in a loop";
}

} // namespace

// The port is opened with the control lines the settings hold: a unit or a
// cable powered or switched by DTR or RTS hears nothing otherwise.
TEST_F(SerialLinkTest, ThePortOpensWithTheControlLinesOfTheSettings)
{
    for (const auto& [dtr, rts] : {std::pair{true, false}, {false, true}, {true, true}}) {
        PortDTR = dtr;
        PortRTS = rts;
        ASSERT_EQ(serial.ResetPort(nullptr), PortStatus::Ready);
        EXPECT_TRUE(serial.Comm().PortOpen());
        EXPECT_EQ(std::pair(serial.Comm().DTREnable(), serial.Comm().RTSEnable()), std::pair(dtr, rts));
    }
}
