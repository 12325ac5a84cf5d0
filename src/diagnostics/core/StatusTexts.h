#pragma once
// The live status of the site's units: the "GET DS ALL" reply routed into the
// nodes' and slots' status texts through the loop-address map, and the status
// class, text and colours of one unit as the device map and its status line
// show them.
#include "model/clsNode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace diagnostics {

inline constexpr const char* kGetAllStatusCommand = "GET DS ALL";

// The filter boxes of the device map, by index.
enum ShowBox : int
{
    ShowAllBox = 0,
    FireAlarmBox = 1,
    PreAlarmBox = 2,
    FaultBox = 3,
    LowBattFaultBox = 4,
    DisconnectBox = 5,
    MediumSignalBox = 6,
    LowSignalBox = 7,
    CautionSignalBox = 8,
};
inline constexpr int kShowBoxCount = 9;
using ShowBoxes = std::array<bool, kShowBoxCount>;
// The filter as the window opens: "Show All" alone.
inline constexpr ShowBoxes kShowAllOnly = {true, false, false, false, false, false, false, false, false};

// The first status class that applies to a unit, in order of precedence.
enum class StatusClass
{
    None, // not assigned, or no signal code
    FireAlarm,
    InputActive,
    PreAlarm,
    Tamper,
    Fault,
    Battery,
    Signal,
};

// A unit's status as the map paints it. Colours are 0x00BBGGRR.
struct StatusLook
{
    StatusClass statusClass = StatusClass::None;
    std::string text;  // ", FIRE", ", Good Signal, High Background", or "" for none
    bool shown = true; // the filter lets the map show it; otherwise the slot is dimmed
    std::optional<uint32_t> fill;
    std::optional<uint32_t> numberColour;
    std::optional<uint32_t> outline;
};

// The status of a node (slot 0) or one of its device slots 1..31, from the
// flags its status text set, through the filter boxes.
StatusLook DescribeDeviceStatus(const model::clsNode& node, int slot, const ShowBoxes& boxes = kShowAllOnly);

// A unit named by its loop position: node 0..31 and slot (0 the node).
struct UnitRef
{
    int node = -1;
    int slot = -1;
};

// The unit that owns a loop address in LoopAddressOwner; nothing for loop or
// address 0, a cell outside the table, a free address or an owner code that
// names no node and slot.
std::optional<UnitRef> UnitAtLoopAddress(int loop, int address);

// One "GET DS ALL" reply line: "DS LOOP<n> <address> <tokens...>".
struct DeviceStatusLine
{
    int loop = 0;
    int address = 0;
    std::string_view tokens; // the status tokens with the blanks between them
};

// Reads one reply line; nothing unless it is a status line with a loop, an
// address and at least one status token.
std::optional<DeviceStatusLine> ParseDeviceStatusLine(std::string_view line);

// The units of the site that the list replies name: nodes in use plus typed
// device slots (of every node).
int SiteUnitCount(const model::NodeArray& nodes);

// Empties the status text (and so every flag) of every node and device slot
// of the array, in use or not, and returns SiteUnitCount.
int ClearAllDeviceStatus(model::NodeArray& nodes);

// Stores the tokens of one reply line with the node or slot that owns its
// loop address. False (nothing changed) for a line that is not a status line
// or names an address the site does not own.
bool ApplyDeviceStatusLine(std::string_view line, model::NodeArray& nodes);

// Every collected line at 1..count of lines (index 0 is not read); returns
// how many were stored.
int ApplyDeviceStatusReply(const std::vector<std::string>& lines, int count, model::NodeArray& nodes);

// The single-unit request and the status text of its reply ("" when the line
// is not the answer for that loop address).
std::string DeviceStatusAtCommand(int loop, int address);
std::string DeviceStatusAtText(int loop, int address, std::string_view reply);

} // namespace diagnostics
