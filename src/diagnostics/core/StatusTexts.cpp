#include "diagnostics/core/StatusTexts.h"

#include "diagnostics/core/ReplyFields.h"
#include "model/SiteState.h"

#include <algorithm>

namespace diagnostics {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAlarmRed = 0x1111CF;
constexpr uint32_t kFaultYellow = 0x11FFFF;
constexpr uint32_t kSignalOrange = 0x1180FF;
constexpr uint32_t kBackgroundOutline = 0x00FFFF;

// The text of the first set bit of a bit sum; texts[k] names bit 2^k.
template <std::size_t N> const char* FirstBitText(int bits, const std::array<const char*, N>& texts, std::size_t* bit)
{
    for (std::size_t k = 0; k < N; ++k) {
        if (bits & (1 << k)) {
            *bit = k;
            return texts[k];
        }
    }
    *bit = N - 1;
    return texts[N - 1];
}

void Classify(StatusLook& look, StatusClass statusClass, const char* text, std::optional<uint32_t> fill,
              bool whiteNumber, bool boxTicked)
{
    look.statusClass = statusClass;
    look.text += text;
    if (fill)
        look.fill = fill;
    if (whiteNumber)
        look.numberColour = kWhite;
    if (boxTicked)
        look.shown = true;
}

void DescribeSignal(StatusLook& look, int signalState, const ShowBoxes& boxes)
{
    struct SignalLevel
    {
        int code;
        const char* text;
        int box; // -1: shown only with "Show All"
        uint32_t fill;
        bool whiteNumber;
    };
    static constexpr SignalLevel kLevels[] = {
        {28, ", Signal Fault", FaultBox, kSignalOrange, false},
        {27, ", Signal Caution", CautionSignalBox, 0x11C0F0, false},
        {26, ", Low Signal", LowSignalBox, 0x11809F, false},
        {25, ", Medium Signal", MediumSignalBox, 0x11A000, true},
        {24, ", Good Signal", -1, 0x115F00, true},
    };
    look.statusClass = StatusClass::Signal;
    for (const SignalLevel& level : kLevels) {
        if (signalState % 100 == level.code)
            Classify(look, StatusClass::Signal, level.text, level.fill, level.whiteNumber,
                     level.box >= 0 && boxes[static_cast<std::size_t>(level.box)]);
    }
    switch (signalState / 100) {
    case 0:
        break;
    case 29:
        look.text += ", High Background";
        look.outline = kBackgroundOutline;
        break;
    case 30:
        Classify(look, StatusClass::Signal, ", Radio Fault", kSignalOrange, false,
                 boxes[FaultBox] || boxes[DisconnectBox]);
        look.outline = kBackgroundOutline;
        break;
    default:
        look.text += ", High Background, Radio Fault";
        look.outline = kBackgroundOutline;
        break;
    }
    if (look.text.empty())
        look.statusClass = StatusClass::None;
}

} // namespace

StatusLook DescribeDeviceStatus(const model::clsNode& node, int slot, const ShowBoxes& boxes)
{
    static constexpr std::array<const char*, 8> kFaultTexts = {
        ", Heat Fault",  ", Head Missing", ", Sounder Missing", ", Sounder Fault",
        ", Mains Fail",  ", Input Fault",  ", Checksum Fault",  ", Fault",
    };
    static constexpr std::array<const char*, 12> kBatteryTexts = {
        ", Low Battery 1",     ", Low Battery 2",     ", Low Battery 3",     ", Low Battery 4",
        ", Battery Fault 1",   ", Battery Fault 2",   ", Battery Fault 3",   ", Battery Fault 4",
        ", Battery 1 Missing", ", Battery 2 Missing", ", Battery 3 Missing", ", Battery 4 Missing",
    };
    StatusLook look;
    look.shown = boxes[ShowAllBox];
    std::size_t bit = 0;
    if (node.AlarmState(slot)) {
        Classify(look, StatusClass::FireAlarm, ", FIRE", kAlarmRed, true, boxes[FireAlarmBox]);
    } else if (const int inputs = node.InputState(slot); inputs != 0) {
        const char* text = inputs == 1 ? ", Input 1 Active" : inputs == 2 ? ", Input 2 Active" : ", Both Inputs Active";
        Classify(look, StatusClass::InputActive, text, kAlarmRed, true, boxes[FireAlarmBox]);
    } else if (node.PreAlarm(slot)) {
        Classify(look, StatusClass::PreAlarm, ", PRE-ALARM", kAlarmRed, true, boxes[PreAlarmBox]);
    } else if (node.TamperState(slot) != 0) {
        Classify(look, StatusClass::Tamper, ", TAMPER", kFaultYellow, false, boxes[FaultBox]);
    } else if (const int faults = node.FaultStatus(slot); faults != 0) {
        Classify(look, StatusClass::Fault, FirstBitText(faults, kFaultTexts, &bit), kFaultYellow, false,
                 boxes[FaultBox]);
    } else if (const int battery = node.BatteryState(slot); battery != 0) {
        const char* text = FirstBitText(battery, kBatteryTexts, &bit);
        Classify(look, StatusClass::Battery, text, bit < 4 ? 0xFF8080 : 0xAA6DAF, true, boxes[LowBattFaultBox]);
    } else if (const int signal = node.SignalState(slot); signal != 32) {
        DescribeSignal(look, signal, boxes);
    }
    return look;
}

std::optional<UnitRef> UnitAtLoopAddress(int loop, int address)
{
    if (loop <= 0 || address <= 0)
        return std::nullopt;
    const int owner = GetOwner(LoopAddressOwner, loop, address);
    if (owner < 0 || owner / 100 >= model::kNodeCount || owner % 100 > model::kLastSlot)
        return std::nullopt;
    return UnitRef{owner / 100, owner % 100};
}

std::optional<DeviceStatusLine> ParseDeviceStatusLine(std::string_view line)
{
    const auto fields = SplitFields(line);
    if (fields.size() < 4 || fields[0] != "DS")
        return std::nullopt;
    const auto loop = ParseLoopField(fields[1]);
    const auto address = ParseDecimal(fields[2]);
    if (!loop || !address)
        return std::nullopt;
    // The tokens run from the fourth field to the end of the line.
    const std::size_t start = static_cast<std::size_t>(fields[3].data() - line.data());
    if (line.find_first_not_of(' ', start) == std::string_view::npos)
        return std::nullopt;
    return DeviceStatusLine{*loop, *address, line.substr(start)};
}

int SiteUnitCount(const model::NodeArray& nodes)
{
    int units = 0;
    for (const model::clsNode& node : nodes) {
        units += node.InUse() ? 1 : 0;
        for (int s = 1; s <= model::kLastSlot; ++s)
            units += node.DeviceType(s) != 0 ? 1 : 0;
    }
    return units;
}

int ClearAllDeviceStatus(model::NodeArray& nodes)
{
    for (model::clsNode& node : nodes) {
        node.SetNodeStatusString("");
        for (int s = 1; s <= model::kLastSlot; ++s)
            node.SetDeviceStatusString(s, "");
    }
    return SiteUnitCount(nodes);
}

bool ApplyDeviceStatusLine(std::string_view line, model::NodeArray& nodes)
{
    const auto status = ParseDeviceStatusLine(line);
    if (!status)
        return false;
    const auto unit = UnitAtLoopAddress(status->loop, status->address);
    if (!unit)
        return false;
    model::clsNode& node = nodes[static_cast<std::size_t>(unit->node)];
    if (unit->slot == 0)
        node.SetNodeStatusString(std::string(status->tokens));
    else
        node.SetDeviceStatusString(unit->slot, std::string(status->tokens));
    return true;
}

int ApplyDeviceStatusReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes)
{
    return ApplyReplyLines(lines, count, [&](std::string_view line) { return ApplyDeviceStatusLine(line, nodes); });
}

std::string DeviceStatusAtCommand(int loop, int address)
{
    return "GET DS LOOP" + std::to_string(loop) + " " + std::to_string(address);
}

std::string DeviceStatusAtText(int loop, int address, std::string_view reply)
{
    const std::string prefix = "DS LOOP" + std::to_string(loop) + " " + std::to_string(address) + " ";
    if (reply.substr(0, prefix.size()) != prefix)
        return {};
    return std::string(reply.substr(prefix.size()));
}

} // namespace diagnostics
