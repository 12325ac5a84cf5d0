#pragma once
// The site that File > New creates from the choices of the new-site dialog.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <string>

namespace app {

struct NewSiteChoice
{
    int loopCount = 1; // 1..4 (1 for an RLM project)
    int protocol = 1;  // 1 Apollo XP95, 2 Ziton ZP
    bool rlm = false;  // a loop-interface site: the RLM and no RCCs
    int rccCount = 1;  // 1..31, not used for an RLM project
    std::string name;  // as typed: no trimming
};

// Sets the site header values for the choice (LoopCount, LoopProtocol,
// IsLoopInterface, MaxLoopAddress) and returns the number of RCCs the site
// gets (0 for an RLM project).
int ApplyNewSiteHeader(const NewSiteChoice& choice);

// Empties all 32 nodes for the new site: each node is initialised, numbered
// (which sizes it) and in use for 0..rccCount only; positions stay as the
// layout left them. Frees the owner cells of loops 1..4, addresses 1..128.
void ResetNodesForNewSite(model::NodeArray& nodes, int rccCount, OwnerTable& owners);

// The site name of a new site: the text as typed, at (1500, 200), shown; the
// site is untitled and changed.
void NameNewSite(const std::string& name);

} // namespace app
