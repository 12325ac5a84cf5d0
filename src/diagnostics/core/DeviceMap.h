#pragma once
// The device map of the Device Status page as data: one tab per panel loop
// and per RCC in use, and for the chosen tab every slot with its number,
// shape, look, tooltip and status; the status line of a clicked slot; the
// filter boxes' rules and the colour key they mark. The window paints what
// these give it.
#include "diagnostics/core/StatusTexts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace diagnostics {

// What a tab shows, from its caption "Loop <n>" or "RCC <n>".
struct MapTab
{
    enum class Kind
    {
        Loop,
        Rcc,
    };
    Kind kind = Kind::Loop;
    int number = 1;
};

// "Loop 1".."Loop <LoopCount>", then "RCC <n>" for every RCC in use.
std::vector<std::string> DeviceTabCaptions(const model::NodeArray& nodes);
// Nothing for a caption that names no loop 1..4 or RCC 1..31.
std::optional<MapTab> ParseTabCaption(const std::string& caption);

// Slots per row: 16 on a loop tab, 8 on an RCC tab. Slots stand 620 twips
// apart across and 470 down.
inline constexpr int kLoopSlotsPerRow = 16;
inline constexpr int kRccSlotsPerRow = 8;
inline constexpr int kSlotPitchX = 620;
inline constexpr int kSlotPitchY = 470;
// Control index of the RCC itself on an RCC tab.
inline constexpr int kRccSelfIndex = 32;

enum class SlotShape
{
    Rectangle = 0,        // the RCC, hub or RLM itself
    Oval = 2,             // a device, or a free address
    RoundedRectangle = 4, // a detector head on a combination base
};

// One slot of the map. Colours are 0x00BBGGRR.
struct MapSlot
{
    int index = 0;       // control index: the loop address, or slot 1..31 and 32 for the RCC
    int row = 0;         // from the top, 0 first
    int column = 0;      // from the left, 0 first
    std::string number;  // "12", or "RCC" for slot 32 of an RCC tab
    bool occupied = false;
    UnitRef unit;        // the unit in the slot (node -1 when free)
    SlotShape shape = SlotShape::Oval;
    int outlineWidth = 3;
    bool clickable = false; // a free or dimmed slot takes no click
    uint32_t fill = 0xEFEFEF;
    uint32_t outline = 0xDFDFDF;
    uint32_t numberColour = 0xDFDFDF;
    std::string tooltip; // "" for a free slot
    StatusLook status;   // of an occupied slot
};

struct DeviceMapView
{
    MapTab tab;
    int slotsPerRow = kLoopSlotsPerRow;
    std::vector<MapSlot> places; // the slots in control index order, from 1
};

// The slots of a tab with their looks, from the site's status flags and the
// filter: a loop tab has addresses 1..MaxLoopAddress, an RCC tab slots 1..32.
DeviceMapView BuildDeviceMap(const MapTab& tab, const model::NodeArray& nodes, const ShowBoxes& boxes);

// The status line of a clicked slot (position, owner, device type and status
// text); "" for a slot that holds no unit.
std::string SlotStatusLine(const MapTab& tab, int index, const model::NodeArray& nodes, const ShowBoxes& boxes);

// The filter after box index was clicked (boxes already holding its new
// state): a ticked class box unticks "Show All", a ticked "Show All" unticks
// the class boxes, and with nothing ticked "Show All" is ticked again.
ShowBoxes SettleShowBoxes(ShowBoxes boxes, int index);

// One row of the colour key. A hollow swatch is drawn as its outline only.
struct KeyRow
{
    std::string caption;
    uint32_t fill = 0;
    bool solid = true;
    uint32_t outline = 0x80000008; // the system's window-text colour
    int outlineWidth = 1;
};
inline constexpr int kKeyRowCount = 10;

// The key for the filter: solid rows for the classes the map shows; row 1
// reads "Disconnect" (white with a yellow outline) when "Disconnect" is
// ticked without "Fault".
std::array<KeyRow, kKeyRowCount> ColourKey(const ShowBoxes& boxes);

} // namespace diagnostics
