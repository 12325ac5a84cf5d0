#include "diagnostics/core/LiveGrid.h"

#include "model/SiteState.h"

#include <algorithm>

namespace diagnostics {

namespace {

int Budget(const model::clsNode& node, int slot, int k)
{
    return slot == 0 ? node.NodeLinkBudget(k) : node.DeviceLinkBudget(slot, k);
}

int GridRowOf(const model::clsNode& node, int slot)
{
    return slot == 0 ? node.NodeGridRow() : node.DeviceGridRow(slot);
}

// Every unit the grid lists, in its order: on a hub site each RCC in use
// (slot 0) followed by its typed slots, on a loop-interface site the RLM's
// typed slots.
template <typename Visit> void ForEachListedUnit(const model::NodeArray& nodes, Visit visit)
{
    for (int n = IsLoopInterface ? 0 : 1; n < (IsLoopInterface ? 1 : model::kNodeCount); ++n) {
        const model::clsNode& node = nodes[static_cast<std::size_t>(n)];
        if (!IsLoopInterface && !node.InUse())
            continue;
        for (int s = IsLoopInterface ? 1 : 0; s <= model::kLastSlot; ++s)
            if (s == 0 || node.DeviceType(s) != 0)
                visit(n, s);
    }
}

} // namespace

RowColours LiveRowColours(LiveRowColour colour)
{
    switch (colour) {
    case LiveRowColour::Asking:
        return {0xFF0000, 0xFFFFFF};
    case LiveRowColour::Ok:
        return {0x008000, 0xFFFFFF};
    case LiveRowColour::Caution:
        return {0x00FFFF, 0x000000};
    case LiveRowColour::NoAnswer:
        return {0x000080, 0xFFFFFF};
    case LiveRowColour::Plain:
        break;
    }
    return {0xFFFFFF, 0x000000};
}

std::string LinkVerdict(int budget1, int budget2)
{
    return budget1 >= 20 && budget2 >= 20 ? "OK" : "CAUTION";
}

void ClearLiveLinkData(model::NodeArray& nodes)
{
    for (model::clsNode& node : nodes) {
        node.SetGotNodeLiveStatus(false);
        for (int k = 1; k <= 4; ++k)
            node.SetNodeLinkBudget(k, 0);
        for (int s = 1; s <= model::kLastSlot; ++s) {
            node.SetGotDeviceLiveStatus(s, false);
            for (int k = 1; k <= 4; ++k)
                node.SetDeviceLinkBudget(s, k, 0);
        }
    }
}

std::array<int, kDiagsGridColumns> LiveGridWidths()
{
    const int hidden = IsLoopInterface ? 0 : 700;
    return {hidden, 2000, hidden, 1000, 1000, 1200, 1200, 1200, 1200, 1000, 1400};
}

void LiveGrid::Setup()
{
    rows_[0].cells = DiagsHeading("RCC", "Software Version");
}

void LiveGrid::Fill(model::NodeArray& nodes, bool rebuild, const std::string& unitVersion)
{
    if (!rebuild) {
        SetUnitVersion(unitVersion);
        ForEachListedUnit(nodes, [&](int n, int s) {
            const model::clsNode& node = nodes[static_cast<std::size_t>(n)];
            WriteReadings(RowOf(GridRowOf(node, s)), node, s);
        });
        return;
    }
    rows_.resize(1);
    LiveRow first{UnitRowStart(0, nodes[0], 0)};
    first.cells[1] = IsLoopInterface ? "RLM " : "Radio Hub";
    std::fill(first.cells.begin() + 5, first.cells.end(), "-");
    rows_.push_back(first);
    rows_.emplace_back();
    ForEachListedUnit(nodes, [&](int n, int s) {
        model::clsNode& node = nodes[static_cast<std::size_t>(n)];
        LiveRow row{UnitRowStart(n, node, s)};
        std::fill(row.cells.begin() + 5, row.cells.begin() + 9, "-");
        row.cells[9] = row.cells[10] = "????";
        rows_.push_back(std::move(row));
        const int stored = static_cast<int>(rows_.size());
        if (s == 0)
            node.SetNodeGridRow(stored);
        else
            node.SetDeviceGridRow(s, stored);
    });
}

std::vector<DiagsGridRow> LiveGrid::Cells() const
{
    std::vector<DiagsGridRow> cells;
    cells.reserve(rows_.size());
    for (const LiveRow& row : rows_)
        cells.push_back(row.cells);
    return cells;
}

int LiveGrid::RowOf(int storedGridRow) const
{
    const int row = storedGridRow - 1;
    return row >= 3 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void LiveGrid::SetUnitVersion(const std::string& unitVersion)
{
    rows_[1].cells[9] = unitVersion;
}

void LiveGrid::SetColour(int row, LiveRowColour colour)
{
    if (row >= 1 && row < static_cast<int>(rows_.size()))
        rows_[static_cast<std::size_t>(row)].colour = colour;
}

void LiveGrid::WriteReadings(int row, const model::clsNode& node, int slot)
{
    if (row < 1 || row >= static_cast<int>(rows_.size()))
        return;
    DiagsGridRow& cells = rows_[static_cast<std::size_t>(row)].cells;
    for (int k = 1; k <= 4; ++k)
        cells[static_cast<std::size_t>(4 + k)] = std::to_string(Budget(node, slot, k));
    const std::string& version = slot == 0 ? node.NodeVersion() : node.DeviceVersion(slot);
    cells[9] = version == "255.255" ? "????" : version;
    cells[10] = LinkVerdict(Budget(node, slot, 1), Budget(node, slot, 2));
}

} // namespace diagnostics
