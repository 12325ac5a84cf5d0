#include "model/DeviceTypes.h"

#include <array>
#include <string_view>

namespace model {
namespace {

constexpr std::array<std::string_view, kStringTableLast - kStringTableFirst + 1> kStrings = {
    "Callpoint",                      // 101
    "Optical Smoke Detector",         // 102
    "Heat A1R Detector",              // 103
    "Heat CS Detector",               // 104
    "Sounder",                        // 105
    "Sounder/Beacon",                 // 106
    "Input/Output Unit",              // 107
    "Radio Hub",                      // 108
    "Radio Cluster Communicator",     // 109
    "RCC",                            // 110
    "Radio Node",                     // 111
    "Master Node",                    // 112
    "Multisensor",                    // 113
    "Combo",                          // 114
    "Heat A1R Combo",                 // 115
    "Heat CS Combo",                  // 116
    "Optical Smoke Combo",            // 117
    "Combo/Beacon",                   // 118
    "Heat A1R Combo/Beacon",          // 119
    "Smoke Combo/Beacon",             // 120
    "Multisensor Combo",              // 121
    "Multisensor Combo/Beacon",       // 122
    "Heat CS Combo/Beacon",           // 123
    "CALLPOINT",                      // 124
    "OPTICAL",                        // 125
    "HEAT",                           // 126
    "HIGHHEAT",                       // 127
    "SOUNDER",                        // 128
    "IO",                             // 129
    "MULTISENSOR",                    // 130
    "COMBO",                          // 131
    "COMBOOPTICAL",                   // 132
    "COMBOHEAT",                      // 133
    "COMBOHIGHHEAT",                  // 134
    "COMBOMULTISENSOR",               // 135
    "NODE",                           // 136
    "Apollo XP",                      // 137
    "Ziton ZP",                       // 138
    "GE 2010",                        // 139
    "Callpoint",                      // 140
    "Optical",                        // 141
    "Heat (A1R)",                     // 142
    "Heat (CS)",                      // 143
    "Sounder",                        // 144
    "SnderBcn",                       // 145
    "I/O Unit",                       // 146
    "Multi",                          // 147
    "Optical",                        // 148
    "Heat (A1R)",                     // 149
    "Heat (CS)",                      // 150
    "Combo",                          // 151
    "CmbBcn",                         // 152
    "Optical",                        // 153
    "Heat (A1R)",                     // 154
    "Heat (CS)",                      // 155
    "Multi",                          // 156
    "Multi",                          // 157
    "Cmbo/Bcon",                      // 158
    "Sndr/Bcon",                      // 159
    "ZM I/O Unit",                    // 160
    "Zone Monitor Input/Output Unit", // 161
    "ZMIO",                           // 162
};

struct TypeIds
{
    int longName;
    int shortName;
    int word;     // in the programming command; 0: the command carries none
    int readBack; // the word a hub's configuration carries back; 0: none
};

constexpr DeviceTypeCode kFirstType = 2;
constexpr DeviceTypeCode kLastType = 20;

// Codes 2..20.
constexpr std::array<TypeIds, kLastType - kFirstType + 1> kTypes = {{
    {101, 140, 124, 124}, // 2 callpoint
    {102, 141, 125, 125}, // 3 optical
    {103, 142, 126, 126}, // 4 heat A1R
    {104, 143, 127, 127}, // 5 heat CS
    {105, 144, 128, 128}, // 6 sounder
    {106, 145, 128, 128}, // 7 sounder/beacon
    {107, 146, 129, 129}, // 8 I/O unit
    {113, 147, 130, 130}, // 9 multisensor
    {117, 148, 132, 132}, // 10 optical combo
    {115, 149, 133, 133}, // 11 heat A1R combo
    {116, 150, 134, 134}, // 12 heat CS combo
    {114, 151, 0, 131},   // 13 combo
    {118, 152, 0, 0},     // 14 combo/beacon
    {120, 153, 132, 132}, // 15 smoke combo/beacon
    {119, 154, 133, 133}, // 16 heat A1R combo/beacon
    {123, 155, 134, 134}, // 17 heat CS combo/beacon
    {121, 156, 135, 135}, // 18 multisensor combo
    {122, 157, 135, 135}, // 19 multisensor combo/beacon
    {160, 160, 162, 162}, // 20 zone-monitor I/O unit
}};

const TypeIds* IdsOf(DeviceTypeCode code)
{
    if (code < kFirstType || code > kLastType) {
        return nullptr;
    }
    return &kTypes[static_cast<std::size_t>(code - kFirstType)];
}

// The code a string table id names when read back: a long name or a hub-link
// word. A word that several codes share names the lowest of them (the plain
// twin). Other ids (nodes, protocols, short names, captions) give -1.
DeviceTypeCode CodeOfId(int id)
{
    for (DeviceTypeCode code = kFirstType; code <= kLastType; ++code) {
        const TypeIds& ids = *IdsOf(code);
        if (ids.longName == id || ids.readBack == id) {
            return code;
        }
    }
    return -1;
}

} // namespace

std::string StringTableText(int id)
{
    if (id < kStringTableFirst || id > kStringTableLast) {
        return "";
    }
    return std::string(kStrings[static_cast<std::size_t>(id - kStringTableFirst)]);
}

std::string DeviceTypeName(DeviceTypeCode code)
{
    if (code == 0) {
        return "No Device";
    }
    const TypeIds* ids = IdsOf(code);
    return ids ? StringTableText(ids->longName) : "";
}

std::string DeviceTypeShortName(DeviceTypeCode code)
{
    const TypeIds* ids = IdsOf(code);
    return ids ? StringTableText(ids->shortName) : "";
}

std::string DeviceTypeWord(DeviceTypeCode code)
{
    const TypeIds* ids = IdsOf(code);
    return ids && ids->word != 0 ? StringTableText(ids->word) : "";
}

DeviceTypeCode DeviceTypeFromName(const std::string& name)
{
    for (int id = kStringTableFirst; id <= kStringTableLast; ++id) {
        if (kStrings[static_cast<std::size_t>(id - kStringTableFirst)] == name) {
            return CodeOfId(id);
        }
    }
    return -1;
}

bool IsDeviceType(DeviceTypeCode code)
{
    return IdsOf(code) != nullptr;
}

bool IsComboHeadType(DeviceTypeCode code)
{
    return (code >= 10 && code <= 12) || (code >= 15 && code <= 19);
}

int LastAddressTaken(DeviceTypeCode code, int address)
{
    return IsComboHeadType(code) && address != -1 ? address + 1 : address;
}

} // namespace model
