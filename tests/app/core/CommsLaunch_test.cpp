#include "app/core/CommsLaunch.h"

#include <gtest/gtest.h>

using namespace model;

TEST(CommsLaunch, PlansSayWhatALaunchNeedsAndWhichKindOfSiteItSets)
{
    EXPECT_TRUE(PlanFor(LaunchCommand::ToolsRCCRead).needsRcc);
    EXPECT_TRUE(PlanFor(LaunchCommand::ToolsRCCReadPopup).needsRcc);
    EXPECT_FALSE(PlanFor(LaunchCommand::RCCCompare).needsRcc);
    EXPECT_TRUE(PlanFor(LaunchCommand::Read_Diags).unitNotIdentified);
    EXPECT_FALSE(PlanFor(LaunchCommand::ReadConfig).unitNotIdentified);
    EXPECT_EQ(PlanFor(LaunchCommand::mnuOpenComms).selection, HubSelection::SelectUnlessHub);

    // Only the reads of a kind of unit set the kind of site.
    const std::pair<LaunchCommand, std::optional<bool>> kinds[] = {
        {LaunchCommand::TolsReadRLM, true},        {LaunchCommand::TolsReadRLMFile, true},
        {LaunchCommand::TolsReadRLMPopup, true},   {LaunchCommand::ToolsHubRead, false},
        {LaunchCommand::ToolsRCCRead, false},      {LaunchCommand::ReadConfig, std::nullopt},
        {LaunchCommand::Read_Diags, std::nullopt}, {LaunchCommand::HubCompare, std::nullopt}};
    for (const auto& [command, kind] : kinds)
        EXPECT_EQ(PlanFor(command).loopInterface, kind) << static_cast<int>(command);
}

TEST(CommsLaunch, TheGuardPutsBackTheKindOfSiteAfterAFailedLaunch)
{
    bool isLoopInterface = false;
    LoopInterfaceGuard guard;
    guard.Apply(true, isLoopInterface);
    EXPECT_TRUE(isLoopInterface);
    guard.Restore(isLoopInterface);
    EXPECT_FALSE(isLoopInterface);

    // A launch that does not name a kind restores nothing, also after an earlier launch that did.
    guard.Apply(true, isLoopInterface);
    guard.Apply(std::nullopt, isLoopInterface);
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
    EXPECT_EQ(ToolbarCommandFor("Properties", false, -1), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Delete", false, 0), ToolbarCommand::RCCDelete); // the hub counts
    EXPECT_EQ(ToolbarCommandFor("Properties", false, 3), ToolbarCommand::PopupNodeEdit);
    EXPECT_EQ(ToolbarCommandFor("Add", false, -1), ToolbarCommand::AddRCC);
    EXPECT_EQ(ToolbarCommandFor("Print", false, 0), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("new", false, 0), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Add", true, 3), ToolbarCommand::None);
}
