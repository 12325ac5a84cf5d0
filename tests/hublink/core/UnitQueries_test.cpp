// The unit queries against a simulated hub, RCC and radio loop module.
#include "LinkFixture.h"
#include "hublink/core/UnitQueries.h"

namespace {

struct TypeCase
{
    UnitKind kind;
    const char* swv; // "" = the unit's own line
    int16_t node;
    int32_t result;
    int32_t unitType;
    const char* version;
    bool loopInterface;
};

TEST_F(LinkFixture, UnitTypeAndVersionAreReadFromHubRccAndRlm)
{
    const TypeCase cases[] = {
        {UnitKind::Hub, "", 0, 1, 4, "3.10", false},
        {UnitKind::Hub, "", -1, 4, 4, "3.10", false},
        {UnitKind::Hub, "", 3, 4, 4, "3.10", false},
        {UnitKind::Rcc, "", 3, 1, 5, "3.10", false},
        {UnitKind::Rcc, "", 0, 5, 5, "3.10", false},
        {UnitKind::Rcc, "", -1, 5, 5, "3.10", false},
        {UnitKind::Rlm, "", 0, 1, 6, "3.10", true},
        {UnitKind::Rcc, "RCC BUILD 7", 2, 1, 5, "", false},
        {UnitKind::Hub, "HUB V3.00.12 RADIO HUB", 0, 1, 4, "3.00.1", false},
        {UnitKind::Rlm, "ALID V1", 0, 1, 6, "1", true},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + " node " + std::to_string(c.node) + " " +
                     c.swv);
        IsLoopInterface = false;
        unit.SetKind(c.kind);
        unit.SetSoftwareVersionLine(c.swv);
        EXPECT_EQ(ReadUnitType(link, c.node), c.result);
        EXPECT_EQ(ConnectedUnitType, c.unitType);
        EXPECT_EQ(HubVersion, c.version);
        EXPECT_EQ(IsLoopInterface, c.loopInterface);
    }
}

TEST_F(LinkFixture, UnitTypeWithFailures)
{
    HubVersion = "old";
    unit.SetFailure(FailureMode::Silent);
    EXPECT_EQ(ReadUnitType(link, 0), 3);
    EXPECT_EQ(ConnectedUnitType, 3);
    EXPECT_EQ(HubVersion, "");
    EXPECT_EQ(bench.NowMs(), 1800);

    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(ReadUnitType(link, 0), 1);
    EXPECT_EQ(ConnectedUnitType, 4);
    EXPECT_EQ(ReadUnitType(link, 5), 1);
    EXPECT_EQ(ConnectedUnitType, 5);

    unit.ClearFailure();
    unit.SetSoftwareVersionLine("hub V3.10");
    EXPECT_EQ(ReadUnitType(link, 0), 3) << "the dispatcher's test is case-sensitive";

    unit.SetSoftwareVersionLine("XYZ V1.00");
    EXPECT_EQ(ReadUnitType(link, 0), 3) << "a line no rule takes times out";
}

TEST_F(LinkFixture, IdentIsReadAndCheckedExactly)
{
    unit.SetIdent("0a1b2");
    bench.Idents[0] = "0A1B2";
    EXPECT_EQ(ReadIdent(link), "0a1b2");
    EXPECT_EQ(CommsState, Idle);
    EXPECT_FALSE(CheckIdent(link, 0));
    unit.SetIdent("0A1B2");
    EXPECT_TRUE(CheckIdent(link, 0));
    EXPECT_EQ(CommsState, IdentReadDone);
    EXPECT_FALSE(CheckIdent(link, 7));

    unit.SetFailure(FailureMode::Garbled);
    EXPECT_EQ(ReadIdent(link), "");
    EXPECT_EQ(CommsState, Idle);
    EXPECT_FALSE(CheckIdent(link, 0));
    EXPECT_EQ(CommsState, CommsFailed);
}

TEST_F(LinkFixture, LoopCountReplies)
{
    const std::pair<const char*, int16_t> cases[] = {{"4", 4}, {"1", 1}, {"X", -2}, {"", -2}};
    for (const auto& [text, count] : cases) {
        unit.SetLoopCountText(text);
        EXPECT_EQ(ReadLoopCount(link), count) << text;
    }
    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(ReadLoopCount(link), -1);
    unit.SetFailure(FailureMode::DropMidReply);
    EXPECT_EQ(ReadLoopCount(link), -2);
}

TEST_F(LinkFixture, LoopProtocolReplies)
{
    const std::pair<const char*, int32_t> cases[] = {{"XP95", 1},   {"ZP3", 2},           {"ZP", 2},
                                                     {"GE2010", 3}, {"SYSTEM SENSOR", 4}, {"x LP XP95", 1}};
    for (const auto& [word, code] : cases) {
        unit.SetProtocolWord(word);
        EXPECT_EQ(ReadLoopProtocol(link), code) << word;
    }
    unit.SetFailure(FailureMode::UnknownCommand);
    EXPECT_EQ(ReadLoopProtocol(link), 4);
    unit.SetFailure(FailureMode::Silent);
    const int64_t start = bench.NowMs();
    EXPECT_EQ(ReadLoopProtocol(link), 5);
    EXPECT_EQ(bench.NowMs() - start, 1800);
}

TEST_F(LinkFixture, DebugOutputIsStoppedWithOneCommandOnALoopInterfaceSite)
{
    EXPECT_TRUE(StopDebugOutput(link));
    EXPECT_EQ(unit.CommandLines(), (std::vector<std::string>{"DEBUGOFF ALL", "DS MON DIS"}));
    unit.ClearRecord();
    IsLoopInterface = true;
    unit.SetKind(UnitKind::Rlm);
    EXPECT_TRUE(StopDebugOutput(link));
    EXPECT_EQ(unit.CommandLines(), (std::vector<std::string>{"DEBUGOFF ALL"}));

    IsLoopInterface = false;
    unit.SetFailure(FailureMode::Silent, "DS MON");
    EXPECT_FALSE(StopDebugOutput(link));
}

} // namespace
