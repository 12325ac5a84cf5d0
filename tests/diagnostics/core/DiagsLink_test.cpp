// The diagnostics command set end to end against the simulated unit.
#include "DiagsBench.h"
#include "diagnostics/core/DiagsLog.h"
#include "hublink/core/UnitQueries.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace hublink;
using enum CommsStateCode;
using enum diagnostics::DiagsStateCode;

namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> kSiteUnits = {"POPULATE LOOP1 NODE 5 1 0A001 0", "POPULATE LOOP1 CALLPOINT 6 1 0A002 0",
                                             "POPULATE LOOP2 CALLPOINT 7 1 0A003 0"};

TEST_F(DiagsFixture, SoftwareVersionDecidesWhichUnitMayBeDiagnosed)
{
    struct Case
    {
        std::string reply; // "" silent, "?" unknown command
        bool loopInterface;
        int expectedNode;
        int32_t result;
        std::string version;
    };
    const Case cases[] = {
        {"HUB V3.10.07X", false, 0, 1, "3.10.07"}, {"HUB V2.33", false, 3, 4, "2.33"},
        {"RCC V3.00", false, 0, 5, "3.00"},        {"RCC V3.00", false, -1, 5, "3.00"},
        {"RCC V3.00", false, 2, 1, "3.00"},        {"ALID V1.02", true, 0, 1, "1.02"},
        {"ALID V1.02", false, 0, 3, "1.02"},       {"ZRLM V1.00", true, 0, 3, "1.00"},
        {"", false, 0, 3, ""},                     {"?", false, 0, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        IsLoopInterface = c.loopInterface;
        unit.ClearFailure();
        if (c.reply.empty())
            unit.SetFailure(FailureMode::Silent, "GET SWV");
        else if (c.reply == "?")
            unit.SetFailure(FailureMode::UnknownCommand, "GET SWV");
        else
            unit.SetSoftwareVersionLine(c.reply);
        std::string version = "old";
        EXPECT_EQ(diags.ReadSoftwareVersion(c.expectedNode, version), c.result);
        EXPECT_EQ(version, c.version);
    }
    EXPECT_TRUE(window.Failures.empty()) << "an unanswered GET SWV fails silently";
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
    EXPECT_EQ(window.Failures.back(), "Communications Failure,  Please reset RCC 4 and try again");
    ActiveNode = -1;
    diags.Request(IdentReadWait, "IDENTREAD");
    EXPECT_EQ(window.Failures.back(), "Communications Failure,  Please reset unit and try again");
}

TEST_F(DiagsFixture, ListsAreCollectedWithTheirEchoAndFailAtOnceWhenTheyStop)
{
    unit.SetConfiguration(kSiteUnits);
    unit.SetStatus("0A002", "BL0 TA");
    EXPECT_EQ(diags.Request(AllStatusCollect, "GET DS ALL"), AllStatusDone);
    EXPECT_EQ(link.Session().ReplyLines, (std::vector<std::string>{"", "GET DS ALL", "DS LOOP1 5 SSG", "DS LOOP1 6 BL0 TA",
                                                    "DS LOOP2 7 SSG"}));
    EXPECT_EQ(window.Progress, 100);

    link.Session().EmptyReplyLines();
    diags.ReplyProgress = 0;
    window.Progress = 0;
    EXPECT_EQ(diags.Request(DailyMaxCollect, "GET DM ALL"), DailyMaxDone);
    EXPECT_EQ(link.Session().ReplyLines[1], "IDENT=0A001 LOOP1 5 45dBm") << "the header is not stored";

    EXPECT_EQ(diags.Request(RadioDataWait, "GET RADIO ALL"), RadioDataDone);
    EXPECT_EQ(link.Session().ReplyLines, (std::vector<std::string>{"", "RADIO 0A001 LOOP1 5", "RADIO 0A002 LOOP1 6",
                                                    "RADIO 0A003 LOOP2 7"}));

    link.Session().EmptyReplyLines();
    unit.SetFailure(FailureMode::DropMidReply, "GET SS ALL");
    const int64_t start = bench.NowMs();
    EXPECT_EQ(diags.Request(SignalsCollect, "GET SS ALL"), CommsFailed);
    EXPECT_EQ(SendTimes("GET SS ALL").size(), 1u) << "a list that stops is not asked again";
    EXPECT_EQ(bench.NowMs() - start, 1000);

    unit.SetStatus("0A002", std::string(CommsLink::kMaxLineLength, 'X'));
    EXPECT_EQ(diags.Request(AllStatusCollect, "GET DS ALL"), CommsFailed) << "a refused line fails its list";
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
        diags.ExpectedUpdateAddress = c.expected;
        link.Session().ReplyLines.assign(3, "");
        const int64_t start = bench.NowMs();
        EXPECT_EQ(diags.Request(ManualUpdateWait, c.command, kManualUpdateTimeoutMs), c.state);
        EXPECT_EQ(link.Session().ReplyLines[0], c.reply);
        if (c.state == ManualUpdateTimedOut) {
            EXPECT_EQ(bench.NowMs() - start, 15000);
        }
    }
}

TEST_F(DiagsFixture, TrafficGoesToDiagsLogAndAFailedWriteIsToldOnceWithoutFailingTheCommand)
{
    LogInto("traffic");
    unit.SetFailure(FailureMode::Silent, "IDENTREAD", 1);
    EXPECT_EQ(ReadIdent(bench.Link()), "01A2B");
    const std::string text = FileText(DiagsLogPath());
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
    LogFolder = ::testing::TempDir() + "/qvs-diag-off-" + std::to_string(::getpid());
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
