#include "app/core/CommsLaunch.h"

#include <gtest/gtest.h>

using namespace app;

// The window's tests run each launch and button; here what they cannot see.
TEST(CommsLaunch, TheGuardPutsBackTheKindOfSiteAfterAFailedLaunchTheHubCountsAsASelectionAndKeysMatchExactly)
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

    // The hub counts as a selection; toolbar keys match exactly.
    EXPECT_EQ(ToolbarCommandFor("Delete", false, 0), ToolbarCommand::RCCDelete);
    EXPECT_EQ(ToolbarCommandFor("new", false, 0), ToolbarCommand::None);
}

TEST(CommsLaunch, ToolbarAddRunsWithoutASelectionUnlikeDeleteAndProperties)
{
    EXPECT_EQ(ToolbarCommandFor("Add", false, -1), ToolbarCommand::AddRCC);
    EXPECT_EQ(ToolbarCommandFor("Properties", false, -1), ToolbarCommand::None);
}
