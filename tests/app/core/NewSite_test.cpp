#include "app/core/NewSite.h"
#include "model/TestSites.h"

#include <gtest/gtest.h>

using namespace app;
using namespace model;

namespace {

using NewSite = EmptySiteTest;

} // namespace

TEST_F(NewSite, HeaderFollowsTheChoice)
{
    NewSiteChoice c;
    c.loopCount = 3, c.protocol = 2, c.rccCount = 5;
    EXPECT_EQ(ApplyNewSiteHeader(c), 5);
    EXPECT_EQ(LoopCount, 3);
    EXPECT_EQ(MaxLoopAddress, 127);
    EXPECT_EQ(LoopProtocol, 2);
    EXPECT_FALSE(IsLoopInterface);

    c.rlm = true, c.loopCount = 1, c.protocol = 1;
    EXPECT_EQ(ApplyNewSiteHeader(c), 0);
    EXPECT_TRUE(IsLoopInterface);
    EXPECT_EQ(MaxLoopAddress, 126);
}

TEST_F(NewSite, NodesAreEmptiedNumberedAndKeptWhereTheLayoutPutThem)
{
    for (int i = 0; i < kNodeCount; ++i) {
        Nodes[i].SetInUse(true);
        Nodes[i].SetLeft(100 * i);
        Nodes[i].SetNodeIdent("ABCDE");
        Nodes[i].SetParent(0);
        Nodes[i].SetDeviceType(1, 2);
    }
    SetOwner(LoopAddressOwner, 2, 77, 300);
    SetOwner(LoopAddressOwner, 0, 5, 12);
    ResetNodesForNewSite(Nodes, 5, LoopAddressOwner);
    for (int i = 0; i < kNodeCount; ++i) {
        EXPECT_EQ(Nodes[i].InUse(), i <= 5) << i;
        EXPECT_EQ(Nodes[i].Left(), 100 * i);
        EXPECT_TRUE(Nodes[i].NodeIdent().empty() && Nodes[i].Parent() == -1 && Nodes[i].DeviceType(1) == 0);
        EXPECT_EQ(Nodes[i].NodeNumber(), i);
    }
    EXPECT_EQ(Nodes[0].Width(), 870); // the hub's size again after the reset
    EXPECT_EQ(Nodes[1].Width(), 450); // and an RCC's
    EXPECT_EQ(GetOwner(LoopAddressOwner, 2, 77), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 0, 5), 12); // loop 0 is not touched
}

TEST_F(NewSite, NameIsTakenAsTypedAndTheSiteIsUntitledAndChanged)
{
    SiteFileName = "/tmp/old.qvs";
    ShowSiteName = false;
    NameNewSite("  Block A ");
    EXPECT_EQ(SiteName, "  Block A ");
    EXPECT_TRUE(ShowSiteName);
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    EXPECT_TRUE(FileChanged);
    EXPECT_EQ(SiteNameX, 1500); // the name's place on the canvas
    EXPECT_EQ(SiteNameY, 200);
}
