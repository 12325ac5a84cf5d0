#include "diagnostics/core/SignalGrid.h"

#include "diagnostics/core/ReplyFields.h"
#include "diagnostics/core/StatusTexts.h"
#include "model/DeviceTypes.h"
#include "model/Convert.h"
#include "model/SiteState.h"

#include <algorithm>
#include <charconv>

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
int Compare(const std::string& a, const std::string& b)
{
    const SortKey ka = KeyOf(a);
    const SortKey kb = KeyOf(b);
    if (ka.number != kb.number)
        return ka.number ? -1 : 1;
    if (ka.number)
        return ka.value < kb.value ? -1 : (kb.value < ka.value ? 1 : 0);
    return ka.text->compare(*kb.text) < 0 ? -1 : (*ka.text == *kb.text ? 0 : 1);
}

// The first in-use node or typed device slot with this ident.
std::optional<UnitRef> UnitWithIdent(const model::NodeArray& nodes, const std::string& ident)
{
    for (int n = 0; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        if (node.NodeIdent() == ident)
            return UnitRef{n, 0};
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0 && node.DeviceIdent(s) == ident)
                return UnitRef{n, s};
    }
    return std::nullopt;
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
    for (std::size_t k = 0; k < 4; ++k) {
        const auto value = ParseDecimal(fields[5 + k]);
        if (!value)
            return std::nullopt;
        reading.strengths[k] = *value;
    }
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
    const auto reading = ParseDailyMaximumLine(line);
    if (!reading)
        return false;
    const auto unit = UnitWithIdent(nodes, reading->ident);
    if (!unit)
        return false;
    model::clsNode& node = nodes[static_cast<std::size_t>(unit->node)];
    if (unit->slot == 0)
        node.SetNodeDailyMax(reading->value);
    else
        node.SetDeviceDailyMaxSignal(unit->slot, reading->value);
    return true;
}

int ApplySignalStrengthReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes)
{
    return ApplyReplyLines(lines, count, [&](std::string_view line) { return ApplySignalStrengthLine(line, nodes); });
}

int ApplyDailyMaximumReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes)
{
    return ApplyReplyLines(lines, count, [&](std::string_view line) { return ApplyDailyMaximumLine(line, nodes); });
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
    const auto column = static_cast<std::size_t>(sortColumn_);
    const bool descending = sortOrder_ == SortOrder::Descending;
    std::stable_sort(rows_.begin() + 1, rows_.end(), [&](const DiagsGridRow& a, const DiagsGridRow& b) {
        int order = Compare(a[column], b[column]);
        if (order == 0 && column == 2)
            order = Compare(a[3], b[3]);
        return descending ? order > 0 : order < 0;
    });
}

} // namespace diagnostics
