// The engine: framing, resends and failure, line assembly and filters.
#include "LinkFixture.h"
#include "hublink/core/UnitQueries.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Writes = std::vector<VirtualBench::Write>;

const char* const kFailure = "Communications Failure,  Please check Comms Port and try again\r\n\r\n";

TEST_F(LinkFixture, SilentUnitGetsTwoResendsEachAfterABareCrThenFails)
{
    unit.SetFailure(FailureMode::Silent);
    link.BeginBusy();
    ReplyLineCount = 0;
    EXPECT_EQ(link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs), CommsFailed);
    const Writes expected = {
        {0, "IDENTREAD\r"}, {600, "\r"}, {600, "IDENTREAD\r"}, {1200, "\r"}, {1200, "IDENTREAD\r"}};
    ASSERT_EQ(bench.Writes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bench.Writes[i].AtMs, expected[i].AtMs) << i;
        EXPECT_EQ(bench.Writes[i].Bytes, expected[i].Bytes) << i;
    }
    EXPECT_EQ(bench.NowMs(), 1800);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"...Retry", "...Retry", kFailure}));
    EXPECT_FALSE(link.Busy());
    EXPECT_FALSE(bench.ControlsBusy);
    EXPECT_FALSE(bench.Enabled());
}

TEST_F(LinkFixture, ResendsWaitFiveSecondsForTheFirstListCommandAndForPopulateClear)
{
    unit.SetFailure(FailureMode::Silent);
    ReplyLineCount = 1;
    EXPECT_EQ(link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.NowMs(), 600 + 5000 + 5000);

    bench.Writes.clear();
    ReplyLineCount = 0;
    const int64_t start = bench.NowMs();
    EXPECT_EQ(link.Transact(PopulateClearWait, "POPULATE CLEAR", 5000), CommsFailed);
    EXPECT_EQ(bench.NowMs() - start, 15000);
    EXPECT_EQ(bench.Writes[1].AtMs - start, 5000);
}

TEST_F(LinkFixture, AnswerAfterOneResendEndsTheWait)
{
    unit.SetFailure(FailureMode::Silent, "GET LP", 1);
    EXPECT_EQ(ReadLoopProtocol(link), 1);
    EXPECT_EQ(RetryCount, 1);
    EXPECT_EQ(Count(bench.Box, "...Retry"), 1);
    EXPECT_EQ(bench.NowMs(), 600);

    unit.SetFailure(FailureMode::Garbled, "GET LP", 2);
    EXPECT_EQ(ReadLoopProtocol(link), 1) << "a new command starts with a fresh retry count";
    EXPECT_EQ(RetryCount, 2);

    unit.SetLateDelayMs(900);
    unit.SetFailure(FailureMode::Late, "GET LP", 1);
    EXPECT_EQ(ReadLoopProtocol(link), 1) << "the late answer to the first send is taken";
    EXPECT_EQ(RetryCount, 1);
}

TEST_F(LinkFixture, DebugOffFailsAtOnceWithoutResendOrMessage)
{
    unit.SetFailure(FailureMode::Silent);
    link.BeginBusy();
    EXPECT_FALSE(StopDebugOutput(link));
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_EQ(bench.Writes.size(), 1u);
    EXPECT_EQ(bench.NowMs(), 600);
    EXPECT_TRUE(bench.Box.empty());
    EXPECT_TRUE(link.Busy()) << "the busy state is left to the caller";
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

TEST_F(LinkFixture, TimerTicksInOtherStatesChangeNothing)
{
    CommsState = SoftwareVersionDone;
    bench.Start(600);
    bench.RunFor(3000);
    EXPECT_EQ(CommsState, SoftwareVersionDone);
    EXPECT_TRUE(bench.Writes.empty());
}

TEST_F(LinkFixture, UnknownCommandEndsTheWaitAtOnceAndIsStillDispatched)
{
    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(link.Transact(ProgramWait, "POPULATE LOOP1 NODE 40 3 0F00D", kReplyTimeoutMs), UnknownCommand);
    EXPECT_EQ(bench.NowMs(), 0);
    EXPECT_FALSE(bench.Enabled());
    EXPECT_EQ(LastRxLine, "Unknown Command");
}

TEST_F(LinkFixture, PortErrorOnSendFailsAndReportsTheError)
{
    unit.SetFailure(FailureMode::PortGone, "GET SWV");
    link.BeginBusy();
    EXPECT_EQ(ReadUnitType(link, 0), 3);
    ASSERT_EQ(bench.CommsErrors.size(), 1u) << "the loss is reported once";
    EXPECT_EQ(bench.CommsErrors[0], "Unexpected Communications Error - 5\r\nInput/output error");
    EXPECT_FALSE(link.Busy());

    EXPECT_EQ(link.Transact(IdentReadWait, "IDENTREAD", kReplyTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.CommsErrors.size(), 2u);
}

struct ReceiveCase
{
    const char* bytes;
    const char* dispatched; // the line that reached the dispatcher in state 0 ("" none)
    const char* lastLine;
};

TEST_F(LinkFixture, ReceivedLinesAreAssembledAndFiltered)
{
    const ReceiveCase cases[] = {
        {"ASSIGN_OK_1A2B3\r", "ASSIGN OK 1A2B3", "ASSIGN OK 1A2B3"},
        {"DS MON STOP\r\n", "DS MON STOP", "DS MON STOP"},
        {"xx Critical Error: radio\r", "", "xx Critical Error: radio"},
        {"UNHANDLED packet 12\r", "", "UNHANDLED packet 12"},
        {"Node Old Added\r", "", "Node Old Added"},
        {"NODE OLD ADDED\r", "NODE OLD ADDED", "NODE OLD ADDED"},
        {"IDENT\nREAD 1\r", "IDENTREAD 1", "IDENTREAD 1"},
        {"ABC\r\r\n", "ABC", ""},
    };
    LogProg = true;
    for (const ReceiveCase& c : cases) {
        SCOPED_TRACE(c.bytes);
        LogFolder = ::testing::TempDir() + "/filters";
        std::filesystem::remove_all(LogFolder);
        std::filesystem::create_directories(LogFolder);
        CommsState = Idle;
        link.Comm_OnComm(c.bytes);
        EXPECT_EQ(LastRxLine, c.lastLine);
        EXPECT_TRUE(RxLine.empty());
        std::ifstream in(LogFolder + "/ProgLog.txt", std::ios::binary);
        const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string expected = *c.dispatched == '\0'
                                         ? std::string()
                                         : "<- " + std::string(c.dispatched) + "\r\n" + c.dispatched + "\r\n";
        const size_t body = log.find("\r\n\r\n\r\n");
        EXPECT_EQ(body == std::string::npos ? std::string() : log.substr(body + 6), expected);
    }
}

TEST_F(LinkFixture, RelationAlreadyCountsAsTheEchoOfTheCommandInFlight)
{
    EXPECT_EQ(link.Transact(RelationDeleteWait, "RELATION DEL 5 3", kReplyTimeoutMs), DeleteDone);
    CommsState = RelationDeleteWait;
    CommandText = "RELATION DEL 6 0";
    link.Comm_OnComm("ERROR Relation already gone\r");
    EXPECT_EQ(CommsState, DeleteDone);
    EXPECT_EQ(LastRxLine, "RELATION DEL 6 0");
}

TEST_F(LinkFixture, SendDiscardsAPartlyReceivedLine)
{
    link.Comm_OnComm("HUB V2");
    EXPECT_EQ(RxLine, "HUB V2");
    EXPECT_EQ(ReadUnitType(link, 0), 1);
    EXPECT_EQ(HubVersion, "3.10");
}

TEST_F(LinkFixture, ALineThatNeverEndsIsCappedLoggedAndDropped)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/endless";
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
    CommsState = IdentReadWait;
    link.Comm_OnComm(std::string(3000, 'A'));
    EXPECT_LE(RxLine.size(), CommsLink::kMaxLineLength);
    link.Comm_OnComm(std::string(3000, 'A') + "IDENTREAD 01A2B\r");
    EXPECT_EQ(CommsState, IdentReadWait) << "the tail of the dropped line is not a reply";
    link.Comm_OnComm("IDENTREAD 01A2B\r");
    EXPECT_EQ(CommsState, IdentReadDone);
    std::ifstream in(LogFolder + "/ProgLog.txt", std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("line longer than 1024 characters dropped"), std::string::npos);
    EXPECT_LT(log.size(), 500u);

    link.Comm_OnComm(std::string(2000, 'B'));
    EXPECT_EQ(ReadIdent(link), "01A2B");
    EXPECT_EQ(RetryCount, 0) << "a send ends the dropped line, as it ends any partial line";
}

TEST_F(LinkFixture, BytesArrivingWhileABoxIsOpenAreHandledAfterItInOrder)
{
    ReplyLines = {"", "YPROTRADIOCHANNELS 2 33"};
    CommandCaptions = {"", ""};
    CommandCount = 1;
    ReplyLineCount = 1;
    std::string seenInBox;
    bench.WhileMessageOpen = [&] {
        link.Comm_OnComm("LATE ONE\rLATE");
        link.Comm_OnComm(" TWO\r");
        seenInBox = LastRxLine;
    };
    EXPECT_EQ(link.Transact(ProgramWait, "YPROTRADIOCHANNELS 2 33", kReplyTimeoutMs), ProgramDone);
    EXPECT_EQ(seenInBox, "YPROTRADIOCHANNELS 2 33") << "the handler was re-entered";
    EXPECT_EQ(LastRxLine, "LATE TWO");
    ASSERT_EQ(bench.Messages.size(), 1u);
    EXPECT_EQ(bench.Messages[0].Text, "Programming Completed Successfully");
    EXPECT_EQ(bench.Messages[0].Style, 64);
}

} // namespace
