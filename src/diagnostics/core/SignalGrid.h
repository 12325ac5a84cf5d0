#pragma once
// The Signal Strengths page as data: "GET SS ALL" and "GET DM ALL" reply
// lines into the units' four signal strengths and daily maxima, and the grid
// that lists every unit with its readings and signal class, with the sort by
// a double-clicked column.
#include "model/clsNode.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace diagnostics {

inline constexpr const char* kGetSignalStrengthsCommand = "GET SS ALL";
inline constexpr const char* kGetDailyMaximaCommand = "GET DM ALL";

inline constexpr int kDiagsGridColumns = 11;
using DiagsGridRow = std::array<std::string, kDiagsGridColumns>;

// One "GET SS ALL" reply line: "SS LOOP<n> <address> <x> <y> <s3> <s4> <s1> <s2>".
struct SignalStrengthLine
{
    int loop = 0;
    int address = 0;
    std::array<int, 4> strengths{}; // strengths 3, 4, 1, 2 in the order the line gives them
};
std::optional<SignalStrengthLine> ParseSignalStrengthLine(std::string_view line);

// One "GET DM ALL" reply line: "IDENT=<ident> <x> <y> <value>dBm".
struct DailyMaximumLine
{
    std::string ident;
    int value = 0;
};
std::optional<DailyMaximumLine> ParseDailyMaximumLine(std::string_view line);

// Sets strengths 1..4 of every node and device slot to 0 and returns the
// number of units (nodes in use plus typed device slots).
int ClearSignalStrengths(model::NodeArray& nodes);
// Stores the strengths of a reply line with the unit owning its loop address
// (LoopAddressOwner); False, changing nothing, for any other line.
bool ApplySignalStrengthLine(std::string_view line, model::NodeArray& nodes);

void ClearDailyMaxima(model::NodeArray& nodes);
// Stores the daily maximum with the first in-use node or typed device slot
// of the array with that ident; False for any other line.
bool ApplyDailyMaximumLine(std::string_view line, model::NodeArray& nodes);

// Both apply every collected line at 1..count (index 0 is not read) and
// return how many they stored.
int ApplySignalStrengthReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes);
int ApplyDailyMaximumReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes);

// The class a daily maximum gives a row: "GOOD", "MEDIUM", "LOW", "CAUTION",
// "DISCONNECT" or "????". A node row on a site of loop protocol 1 knows no
// "MEDIUM".
std::string SignalClass(int dailyMax, const std::array<int, 4>& strengths, bool nodeRow, bool haveDailyMaxima);

enum class SortOrder
{
    None = 0,
    Ascending = 1,
    Descending = 2,
};

class SignalGrid
{
public:
    // The heading row for the site (IsLoopInterface); forgets the sort.
    void Setup();
    // Lists the site: row 1 the hub or RLM, row 2 empty, then every node in
    // use (from node 1, from node 0 on a loop-interface site) with its typed
    // slots. NoData lists them without readings.
    void Fill(const model::NodeArray& nodes, bool noData, bool haveDailyMaxima);

    // A double-click on a column: sorts every row below the heading by it
    // (column 2 by loop, then address), ascending, or descending when the
    // same column was last sorted ascending.
    void SortByColumn(int column);
    // After a refill: the last sort again, by its column and in its order.
    void Resort();
    int SortColumn() const { return sortColumn_; }
    SortOrder Order() const { return sortOrder_; }
    // The picture of the sorted column's heading: "DOWN_ARROW2" ascending,
    // "UP_ARROW2" descending, "" unsorted.
    std::string SortArrow() const;

    // Row 0 the heading, rows 1.. the data, as the export writes them.
    const std::vector<DiagsGridRow>& Rows() const { return rows_; }

private:
    void Sort();

    std::vector<DiagsGridRow> rows_ = std::vector<DiagsGridRow>(3);
    int sortColumn_ = -1;
    SortOrder sortOrder_ = SortOrder::None;
};

// Shared by the signal grid and the live grid.
// The heading row: column 0 and column 9 as given, the others as both grids
// name them on this site (IsLoopInterface).
DiagsGridRow DiagsHeading(const std::string& column0, const std::string& column9);
// The first five cells of a unit's row: node number, "RCC" or the device
// type's long name, loop, address ("17-18" for a head on a combination base)
// and ident. Slot 0 is the node itself.
DiagsGridRow UnitRowStart(int nodeNumber, const model::clsNode& node, int slot);

// The heading tool tip of the grid.
inline constexpr const char* kSignalGridToolTip = "Double-Click a column to sort the data by that parameter";
// Column widths in twips.
inline constexpr std::array<int, kDiagsGridColumns> kSignalGridWidths = {700,  2000, 700,  1000, 1000, 1200,
                                                                          1200, 1200, 1200, 1000, 1400};

} // namespace diagnostics
