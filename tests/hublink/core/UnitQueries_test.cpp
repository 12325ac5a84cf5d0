// The unit queries against a simulated hub, RCC and radio loop module.
#include "LinkFixture.h"
#include "hublink/core/UnitQueries.h"

#include <algorithm>
#include <functional>
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

// A query is settled by an answer of its own, whichever send it answers; a
// refusal settles it only when no send of it was answered by its last
// time-out. Each row draws what becomes of the query's sends (send 0 the
// first); the next query must still be settled by its own answer.
TEST_F(LinkFixture, AQueryIsSettledByItsOwnAnswerWhicheverSendItAnswers)
{
    using Kind = AnswerFault::Kind;
    struct Case
    {
        const char* name;
        const char* command;
        std::function<bool(CommsLink&)> outcome;
        std::function<AnswerFault(int send)> fault;
        int64_t endsAt; // when the query ends, virtual ms
        size_t sends;
    };
    const auto refusedLate = [](bool inTurn, int lateBy) {
        return [=](int send) { return send == 0 ? AnswerFault{Kind::Refused, "", "", lateBy, inTurn} : AnswerFault{}; };
    };
    const auto protocol = [](CommsLink& l) { return ReadLoopProtocol(l) == 2; };
    const Case cases[] = {
        // 650 ms: past the first time-out, before the resend's answer.
        {"protocol refused late, in turn", "GET LP", protocol, refusedLate(true, 1), 650, 2},
        {"protocol refused after the resend's answer", "GET LP", protocol, refusedLate(false, 2), 600, 2},
        {"loop count refused late", "QUERY LOOPCOUNT", [](CommsLink& l) { return ReadLoopCount(l) == 4; },
         refusedLate(true, 1), 650, 2},
        {"ident refused after the resend's answer", "IDENTREAD",
         [](CommsLink& l) { return ReadIdent(l) == "01A2B"; }, refusedLate(false, 2), 600, 2},
        {"unit type refused late, in turn", "GET SWV", [](CommsLink& l) { return ReadUnitType(l, 0) == 1; },
         refusedLate(true, 1), 650, 2},
        // Every send refused late: refused at the last time-out, not on the
        // last refusal 100 ms later.
        {"every send refused late", "GET LP", [](CommsLink& l) { return ReadLoopProtocol(l) == 4; },
         [](int) { return AnswerFault{Kind::Refused, "", "", 1, false}; }, 1800, 3},
        // Lost sends: the first answer that comes decides.
        {"the first two answers lost", "GET LP", protocol,
         [](int send) { return send < 2 ? AnswerFault{Kind::Lost, "", "", 0, false} : AnswerFault{}; }, 1200, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedUnit hub;
        VirtualBench hubBench{hub};
        hub.SetProtocolWord("ZP3");
        hub.SetLoopCountText("4");
        hub.SetLateDelayMs(650);
        hub.DrawAnswerFaults([&c](const FaultContext& f) {
            return f.Command == c.command ? c.fault(f.Send) : AnswerFault{};
        });
        CommsLink& hubLink = hubBench.Link();
        hubLink.StartRun();
        const std::string command = c.command;
        // The query the link asks next is settled by its own answer.
        const std::string next = command == "IDENTREAD" ? "GET LP" : "IDENTREAD";
        EXPECT_TRUE(c.outcome(hubLink)) << hubLink.Session().CommsState.Value();
        EXPECT_EQ(hubBench.NowMs(), c.endsAt);
        EXPECT_EQ(static_cast<size_t>(std::ranges::count(hub.CommandLines(), command)), c.sends);
        EXPECT_TRUE(next == "IDENTREAD" ? ReadIdent(hubLink) == "01A2B" : ReadLoopProtocol(hubLink) == 2);
        EXPECT_EQ(std::ranges::count(hub.CommandLines(), next), 1);
    }
}

// A query whose every answer was lost, once the unit has answered another
// command, and a query whose first answer was lost but whose resend was
// answered, leave the same query asked next to be settled by its own
// answer at its first send: what is still owed them is no answer of it.
TEST_F(LinkFixture, AQueryAskedAgainIsSettledAtItsFirstSend)
{
    unit.DrawAnswerFaults([](const FaultContext& f) {
        const bool lost = (f.Ordinal == 0) || (f.Ordinal == 1 && f.Send == 0) || (f.Ordinal == 3 && f.Send == 0);
        return lost ? AnswerFault{AnswerFault::Kind::Lost, "", "", 0, false} : AnswerFault{};
    });
    link.StartRun();
    EXPECT_EQ(ReadIdent(link), "");
    EXPECT_EQ(ReadLoopProtocol(link), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadIdent(link), "01A2B");
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "IDENTREAD"), 3 + 1 + 2 + 1);
}
} // namespace

// A byte corrupted inside an answer makes no answer: the query is asked
// again, as for a lost one, and after its last send it is unanswered. An
// answer whole in its form whose value the program does not know (a
// protocol word it lacks, a loop count past 4) is the unit's own only once
// two sends are answered alike. A unit that answers every send alike (the
// same unknown value, or "Unknown Command") answers regularly.
TEST_F(LinkFixture, AnAnswerIsTakenOnlyWholeInItsForm)
{
    using Kind = AnswerFault::Kind;
    struct Case
    {
        const char* command;
        std::vector<std::string> lines; // what comes in place of the answer to each send ("" the answer)
        std::function<bool(CommsLink&)> outcome;
        size_t sends;
        bool regular;
    };
    const auto protocol = [](int32_t code) { return [code](CommsLink& l) { return ReadLoopProtocol(l) == code; }; };
    const auto loops = [](int16_t count) { return [count](CommsLink& l) { return ReadLoopCount(l) == count; }; };
    const auto ident = [](CommsLink& l) { return ReadIdent(l) == "01A2B"; };
    const auto hub = [](CommsLink& l) { return ReadUnitType(l, 0) == 1 && l.Session().HubVersion == "3.10"; };
    const Case cases[] = {
        {"GET LP", {"LP #P3"}, protocol(2), 2, false},
        {"GET LP", {"LP G#2010"}, protocol(2), 2, false},
        {"GET LP", {"LP ZP95"}, protocol(2), 2, false}, // a digit for a letter: no protocol the program knows
        {"GET LP", {"Unknown Co#mand"}, protocol(2), 2, false},
        {"GET LP", {"LP SYSTEM SENSOR", "LP SYSTEM SENSOR"}, protocol(4), 2, true},
        {"GET LP", {"LP FOO", "LP BAR", "LP FOO"}, protocol(4), 3, false},
        {"GET LP", {"LP #P3", "LP X#95", "LP Z#3"}, protocol(5), 3, false},
        {"QUERY LOOPCOUNT", {"QUERY LOOPCOUNT #"}, loops(2), 2, false},
        {"QUERY LOOPCOUNT", {"QUERY LOOPCOUNT 7"}, loops(2), 2, false},
        {"QUERY LOOPCOUNT", {"QUERY LOOPCOUNT 7", "QUERY LOOPCOUNT 7"}, loops(7), 2, true},
        {"QUERY LOOPCOUNT", {"QUERY LOOPCOUNT 23"}, loops(2), 2, false},
        {"QUERY LOOPCOUNT", {"Unknown Command", "Unknown Command", "Unknown Command"}, loops(-1), 3, true},
        {"IDENTREAD", {"IDENTREAD 1A#B3"}, ident, 2, false},
        {"IDENTREAD", {"IDENTREAD 01A2"}, ident, 2, false},
        {"GET SWV", {"HUB V3.#0"}, hub, 2, false},
        {"GET SWV", {"HUB#V3.10"}, hub, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + testing::PrintToString(c.lines));
        SimulatedUnit unit;
        VirtualBench bench{unit};
        unit.SetProtocolWord("ZP3");
        unit.DrawAnswerFaults([&c](const FaultContext& f) {
            const size_t send = static_cast<size_t>(f.Send);
            if (f.Command != c.command || send >= c.lines.size() || c.lines[send].empty())
                return AnswerFault{};
            return c.lines[send] == "Unknown Command" ? AnswerFault{Kind::Refused, "", "", 0, false}
                                                     : AnswerFault{Kind::Chatter, c.lines[send], "", 0, false};
        });
        CommsLink& link = bench.Link();
        link.StartRun();
        EXPECT_TRUE(c.outcome(link)) << link.Session().CommsState.Value();
        EXPECT_EQ(static_cast<size_t>(std::ranges::count(unit.CommandLines(), c.command)), c.sends);
        EXPECT_EQ(link.ExchangesIrregular(), !c.regular);
    }
}
