#include "diagnostics/core/DeviceMap.h"

#include "diagnostics/core/ReplyFields.h"
#include "model/DeviceTypes.h"
#include "model/SiteState.h"

#include <algorithm>

namespace diagnostics {

namespace {

constexpr int kMaxLoops = 4;

void Place(MapSlot& slot, int index, int perRow)
{
    slot.index = index;
    slot.row = (index - 1) / perRow;
    slot.column = (index - 1) % perRow;
    slot.number = std::to_string(index);
}

// An occupied slot: the present look, the shape of what it holds, then the
// status colours; a unit the filter hides is dimmed over them.
void PaintOccupied(MapSlot& slot, const model::NodeArray& nodes, UnitRef unit, const ShowBoxes& boxes)
{
    const model::clsNode& node = nodes[static_cast<std::size_t>(unit.node)];
    slot.occupied = true;
    slot.unit = unit;
    slot.clickable = true;
    slot.fill = 0xFFFFFF;
    slot.outline = 0;
    slot.numberColour = 0;
    if (unit.slot == 0) {
        slot.shape = SlotShape::Rectangle;
        slot.outlineWidth = 2;
    } else {
        slot.shape = model::IsComboHeadType(node.DeviceType(unit.slot)) ? SlotShape::RoundedRectangle : SlotShape::Oval;
        slot.outlineWidth = 3;
    }
    slot.status = DescribeDeviceStatus(node, unit.slot, boxes);
    slot.fill = slot.status.fill.value_or(slot.fill);
    slot.numberColour = slot.status.numberColour.value_or(slot.numberColour);
    slot.outline = slot.status.outline.value_or(slot.outline);
    if (!slot.status.shown) {
        slot.clickable = false;
        slot.numberColour = 0xAFAFAF;
        slot.fill = 0xEFEFEF;
        slot.outline = 0xAFAFAF;
    }
}

std::string LoopTooltip(UnitRef unit)
{
    if (unit.slot == 0 && unit.node == 0)
        return IsLoopInterface ? "Status for RLM" : "Status for Hub";
    if (unit.slot == 0)
        return "Status for RCC " + std::to_string(unit.node);
    if (IsLoopInterface)
        return "Status for Address " + std::to_string(unit.slot);
    return "Status for RCC " + std::to_string(unit.node) + "." + std::to_string(unit.slot);
}

std::string LoopPosition(int loop, int address)
{
    return "Status for Loop " + std::to_string(loop) + "." + std::to_string(address);
}

} // namespace

std::vector<std::string> DeviceTabCaptions(const model::NodeArray& nodes)
{
    std::vector<std::string> captions;
    for (int n = 1; n <= std::min<int>(LoopCount, kMaxLoops); ++n)
        captions.push_back("Loop " + std::to_string(n));
    for (int n = 1; n < model::kNodeCount; ++n)
        if (nodes[static_cast<std::size_t>(n)].InUse())
            captions.push_back("RCC " + std::to_string(n));
    return captions;
}

std::optional<MapTab> ParseTabCaption(const std::string& caption)
{
    if (caption.rfind("Loop ", 0) == 0) {
        const auto loop = ParseDecimal(std::string_view(caption).substr(5));
        if (loop && *loop >= 1 && *loop <= kMaxLoops)
            return MapTab{MapTab::Kind::Loop, *loop};
    } else if (caption.rfind("RCC ", 0) == 0) {
        const auto rcc = ParseDecimal(std::string_view(caption).substr(4));
        if (rcc && *rcc >= 1 && *rcc <= model::kLastSlot)
            return MapTab{MapTab::Kind::Rcc, *rcc};
    }
    return std::nullopt;
}

DeviceMapView BuildDeviceMap(const MapTab& tab, const model::NodeArray& nodes, const ShowBoxes& boxes)
{
    DeviceMapView view;
    view.tab = tab;
    if (tab.kind == MapTab::Kind::Loop) {
        view.slotsPerRow = kLoopSlotsPerRow;
        view.places.resize(static_cast<std::size_t>(std::max<int>(MaxLoopAddress, 0)));
        for (int a = 1; a <= MaxLoopAddress; ++a) {
            MapSlot& slot = view.places[static_cast<std::size_t>(a - 1)];
            Place(slot, a, kLoopSlotsPerRow);
            if (const auto unit = UnitAtLoopAddress(tab.number, a)) {
                PaintOccupied(slot, nodes, *unit, boxes);
                slot.tooltip = LoopTooltip(*unit);
            }
        }
        return view;
    }
    view.slotsPerRow = kRccSlotsPerRow;
    view.places.resize(kRccSelfIndex);
    const model::clsNode& rcc = nodes[static_cast<std::size_t>(tab.number)];
    for (int s = 1; s <= kRccSelfIndex; ++s) {
        MapSlot& slot = view.places[static_cast<std::size_t>(s - 1)];
        Place(slot, s, kRccSlotsPerRow);
        if (s == kRccSelfIndex) {
            slot.number = "RCC";
            PaintOccupied(slot, nodes, {tab.number, 0}, boxes);
            slot.tooltip = LoopPosition(rcc.NodeLoop(), rcc.NodeAddress());
        } else if (rcc.DeviceType(s) != 0) {
            PaintOccupied(slot, nodes, {tab.number, s}, boxes);
            slot.tooltip = LoopPosition(rcc.DeviceLoop(s), rcc.DeviceAddress(s));
        }
    }
    return view;
}

std::string SlotStatusLine(const MapTab& tab, int index, const model::NodeArray& nodes, const ShowBoxes& boxes)
{
    UnitRef unit;
    int loop = 0;
    int address = 0;
    if (tab.kind == MapTab::Kind::Loop) {
        const auto owner = UnitAtLoopAddress(tab.number, index);
        if (!owner)
            return {};
        unit = *owner;
        loop = tab.number;
        address = index;
    } else {
        const model::clsNode& rcc = nodes[static_cast<std::size_t>(tab.number)];
        if (index == kRccSelfIndex) {
            unit = {tab.number, 0};
            loop = rcc.NodeLoop();
            address = rcc.NodeAddress();
        } else if (index >= 1 && index <= model::kLastSlot && rcc.DeviceType(index) != 0) {
            unit = {tab.number, index};
            loop = rcc.DeviceLoop(index);
            address = rcc.DeviceAddress(index);
        } else {
            return {};
        }
    }
    const model::clsNode& node = nodes[static_cast<std::size_t>(unit.node)];
    std::string line;
    if (IsLoopInterface)
        line = "  Address " + std::to_string(address) + ", ";
    else
        line = " Loop " + std::to_string(loop) + " Address " + std::to_string(address) +
               (unit.node == 0 ? std::string(",  Radio Hub") : ",  RCC " + std::to_string(unit.node));
    if (unit.slot != 0)
        line += " Device " + std::to_string(unit.slot) + ", " + model::DeviceTypeName(node.DeviceType(unit.slot));
    return line + DescribeDeviceStatus(node, unit.slot, boxes).text;
}

ShowBoxes SettleShowBoxes(ShowBoxes boxes, int index)
{
    if (index > ShowAllBox && index < kShowBoxCount && boxes[static_cast<std::size_t>(index)])
        boxes[ShowAllBox] = false;
    if (index == ShowAllBox && boxes[ShowAllBox])
        std::fill(boxes.begin() + 1, boxes.end(), false);
    if (std::none_of(boxes.begin(), boxes.end(), [](bool ticked) { return ticked; }))
        boxes[ShowAllBox] = true;
    return boxes;
}

std::array<KeyRow, kKeyRowCount> ColourKey(const ShowBoxes& boxes)
{
    std::array<KeyRow, kKeyRowCount> key = {{
        {"Fire/Pre-Alarm", 0x1111CF},
        {"Fault", 0x11FFFF},
        {"Signal Good", 0x115F00},
        {"Signal Medium", 0x11A000},
        {"Signal Low", 0x11809F},
        {"Signal Caution", 0x11C0F0},
        {"Signal Fault", 0x1180FF},
        {"Low Battery", 0xFF8080},
        {"Battery Fault", 0xAA6DAF},
        {"Unread Status", 0xFFFFFF},
    }};
    if (boxes[ShowAllBox])
        return key;
    // The key rows each class box lights.
    static constexpr std::array<std::array<int, 2>, kShowBoxCount> kRowsOfBox = {{
        {-1, -1}, {0, -1}, {0, -1}, {1, -1}, {7, 8}, {-1, -1}, {3, -1}, {4, -1}, {5, -1},
    }};
    for (KeyRow& row : key)
        row.solid = false;
    for (int box = 1; box < kShowBoxCount; ++box) {
        if (!boxes[static_cast<std::size_t>(box)])
            continue;
        for (int row : kRowsOfBox[static_cast<std::size_t>(box)])
            if (row >= 0)
                key[static_cast<std::size_t>(row)].solid = true;
    }
    if (boxes[DisconnectBox] && !boxes[FaultBox])
        key[1] = {"Disconnect", 0xFFFFFF, true, 0x00FFFF, 3};
    return key;
}

} // namespace diagnostics
