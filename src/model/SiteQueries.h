#pragma once
// Site-wide look-ups over Nodes. Results name a node or a device slot by its
// owner code, node x 100 + slot (slot 0 the node itself), or -1.
//
// The ident and loop-address searches work first/next: a first call starts a
// search and keeps its position; a continuation call returns the next hit.
// Both visit node 0 (the node itself), then each in-use RCC 1..31 in order,
// the RCC itself before its slots 1..31. Nodes not in use are passed over;
// slots are examined whatever their type. Each search has its own state.
#include <string>

namespace model {

// Owner code of the next item with this ident (exact, case-sensitive: pass a
// normalised ident). "X" continues the last search; the empty text returns -1
// and leaves the search as it was; any other text starts a new search.
int FindNodeByIdent(const std::string& ident);

// Owner code of the next item on this loop and address. Both arguments other
// than -1 start a new search; either one -1 continues the last search, except
// that (-1, 0) and (0, -1) return -1 at once. A combination head also answers
// for its address + 1. Node 0's slots are looked at only after node 0 itself
// was a hit.
int FindByLoopAddress(int loop, int address);

// The lowest in-use RCC other than exclude whose X channel pair is
// (channelA, channelB) in that order; -1 when none or when a channel is -1.
int FindNodeByXChannels(int channelA, int channelB, int exclude);

// The largest loop (address) of the in-use nodes and of the slots of in-use
// RCCs; 0 when nothing is set. A combination head's second address counts:
// a protocol that cannot hold it cannot hold the head.
int HighestLoopInUse();
int HighestAddressInUse();

// The lowest channel index 1..32 that carries this channel number, or -1.
int ChannelIndexFromNumber(int number);

// Forgets both searches: a continuation returns -1 until a new search starts.
void ResetSiteQueries();

} // namespace model
