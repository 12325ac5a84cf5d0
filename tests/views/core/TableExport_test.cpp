#include "views/core/TableExport.h"
#include "model/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using views::TableCells;
using views::TableTitle;
using views::TextTableLayout;

namespace {

const TableTitle kTitle{"Link Budgets", "Depot", "06/12/2026 21:30:00"};

} // namespace

TEST(TableExport, ExtensionChoosesTheForm)
{
    const struct
    {
        const char* path;
        bool text;
    } cases[] = {
        {"/tmp/report.txt", true},   {"/tmp/report.TXT", false}, {"/tmp/report.old.txt", false},
        {"/tmp/report.csv", false},  {"/tmp/report", false},     {"C:\\out.d\\grid.txt", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(views::IsTextExport(c.path), c.text) << c.path;
}

TEST(TableExport, CsvKeepsEveryCellAsTextAndEscapesQuotes)
{
    const TableCells cells = {{"RCC", "Ident"}, {"007", ""}, {"say \"hi\""}};
    EXPECT_EQ(views::CsvTableBytes(cells, kTitle),
              "Link Budgets for ,Depot, Taken on ,06/12/2026 21:30:00\r\n\r\n"
              "\"=\"\"RCC\"\"\",\"=\"\"Ident\"\"\"\r\n"
              "\"=\"\"007\"\"\",\"=\"\"\"\"\"\r\n"
              "\"=\"\"say \"\"\"\"hi\"\"\"\"\"\"\",\"=\"\"\"\"\"\r\n");
}

TEST(TableExport, TextSplitsLongHeadersAndWritesLongCellsWhole)
{
    TextTableLayout layout;
    layout.widths = {5, 13};
    layout.leftAlignedColumns = {0};
    layout.header = views::HeaderLines::Split;
    layout.titleLine = false;
    const TableCells cells = {{"RCC", "Software Version"}, {"Hub", "1.2"}, {"Radio Hub 1", "x"}, {}};
    EXPECT_EQ(views::TextTableBytes(cells, kTitle, layout), " RCC  Software Ver\r\n\r\n"
                                                            "          sion    \r\n\r\n"
                                                            "Hub       1.2     \r\n\r\n"
                                                            "Radio Hub 1      x      \r\n\r\n"
                                                            "                  \r\n\r\n");
}

TEST(TableExport, FilesAreWindows1252AndAFailedWriteIsReported)
{
    const testfiles::TempFolder exports("views-export");
    const std::filesystem::path& folder = exports.path();
    const TableCells cells = {{"Caf\xC3\xA9"}};
    TextTableLayout layout;
    layout.widths = {6};
    const std::string path = (folder / "out.txt").string();
    ASSERT_TRUE(views::SaveTable(path, cells, {"Grid View", "S", "now"}, layout));
    EXPECT_EQ(testfiles::ReadBytes(path), "Grid View for S, Taken on now\r\n\r\n Caf\xE9 \r\n\r\n");

    std::string error;
    EXPECT_FALSE(views::SaveTable((folder / "missing" / "out.csv").string(), cells, kTitle, layout, &error));
    EXPECT_FALSE(error.empty());
}
