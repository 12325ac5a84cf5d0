#include "views/core/TableExport.h"

#include "model/Convert.h"
#include "model/General.h"
#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"

#include <algorithm>
#include <limits>

namespace views {

namespace {

constexpr const char* kLineEnd = "\r\n";

std::size_t ColumnCount(const TableCells& cells)
{
    std::size_t count = 0;
    for (const auto& row : cells)
        count = std::max(count, row.size());
    return count;
}

// The cell in the file's code page, so that one character is one byte when
// the text form pads it.
std::string CellBytes(const std::vector<std::string>& row, std::size_t column)
{
    if (column >= row.size())
        return {};
    const std::string& cell = row[column];
    const bool ascii = std::all_of(cell.begin(), cell.end(), [](char c) { return (c & 0x80) == 0; });
    return ascii ? cell : platform::Utf8ToWin1252(cell);
}

void AppendCsvField(std::string& bytes, const std::string& cell)
{
    bytes += "\"=\"\"";
    for (char c : cell) {
        // Doubled once inside the formula's string, and that again in the field.
        if (c == '"')
            bytes.append(4, '"');
        else
            bytes += c;
    }
    bytes += "\"\"\"";
}

int16_t Width(const TextTableLayout& layout, std::size_t column)
{
    if (column >= layout.widths.size())
        return 0;
    return static_cast<int16_t>(std::clamp(layout.widths[column], 0, int{std::numeric_limits<int16_t>::max()}));
}

std::string Padded(std::string text, int16_t width, bool left)
{
    return model::PadString(text, width, left ? 1 : 0);
}

void AppendTextLine(std::string& bytes, const std::string& line)
{
    bytes += line;
    bytes += kLineEnd;
    bytes += kLineEnd;
}

} // namespace

bool IsTextExport(const std::string& path)
{
    return model::FileExtension(path) == "txt";
}

std::string CsvTableBytes(const TableCells& cells, const TableTitle& title)
{
    std::string bytes = platform::Utf8ToWin1252(title.tableName + " for ," + title.siteName + ", Taken on ," +
                                                title.takenOn);
    bytes += kLineEnd;
    bytes += kLineEnd;
    const std::size_t columns = ColumnCount(cells);
    for (const auto& row : cells) {
        for (std::size_t c = 0; c < columns; ++c) {
            if (c > 0)
                bytes += ',';
            AppendCsvField(bytes, CellBytes(row, c));
        }
        bytes += kLineEnd;
    }
    return bytes;
}

std::string TextTableBytes(const TableCells& cells, const TableTitle& title, const TextTableLayout& layout)
{
    std::string bytes;
    if (layout.titleLine) {
        AppendTextLine(bytes, platform::Utf8ToWin1252(title.tableName + " for " + title.siteName + ", Taken on " +
                                                      title.takenOn));
    }
    const std::size_t columns = ColumnCount(cells);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        std::string line;
        std::string secondLine;
        for (std::size_t c = 0; c < columns; ++c) {
            const int16_t width = Width(layout, c);
            const std::string cell = CellBytes(cells[r], c);
            if (r > 0) {
                const bool left = std::find(layout.leftAlignedColumns.begin(), layout.leftAlignedColumns.end(),
                                            static_cast<int>(c)) != layout.leftAlignedColumns.end();
                line += Padded(cell, width, left);
            } else if (layout.header == HeaderLines::Split && width > 0 &&
                       cell.size() > static_cast<std::size_t>(width)) {
                const std::size_t firstPart = static_cast<std::size_t>(width) - 1;
                line += Padded(cell.substr(0, firstPart), width, false);
                secondLine += Padded(cell.substr(firstPart), width, false);
            } else {
                line += Padded(cell, width, false);
                if (layout.header == HeaderLines::Split)
                    secondLine += std::string(static_cast<std::size_t>(width), ' ');
            }
        }
        AppendTextLine(bytes, line);
        if (r == 0 && layout.header == HeaderLines::Split && !secondLine.empty())
            AppendTextLine(bytes, secondLine);
    }
    return bytes;
}

bool SaveTable(const std::string& path, const TableCells& cells, const TableTitle& title,
               const TextTableLayout& layout, std::string* error)
{
    const std::string bytes =
        IsTextExport(path) ? TextTableBytes(cells, title, layout) : CsvTableBytes(cells, title);
    return platform::ReplaceWholeFile(path, bytes, error);
}

} // namespace views
