// The simulated unit that the link's tests talk to: its configuration, its
// answers and its failure modes.
#include "support/SimulatedUnit.h"

#include <gtest/gtest.h>

namespace {

// The lines of the unit's answer to one command, line ends removed.
std::vector<std::string> Ask(SimulatedUnit& unit, const std::string& command)
{
    std::vector<std::string> lines;
    for (const UnitOutput& out : unit.Receive(command + "\r", 0)) {
        std::string text = out.Bytes;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        lines.push_back(text);
    }
    return lines;
}

TEST(SimulatedUnit, ProgrammingCommandsChangeTheConfigurationItExports)
{
    SimulatedUnit unit;
    EXPECT_EQ(Ask(unit, "POPULATE LOOP1 NODE 12 0 01A2B 0"),
              (std::vector<std::string>{"POPULATE LOOP1 NODE 12 0 01A2B 0"}));
    Ask(unit, "POPULATE LOOP1 NODE 40 3 0F00D 0");
    Ask(unit, "POPULATE LOOP1 CALLPOINT 41 3 1A2B3 0");
    Ask(unit, "POPULATE LOOP1 CALLPOINT 42 3 1A2B3 0");
    Ask(unit, "XPROTRADIOCHANNELS 6 7 3");
    EXPECT_EQ(Ask(unit, "RELATION ADD 3 0 1"), (std::vector<std::string>{"RELATION ADD 3 0 1"}));
    EXPECT_EQ(Ask(unit, "RELATION ADD 3 0 1"), (std::vector<std::string>{"Relation already exists"}));
    EXPECT_EQ(Ask(unit, "POPULATE LOOP1"), (std::vector<std::string>{"POPULATE FAIL"}));
    EXPECT_EQ(
        Ask(unit, "GET SYSCONFIG"),
        (std::vector<std::string>{"EXPORT SYSCONFIG", "POPULATE LOOP1 NODE 12 0 01A2B 0",
                                  "POPULATE LOOP1 NODE 40 3 0F00D 0", "POPULATE LOOP1 CALLPOINT 42 3 1A2B3 0",
                                  "XPROTRADIOCHANNELS 6 7 3", "RELATION ADD 3 0 1", "END OF DATA"}));
    EXPECT_EQ(Ask(unit, "FDELETE DEVICE 1A2B3"), (std::vector<std::string>{"FDELETE DEVICE 1A2B3"}));
    EXPECT_EQ(Ask(unit, "FDELETE DEVICE 1A2B3"), (std::vector<std::string>{"DEVICE NOT FOUND"}));
    Ask(unit, "RELATION DEL 3 0");
    EXPECT_EQ(unit.Configuration().size(), 3u);
    Ask(unit, "POPULATE CLEAR");
    EXPECT_TRUE(unit.Configuration().empty());
    EXPECT_EQ(Ask(unit, "IDENTPROG 0BEEF"), (std::vector<std::string>{"IDENTPROG OK"}));
    EXPECT_EQ(Ask(unit, "IDENTREAD"), (std::vector<std::string>{"IDENTREAD 0BEEF"}));
    EXPECT_EQ(Ask(unit, "NO SUCH THING"), (std::vector<std::string>{"Unknown Command"}));
}

TEST(SimulatedUnit, AssignmentAndStatusFollowTheConfiguration)
{
    SimulatedUnit unit;
    unit.SetConfiguration({"POPULATE LOOP1 NODE 40 3 0F00D 0", "POPULATE LOOP2 OPTICAL 17 3 1A2B3 4"});
    unit.SetAssignFailures({"1A2B3"});
    EXPECT_EQ(Ask(unit, "GET DS ALL"),
              (std::vector<std::string>{"GET DS ALL", "DS LOOP1 40 UCF", "DS LOOP2 17 UCF", "END OF DATA"}));
    EXPECT_EQ(Ask(unit, "ASSIGN ALL"), (std::vector<std::string>{"ASSIGN ALL", "ASSIGN_OK_0F00D",
                                                                 "ASSIGN FAIL 1A2B3", "ASSIGN FINISH"}));
    EXPECT_EQ(Ask(unit, "GET DS LOOP1 40"), (std::vector<std::string>{"DS LOOP1 40 OK"}));
    EXPECT_EQ(Ask(unit, "GET DS LOOP2 17"), (std::vector<std::string>{"DS LOOP2 17 UCF"}));
    EXPECT_TRUE(Ask(unit, "GET DS LOOP2 18").empty());
}

TEST(SimulatedUnit, DiagnosticsCommandsAnswerInTheirWireFormats)
{
    SimulatedUnit unit;
    unit.SetConfiguration({"POPULATE LOOP2 OPTICAL 7 3 1A2B3 4"});
    unit.SetSignalStrengths("1A2B3", {50, 51, 52, 53});
    unit.SetDailyMaximum("1A2B3", 61);
    unit.SetLinkBudgets("1A2B3", {25, 19, 22, 21});
    unit.SetScanLevel(0x3C);
    EXPECT_EQ(Ask(unit, "GET SS ALL"),
              (std::vector<std::string>{"GET SS ALL", "SS LOOP2 7 1A2B3 0 50 51 52 53", "END OF DATA"}));
    EXPECT_EQ(Ask(unit, "GET DM ALL"),
              (std::vector<std::string>{"EXPORT DM ALL", "IDENT=1A2B3 LOOP2 7 61dBm", "END OF DATA"}));
    EXPECT_EQ(Ask(unit, "GET_MANUAL_UPDATE_2_007"),
              (std::vector<std::string>{"GET_MANUAL_UPDATE_2_007", "MANUAL UPDATE 2 7 3.10 25 19 22 21"}));
    EXPECT_EQ(Ask(unit, "GET_MANUAL_UPDATE_1_007"), (std::vector<std::string>{"GET_MANUAL_UPDATE_1_007"}));
    EXPECT_EQ(Ask(unit, "SF CS 5"),
              (std::vector<std::string>{"SF CS START", "SF CS RUNNING 1", "SF CS STOP"}));
    const auto result = Ask(unit, "GET SF CS RESULT");
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].substr(0, 16), "SF CS 013C 023C ");
    EXPECT_EQ(result[0].size(), 5u + 32u * 5u);
    EXPECT_EQ(Ask(unit, "SF MON EN 2 5"), (std::vector<std::string>{"SF MON START", "SFR 3C3C3C3C"}));
    EXPECT_EQ(Ask(unit, "SF MON DIS"), (std::vector<std::string>{"SF MON STOP"}));
    EXPECT_EQ(Ask(unit, "GET RADIO ALL"),
              (std::vector<std::string>{"EXPORT RADIO INFO ALL", "RADIO 1A2B3 LOOP2 7", "END OF DATA"}));
}

TEST(SimulatedUnit, FailuresHitOnlyTheNamedCommandsForTheirCount)
{
    SimulatedUnit unit;
    unit.SetFailure(FailureMode::Silent, "GET LP", 2);
    EXPECT_TRUE(Ask(unit, "GET LP").empty());
    EXPECT_EQ(Ask(unit, "IDENTREAD"), (std::vector<std::string>{"IDENTREAD 01A2B"}));
    EXPECT_TRUE(Ask(unit, "GET LP").empty());
    EXPECT_EQ(Ask(unit, "GET LP"), (std::vector<std::string>{"LP XP95"}));

    unit.SetFailure(FailureMode::Garbled, "", 1);
    EXPECT_EQ(Ask(unit, "GET SWV"), (std::vector<std::string>{"~hub v3.10"}));

    unit.SetConfiguration({"RELATION ADD 5 0 1", "RELATION ADD 6 0 1"});
    unit.SetFailure(FailureMode::DropMidReply, "GET SYSCONFIG", 1);
    EXPECT_EQ(Ask(unit, "GET SYSCONFIG"),
              (std::vector<std::string>{"EXPORT SYSCONFIG", "RELATION ADD 5 0 1", "RELATION "}));

    unit.SetLateDelayMs(900);
    unit.SetLineGapMs(10);
    unit.SetFailure(FailureMode::Late, "GET", 1);
    const auto late = unit.Receive("GET SYSCONFIG\r", 0);
    ASSERT_EQ(late.size(), 4u);
    EXPECT_EQ(late[0].DelayMs, 900);
    EXPECT_EQ(late[3].DelayMs, 930);

    unit.SetFailure(FailureMode::PortGone, "", 1);
    const auto gone = unit.Receive("GET SWV\r", 0);
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_TRUE(gone[0].ClosePort);

    const auto record = unit.Commands();
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record.back().Line, "GET SWV");
}

} // namespace
