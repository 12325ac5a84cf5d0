// The unit queries against a simulated hub, RCC and radio loop module.
#include "LinkFixture.h"
#include "hublink/core/UnitQueries.h"

#include <tuple>

namespace {

TEST_F(LinkFixture, UnitTypeAndVersionAreReadFromHubRccAndRlm)
{
    // kind, "GET SWV" answer ("" = its own), node, result, unit type, version, loop interface
    const std::tuple<UnitKind, const char*, int16_t, int32_t, int32_t, const char*, bool> cases[] = {
        {UnitKind::Hub, "", 0, 1, 4, "3.10", false},
        {UnitKind::Hub, "", 3, 4, 4, "3.10", false},
        {UnitKind::Rcc, "", -1, 5, 5, "3.10", false},
        {UnitKind::Rlm, "", 0, 1, 6, "3.10", true},
        {UnitKind::Rcc, "RCC BUILD 7", 2, 1, 5, "", false},
        {UnitKind::Hub, "HUB V3.00.12 RADIO HUB", 0, 1, 4, "3.00.1", false},
        {UnitKind::Rlm, "ALID V1", 0, 1, 6, "1", true},
        {UnitKind::Hub, "hub V3.10", 0, 3, 3, "", false},
        // A unit that does not know the command takes its type from the node.
        {UnitKind::Hub, "Unknown Command", 0, 1, 4, "", false},
        {UnitKind::Hub, "Unknown Command", 5, 1, 5, "", false},
    };
    for (const auto& [kind, swv, node, result, unitType, version, loopInterface] : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " node " + std::to_string(node) + " " + swv);
        IsLoopInterface = !loopInterface;
        link.Session().HubVersion = "old";
        unit.SetKind(kind);
        unit.SetSoftwareVersionLine(swv);
        EXPECT_EQ(ReadUnitType(link, node), result);
        EXPECT_EQ(link.Session().ConnectedUnitType, unitType);
        EXPECT_EQ(link.Session().HubVersion, version);
        if (result != 3 && std::string(swv) != "Unknown Command") {
            EXPECT_EQ(IsLoopInterface, loopInterface);
        }
    }
}

TEST_F(LinkFixture, IdentIsReadAndCheckedExactly)
{
    unit.SetIdent("0a1b2");
    model::Nodes[0].SetNodeIdent("0A1B2");
    EXPECT_EQ(ReadIdent(link), "0a1b2");
    EXPECT_EQ(link.Session().CommsState, Idle);
    EXPECT_FALSE(CheckIdent(link, 0));
    unit.SetIdent("0A1B2");
    EXPECT_TRUE(CheckIdent(link, 0));
    EXPECT_EQ(link.Session().CommsState, IdentReadDone);
    EXPECT_FALSE(CheckIdent(link, 7));

    unit.SetFailure(FailureMode::Garbled);
    EXPECT_EQ(ReadIdent(link), "");
    EXPECT_EQ(link.Session().CommsState, Idle);
    EXPECT_FALSE(CheckIdent(link, 0));
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
}

TEST_F(LinkFixture, LoopCountAndProtocolReplies)
{
    for (const auto& [text, count] :
         std::vector<std::pair<std::string, int16_t>>{{"4", 4}, {"X", -2}, {"", -2}}) {
        unit.SetLoopCountText(text);
        EXPECT_EQ(ReadLoopCount(link), count) << text;
    }
    const std::pair<const char*, int32_t> protocols[] = {
        {"XP95", 1}, {"ZP3", 2}, {"ZP", 2}, {"GE2010", 3}, {"SYSTEM SENSOR", 4}, {"x LP XP95", 1}};
    for (const auto& [word, code] : protocols) {
        unit.SetProtocolWord(word);
        EXPECT_EQ(ReadLoopProtocol(link), code) << word;
    }
    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(ReadLoopProtocol(link), 4);
    unit.SetFailure(FailureMode::DropMidReply);
    EXPECT_EQ(ReadLoopCount(link), -2);
    unit.SetFailure(FailureMode::Silent);
    const int64_t start = bench.NowMs();
    EXPECT_EQ(ReadLoopProtocol(link), 5);
    EXPECT_EQ(bench.NowMs() - start, 1800);

    // A slow hub answering in turn took the loop count and refuses its
    // resend; the refusal comes once the protocol's query has been resent.
    unit.ClearFailure();
    unit.SetAnswersInTurn(true);
    unit.SetLoopCountText("2");
    unit.SetProtocolWord("XP95");
    unit.SetAnswerDelayMs("QUERY LOOPCOUNT", 900);
    unit.RefuseResends("QUERY LOOPCOUNT");
    EXPECT_EQ(ReadLoopCount(link), 2);
    EXPECT_EQ(ReadLoopProtocol(link), 1) << "not the answer of a hub that does not know the query";
}

TEST_F(LinkFixture, AQueryReadsTheLineThatAnsweredItNotALaterOne)
{
    // The answer and a line after it arrive in one read.
    const auto answers = [this](const std::string& command, const std::string& lines) {
        unit.AddCommand(command, [lines](const std::string&) { return SimulatedUnit::Lines{lines}; });
    };
    answers("IDENTREAD", "IDENTREAD 0A1B2\rCRITICAL ERROR: radio");
    EXPECT_EQ(ReadIdent(link), "0A1B2");
    answers("IDENTREAD", "IDENTREAD 0A1B2\rIDENTREAD 99999");
    model::Nodes[0].SetNodeIdent("99999");
    EXPECT_FALSE(CheckIdent(link, 0));
    answers("GET LP", "LP ZP3\rDEBUG LP XP95");
    EXPECT_EQ(ReadLoopProtocol(link), 2);
}

TEST_F(LinkFixture, ALateAnswerToAFailedQueryIsNotTheAnswerToTheNextOne)
{
    unit.SetFailure(FailureMode::Silent);
    EXPECT_EQ(ReadIdent(link), "");
    link.SendWakeUp(); // the user tries again: the window wakes the unit
    bench.UnitSends("IDENTREAD 0A1B2\r", 100); // and it answers the failed query at last
    EXPECT_EQ(ReadIdent(link), "") << "the unit stays silent to the query asked now";
    unit.ClearFailure();
    EXPECT_EQ(ReadIdent(link), "01A2B");
}

} // namespace
