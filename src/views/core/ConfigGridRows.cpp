#include "views/core/ConfigGridRows.h"

#include "model/DeviceTypes.h"

#include <algorithm>
#include <iterator>

namespace views {

namespace {

// A loop or address, "-" when it is not set.
std::string Number(int value)
{
    return value == -1 ? "-" : std::to_string(value);
}

// A parent, hop or channel of a node, " - " when it is not set.
std::string Spaced(const std::string& prefix, int value)
{
    return value == -1 ? " - " : prefix + std::to_string(value);
}

GridRow NodeRow(const model::clsNode& node, int n, const model::NodeArray& nodes)
{
    GridRow row;
    row[3] = node.NodeIdent();
    row[4] = Number(node.NodeLoop());
    row[5] = Number(node.NodeAddress());
    row[6] = node.Name();
    if (n == 0) {
        row[0] = " ";
        row[1] = "Radio Hub";
        row[7] = " ";
        row[8] = " ";
        row[9] = Spaced("Y - ", node.Y_ChannelA());
        row[10] = Spaced("Y - ", node.Y_ChannelB());
    } else {
        row[0] = node.DetectorCount() > 0 ? "+" : " ";
        row[1] = "RCC " + std::to_string(n);
        row[7] = Spaced("", node.Parent());
        row[8] = Spaced("", node.Hop(nodes, 10));
        row[9] = Spaced("X - ", node.X_ChannelA());
        row[10] = Spaced("X - ", node.X_ChannelB());
    }
    return row;
}

GridRow DeviceRow(const model::clsNode& node, int slot)
{
    const model::DeviceTypeCode type = node.DeviceType(slot);
    const int address = node.DeviceAddress(slot);
    GridRow row;
    row[2] = model::DeviceTypeName(type);
    row[3] = node.DeviceIdent(slot);
    row[4] = Number(node.DeviceLoop(slot));
    if (address == -1)
        row[5] = "-";
    else if (model::IsComboHeadType(type))
        row[5] = std::to_string(address) + " - " + std::to_string(address + 1);
    else
        row[5] = std::to_string(address);
    row[6] = node.DeviceName(slot);
    return row;
}

} // namespace

const std::array<GridColumn, kGridColumnCount>& GridColumns()
{
    static const std::array<GridColumn, kGridColumnCount> columns = {{
        {"", 300, false, false},
        {"RCC", 1000, true, false},
        {"Type", 1900, true, false},
        {"Ident", 800, false, false},
        {"Loop", 500, false, false},
        {"Address", 880, false, false},
        {"Location", 2000, true, true},
        {"Parent", 600, false, false},
        {"Hop", 500, false, false},
        {"1st Channel", 1100, false, false},
        {"2nd Channel", 1100, false, false},
    }};
    return columns;
}

TextTableLayout GridTextLayout()
{
    TextTableLayout layout;
    layout.widths = {3, 10, 26, 7, 6, 9, 30, 6, 6, 15, 10};
    layout.leftAlignedColumns = {1, 2, 6};
    layout.header = HeaderLines::One;
    layout.titleLine = true;
    return layout;
}

ConfigGridRows::ConfigGridRows(const model::NodeArray& nodes) : nodes_(nodes)
{
    FillNodeGrid();
}

void ConfigGridRows::FillNodeGrid()
{
    rows_.clear();
    for (int n = 0; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes_[static_cast<std::size_t>(n)];
        if (node.InUse())
            rows_.push_back({NodeRow(node, n, nodes_), n});
    }
}

std::vector<ConfigGridRows::Entry> ConfigGridRows::DeviceRows(int node) const
{
    std::vector<Entry> devices;
    const model::clsNode& owner = nodes_[static_cast<std::size_t>(node)];
    for (int slot = 1; slot <= model::kLastSlot; ++slot) {
        if (owner.DeviceType(slot) != 0)
            devices.push_back({DeviceRow(owner, slot), -1});
    }
    return devices;
}

GridRowChange ConfigGridRows::PlanToggle(std::size_t row) const
{
    GridRowChange change;
    if (row >= rows_.size())
        return change;
    const Entry& entry = rows_[row];
    change.first = row + 1;
    if (entry.cells[kMarkerColumn] == "+") {
        change.inserted = DeviceRows(entry.node).size();
        change.toggles = true;
    } else if (entry.cells[kMarkerColumn] == "-") {
        const auto from = rows_.begin() + static_cast<std::ptrdiff_t>(change.first);
        const auto to = std::find_if(from, rows_.end(), [](const Entry& e) { return !e.cells[kRccColumn].empty(); });
        change.removed = static_cast<std::size_t>(to - from);
        change.toggles = true;
    }
    return change;
}

GridRowChange ConfigGridRows::ToggleDevices(std::size_t row)
{
    const GridRowChange change = PlanToggle(row);
    if (!change.toggles)
        return change;
    Entry& entry = rows_[row];
    const auto at = rows_.begin() + static_cast<std::ptrdiff_t>(change.first);
    if (entry.cells[kMarkerColumn] == "+") {
        entry.cells[kMarkerColumn] = "-";
        std::vector<Entry> devices = DeviceRows(entry.node);
        rows_.insert(at, std::make_move_iterator(devices.begin()), std::make_move_iterator(devices.end()));
    } else {
        entry.cells[kMarkerColumn] = "+";
        rows_.erase(at, at + static_cast<std::ptrdiff_t>(change.removed));
    }
    return change;
}

void ConfigGridRows::ExpandAll()
{
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].cells[kMarkerColumn] != "+")
            continue;
        rows_[r].cells[kMarkerColumn] = "-";
        std::vector<Entry> devices = DeviceRows(rows_[r].node);
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(r) + 1, std::make_move_iterator(devices.rbegin()),
                     std::make_move_iterator(devices.rend()));
    }
}

bool ConfigGridRows::TypeLocationKey(std::size_t row, int code)
{
    if (row >= rows_.size())
        return false;
    std::string& text = rows_[row].cells[kLocationColumn];
    if (code == 8 && !text.empty()) {
        // A whole character, also one that a device name brought in as
        // several UTF-8 bytes.
        while (text.size() > 1 && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        text.pop_back();
        return true;
    }
    if (code == 32 || (code >= 48 && code <= 122)) {
        text += static_cast<char>(code);
        return true;
    }
    return false;
}

TableCells ConfigGridRows::ExportCells() const
{
    TableCells cells;
    cells.reserve(rows_.size() + 1);
    std::vector<std::string> header;
    for (const GridColumn& column : GridColumns())
        header.emplace_back(column.header);
    cells.push_back(std::move(header));
    for (const Entry& entry : rows_)
        cells.emplace_back(entry.cells.begin(), entry.cells.end());
    return cells;
}

} // namespace views
