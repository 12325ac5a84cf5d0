// The site link's search for a unit's ident (its flag setting is met in the
// assignment tests).
#include "hublink/core/NodesSiteLink.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <gtest/gtest.h>

TEST(NodesSiteLink, AUnitsTextNeverContinuesTheSitesOwnSearch)
{
    model::ResetSite();
    model::ResetSiteQueries();
    model::clsNode& rcc = model::Nodes[3];
    rcc.SetInUse(true);
    rcc.SetDeviceIdent(5, "1A2B3");
    rcc.SetDeviceIdent(6, "1A2B3");
    hublink::NodesSiteLink site;
    EXPECT_EQ(site.FindNodeByIdent("1A2B3"), 305);
    EXPECT_EQ(model::FindNodeByIdent("1A2B3"), 305) << "the site's own search, which \"X\" would continue";
    EXPECT_EQ(site.FindNodeByIdent("X"), -1);
}
