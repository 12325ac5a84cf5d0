#pragma once
// The grid of the Live Status page as data: one row per unit of the site
// with its four live link budgets, software version and verdict, and the
// colour a polling run gives the row.
#include "diagnostics/core/SignalGrid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace diagnostics {

enum class LiveRowColour
{
    Plain,    // as the grid draws its cells
    Asking,   // blue, white text
    Ok,       // green, white text
    Caution,  // yellow, black text
    NoAnswer, // dark red, white text
};

struct RowColours
{
    uint32_t back = 0; // 0x00BBGGRR
    uint32_t fore = 0;
};
// The colours of a polled row; Plain gives the grid's own white and black.
RowColours LiveRowColours(LiveRowColour colour);

struct LiveRow
{
    DiagsGridRow cells;
    LiveRowColour colour = LiveRowColour::Plain;
};

// "OK" when both device-to-RCC budgets are 20 dBm or more, else "CAUTION".
std::string LinkVerdict(int budget1, int budget2);

// Forgets every unit's link budgets and answered flag (versions and grid rows stay).
void ClearLiveLinkData(model::NodeArray& nodes);

// Column widths in twips (columns 0 and 2 are hidden on a loop-interface site).
std::array<int, kDiagsGridColumns> LiveGridWidths();

class LiveGrid
{
public:
    // The heading row for the site (IsLoopInterface).
    void Setup();
    // Rebuild lists the site anew with placeholders and gives each unit its
    // grid row: row 1 the hub or RLM, row 2 empty, then the RCCs each with
    // its devices (on a loop-interface site the RLM's devices). Otherwise the
    // stored budgets, versions and verdicts are written into the units' rows.
    void Fill(model::NodeArray& nodes, bool rebuild, const std::string& unitVersion);

    // Row 0 the heading, rows 1.. the data.
    const std::vector<LiveRow>& Rows() const { return rows_; }
    // The cells of every row, as the export writes them.
    std::vector<DiagsGridRow> Cells() const;

    // A unit's row index from its stored grid row; -1 when it has no data row.
    int RowOf(int storedGridRow) const;
    void SetUnitVersion(const std::string& unitVersion);
    void SetColour(int row, LiveRowColour colour);
    // Writes the budgets, version ("????" for "255.255") and verdict of a unit.
    void WriteReadings(int row, const model::clsNode& node, int slot);

private:
    std::vector<LiveRow> rows_ = std::vector<LiveRow>(3);
};

} // namespace diagnostics
