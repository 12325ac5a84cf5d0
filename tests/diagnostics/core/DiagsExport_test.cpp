#include "diagnostics/core/DiagsExport.h"

#include "DiagsSite.h"
#include "diagnostics/core/SignalGrid.h"

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

} // namespace

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
    const auto folder = std::filesystem::temp_directory_path() / ("diags-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* name : {"diags-signal.csv", "diags-signal.txt"}) {
        std::string error;
        EXPECT_TRUE(SaveDiagsTable((folder / name).string(), DiagsTable::SignalStrengths, grid.Rows(), "Depot",
                                   "06/12/2026 21:30:00", &error))
            << error;
        EXPECT_EQ(FileBytes(folder / name), FileBytes(std::filesystem::path(QVS_TEST_DATA) / name)) << name;
    }
    std::filesystem::remove_all(folder);
}
