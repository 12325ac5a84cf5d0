#include "model/CommsLaunch.h"

#include <gtest/gtest.h>

using namespace model;

TEST(CommsLaunch, RccReadsNeedAnRccAndTheStartPageReadsAnUnknownUnit)
{
    EXPECT_TRUE(PlanFor(LaunchCommand::ToolsRCCRead).needsRcc);
    EXPECT_TRUE(PlanFor(LaunchCommand::ToolsRCCReadPopup).needsRcc);
    EXPECT_FALSE(PlanFor(LaunchCommand::RCCCompare).needsRcc);
    EXPECT_TRUE(PlanFor(LaunchCommand::Read_Diags).unitNotIdentified);
    EXPECT_FALSE(PlanFor(LaunchCommand::ReadConfig).unitNotIdentified);
    EXPECT_EQ(PlanFor(LaunchCommand::mnuOpenComms).selection, HubSelection::SelectUnlessHub);
}

TEST(CommsLaunch, OnlyTheReadsOfAKindOfUnitSetTheKindOfSite)
{
    EXPECT_EQ(PlanFor(LaunchCommand::TolsReadRLM).loopInterface, true);
    EXPECT_EQ(PlanFor(LaunchCommand::TolsReadRLMFile).loopInterface, true);
    EXPECT_EQ(PlanFor(LaunchCommand::TolsReadRLMPopup).loopInterface, true);
    EXPECT_EQ(PlanFor(LaunchCommand::ToolsHubRead).loopInterface, false);
    EXPECT_EQ(PlanFor(LaunchCommand::ToolsRCCRead).loopInterface, false);
    EXPECT_FALSE(PlanFor(LaunchCommand::ReadConfig).loopInterface.has_value());
    EXPECT_FALSE(PlanFor(LaunchCommand::Read_Diags).loopInterface.has_value());
    EXPECT_FALSE(PlanFor(LaunchCommand::HubCompare).loopInterface.has_value());
}

TEST(CommsLaunch, TheGuardPutsBackTheKindOfSiteAfterAFailedLaunch)
{
    bool isLoopInterface = false;
    LoopInterfaceGuard guard;
    guard.Apply(true, isLoopInterface);
    EXPECT_TRUE(isLoopInterface);
    guard.Restore(isLoopInterface);
    EXPECT_FALSE(isLoopInterface);

    // A launch that does not name a kind restores nothing, also after an
    // earlier launch that did.
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

TEST(CommsLaunch, TheTickRunsOneProcedurePerAction)
{
    EXPECT_EQ(DispatchFor(kCommsProgram), CommsDispatch::Program);
    EXPECT_EQ(DispatchFor(kCommsCompare), CommsDispatch::Compare);
    EXPECT_EQ(DispatchFor(kCommsRead), CommsDispatch::Read);
    EXPECT_EQ(DispatchFor(kCommsOpenOnly), CommsDispatch::None);
    EXPECT_EQ(DispatchFor(0), CommsDispatch::None);
    EXPECT_EQ(DispatchFor(7), CommsDispatch::None);
}

TEST(CommsLaunch, PortFailureTitleNamesTheTarget)
{
    EXPECT_EQ(PortFailureTitle(0), "Open Communications with Radio Hub");
    EXPECT_EQ(PortFailureTitle(-1), "Open Communications with Radio Hub");
    EXPECT_EQ(PortFailureTitle(7), "Open Communications with RCC 7");
    EXPECT_EQ(PortFailureTitle(31), "Open Communications with RCC 31");
}

TEST(CommsLaunch, ToolbarDispatch)
{
    EXPECT_EQ(ToolbarCommandFor("New", false, -1), ToolbarCommand::NewFile);
    EXPECT_EQ(ToolbarCommandFor("Open", false, -1), ToolbarCommand::FileLoad);
    EXPECT_EQ(ToolbarCommandFor("Save", false, -1), ToolbarCommand::FileSave);
    EXPECT_EQ(ToolbarCommandFor("NoQI", false, -1), ToolbarCommand::NoQuick);
    EXPECT_EQ(ToolbarCommandFor("IdentQI", false, -1), ToolbarCommand::Ident_Quick);
    EXPECT_EQ(ToolbarCommandFor("LoopQI", false, -1), ToolbarCommand::LA_Quick);
    EXPECT_EQ(ToolbarCommandFor("Radio", false, -1), ToolbarCommand::QuickChannels);
    EXPECT_EQ(ToolbarCommandFor("Add", false, -1), ToolbarCommand::AddRCC);
    EXPECT_EQ(ToolbarCommandFor("Check", false, -1), ToolbarCommand::ErrorCheck);
    EXPECT_EQ(ToolbarCommandFor("Find", false, -1), ToolbarCommand::FindDevice);
    EXPECT_EQ(ToolbarCommandFor("Print", false, 0), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("new", false, 0), ToolbarCommand::None);

    // Delete and Properties need a selected node; the hub counts.
    EXPECT_EQ(ToolbarCommandFor("Delete", false, -1), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Properties", false, -1), ToolbarCommand::None);
    EXPECT_EQ(ToolbarCommandFor("Delete", false, 0), ToolbarCommand::RCCDelete);
    EXPECT_EQ(ToolbarCommandFor("Properties", false, 3), ToolbarCommand::PopupNodeEdit);

    // Nothing runs while the communications window is loaded.
    for (const char* key : {"New", "Open", "Save", "NoQI", "Delete", "Add", "Properties", "Check", "Find"})
        EXPECT_EQ(ToolbarCommandFor(key, true, 3), ToolbarCommand::None) << key;
}
