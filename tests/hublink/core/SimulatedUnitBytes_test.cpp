// The simulated unit's faults on the bytes of the lines it sends: what goes
// out on the wire, and what the unit's record says came other than meant.
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = ByteFault::Kind;

std::string Wire(const std::vector<UnitOutput>& outputs)
{
    std::string bytes;
    for (const UnitOutput& out : outputs)
        bytes += out.Bytes;
    return bytes;
}

AnswerFault Bytes(std::vector<ByteFault> bytes, std::vector<StrayLine> strays = {})
{
    AnswerFault fault;
    fault.Bytes = std::move(bytes);
    fault.Strays = std::move(strays);
    return fault;
}

TEST(SimulatedUnitBytes, EachFaultChangesTheLineItIsDrawnFor)
{
    struct Case
    {
        const char* name;
        const char* command;
        AnswerFault fault;
        const char* wire;
    };
    const Case cases[] = {
        {"a byte replaced", "IDENTREAD", Bytes({{Kind::Replaced, 0, 12, '#'}}), "IDENTREAD 01#2B\r"},
        {"a byte dropped", "IDENTREAD", Bytes({{Kind::Dropped, 0, 10, 0}}), "IDENTREAD 1A2B\r"},
        {"a byte inserted past the last", "IDENTREAD", Bytes({{Kind::Inserted, 0, 15, '7'}}), "IDENTREAD 01A2B7\r"},
        {"a place past the line taken modulo its length", "IDENTREAD", Bytes({{Kind::Replaced, 0, 15 + 8, '#'}}),
         "IDENTREA# 01A2B\r"},
        {"a bit flipped", "IDENTREAD", Bytes({{Kind::BitFlipped, 0, 0, 5}}), "iDENTREAD 01A2B\r"},
        {"cut short, its CR kept", "IDENTREAD", Bytes({{Kind::CutShort, 0, 9, 0}}), "IDENTREAD\r"},
        {"two faults on one line, in turn", "IDENTREAD",
         Bytes({{Kind::Dropped, 0, 0, 0}, {Kind::Replaced, 0, 0, 'X'}}), "XENTREAD 01A2B\r"},
        {"a line past the answer left alone", "IDENTREAD", Bytes({{Kind::Replaced, 1, 0, '#'}}),
         "IDENTREAD 01A2B\r"},
        // The chatter sent before the answer is the first line.
        {"the chatter counted first", "IDENTREAD",
         [] {
             AnswerFault f = Bytes({{Kind::Replaced, 1, 0, '#'}});
             f.Before = "RADIO BUSY";
             return f;
         }(),
         "RADIO BUSY\r#DENTREAD 01A2B\r"},
        {"a download line run into the next", "GET SYSCONFIG", Bytes({{Kind::RunOn, 1, 0, 0}}),
         "EXPORT SYSCONFIG\rPOPULATE LOOP1 NODE 2 1 1C3D4 0POPULATE LOOP1 OPTICAL 10 1 20001 0\rEND OF DATA\r"},
        {"a stray line inside a download, never after its end", "GET SYSCONFIG",
         Bytes({}, {{1, "Unknown Command"}, {9, "DS 4 1 SSG"}}),
         "EXPORT SYSCONFIG\rUnknown Command\rPOPULATE LOOP1 NODE 2 1 1C3D4 0\rPOPULATE LOOP1 OPTICAL 10 1 20001 "
         "0\rDS 4 1 SSG\rEND OF DATA\r"},
        {"a stray line where the answer is lost", "IDENTREAD",
         [] {
             AnswerFault f = Bytes({}, {{3, "POPULATE FAIL"}});
             f.What = AnswerFault::Kind::Lost;
             return f;
         }(),
         "POPULATE FAIL\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedUnit unit;
        unit.SetConfiguration({"POPULATE LOOP1 NODE 2 1 1C3D4 0", "POPULATE LOOP1 OPTICAL 10 1 20001 0"});
        unit.DrawAnswerFaults([&c](const FaultContext&) { return c.fault; });
        EXPECT_EQ(Wire(unit.Receive(std::string(c.command) + "\r", 0)), c.wire);
    }
}

// The record keeps the answer as meant, and each line that came otherwise:
// one that lost its CR comes with the next line the unit sends, for a later
// command too, and both commands' records hold the line the two made.
TEST(SimulatedUnitBytes, ALineThatLostItsCrRunsIntoTheNextAnswerAndBothAreRecorded)
{
    SimulatedUnit unit;
    unit.DrawAnswerFaults([](const FaultContext& c) {
        return c.Ordinal == 0 ? Bytes({{Kind::RunOn, 0, 0, 0}}) : Bytes({{Kind::Replaced, 0, 0, 'l'}});
    });
    EXPECT_EQ(Wire(unit.Receive("IDENTREAD\r", 0)), "");
    EXPECT_EQ(Wire(unit.Receive("GET LP\r", 0)), "IDENTREAD 01A2BlP XP95\r");
    const std::vector<UnitExchange> exchanges = unit.Exchanges();
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_EQ(exchanges[0].Answer, std::vector<std::string>{"IDENTREAD 01A2B"});
    ASSERT_EQ(exchanges[0].Corrupted.size(), 1u);
    EXPECT_EQ(exchanges[0].Corrupted[0].Meant, "IDENTREAD 01A2B");
    EXPECT_EQ(exchanges[0].Corrupted[0].Sent, "IDENTREAD 01A2BlP XP95");
    EXPECT_TRUE(exchanges[0].Corrupted[0].OfAnswer);
    ASSERT_EQ(exchanges[1].Corrupted.size(), 1u);
    EXPECT_EQ(exchanges[1].Corrupted[0].Meant, "LP XP95");
    EXPECT_EQ(exchanges[1].Corrupted[0].Sent, "IDENTREAD 01A2BlP XP95");

    // A line held back for the next is dropped with the faults.
    unit.DrawAnswerFaults([](const FaultContext&) { return Bytes({{Kind::RunOn, 0, 0, 0}}); });
    EXPECT_EQ(Wire(unit.Receive("GET LP\r", 0)), "");
    unit.ClearFailure();
    EXPECT_EQ(Wire(unit.Receive("GET LP\r", 0)), "LP XP95\r");
}

} // namespace
