#pragma once
// The grids of the Signal Strengths and Live Status pages: the heading row
// above the columns (with the sort picture of one column), the data rows of
// a grid of cells, the device column left-aligned and the others centred,
// and the colours of a row. Row r of the grid's data (row 0 the heading) is
// row r - 1 of the table.
#include "diagnostics/core/SignalGrid.h"

#include <QTableWidget>
#include <cstdint>
#include <string>
#include <vector>

class DiagsGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit DiagsGrid(QWidget* parent = nullptr);

    // The heading texts and column widths in twips (a width of 0 hides the column).
    void SetHeading(const diagnostics::DiagsGridRow& heading,
                    const std::array<int, diagnostics::kDiagsGridColumns>& widths);
    // The data rows: rows[1..] (rows[0], the heading, is not written).
    void SetRows(const std::vector<diagnostics::DiagsGridRow>& rows);
    // One data row by its grid row (1 the first).
    void SetRow(int gridRow, const diagnostics::DiagsGridRow& cells);
    void SetRowColours(int gridRow, std::uint32_t back, std::uint32_t fore);
    // The picture of one heading ("" for none); every other heading loses its picture.
    void SetHeadingPicture(int column, const std::string& name);
    // Selects a whole data row and scrolls it into view when it is not.
    void SelectGridRow(int gridRow);

    QString Cell(int gridRow, int column) const;
};
