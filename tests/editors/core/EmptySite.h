#pragma once
// An empty site for the editors' tests: every node emptied and numbered, the
// site values and the searches back to their start.
#include "model/Site.h"
#include "model/SiteQueries.h"
#include "model/SiteState.h"

inline void ResetToEmptySite()
{
    model::ResetSite();
    ResetSiteState();
    model::ResetSiteQueries();
    for (int n = 0; n < model::kNodeCount; ++n)
        model::Nodes[n].SetNodeNumber(n);
}
