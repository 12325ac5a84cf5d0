// The diagnostics command set end to end against the simulated unit.
#include "DiagsBench.h"
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/core/DiagsSession.h"
#include "hublink/core/UnitQueries.h"
#include "model/TestFiles.h"
#include "support/ListAt.h"

#include <filesystem>

using enum diagnostics::DiagsStateCode;
using testsupport::At;
using testsupport::Last;

namespace {

const std::vector<std::string> kSiteUnits = {"POPULATE LOOP1 NODE 5 1 0A001 0", "POPULATE LOOP1 CALLPOINT 6 1 0A002 0",
                                             "POPULATE LOOP2 CALLPOINT 7 1 0A003 0"};

TEST_F(DiagsFixture, TheSoftwareVersionAndWithoutANodeTheIdentLetOnlyTheHubBeDiagnosed)
{
    using enum diagnostics::UnitGate;
    using enum FailureMode;
    struct Case
    {
        std::string reply;
        FailureMode failure; // of GET SWV
        int node;
        std::string hubIdent;
        diagnostics::UnitGate gate;
        std::string version;
    } const cases[] = {
        {"HUB V3.10.07X", None, 0, "", Accepted, "3.10.07"},  {"HUB V2.33", None, 3, "", Accepted, "2.33"},
        {"HUB V2.33", None, -1, "0A001", Accepted, "2.33"},   {"HUB V2.33", None, -1, "0A002", Refused, "2.33"},
        {"RCC V3.00", None, 0, "", Refused, "3.00"},          {"RCC V3.00", None, -1, "0A001", Refused, "3.00"},
        {"RCC V3.00", None, 2, "", Refused, "3.00"},          {"ZRLM V1.00", None, 0, "", Accepted, "1.00"},
        {"", Silent, 0, "", Accepted, ""},                    {"", UnknownCommand, 2, "", Refused, ""},
        {"", PortGone, 0, "", PortLost, ""},
    };
    unit.SetIdent("0A001");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply + " at node " + std::to_string(c.node));
        unit.SetSoftwareVersionLine(c.reply);
        unit.SetFailure(c.failure, "GET SWV");
        diagnostics::DiagsSession session;
        session.UnitVersion = "old";
        EXPECT_EQ(session.CheckUnit(diags, c.node, c.hubIdent), c.gate);
        EXPECT_EQ(session.UnitVersion, c.version);
    }
    EXPECT_EQ(window.Failures.size(), 1u) << "only the lost port is told: an unanswered GET SWV fails silently";
}

TEST_F(DiagsFixture, SilentUnitFailsAfterTwoResendsWhileDebugOffFailsQuietly)
{
    unit.SetFailure(FailureMode::Silent);
    EXPECT_FALSE(diags.StopHubDebugOutput());
    EXPECT_EQ(SendTimes("DEBUGOFF ALL"), (std::vector<int64_t>{0}));
    EXPECT_EQ(SendTimes("DS MON DIS"), (std::vector<int64_t>{600, 1200, 1800}));
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(window.Failures, (std::vector<std::string>{"Communications Failure,  Please reset Radio Hub and try again"}));

    ActiveNode = 4;
    bench.Writes.clear();
    diags.Request(IdentReadWait, "IDENTREAD");
    EXPECT_EQ(SendTimes("IDENTREAD").size(), 3u) << "each command has its own resends";
    EXPECT_EQ(Last(window.Failures), "Communications Failure,  Please reset RCC 4 and try again");
    ActiveNode = -1;
    diags.Request(IdentReadWait, "IDENTREAD");
    EXPECT_EQ(Last(window.Failures), "Communications Failure,  Please reset unit and try again");
}

TEST_F(DiagsFixture, ListsAreCollectedWithTheirEchoAndFailAtOnceWhenTheyStop)
{
    unit.SetConfiguration(kSiteUnits);
    unit.SetStatus("0A002", "BL0 TA");
    EXPECT_TRUE(diagnostics::CollectList(diags, AllStatusCollect, "GET DS ALL", false));
    EXPECT_EQ(link.Session().ReplyLines, (std::vector<std::string>{"", "GET DS ALL", "DS LOOP1 5 SSG", "DS LOOP1 6 BL0 TA",
                                                    "DS LOOP2 7 SSG"}));
    EXPECT_EQ(window.Progress, 100);

    EXPECT_TRUE(diagnostics::CollectList(diags, DailyMaxCollect, "GET DM ALL", false));
    EXPECT_EQ(At(link.Session().ReplyLines, 1), "IDENT=0A001 LOOP1 5 45dBm") << "the header is not stored";

    EXPECT_EQ(diags.Request(RadioDataWait, "GET RADIO ALL"), RadioDataDone);
    EXPECT_EQ(link.Session().ReplyLines, (std::vector<std::string>{"", "RADIO 0A001 LOOP1 5", "RADIO 0A002 LOOP1 6",
                                                    "RADIO 0A003 LOOP2 7"}));

    unit.SetFailure(FailureMode::DropMidReply, "GET SS ALL");
    const int64_t start = bench.NowMs();
    EXPECT_FALSE(diagnostics::CollectList(diags, SignalsCollect, "GET SS ALL", false));
    EXPECT_EQ(SendTimes("GET SS ALL").size(), 1u) << "a list that stops is not asked again";
    EXPECT_EQ(bench.NowMs() - start, 1000);

    unit.SetStatus("0A002", std::string(CommsLink::kMaxLineLength, 'X'));
    EXPECT_EQ(diags.Request(AllStatusCollect, "GET DS ALL"), CommsFailed) << "a refused line fails its list";
}

// An older hub refuses "DS MON DIS" past the time-out, so it is resent: the
// refusal owed to the resend comes while the status list arrives, and
// answers the resend, not the list.
TEST_F(DiagsFixture, ARefusalOwedToAResendLeavesTheNextListAlone)
{
    unit.SetConfiguration(kSiteUnits);
    unit.Refuse("DS MON DIS");
    unit.SetAnswerDelayMs("DS MON DIS", 700);
    unit.SetLineGapMs(300);
    EXPECT_FALSE(diags.StopHubDebugOutput());
    ASSERT_EQ(SendTimes("DS MON DIS").size(), 2u) << "resent once before its refusal came";
    EXPECT_EQ(link.Session().CommsState, UnknownCommand);
    EXPECT_TRUE(diagnostics::CollectList(diags, AllStatusCollect, "GET DS ALL", false));
    EXPECT_EQ(link.Session().ReplyLines, (std::vector<std::string>{"", "GET DS ALL", "DS LOOP1 5 SSG", "DS LOOP1 6 SSG",
                                                                   "DS LOOP2 7 SSG"}));
    EXPECT_TRUE(window.Failures.empty());

    // A hub that answers in turn sends that refusal only after the list's
    // own time-out, which fails the list; the refusal ends neither the
    // failed list nor the reading asked next.
    unit.SetAnswersInTurn(true);
    EXPECT_FALSE(diags.StopHubDebugOutput());
    EXPECT_FALSE(diagnostics::CollectList(diags, AllStatusCollect, "GET DS ALL", false));
    bench.RunFor(200);
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(window.Failures.size(), 1u);
    EXPECT_EQ(ReadIdent(link), "01A2B");
}

TEST_F(DiagsFixture, ManualUpdateTakesTheReplyForTheAddressAskedOnALoopInterfaceSite)
{
    unit.SetConfiguration(kSiteUnits);
    unit.SetLinkBudgets("0A002", {21, 22, 23, 24});
    struct Case
    {
        bool loopInterface;
        std::string command;
        int expected;
        StateCode state;
        std::string reply;
    };
    const Case cases[] = {
        {false, "GET_MANUAL_UPDATE_1_006", 6, ManualUpdateDone, "MANUAL UPDATE 1 6 3.10 21 22 23 24"},
        {true, "GET_MANUAL_UPDATE_1_006", 6, ManualUpdateDone, "MANUAL UPDATE 1 6 3.10 21 22 23 24"},
        {true, "GET_MANUAL_UPDATE_1_006", 7, ManualUpdateTimedOut, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + " " + std::to_string(c.expected));
        IsLoopInterface = c.loopInterface;
        link.Session().ReplyLines.assign(3, "stale");
        const int64_t start = bench.NowMs();
        const auto reply = diagnostics::AskLinkBudget(diags, {.address = c.expected, .command = c.command});
        EXPECT_EQ(reply.state, c.state);
        EXPECT_EQ(reply.line, c.reply);
        EXPECT_EQ(bench.NowMs() - start == 15000, c.state == ManualUpdateTimedOut) << "only a time-out waits 15 s";
    }
}

TEST_F(DiagsFixture, TrafficGoesToDiagsLogAndAFailedWriteIsToldOnceWithoutFailingTheCommand)
{
    LogInto("traffic");
    unit.SetFailure(FailureMode::Silent, "IDENTREAD", 1);
    EXPECT_EQ(ReadIdent(bench.Link()), "01A2B");
    const std::string text = testfiles::ReadBytes(DiagsLogPath());
    const size_t body = text.find("\r\n\r\n\r\n");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(text.substr(0, 20), "~~~~~~~~~~~~~~~~~~~ ");
    EXPECT_EQ(text.substr(body + 6),
              "-> IDENTREAD\r\nIDENTREAD - ReTry\r\n-> IDENTREAD\r\n<- IDENTREAD 01A2B\r\n");

    LogFolder += "/missing-folder";
    EXPECT_TRUE(diags.StopHubDebugOutput());
    EXPECT_EQ(window.LogFailures.size(), 1u);
    EXPECT_TRUE(window.Failures.empty());

    LogDiags = false;
    LogInto("off");
    LogDiags = false;
    EXPECT_TRUE(diags.StopHubDebugOutput());
    EXPECT_FALSE(std::filesystem::exists(DiagsLogPath())) << "nothing is logged while logging is off";
}

TEST_F(DiagsFixture, LostPortEndsTheWaitAtOnceWithTheFailureText)
{
    unit.SetFailure(FailureMode::PortGone, "GET DS ALL");
    EXPECT_EQ(diags.Request(AllStatusCollect, "GET DS ALL"), CommsFailed);
    EXPECT_LT(bench.NowMs(), 600);
    EXPECT_EQ(window.Failures.size(), 1u);
    EXPECT_EQ(bench.CommsErrors.size(), 1u);
}

} // namespace
