#pragma once
// Compare Config: how the programming held by the unit on the cable (parsed
// into HubNodes) differs from the site being edited (Nodes).
#include "model/DeviceTypes.h"

#include <cstdint>
#include <string>

namespace hublink {

// Appends one line to MessageList per difference between HubNodes and Nodes
// and returns MessageCount (the lines already in the list count too).
//
// Call it right after the downloaded configuration has been parsed into
// HubNodes: the parse empties MessageList and leaves its own error lines,
// which stay in front of the differences. Then, in the window:
//     const int n = CompareHubWithConfiguration(); // 0: the unit matches
//
// Reads ActiveNode: 0 compares every node of the site with the hub; an RCC
// a (1..31) compares node a in full and, for every other node, only what RCC
// a should know of it ("RCC a Should be aware of RCC i  ..."). Hop counts are
// compared for the hub only. Any other ActiveNode compares nothing.
//
// Writes nothing but MessageList (and the child scan of Nodes(a)); the site,
// HubNodes and FileChanged stay as they are. A node in use in neither array
// is compared only when the download holds something for it (channels,
// devices, a relation); the old values a deleted RCC keeps in the site count
// as empty, so they are never a difference.
int16_t CompareHubWithConfiguration();

// A radio channel index as the lists write it: "Undefined" for -1, "F1".."F10"
// for 33..42, else the index.
std::string ChannelText(int index);

// True when the hub link cannot tell the two device types apart: equal, or
// one type word for both (the sounder and combo beacon variants, and Combo
// with Combo/Beacon, which the hub reads back as "COMBO").
bool SameTypeOnHub(model::DeviceTypeCode a, model::DeviceTypeCode b);

} // namespace hublink
