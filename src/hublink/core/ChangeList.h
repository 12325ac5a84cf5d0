#pragma once
// The change list: what programming must change in the Radio Hub so that it
// holds the site. It compares the hub's downloaded configuration (HubNodes)
// with the site (Nodes), sets the change flags of both arrays, from which the
// programming commands are built, and writes an account of every difference
// into MessageList for the engineer.
#include <cstdint>

namespace hublink {

// BuildChangeList results other than a count.
inline constexpr int16_t kChangeListNoDifference = 0;
// The hub holds no RCC while the site has one to add, or holds a node line
// for itself where the site has no hub or the reverse: Nodes(0).NodeAdd is
// set, reprogram from clear. A hub without RCCs for a site without RCCs is
// compared like any other.
inline constexpr int16_t kChangeListHubNotProgrammed = -1;
// A radio channel differs. Only the RCC/device pass and the channels have been
// compared and flagged; parent and loop-address differences are NOT known yet.
// Programming what is flagged does not finish the job: download the hub's
// configuration again and build the list again until it no longer says -2.
inline constexpr int16_t kChangeListChannelsFirst = -2;

// Compares the Radio Hub's download with the site. In the window:
//     BuildAddressMap(); BuildHubAddressMap(); // after the parse
//     const int n = BuildChangeList();
//
// Reads: Nodes and HubNodes; the loop addresses are walked in owner tables
// of its own that hold the nodes in use and the device slots with a device
// type. A site slot without a type holds no device, whatever ident and loop
// address it keeps: no command could program it. A downloaded unit of a
// type this program does not know (HubUnits.h) is deleted like any unit the
// site does not have, unless the site holds it as it stands; it never
// moves, as no command could program it either.
// Writes: MessageList (emptied; entry 1 is the heading), the change flags of
// every node of both arrays (cleared first), and, where a download's slot type
// shares its type word with the site's, that download type (set to the site's).
// The site's values and FileChanged are not touched.
//
// Flags set, per RCC n and slot s:
//   Nodes(n).NodeAdd             new RCC (its chain leads to the hub), or new
//                                ident; with HubNodes(n).NodeDelete it is an
//                                RCC replaced: delete the old, add the new
//   HubNodes(n).NodeDelete       RCC gone from the site, or replaced
//   Nodes(0).NodeAdd             hub not programmed, or the hub's ident changed
//   Nodes(n).NodeAdd+NodeDelete  a node at the same loop address, new ident
//   Nodes(n).ChannelChange       its X channels differ (and Nodes(0)'s too);
//                                Nodes(0)'s also for the hub's Y channels
//   Nodes(n).ParentChange        new parent, or the same parent at a new hop;
//                                or a relation the hub holds for an RCC
//                                neither side has (deleted, not re-added)
//   Nodes(n).AddressChange       the node has moved to another loop address
//   Nodes(n).DeviceAdd(s)        a device to program into slot s
//   HubNodes(n).DeviceDelete(s)  the downloaded device of slot s must go
//                                (also one of an unknown type)
//   Nodes(n).DeviceAdd+DeviceDelete(s)  same address, other type or ident
//   Nodes(n).DeviceAddressChange(s)     the device has moved address
// A unit counts as moved whenever its address differs, also where another
// unit holds the address it left or came to (two units swapped addresses),
// and once, also where its old and new addresses overlap (a head moved by
// one address); its move command carries its type as well.
//
// Returns 0 when nothing differs (the heading alone), the number of changes
// (the entries after the heading, separators included, and one more for
// each repeat the list leaves out: a combination head's change met again at
// its second address, a head that gave up or took its second address
// without moving), kChangeListHubNotProgrammed or
// kChangeListChannelsFirst (see above; the list then ends with a line saying
// what is still to be compared, and a blank entry).
int16_t BuildChangeList();

// After BuildChangeList: the hub holds X channels of an RCC it has no node
// line for, which only clearing all its programming removes (the list names
// them).
bool HubHoldsStrayChannels();

} // namespace hublink
