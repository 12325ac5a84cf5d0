#pragma once
// Saving a table of cells as a file: a CSV file whose every cell is wrapped as
// a text formula (="text"), so that a spreadsheet keeps leading zeros and
// address pairs as they stand, or a plain text file of fixed-width columns.
// One exporter for every table the program saves: the configuration grid and
// the diagnostics window's signal-strength and link-budget tables; each caller
// gives its table's name and the layout of its text form.
//
// Cells are UTF-8; the files are Windows-1252 text with CR LF line ends.
#include <string>
#include <vector>

namespace views {

// Rows of cells, row 0 the header row. Rows may differ in length; a missing
// cell is an empty one.
using TableCells = std::vector<std::vector<std::string>>;

enum class HeaderLines
{
    // The header row is one line, each text centred and written whole.
    One,
    // A header text longer than its column is split: its first width - 1
    // characters on a first line, the rest on a second, each centred.
    Split,
};

// The text form of a table.
struct TextTableLayout
{
    std::vector<int> widths;          // characters per column; further columns have width 0
    std::vector<int> leftAlignedColumns; // data cells of these columns are left-aligned, others centred
    HeaderLines header = HeaderLines::One;
    bool titleLine = true; // the file starts with the title line
};

// What a table's file says about itself: "<tableName> for <site>, Taken on <takenOn>".
struct TableTitle
{
    std::string tableName; // "Grid View", "Signal Strengths", "Link Budgets"
    std::string siteName;
    std::string takenOn; // the date and time of the save, as the user reads them
};

// True when the file gets the text form: the text after the first "." of the
// file's name is exactly "txt" (so "a.TXT" and "a.b.txt" are CSV files).
bool IsTextExport(const std::string& path);

// The CSV file: the title line ("<name> for ,<site>, Taken on ,<when>"), an
// empty line, then one line per row with one field per column of the widest
// row. A double quote inside a cell is doubled for the formula and again for
// the CSV field, so the spreadsheet shows it as typed.
std::string CsvTableBytes(const TableCells& cells, const TableTitle& title);

// The text file: with layout.titleLine the title line ("<name> for <site>,
// Taken on <when>"), then the header and the rows, every line followed by an
// empty line. A cell is padded to its column's width (centred, or appended
// blanks in a left-aligned column); a longer cell is written whole, so the
// columns after it move to the right on that line.
std::string TextTableBytes(const TableCells& cells, const TableTitle& title, const TextTableLayout& layout);

// Writes the table to path in the form its name asks for. The old file is
// replaced only once the new one is completely written. False, with the
// reason in error, when the file could not be written.
bool SaveTable(const std::string& path, const TableCells& cells, const TableTitle& title,
               const TextTableLayout& layout, std::string* error = nullptr);

} // namespace views
