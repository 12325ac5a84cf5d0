// Assignment results reach the nodes of the site being edited.
#include "hublink/core/NodesSiteLink.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <gtest/gtest.h>

namespace {

TEST(NodesSiteLink, FindsUnitsByIdentAndSetsTheirAssignedFlags)
{
    model::ResetSite();
    model::ResetSiteQueries();
    model::clsNode& rcc = model::Nodes[3];
    rcc.SetInUse(true);
    rcc.SetNodeIdent("0F00D");
    rcc.SetDeviceType(5, 2);
    rcc.SetDeviceIdent(5, "1A2B3");

    NodesSiteLink site;
    EXPECT_EQ(site.FindNodeByIdent("1A2B3"), 305);
    EXPECT_EQ(site.FindNodeByIdent("FFFFF"), -1);
    rcc.SetDeviceIdent(6, "1A2B3");
    model::FindNodeByIdent("1A2B3");
    EXPECT_EQ(site.FindNodeByIdent("X"), -1) << "a unit's text never continues the site's search";

    site.SetAssigned(3, 5, true);
    site.SetAssigned(-1, 0, true);
    EXPECT_TRUE(rcc.DeviceAssigned(5) && !rcc.DeviceAssigned(4));
    site.SetAssigned(3, 5, false);
    EXPECT_FALSE(rcc.DeviceAssigned(5));
}

} // namespace
