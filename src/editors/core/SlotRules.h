#pragma once
// Fixed rules of the device window: the palette (what each of its ten items
// places and which item's picture a slot shows), the detector choice of the
// two combination items, moving the selection over the 8-column slot grid by
// the arrow keys, and the quick-info text above a slot.
#include "model/DeviceTypes.h"

#include <optional>
#include <string>

namespace editors {

inline constexpr int kPaletteItems = 10;
inline constexpr int kComboItem = 5;       // combination head, detector chosen
inline constexpr int kComboBeaconItem = 7; // combination head with beacon

// The device type a palette item places; -1 for the two combination items
// (their type comes from the detector choice) and for unknown items.
model::DeviceTypeCode PaletteItemType(int item);

// The palette item whose picture a slot of this type shows; -1 for none.
int PaletteItemOfType(model::DeviceTypeCode type);

// The detector choice list, its entry for a type and the type for an entry.
// Any entry but 0, 1 and 2 gives the multisensor head.
inline constexpr const char* kDetectorChoices = "Optical Smoke;Heat A1R;Heat CS;Multisensor";
int DetectorChoiceOfType(model::DeviceTypeCode type);
model::DeviceTypeCode ComboTypeFromChoice(int item, int choice);
// The combination item (5 or 7) of a combination type 10..19, else -1.
int ComboItemOfType(model::DeviceTypeCode type);

enum class ArrowKey { Left, Up, Right, Down };

// The slot an arrow key moves the selection to from slot (1..31); wraps at
// the ends of the grid.
int SlotAfterArrow(int slot, ArrowKey key);

// Quick-info modes (the saved option's values).
inline constexpr int kQuickInfoNone = 0;
inline constexpr int kQuickInfoLoopAddress = 1;
inline constexpr int kQuickInfoIdent = 2;
inline constexpr int kQuickInfoType = 4;

// "L" loop "/" address with three digits, as L2/007.
std::string LoopAddressText(int loop, int address);

// The label above a slot in a quick-info mode; nothing when it is hidden.
std::optional<std::string> QuickInfoText(model::DeviceTypeCode type, const std::string& ident, int loop, int address,
                                         int mode);

} // namespace editors
