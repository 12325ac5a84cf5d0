#pragma once
// Saving the signal-strength grid or the link-budget grid as a CSV file or a
// fixed-width text file, through the program's one table exporter.
#include "diagnostics/core/SignalGrid.h"
#include "views/core/TableExport.h"

#include <string>
#include <vector>

namespace diagnostics {

enum class DiagsTable
{
    SignalStrengths, // the Signal Strengths page
    LinkBudgets,     // the Live Status page
};

// The texts of a table's save.
struct DiagsExportTexts
{
    const char* defaultFileName; // "Signal Strengths"
    const char* dialogTitle;     // "Save A Signal Strength File"
    const char* tableName;       // first words of the CSV title line
    const char* savedTitle;      // title of "File Saved Successfully"
};
DiagsExportTexts ExportTexts(DiagsTable table);

inline constexpr const char* kDiagsExportFilter =
    "Comma Separated Values Files (*.csv)|*.csv|Simple Text File (*.txt)|*.txt";
inline constexpr const char* kDiagsExportExtension = "csv";
inline constexpr const char* kFileSavedText = "File Saved Successfully";

// The text form of both grids: fixed column widths, the device column
// left-aligned, long headings split over two lines, no title line.
views::TextTableLayout DiagsTextLayout();

// Writes the grid's rows (row 0 the heading) to path: the text form when the
// file's extension is "txt", else the CSV form with its title line naming
// the site and takenOn. False, with the reason in error, when the file could
// not be written (an existing file is then left as it was).
bool SaveDiagsTable(const std::string& path, DiagsTable table, const std::vector<DiagsGridRow>& rows,
                    const std::string& siteName, const std::string& takenOn, std::string* error = nullptr);

} // namespace diagnostics
