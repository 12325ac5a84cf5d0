#include "diagnostics/core/DiagsExport.h"

#include "DiagsSite.h"
#include "diagnostics/core/LinkBudgetRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace diagnostics;

namespace {

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DiagsExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder);
        BuildDiagsSite();
        ConfigureUnit(unit);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Saves the rows under name and compares the file with the golden file of that name.
    void ExpectGolden(DiagsTable table, const std::vector<DiagsGridRow>& rows, const std::string& name)
    {
        const auto path = folder / name;
        std::string error;
        ASSERT_TRUE(SaveDiagsTable(path.string(), table, rows, "Depot", "06/12/2026 21:30:00", &error)) << error;
        EXPECT_EQ(FileBytes(path), FileBytes(std::filesystem::path(QVS_TEST_DATA) / name)) << name;
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("diags-export-" + std::to_string(::getpid()));
    SimulatedUnit unit;
};

} // namespace

TEST_F(DiagsExportTest, SignalStrengthsMatchTheGoldenFiles)
{
    const auto lines = UnitList(unit, kGetSignalStrengthsCommand);
    ApplySignalStrengthReply(lines, static_cast<int>(lines.size()) - 1, model::Nodes);
    SignalGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, false, false);
    ExpectGolden(DiagsTable::SignalStrengths, grid.Rows(), "diags-signal.csv");
    ExpectGolden(DiagsTable::SignalStrengths, grid.Rows(), "diags-signal.txt");
}

TEST_F(DiagsExportTest, LinkBudgetsMatchTheGoldenFiles)
{
    unit.SetLinkBudgets("1000B", {19, 35, 5, 5});
    unit.AddCommand("GET_MANUAL_UPDATE_1_021", [](const std::string& c) {
        return SimulatedUnit::Lines{c, "MANUAL UPDATE 1 21 255.255 20 20 3 4"};
    });
    LiveGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, true, "2.34");
    LinkBudgetRun run(model::Nodes, grid);
    RunLinkBudgets(run, "2.34", [&](const LinkRequest& request) {
        const auto reply = UnitLines(unit, request.command);
        return UnitReply{kManualUpdateDone, reply.size() > 1 ? reply[1] : ""};
    });
    ExpectGolden(DiagsTable::LinkBudgets, grid.Cells(), "diags-live.csv");
    ExpectGolden(DiagsTable::LinkBudgets, grid.Cells(), "diags-live.txt");
}
