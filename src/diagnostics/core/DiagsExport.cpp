#include "diagnostics/core/DiagsExport.h"

namespace diagnostics {

DiagsExportTexts ExportTexts(DiagsTable table)
{
    if (table == DiagsTable::SignalStrengths)
        return {"Signal Strengths", "Save A Signal Strength File", "Signal Strengths", "Save a Signal Strength File"};
    return {"Link Budgets", "Save A Link Budget File", "Link Budgets", "Save a Link Budget File"};
}

views::TextTableLayout DiagsTextLayout()
{
    views::TextTableLayout layout;
    layout.widths = {5, 26, 6, 9, 7, 15, 15, 15, 15, 13, 8};
    layout.leftAlignedColumns = {1};
    layout.header = views::HeaderLines::Split;
    layout.titleLine = false;
    return layout;
}

bool SaveDiagsTable(const std::string& path, DiagsTable table, const std::vector<DiagsGridRow>& rows,
                    const std::string& siteName, const std::string& takenOn, std::string* error)
{
    views::TableCells cells;
    cells.reserve(rows.size());
    for (const DiagsGridRow& row : rows)
        cells.emplace_back(row.begin(), row.end());
    return views::SaveTable(path, cells, {ExportTexts(table).tableName, siteName, takenOn}, DiagsTextLayout(),
                            error);
}

} // namespace diagnostics
