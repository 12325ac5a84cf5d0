#include "diagnostics/core/SignalGrid.h"

#include "DiagsSite.h"
#include "diagnostics/core/DiagsExport.h"
#include "model/TestFiles.h"
#include "support/ListAt.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace diagnostics;

namespace {

// The site read from the simulated unit: strengths and daily maxima.
void ReadSignals(SimulatedUnit& unit)
{
    const auto strengths = UnitList(unit, kGetSignalStrengthsCommand);
    const auto maxima = UnitList(unit, kGetDailyMaximaCommand);
    ClearSignalStrengths(model::Nodes);
    ClearDailyMaxima(model::Nodes);
    ApplySignalStrengthReply(strengths, static_cast<int>(strengths.size()) - 1, model::Nodes);
    ApplyDailyMaximumReply(maxima, static_cast<int>(maxima.size()) - 1, model::Nodes);
}

std::vector<std::string> Column(const SignalGrid& grid, std::size_t column)
{
    std::vector<std::string> cells;
    for (std::size_t r = 1; r < grid.Rows().size(); ++r)
        cells.push_back(grid.Rows()[r][column]);
    return cells;
}


} // namespace

TEST(SignalGrid, ListsEveryUnitWithItsReadingsAndClass)
{
    BuildDiagsSite();
    SimulatedUnit unit;
    ConfigureUnit(unit);
    unit.SetSignalStrengths("20011", {40, 38, 44, 41});
    unit.SetDailyMaximum("0000A", 16);
    unit.SetDailyMaximum("1000B", 16);
    unit.SetDailyMaximum("30015", 0);
    unit.SetSignalStrengths("30015", {0, 0, 0, 0});
    ReadSignals(unit);

    SignalGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, false, true);
    const auto& rows = grid.Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[3], (DiagsGridRow{"1", "RCC", "1", "10", "0000A", "40", "41", "42", "43", "16", "LOW"}));
    EXPECT_EQ(rows[4][10], "MEDIUM"); // a device knows MEDIUM on every protocol
    EXPECT_EQ(rows[5], (DiagsGridRow{"1", "Optical Smoke Combo", "2", "17-18", "20011", "40", "38", "44", "41", "45",
                                     "GOOD"}));
    EXPECT_EQ(rows[7][10], "DISCONNECT");

    grid.Fill(model::Nodes, true, true); // the readings are not yet in
    EXPECT_EQ(rows[3], (DiagsGridRow{"1", "RCC", "1", "10", "0000A", "-", "-", "-", "-", "???", "????"}));

    // A second read from a unit that no longer lists the head leaves it
    // nothing of the first.
    model::Nodes[1].SetDeviceType(2, 0);
    ConfigureUnit(unit);
    model::Nodes[1].SetDeviceType(2, 10);
    ReadSignals(unit);
    grid.Fill(model::Nodes, false, true);
    EXPECT_EQ(rows[5], (DiagsGridRow{"1", "Optical Smoke Combo", "2", "17-18", "20011", "0", "0", "0", "0", "0",
                                     "DISCONNECT"}));
}

TEST(SignalGrid, ClassesFollowTheDailyMaximum)
{
    LoopProtocol = 2;
    const std::array<int, 4> some = {0, 0, 1, 0};
    const std::array<int, 4> none = {};
    const struct
    {
        int dailyMax;
        std::array<int, 4> strengths;
        bool nodeRow;
        bool have;
        const char* cls;
    } cases[] = {
        {7, some, false, true, "CAUTION"}, {8, some, false, true, "LOW"},       {14, some, true, true, "MEDIUM"},
        {20, some, false, true, "GOOD"},   {0, some, false, true, "????"},      {0, none, false, true, "DISCONNECT"},
        {30, some, false, false, "????"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SignalClass(c.dailyMax, c.strengths, c.nodeRow, c.have), c.cls) << c.dailyMax;
    LoopProtocol = 1;
    EXPECT_EQ(SignalClass(19, some, true, true), "LOW");
}

TEST(SignalGrid, LinesThatNameNoUnitAreSkipped)
{
    BuildDiagsSite();
    for (const char* line : {"SS LOOP1 11 X 0 1 2 3", "SS LOOP0 11 X 0 1 2 3 4", "SS LOOP1 0 X 0 1 2 3 4",
                             "SS LOOP1 300 X 0 1 2 3 4", "SS LOOP1 11 X 0 1 2 3 A", "SS LOOP1 50 X 0 1 2 3 4"})
        EXPECT_FALSE(ApplySignalStrengthLine(line, model::Nodes)) << line;
    for (const char* line : {"IDENT=FFFFF L 1 20dBm", "IDENT=1000B L 1", "IDENT=1 L 1 20dBm", "IDENT=1000B L 1 2x0dBm"})
        EXPECT_FALSE(ApplyDailyMaximumLine(line, model::Nodes)) << line;
    EXPECT_TRUE(ApplyDailyMaximumLine("IDENT=1000B LOOP1 11 dBm", model::Nodes)); // no number: 0
    EXPECT_TRUE(ApplyDailyMaximumLine("IDENT=0000A LOOP1 10 23dBm", model::Nodes));
    EXPECT_EQ(model::Nodes[1].NodeDailyMax(), 23);
}

TEST(SignalGrid, SortsByTheDoubleClickedColumnAndKeepsTheSortOnRefill)
{
    BuildDiagsSite();
    SignalGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, true, false);
    grid.SortByColumn(2); // loop, then address
    EXPECT_EQ(grid.SortArrow(), "DOWN_ARROW2");
    EXPECT_EQ(Column(grid, 3), (std::vector<std::string>{"1", "10", "11", "20", "21", "17-18", ""}));
    grid.SortByColumn(2);
    EXPECT_EQ(grid.SortArrow(), "UP_ARROW2");
    EXPECT_EQ(Column(grid, 3), (std::vector<std::string>{"", "17-18", "21", "20", "11", "10", "1"}));

    // A refill lists the site in its own order with row 2 empty again; the
    // stored sort then puts it back in the order the user chose.
    grid.Fill(model::Nodes, true, false);
    EXPECT_EQ(testsupport::At(grid.Rows(), 2), DiagsGridRow{});
    grid.Resort();
    EXPECT_EQ(Column(grid, 3), (std::vector<std::string>{"", "17-18", "21", "20", "11", "10", "1"}));

    grid.SortByColumn(4); // another column starts ascending
    EXPECT_EQ(grid.Order(), SortOrder::Ascending);
    EXPECT_EQ(Column(grid, 4).front(), "00001");
}

TEST(DiagsExport, SignalStrengthsMatchTheGoldenFiles)
{
    BuildDiagsSite();
    SimulatedUnit unit;
    ConfigureUnit(unit);
    const auto lines = UnitList(unit, kGetSignalStrengthsCommand);
    ApplySignalStrengthReply(lines, static_cast<int>(lines.size()) - 1, model::Nodes);
    SignalGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, false, false);
    const testfiles::TempFolder exports("diags-export");
    const std::filesystem::path& folder = exports.path();
    for (const char* name : {"diags-signal.csv", "diags-signal.txt"}) {
        std::string error;
        EXPECT_TRUE(SaveDiagsTable((folder / name).string(), DiagsTable::SignalStrengths, grid.Rows(), "Depot",
                                   "06/12/2026 21:30:00", &error))
            << error;
        EXPECT_EQ(testfiles::ReadBytes(folder / name), testfiles::ReadBytes(testfiles::Golden(name))) << name;
    }
}
