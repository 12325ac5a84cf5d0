#include "diagnostics/core/SignalGrid.h"

#include "diagnostics/core/ReplyFields.h"
#include "diagnostics/core/StatusTexts.h"
#include "model/DeviceTypes.h"
#include "model/Convert.h"
#include "model/SiteState.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace diagnostics {

namespace {

// Reading indices of grid columns 5..8.
constexpr std::array<int, 4> kStrengthOrder = {3, 4, 1, 2};

// A cell's sort key: numbers (and address pairs such as 17-18, by their
// first address) sort by value, before every other text, which sorts as text.
struct SortKey
{
    bool number = false;
    double value = 0;
    const std::string* text = nullptr;
};

SortKey KeyOf(const std::string& cell)
{
    SortKey key;
    key.text = &cell;
    const char* end = cell.data() + cell.size();
    const auto [ptr, ec] = std::from_chars(cell.data(), end, key.value);
    key.number = ec == std::errc() && (ptr == end || (*ptr == '-' && ptr + 1 != end));
    return key;
}

// -1, 0 or 1 as a sorts before, with or after b.
int Compare(const SortKey& ka, const SortKey& kb)
{
    if (ka.number != kb.number)
        return ka.number ? -1 : 1;
    if (ka.number)
        return ka.value < kb.value ? -1 : (kb.value < ka.value ? 1 : 0);
    return ka.text->compare(*kb.text) < 0 ? -1 : (*ka.text == *kb.text ? 0 : 1);
}

// Every in-use node and typed device slot by its ident; where two share an
// ident, the first in node and slot order.
std::unordered_map<std::string, UnitRef> UnitsByIdent(const model::NodeArray& nodes)
{
    std::unordered_map<std::string, UnitRef> units;
    for (int n = 0; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        units.emplace(node.NodeIdent(), UnitRef{n, 0});
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0)
                units.emplace(node.DeviceIdent(s), UnitRef{n, s});
    }
    units.erase("");
    return units;
}

bool StoreDailyMaximum(std::string_view line, model::NodeArray& nodes,
                       const std::unordered_map<std::string, UnitRef>& units)
{
    const auto reading = ParseDailyMaximumLine(line);
    if (!reading)
        return false;
    const auto unit = units.find(reading->ident);
    if (unit == units.end())
        return false;
    model::clsNode& node = nodes[static_cast<std::size_t>(unit->second.node)];
    if (unit->second.slot == 0)
        node.SetNodeDailyMax(reading->value);
    else
        node.SetDeviceDailyMaxSignal(unit->second.slot, reading->value);
    return true;
}

} // namespace

std::optional<SignalStrengthLine> ParseSignalStrengthLine(std::string_view line)
{
    const auto fields = SplitFields(line);
    if (fields.size() < 9 || fields[0] != "SS")
        return std::nullopt;
    SignalStrengthLine reading;
    const auto loop = ParseLoopField(fields[1]);
    const auto address = ParseDecimal(fields[2]);
    if (!loop || !address)
        return std::nullopt;
    reading.loop = *loop;
    reading.address = *address;
    if (!ParseFourNumbers(fields, 5, reading.strengths))
        return std::nullopt;
    return reading;
}

std::optional<DailyMaximumLine> ParseDailyMaximumLine(std::string_view line)
{
    const auto fields = SplitFields(line);
    // "IDENT=" and five characters of ident; the value carries a three-letter unit.
    if (fields.size() < 4 || fields[0].substr(0, 5) != "IDENT" || fields[0].size() < 11 || fields[3].size() < 3)
        return std::nullopt;
    const auto value = ParseDecimal(fields[3].substr(0, fields[3].size() - 3));
    if (!value && fields[3].size() != 3)
        return std::nullopt;
    return DailyMaximumLine{model::Upper(std::string(fields[0].substr(6, 5))), value.value_or(0)};
}

int ClearSignalStrengths(model::NodeArray& nodes)
{
    for (model::clsNode& node : nodes) {
        for (int k : kStrengthOrder)
            node.SetNodeSignalStrength(k, 0);
        for (int s = 1; s <= model::kLastSlot; ++s)
            for (int k : kStrengthOrder)
                node.SetDeviceSignalStrength(s, k, 0);
    }
    return SiteUnitCount(nodes);
}

bool ApplySignalStrengthLine(std::string_view line, model::NodeArray& nodes)
{
    const auto reading = ParseSignalStrengthLine(line);
    if (!reading)
        return false;
    const auto unit = UnitAtLoopAddress(reading->loop, reading->address);
    if (!unit)
        return false;
    model::clsNode& node = nodes[static_cast<std::size_t>(unit->node)];
    for (std::size_t k = 0; k < 4; ++k) {
        if (unit->slot == 0)
            node.SetNodeSignalStrength(kStrengthOrder[k], reading->strengths[k]);
        else
            node.SetDeviceSignalStrength(unit->slot, kStrengthOrder[k], reading->strengths[k]);
    }
    return true;
}

void ClearDailyMaxima(model::NodeArray& nodes)
{
    for (model::clsNode& node : nodes) {
        node.SetNodeDailyMax(0);
        for (int s = 1; s <= model::kLastSlot; ++s)
            node.SetDeviceDailyMaxSignal(s, 0);
    }
}

bool ApplyDailyMaximumLine(std::string_view line, model::NodeArray& nodes)
{
    return StoreDailyMaximum(line, nodes, UnitsByIdent(nodes));
}

int ApplySignalStrengthReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes)
{
    return ApplyReplyLines(lines, count, [&](std::string_view line) { return ApplySignalStrengthLine(line, nodes); });
}

int ApplyDailyMaximumReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes)
{
    const auto units = UnitsByIdent(nodes);
    return ApplyReplyLines(lines, count,
                           [&](std::string_view line) { return StoreDailyMaximum(line, nodes, units); });
}

std::string SignalClass(int dailyMax, const std::array<int, 4>& strengths, bool nodeRow, bool haveDailyMaxima)
{
    if (!haveDailyMaxima)
        return "????";
    if (dailyMax <= 0)
        return std::all_of(strengths.begin(), strengths.end(), [](int s) { return s == 0; }) ? "DISCONNECT" : "????";
    const bool medium = !nodeRow || LoopProtocol == 2 || LoopProtocol == 3;
    if (dailyMax <= 7)
        return "CAUTION";
    if (dailyMax >= 20)
        return "GOOD";
    if (medium && dailyMax >= 14)
        return "MEDIUM";
    return "LOW";
}

DiagsGridRow DiagsHeading(const std::string& column0, const std::string& column9)
{
    const std::string rcc = IsLoopInterface ? "RLM" : "RCC";
    return {column0,
            "Device",
            "Loop",
            "Address",
            "Ident",
            "Device to " + rcc + " Ch.1  dBm",
            "Device to " + rcc + " Ch.2  dBm",
            rcc + " to Device Ch.1  dBm",
            rcc + " to Device Ch.2  dBm",
            column9,
            "Signal Status"};
}

DiagsGridRow UnitRowStart(int nodeNumber, const model::clsNode& node, int slot)
{
    DiagsGridRow row;
    row[0] = std::to_string(nodeNumber);
    if (slot == 0) {
        row[1] = "RCC";
        row[2] = std::to_string(node.NodeLoop());
        row[3] = std::to_string(node.NodeAddress());
        row[4] = node.NodeIdent();
        return row;
    }
    const int address = node.DeviceAddress(slot);
    row[1] = model::DeviceTypeName(node.DeviceType(slot));
    row[2] = std::to_string(node.DeviceLoop(slot));
    row[3] = model::IsComboHeadType(node.DeviceType(slot))
                 ? std::to_string(address) + "-" + std::to_string(address + 1)
                 : std::to_string(address);
    row[4] = node.DeviceIdent(slot);
    return row;
}

void SignalGrid::Setup()
{
    rows_[0] = DiagsHeading(IsLoopInterface ? "RLM" : "RCC", "Global Stats  dBm");
    sortColumn_ = -1;
    sortOrder_ = SortOrder::None;
}

void SignalGrid::Fill(const model::NodeArray& nodes, bool noData, bool haveDailyMaxima)
{
    rows_.resize(1);
    const model::clsNode& hub = nodes[0];
    DiagsGridRow first = UnitRowStart(0, hub, 0);
    first[1] = IsLoopInterface ? "RLM" : "Radio Hub";
    std::fill(first.begin() + 5, first.end(), "-");
    rows_.push_back(first);
    rows_.emplace_back(); // the spare row under the hub row stays empty
    for (int n = IsLoopInterface ? 0 : 1; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        for (int s = 0; s <= model::kLastSlot; ++s) {
            if (s != 0 && node.DeviceType(s) == 0)
                continue;
            DiagsGridRow row = UnitRowStart(n, node, s);
            std::array<int, 4> strengths{};
            for (std::size_t k = 0; k < 4; ++k) {
                strengths[k] = s == 0 ? node.NodeSignalStrength(kStrengthOrder[k])
                                      : node.DeviceSignalStrength(s, kStrengthOrder[k]);
                row[5 + k] = noData ? "-" : std::to_string(strengths[k]);
            }
            const int dailyMax = s == 0 ? node.NodeDailyMax() : node.DeviceDailyMaxSignal(s);
            const bool known = !noData && haveDailyMaxima;
            row[9] = known ? std::to_string(dailyMax) : "???";
            row[10] = SignalClass(dailyMax, strengths, s == 0, known);
            rows_.push_back(std::move(row));
        }
    }
}

void SignalGrid::SortByColumn(int column)
{
    if (column < 0 || column >= kDiagsGridColumns)
        return;
    if (column != sortColumn_)
        sortOrder_ = SortOrder::None;
    sortOrder_ = sortOrder_ == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
    sortColumn_ = column;
    Sort();
}

void SignalGrid::Resort()
{
    if (sortColumn_ >= 0 && sortOrder_ != SortOrder::None)
        Sort();
}

std::string SignalGrid::SortArrow() const
{
    switch (sortOrder_) {
    case SortOrder::Ascending:
        return "DOWN_ARROW2";
    case SortOrder::Descending:
        return "UP_ARROW2";
    default:
        return {};
    }
}

void SignalGrid::Sort()
{
    // The keys are read once per row, then the rows are moved into their order.
    struct RowKey
    {
        SortKey first;
        SortKey second; // the address, when sorting by loop
        std::size_t row;
    };
    const auto column = static_cast<std::size_t>(sortColumn_);
    std::vector<RowKey> keys;
    keys.reserve(rows_.size());
    for (std::size_t r = 1; r < rows_.size(); ++r)
        keys.push_back({KeyOf(rows_[r][column]), column == 2 ? KeyOf(rows_[r][3]) : SortKey{}, r});
    const bool descending = sortOrder_ == SortOrder::Descending;
    std::stable_sort(keys.begin(), keys.end(), [&](const RowKey& a, const RowKey& b) {
        int order = Compare(a.first, b.first);
        if (order == 0 && column == 2)
            order = Compare(a.second, b.second);
        return descending ? order > 0 : order < 0;
    });
    std::vector<DiagsGridRow> sorted;
    sorted.reserve(rows_.size());
    sorted.push_back(std::move(rows_[0]));
    for (const RowKey& key : keys)
        sorted.push_back(std::move(rows_[key.row]));
    rows_ = std::move(sorted);
}

} // namespace diagnostics
