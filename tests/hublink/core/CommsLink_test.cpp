// The engine: resends and failure, line assembly and filters.
#include "LinkFixture.h"
#include "hublink/core/UnitQueries.h"
#include "support/LinkTestHelpers.h"

#include <tuple>

namespace {

const char* const kFailure = "Communications Failure,  Please check Comms Port and try again\r\n\r\n";

TEST_F(LinkFixture, SilentUnitGetsTwoResendsEachAfterABareCrThenFails)
{
    unit.SetFailure(FailureMode::Silent);
    link.BeginBusy();
    EXPECT_EQ(link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs), CommsFailed);
    const std::vector<std::pair<int64_t, std::string>> expected = {
        {0, "IDENTREAD\r"}, {600, "\r"}, {600, "IDENTREAD\r"}, {1200, "\r"}, {1200, "IDENTREAD\r"}};
    ASSERT_EQ(bench.Writes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::make_pair(bench.Writes[i].AtMs, bench.Writes[i].Bytes), expected[i]) << i;
    EXPECT_EQ(bench.NowMs(), 1800);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"...Retry", "...Retry", kFailure}));
    EXPECT_FALSE(link.Busy());
    EXPECT_FALSE(bench.Enabled());

    EXPECT_EQ(link.Transact(PopulateClearWait, "POPULATE CLEAR", 5000), CommsFailed);
    EXPECT_EQ(bench.NowMs(), 1800 + 15000) << "POPULATE CLEAR waits 5000 ms to resend";
}

TEST_F(LinkFixture, DebugOffFailsAtOnceWithoutResendOrMessage)
{
    unit.SetFailure(FailureMode::Silent);
    link.BeginBusy();
    EXPECT_FALSE(StopDebugOutput(link));
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(bench.Writes.size(), 1u);
    EXPECT_EQ(bench.NowMs(), 600);
    EXPECT_TRUE(bench.Box.empty());
    EXPECT_TRUE(link.Busy()) << "the busy state is left to the caller";
    unit.SetFailure(FailureMode::Silent, "DS MON");
    EXPECT_FALSE(StopDebugOutput(link)) << "no debug stop without the monitor stop";
}

TEST_F(LinkFixture, UnassignStatesEndAsFailureAfterTheirTimeout)
{
    unit.SetFailure(FailureMode::Silent);
    EXPECT_EQ(link.Transact(UnassignAllWait, "UNASSIGN ALL", kUnassignTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.NowMs(), 10000);
    EXPECT_EQ(link.Transact(UnassignClearWait, "UNASSIGN CLEAR", kUnassignTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.NowMs(), 20000);
    EXPECT_EQ(bench.Writes.size(), 2u);
    unit.ClearFailure();
    EXPECT_EQ(link.Transact(UnassignAllWait, "UNASSIGN ALL", kUnassignTimeoutMs), UnassignAllDone);
}

TEST_F(LinkFixture, UnknownCommandEndsTheWaitAtOnceAndIsStillDispatched)
{
    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(link.Transact(ProgramWait, "POPULATE LOOP1 NODE 40 3 0F00D", kReplyTimeoutMs), UnknownCommand);
    EXPECT_EQ(bench.NowMs(), 0);
    EXPECT_FALSE(bench.Enabled());
    EXPECT_EQ(link.Session().LastRxLine, "Unknown Command");
}

TEST_F(LinkFixture, ReceivedLinesAreAssembledAndFiltered)
{
    // bytes, the line dispatched ("" = none), the last line
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"ASSIGN_OK_1A2B3\r", "ASSIGN OK 1A2B3", "ASSIGN OK 1A2B3"},
        {"xx Critical Error: radio\r", "", "xx Critical Error: radio"},
        {"UNHANDLED packet 12\r", "", "UNHANDLED packet 12"},
        {"Node Old Added\r", "", "Node Old Added"},
        {"NODE OLD ADDED\r", "NODE OLD ADDED", "NODE OLD ADDED"},
        {"IDENT\nREAD 1\r", "IDENTREAD 1", "IDENTREAD 1"},
        {"ABC\r\r\n", "ABC", ""},
    };
    for (const auto& [bytes, d, lastLine] : cases) {
        SCOPED_TRACE(bytes);
        const auto logs = LogIntoFreshFolder("filters");
        link.Comm_OnComm(bytes);
        EXPECT_EQ(link.Session().LastRxLine, lastLine);
        EXPECT_TRUE(link.Session().RxLine.empty());
        EXPECT_EQ(ProgLogBody(), d.empty() ? d : "<- " + d + "\r\n" + d + "\r\n");
    }
}

TEST_F(LinkFixture, ALineBeyondTheBoundIsRefusedAndFailsTheCommandWaitingForIt)
{
    const size_t bound = CommsLink::kMaxLineLength;
    link.Session().CommsState = DebugOffWait;
    link.Comm_OnComm("DEBUGOFF " + std::string(bound - 9, 'A') + "\r");
    EXPECT_EQ(link.Session().CommsState, DebugOffDone) << "a line at the bound is taken whole";
    EXPECT_EQ(link.Session().LastRxLine.size(), bound);

    const auto logs = LogIntoFreshFolder("endless");
    link.BeginBusy();
    link.Session().CommsState = IdentReadWait;
    link.Comm_OnComm("IDENTREAD " + std::string(bound, 'A'));
    const std::string refused = "The unit sent a line longer than 65536 characters, which was refused: IDENTREAD " +
                                std::string(30, 'A') + "...";
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(link.RefusedLine(), refused);
    EXPECT_EQ(bench.Box, std::vector<std::string>{refused});
    EXPECT_FALSE(link.Busy());
    link.Session().CommsState = IdentReadWait;
    link.Comm_OnComm(std::string(3000, 'A') + "IDENTREAD 01A2B\r");
    EXPECT_EQ(link.Session().CommsState, IdentReadWait) << "the tail of the refused line is not a reply";
    EXPECT_LT(ProgLogText().size(), 500u);

    link.Comm_OnComm(std::string(2000, 'B'));
    EXPECT_EQ(ReadIdent(link), "01A2B");
    EXPECT_EQ(link.Session().RetryCount, 0) << "a send ends the refused line, as it ends any partial line";
    EXPECT_EQ(link.RefusedLine(), "");
}

TEST_F(LinkFixture, BytesArrivingWhileABoxIsOpenAreHandledAfterItInOrder)
{
    std::string seenInBox;
    bench.WhileMessageOpen = [&] {
        link.Comm_OnComm("LATE ONE\rLATE");
        link.Comm_OnComm(" TWO\r");
        seenInBox = link.Session().LastRxLine;
    };
    EXPECT_EQ(SendProgramList(link, {"YPROTRADIOCHANNELS 2 33"}), ProgramDone);
    EXPECT_EQ(seenInBox, "YPROTRADIOCHANNELS 2 33") << "the handler was re-entered";
    EXPECT_EQ(link.Session().LastRxLine, "LATE TWO");
}

TEST_F(LinkFixture, ProgressStopsOneStepShortOfItsMaximum)
{
    bench.ProgressMaximum = 60;
    link.ProgressStep = 2;
    // From, to: a step that would reach the maximum is not taken.
    for (const auto& [from, to] : {std::pair{57, 59}, std::pair{58, 58}, std::pair{59, 59}}) {
        bench.Progress = from;
        link.AdvanceProgress();
        EXPECT_EQ(bench.Progress, to) << from;
    }
}

} // namespace
