#pragma once
// The rows of the configuration grid: one row per node in use (the Radio Hub
// and the RCCs) with its ident, loop position, location, parent, hop and radio
// channels, and under an RCC, on demand, one row per device. Column 0 holds a
// node row's state: "+" devices hidden, "-" devices shown, " " no devices (and
// the hub row); a device row has empty columns 0 and 1.
//
// The rows show the site as it was when they were built; expanding a node
// reads its devices from the site at that moment. Location texts typed into
// the grid stay in the grid; the site is never written.
#include "model/clsNode.h"
#include "views/core/TableExport.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace views {

inline constexpr int kGridColumnCount = 11;
inline constexpr int kMarkerColumn = 0;
inline constexpr int kRccColumn = 1;
inline constexpr int kLocationColumn = 6;

using GridRow = std::array<std::string, kGridColumnCount>;

struct GridColumn
{
    const char* header;
    int widthTwips;
    bool leftAligned;       // the column's cells; the others are centred
    bool headerLeftAligned; // the header cell; the others are centred
};

// The grid's columns, 0..10.
const std::array<GridColumn, kGridColumnCount>& GridColumns();

// The layout of the grid's text export.
TextTableLayout GridTextLayout();

// What a click on a row's marker does, for a view that follows the rows.
struct GridRowChange
{
    std::size_t first = 0; // index of the first row inserted or removed
    std::size_t inserted = 0;
    std::size_t removed = 0;
    bool toggles = false; // the row's marker turns
};

class ConfigGridRows
{
public:
    // Builds the node rows from nodes, which must outlive this object.
    explicit ConfigGridRows(const model::NodeArray& nodes);

    // Rebuilds the node rows from the site: every device row and every typed
    // location goes, every node with devices shows "+".
    void FillNodeGrid();

    std::size_t RowCount() const { return rows_.size(); }
    // Data rows from 0 (the header row is not one of them).
    const GridRow& Row(std::size_t row) const { return rows_.at(row).cells; }

    // A click on column 0 of a row: "+" shows the node's devices below it in
    // ascending slot order and turns into "-"; "-" removes them and turns
    // into "+"; any other row does nothing.
    GridRowChange ToggleDevices(std::size_t row);
    // What ToggleDevices(row) would do, without doing it.
    GridRowChange PlanToggle(std::size_t row) const;

    // Shows the devices of every node marked "+", each inserted directly
    // below its node row, so they stand in descending slot order.
    void ExpandAll();

    // A key typed into the location column of a row: Backspace (8) removes
    // the last character, a blank (32) or a character 48 ("0") to 122 ("z")
    // is appended; any other key changes nothing. True when the text changed.
    bool TypeLocationKey(std::size_t row, int code);

    // The header row and every row as they stand, for the export.
    TableCells ExportCells() const;

private:
    struct Entry
    {
        GridRow cells;
        int node = -1; // the node of a node row; -1 for a device row
    };

    std::vector<Entry> DeviceRows(int node) const;

    const model::NodeArray& nodes_;
    std::vector<Entry> rows_;
};

} // namespace views
