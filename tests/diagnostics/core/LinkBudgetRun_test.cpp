#include "diagnostics/core/LinkBudgetRun.h"

#include "DiagsSite.h"

#include <gtest/gtest.h>

using namespace diagnostics;

namespace {

// Asks the simulated unit as the link would: the echo, then the reply line;
// a unit that sends nothing after (or instead of) its echo times out.
struct UnitAsker
{
    SimulatedUnit& unit;
    std::vector<std::string> commands{};
    int cancelAt = -1; // the user cancels while this request waits

    UnitReply operator()(const LinkRequest& request)
    {
        commands.push_back(request.command);
        if (static_cast<int>(commands.size()) == cancelAt)
            return {DiagsStateCode::ManualUpdateCancelled, {}};
        const std::vector<std::string> lines = UnitLines(unit, request.command);
        if (lines.size() < 2)
            return {DiagsStateCode::ManualUpdateTimedOut, {}};
        return {DiagsStateCode::ManualUpdateDone, lines[1]};
    }
};

std::vector<LiveRowColour> Colours(const LiveGrid& grid)
{
    std::vector<LiveRowColour> colours;
    for (std::size_t r = 3; r < grid.Rows().size(); ++r)
        colours.push_back(grid.Rows()[r].colour);
    return colours;
}

class LinkBudgetRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        BuildDiagsSite();
        ConfigureUnit(unit);
        ClearLiveLinkData(model::Nodes);
        grid.Setup();
        grid.Fill(model::Nodes, true, "3.10");
    }
    SimulatedUnit unit;
    LiveGrid grid;
    LinkBudgetRun run{model::Nodes, grid};
    UnitAsker ask{unit};
};

using Colour = LiveRowColour;

} // namespace

TEST_F(LinkBudgetRunTest, EveryUnitAnswersNearestRccFirst)
{
    unit.SetLinkBudgets("1000B", {19, 35, 5, 5});
    EXPECT_TRUE(RunLinkBudgets(run, "3.10", std::ref(ask)));
    EXPECT_EQ(ask.commands, (std::vector<std::string>{"GET_MANUAL_UPDATE_1_010", "GET_MANUAL_UPDATE_1_020",
                                                      "GET_MANUAL_UPDATE_1_011", "GET_MANUAL_UPDATE_2_017",
                                                      "GET_MANUAL_UPDATE_1_021"}));
    EXPECT_EQ(Colours(grid), (std::vector<Colour>{Colour::Ok, Colour::Caution, Colour::Ok, Colour::Ok, Colour::Ok}));
    EXPECT_TRUE(run.AllDevicesFound());
    EXPECT_EQ(run.EndMessage().text, "All Device Information Successfully Obtained");

    LinkBudgetRun again(model::Nodes, grid);
    EXPECT_TRUE(RunLinkBudgets(again, "3.10", std::ref(ask)));
    EXPECT_EQ(again.EndMessage().text, "All Devices Already Found");
    EXPECT_EQ(ask.commands.size(), 5u);
}

TEST_F(LinkBudgetRunTest, ASilentRccLeavesItsDevicesUnasked)
{
    // RCC 1 never echoes: none of its devices is asked.
    unit.SetFailure(FailureMode::Silent, "GET_MANUAL_UPDATE_1_010", 1);
    EXPECT_TRUE(RunLinkBudgets(run, "3.10", std::ref(ask)));
    EXPECT_EQ(ask.commands, (std::vector<std::string>{"GET_MANUAL_UPDATE_1_010", "GET_MANUAL_UPDATE_1_020",
                                                      "GET_MANUAL_UPDATE_1_021"}));
    EXPECT_EQ(Colours(grid), (std::vector<Colour>{Colour::NoAnswer, Colour::Plain, Colour::Plain, Colour::Ok, Colour::Ok}));
    EXPECT_FALSE(run.AllDevicesFound());
    EXPECT_EQ(run.EndMessage().text, "Some Devices Failed to Respond");
    EXPECT_EQ(run.EndMessage().style, 48);
}

TEST_F(LinkBudgetRunTest, WrongOrBrokenRepliesCountAsNotAnswered)
{
    unit.AddCommand("GET_MANUAL_UPDATE_1_011",
                    [](const std::string& c) { return SimulatedUnit::Lines{c, "MANUAL UPDATE 1 12 3.10 30 30 30 30"}; });
    unit.AddCommand("GET_MANUAL_UPDATE_2_017",
                    [](const std::string& c) { return SimulatedUnit::Lines{c, "MANUAL UPDATE 2 17 3.10 30"}; });
    unit.AddCommand("GET_MANUAL_UPDATE_1_021",
                    [](const std::string& c) { return SimulatedUnit::Lines{c, "STATUS 1 21"}; });
    EXPECT_TRUE(RunLinkBudgets(run, "3.10", std::ref(ask)));
    EXPECT_EQ(Colours(grid),
              (std::vector<Colour>{Colour::Ok, Colour::NoAnswer, Colour::NoAnswer, Colour::Ok, Colour::Asking}))
        << "a line that is no manual-update reply leaves its row as being asked";
    EXPECT_FALSE(model::Nodes[1].GotDeviceLiveStatus(1));
    EXPECT_EQ(run.EndMessage().text, "Some Devices Failed to Respond");
}

TEST_F(LinkBudgetRunTest, CancelStopsAtOnceWithTheAskedRowBlue)
{
    ask.cancelAt = 3;
    EXPECT_FALSE(RunLinkBudgets(run, "3.10", std::ref(ask)));
    EXPECT_EQ(ask.commands.size(), 3u);
    EXPECT_EQ(Colours(grid), (std::vector<Colour>{Colour::Ok, Colour::Asking, Colour::Plain, Colour::Ok, Colour::Plain}));
}

TEST_F(LinkBudgetRunTest, RccsAreAskedDownToTheFourthHopAndNoFurther)
{
    // RCC 3 under RCC 2 (hop 3), RCC 4 under it (hop 4) with a callpoint,
    // RCC 5 under RCC 4 (hop 5, never asked, nor its device).
    for (int n : {3, 4, 5}) {
        model::clsNode& rcc = model::Nodes[static_cast<std::size_t>(n)];
        rcc.SetNodeNumber(n);
        rcc.SetInUse(true);
        rcc.SetNodeLoop(1);
        rcc.SetNodeAddress(30 + n);
        rcc.SetNodeIdent("0004" + std::to_string(n));
        rcc.SetParent(n - 1);
        rcc.SetDeviceType(1, 2);
        rcc.SetDeviceLoop(1, 1);
        rcc.SetDeviceAddress(1, 40 + n);
        rcc.SetDeviceIdent(1, "1004" + std::to_string(n));
    }
    ConfigureUnit(unit);
    grid.Fill(model::Nodes, true, "3.10");
    EXPECT_TRUE(RunLinkBudgets(run, "3.10", std::ref(ask)));
    EXPECT_EQ(ask.commands,
              (std::vector<std::string>{"GET_MANUAL_UPDATE_1_010", "GET_MANUAL_UPDATE_1_020", "GET_MANUAL_UPDATE_1_033",
                                        "GET_MANUAL_UPDATE_1_034", "GET_MANUAL_UPDATE_1_011", "GET_MANUAL_UPDATE_2_017",
                                        "GET_MANUAL_UPDATE_1_021", "GET_MANUAL_UPDATE_1_043",
                                        "GET_MANUAL_UPDATE_1_044"}));
    EXPECT_EQ(run.EndMessage().text, "Some Devices Failed to Respond");
}
