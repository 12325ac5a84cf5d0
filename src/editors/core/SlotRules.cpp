#include "editors/core/SlotRules.h"

#include "model/Convert.h"

#include <array>

namespace editors {

namespace {

// Palette item -> device type placed (-1: chosen in the detector prompt).
constexpr std::array<model::DeviceTypeCode, kPaletteItems> kItemType = {2, 6, 3, 7, 9, -1, 4, -1, 5, 8};

} // namespace

model::DeviceTypeCode PaletteItemType(int item)
{
    if (item < 0 || item >= kPaletteItems)
        return -1;
    return kItemType[static_cast<std::size_t>(item)];
}

int PaletteItemOfType(model::DeviceTypeCode type)
{
    switch (type) {
    case 2: return 0;
    case 3: return 2;
    case 4: return 6;
    case 5: return 8;
    case 6: return 1;
    case 7: return 3;
    case 8:
    case 20: return 9;
    case 9: return 4;
    case 10:
    case 11:
    case 12:
    case 13:
    case 18: return kComboItem;
    case 14:
    case 15:
    case 16:
    case 17:
    case 19: return kComboBeaconItem;
    default: return -1;
    }
}

int DetectorChoiceOfType(model::DeviceTypeCode type)
{
    switch (type) {
    case 11:
    case 16: return 1;
    case 12:
    case 17: return 2;
    case 18:
    case 19: return 3;
    default: return 0;
    }
}

model::DeviceTypeCode ComboTypeFromChoice(int item, int choice)
{
    const model::DeviceTypeCode first = item == kComboBeaconItem ? 15 : 10;
    if (choice >= 0 && choice <= 2)
        return first + choice;
    return item == kComboBeaconItem ? 19 : 18;
}

int ComboItemOfType(model::DeviceTypeCode type)
{
    if (type < 10 || type > 19)
        return -1;
    return PaletteItemOfType(type);
}

int SlotAfterArrow(int slot, ArrowKey key)
{
    int next = slot;
    switch (key) {
    case ArrowKey::Left:
        next = slot == 1 ? 31 : slot - 1;
        break;
    case ArrowKey::Right:
        next = slot == 31 ? 1 : slot + 1;
        break;
    case ArrowKey::Up:
        next = slot - 8;
        if (next < 1)
            next += 32;
        if (next > 31)
            next = 24;
        break;
    case ArrowKey::Down:
        next = slot + 8;
        if (next > 31)
            next -= 32;
        if (next == 0)
            next = 8;
        break;
    }
    return next;
}

std::string LoopAddressText(int loop, int address)
{
    std::string digits = std::to_string(address < 0 ? -address : address);
    return "L" + std::to_string(loop) + "/" + (address < 0 ? "-" : "") + model::PadWithLeadingZeros(digits, 3);
}

std::optional<std::string> QuickInfoText(model::DeviceTypeCode type, const std::string& ident, int loop, int address,
                                         int mode)
{
    if (type == 0)
        return std::nullopt;
    switch (mode) {
    case kQuickInfoLoopAddress:
        if (loop == -1 || address == -1)
            return std::nullopt;
        return LoopAddressText(loop, address);
    case kQuickInfoIdent: return ident;
    case kQuickInfoType: return model::DeviceTypeShortName(type);
    default: return std::nullopt;
    }
}

} // namespace editors
