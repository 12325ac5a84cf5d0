#pragma once
// The site in memory. Nodes is the site being edited (index = node number,
// 0 the Radio Hub or RLM, 1..31 the RCCs); HubNodes holds a configuration
// downloaded from a hub, to be compared with Nodes. Both live for the whole
// run; sites reuse the same 64 objects through clsNode::InitializeNode.
#include "model/clsNode.h"

namespace model {

extern NodeArray Nodes;
extern NodeArray HubNodes;

// Replaces every node of both arrays by a new node, without a view bound.
void ResetSite();

} // namespace model
