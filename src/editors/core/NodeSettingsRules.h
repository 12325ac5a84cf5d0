#pragma once
// What the node properties window shows and checks, without the window: the
// items of its lists, its caption, the ident entry rules and the ident clash
// search, the hop count display and the loop protocol's address limit.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <optional>
#include <string>
#include <vector>

namespace editors {

// One entry of a drop-down list: the text shown and the value it stands for.
struct ListItem
{
    std::string text;
    int value = -1;
    bool operator==(const ListItem&) const = default;
};
using ListItems = std::vector<ListItem>;

// Loops 1..loopCount, "     1" (five blanks before the number).
ListItems LoopItems(int loopCount);
// The addresses 1..maxAddress of loop that are free or held by owner, right
// aligned in six characters; none for loop -1 or a loop without owner cells.
ListItems AddressItems(int loop, int owner, const OwnerTable& table, int maxAddress);
// "No Parent" (-1), "Radio Hub" (0), then "   n" for every in-use RCC n
// other than node.
ListItems ParentItems(int node, const model::NodeArray& nodes);
// Number of loops: from the highest loop in use (at least 1) to 4.
ListItems TotalLoopsItems(int highestLoopInUse);
// The loop protocols every address in use fits: "Apollo XP95" (1) up to
// address 126, "Ziton ZP" (2) up to 127.
ListItems ProtocolItems(int highestAddressInUse);
// Channel indices 1..32, "   1" (three blanks before the number).
ListItems ChannelItems();
// Position of the item with this value, -1 when there is none.
int ItemPosition(const ListItems& items, int value);

// The loop protocol's highest address: 126 for Apollo XP95, else 127.
int16_t MaxLoopAddressFor(int protocol);

// "RLM Properties", "Radio Hub Properties" or "RCC n Properties", with " *"
// while an edit is pending; "Hub/RCC Properties" with no node.
std::string NodeSettingsCaption(int node, bool isLoopInterface, bool changed);

// The ident field takes hexadecimal digits only, lower case turned upper:
// the text as the field keeps it, or nothing when it holds anything else.
std::optional<std::string> IdentEntry(const std::string& text);
// An ident longer than five characters keeps its rightmost five.
std::string RightmostFive(const std::string& ident);
// The ident as it stands once the field is left: a shorter non-empty ident
// padded with leading "0" to five, a longer one cut to its rightmost five
// (tooLong tells that the user must be told).
struct LeftIdent
{
    std::string ident;
    bool tooLong = false;
};
LeftIdent LeaveIdent(const std::string& text);

// Owner code of the first node or device slot other than node that holds
// ident, or -1; only a five-character ident is searched.
int IdentClashOwner(const std::string& ident, int node);
// "Ident 12345" CR LF "Already in Use by" and the holder: " Radio Hub",
// " RCC n" or " Device s on RCC n".
std::string IdentClashMessage(const std::string& ident, int owner);

// The hop count as shown ("0" for a broken path) and whether "Invalid Path
// Length" shows (outside 0..4).
struct HopShown
{
    std::string text;
    bool invalid = false;
};
HopShown ShowHop(int hop);

} // namespace editors
