#include "app/core/CommsLaunch.h"

#include <gtest/gtest.h>

using namespace model;

// The window's tests run each launch; here what it cannot see: the kind of
// site put back after a failed launch, and the toolbar's rules.
TEST(CommsLaunch, TheGuardPutsBackTheKindOfSiteAfterAFailedLaunch)
{
    bool isLoopInterface = false;
    LoopInterfaceGuard guard;
    guard.Apply(PlanFor(LaunchCommand::TolsReadRLM).loopInterface, isLoopInterface);
    EXPECT_TRUE(isLoopInterface);
    guard.Restore(isLoopInterface);
    EXPECT_FALSE(isLoopInterface);

    // A launch that does not name a kind restores nothing, also after an earlier launch that did.
    guard.Apply(true, isLoopInterface);
    guard.Apply(PlanFor(LaunchCommand::ReadConfig).loopInterface, isLoopInterface);
    isLoopInterface = true; // the read replaced the site with an RLM site
    guard.Restore(isLoopInterface);
    EXPECT_TRUE(isLoopInterface);

    // Restoring twice is harmless.
    guard.Apply(false, isLoopInterface);
    guard.Restore(isLoopInterface);
    isLoopInterface = false;
    guard.Restore(isLoopInterface);
    EXPECT_FALSE(isLoopInterface);
}

TEST(CommsLaunch, ToolbarButtonsNeedASelectionOnlyForDeleteAndPropertiesAndNothingRunsDuringComms)
{
    EXPECT_EQ(ToolbarCommandFor("Delete", false, -1), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Delete", false, 0), ToolbarCommand::RCCDelete); // the hub counts
    EXPECT_EQ(ToolbarCommandFor("Properties", false, 3), ToolbarCommand::PopupNodeEdit);
    EXPECT_EQ(ToolbarCommandFor("Add", false, -1), ToolbarCommand::AddRCC);
    EXPECT_EQ(ToolbarCommandFor("new", false, 0), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Add", true, 3), ToolbarCommand::None);
}
