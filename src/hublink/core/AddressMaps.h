#pragma once
// The loop-address owner tables around a downloaded configuration, and the
// copy of one node array into another.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <span>

namespace hublink {

// Clears and refills LoopAddressOwner from Nodes. On a loop-interface site
// node 0 (the RLM) is put in use first, so it and its devices are entered.
// Later writes win: higher nodes over lower, a node's slots over the node.
void BuildAddressMap();
// The same over HubNodes into HubLoopAddressOwner; node 0's device slots are
// never entered and node 0 is never put in use.
void BuildHubAddressMap();

// The table of what programming holds of nodes, which the change list
// walks: the nodes in use and the device slots of RCCs 1..31 that have a
// device type. A slot without a type holds no device, whatever loop address
// it keeps (the editors' table keeps it reserved). Every unit's own address
// is entered after the heads' second addresses, so a head does not hide a
// unit that stands on its second address.
void BuildProgrammedOwnerTable(OwnerTable& table, const model::NodeArray& nodes);

// Copies the configuration of node Which (or of every node for Which 100)
// from Source into Destination through the destination's setters: identity,
// loop position, parent, channels and the 31 device slots; not the canvas
// position, assigned states, live values or change flags. Arrays of unequal
// size or a Which that names no node copy nothing and return False.
bool CopyNodeArray(std::span<const model::clsNode> Source, std::span<model::clsNode> Destination, int Which);

} // namespace hublink
