#pragma once
// Device type codes of a slot, their long and short names, the words the hub
// link carries, and the program's string table (ids 101..162) they come from.
//
// Codes: 0 no device, 2..20 the device types; 1 and every other value name no
// type. Codes 10, 11, 12 and 15..19 are detector heads on combination bases and
// own their loop address and the next one.
#include <cstdint>
#include <string>

namespace model {

using DeviceTypeCode = int32_t;

// String table ids that other code reads directly.
inline constexpr int kStrNodeWord = 136;             // "NODE": type word of a node's own line on the hub link
inline constexpr int kStrComboBeaconCaption = 158;   // "Cmbo/Bcon": device palette caption
inline constexpr int kStrSounderBeaconCaption = 159; // "Sndr/Bcon": device palette caption
inline constexpr int kStringTableFirst = 101;
inline constexpr int kStringTableLast = 162;

// Text of a string table id; the empty text for an id outside 101..162.
std::string StringTableText(int id);

// "No Device" for 0, the long name for 2..20, the empty text otherwise.
std::string DeviceTypeName(DeviceTypeCode code);

// The short name for 2..20, the empty text for 0 and anything else.
std::string DeviceTypeShortName(DeviceTypeCode code);

// The type word of the programming command for a device of this code; the
// beacon variants share the word of their plain twin. The empty text for
// codes 13 and 14 (their command carries no type word), 0 and non-types.
std::string DeviceTypeWord(DeviceTypeCode code);

// The code of a long name, short name or hub-link word, or -1. The string
// table is scanned from id 101 upwards and the first equal text (exact,
// case-sensitive) decides, so "Optical" (first a short name) gives -1 and
// "SOUNDER" gives the plain sounder.
DeviceTypeCode DeviceTypeFromName(const std::string& name);

// True for the device types 2..20 (not for 0, no device).
bool IsDeviceType(DeviceTypeCode code);

// True for the combination detector heads 10, 11, 12 and 15..19.
bool IsComboHeadType(DeviceTypeCode code);

// The last loop address a device of this type on address takes: a
// combination head takes its address and the next, any other device its
// address alone. An unset address (-1) stays -1.
int LastAddressTaken(DeviceTypeCode code, int address);

} // namespace model
