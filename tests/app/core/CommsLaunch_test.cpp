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

TEST(CommsLaunch, ToolbarDispatch)
{
    struct Row
    {
        const char* key;
        int active;
        ToolbarCommand command;
    };
    const Row rows[] = {{"New", -1, ToolbarCommand::NewFile},
                        {"Open", -1, ToolbarCommand::FileLoad},
                        {"Save", -1, ToolbarCommand::FileSave},
                        {"NoQI", -1, ToolbarCommand::NoQuick},
                        {"IdentQI", -1, ToolbarCommand::Ident_Quick},
                        {"LoopQI", -1, ToolbarCommand::LA_Quick},
                        {"Radio", -1, ToolbarCommand::QuickChannels},
                        {"Add", -1, ToolbarCommand::AddRCC},
                        {"Check", -1, ToolbarCommand::ErrorCheck},
                        {"Find", -1, ToolbarCommand::FindDevice},
                        {"Print", 0, ToolbarCommand::None},
                        {"new", 0, ToolbarCommand::None},
                        // Delete and Properties need a selected node; the hub counts.
                        {"Delete", -1, ToolbarCommand::None},
                        {"Properties", -1, ToolbarCommand::None},
                        {"Delete", 0, ToolbarCommand::RCCDelete},
                        {"Properties", 3, ToolbarCommand::PopupNodeEdit}};
    for (const Row& row : rows) {
        EXPECT_EQ(ToolbarCommandFor(row.key, false, row.active), row.command) << row.key << row.active;
        // Nothing runs while the communications window is loaded.
        EXPECT_EQ(ToolbarCommandFor(row.key, true, 3), ToolbarCommand::None) << row.key;
    }
}
