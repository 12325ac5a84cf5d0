// The deletes before an incremental update, the manual steps for an old hub
// and clearing all programming, against the simulated hub.
#include "SmallSite.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/HubDeletes.h"
#include "model/ConfigurationCheck.h"

#include <tuple>

using model::HubNodes;
using model::Nodes;
using Lines = std::vector<std::string>;

namespace {

class HubDeletesTest : public smallsite::SmallSiteTest
{
protected:
    void SetUp() override
    {
        SmallSiteTest::SetUp();
        CopyNodeArray(Nodes, HubNodes, 100);
        smallsite::Node(HubNodes, 4, 1, 13, "10004", 8, 9); // gone from the site with three devices
        for (int s = 1; s <= 3; ++s)
            smallsite::Device(HubNodes, 4, s, 3, 2, 50 + s, "4D00" + std::to_string(s));
        smallsite::Device(HubNodes, 4, 4, 0, 2, 54, "4D004"); // a unit of a type word the program does not know
        HubNodes[4].SetNodeDelete(true);
        HubNodes[1].SetDeviceDelete(1, true); // the callpoint has gone from RCC 1
        smallsite::Device(HubNodes, 1, 5, 0, 1, 18, "1A0C5"); // and a unit of an unknown type
        HubNodes[1].SetDeviceDelete(5, true);
        HubNodes[1].SetDeviceDelete(9, true); // empty slot: nothing to delete
        Nodes[2].SetParentChange(true);       // RCC 2 moved from the hub
        Nodes[3].SetParentChange(true);       // no parent in the hub: no relation to delete
        unit.SetConfiguration({"POPULATE LOOP1 NODE 13 4 10004 0", "POPULATE LOOP2 OPTICAL 51 4 4D001 0",
                               "POPULATE LOOP2 OPTICAL 52 4 4D002 1", "POPULATE LOOP2 OPTICAL 53 4 4D003 2",
                               "POPULATE LOOP2 CALLPOINT 17 1 1A2B3 0", "RELATION ADD 2 0 1",
                               "RELATION ADD 4 1 2", "POPULATE LOOP2 FOOBAR 54 4 4D004 3",
                               "POPULATE LOOP1 FOOBAR 18 1 1A0C5 4"});
    }
};

TEST_F(HubDeletesTest, RelationsThenDevicesAndGoneRccsAreDeleted)
{
    int dots = 0;
    EXPECT_TRUE(IncrementalDeletes(link, Nodes, HubNodes, [&](bool on) { dots += on ? 1 : -1; }));
    EXPECT_EQ(unit.CommandLines(),
              (Lines{"RELATION DEL 2 0", "RELATION DEL 4 1", "FDELETE DEVICE 1A2B3", "FDELETE DEVICE 1A0C5",
                     "FDELETE DEVICE 4D001", "FDELETE DEVICE 4D002", "FDELETE DEVICE 4D003", "FDELETE DEVICE 4D004",
                     "FDELETE DEVICE 10004"}));
    EXPECT_TRUE(unit.Configuration().empty());
    const std::string ok = "Device Successfully Deleted", rcc4 = " from RCC 4 in Target Hub...";
    EXPECT_EQ(bench.Box, (Lines{"Relationship Between Hub  and RCC 2 Successfully Deleted",
                                "Relationship Between RCC 1 and RCC 4 Successfully Deleted",
                                "Deleting Device 1 from RCC 1 in Target Hub...", ok,
                                "Deleting Device 5 from RCC 1 in Target Hub...", ok,
                                "Deleting Device 1" + rcc4, ok, "Deleting Device 2" + rcc4, ok,
                                "Deleting Device 3" + rcc4, ok, "Deleting Device 4" + rcc4, ok,
                                "Deleting RCC 4 in Target Hub...", ok}));
    EXPECT_EQ(dots, 0) << "the dots stop after each delete";
    EXPECT_EQ(bench.Progress, 31);
    EXPECT_TRUE(bench.Messages.empty());

    // Again: the hub says it holds none of the units now, one relation
    // delete goes unanswered and the RCC's delete is refused. The hub's
    // state, read once, settles them: it holds the RCC and the relation.
    // (A refusal on a clean run shows its box: ProgrammingRun's tests.)
    unit.ClearRecord();
    unit.SetConfiguration({"POPULATE LOOP1 NODE 13 4 10004 0", "RELATION ADD 2 0 1"});
    unit.SetFailure(FailureMode::Silent, "RELATION DEL 2");
    unit.Refuse("FDELETE DEVICE 10004");
    link.BeginBusy();
    bool busyThroughout = true;
    EXPECT_FALSE(IncrementalDeletes(link, Nodes, HubNodes, [&](bool) { busyThroughout &= link.Busy(); }));
    EXPECT_TRUE(busyThroughout && link.Busy()) << "the sequence, not a failed delete, ends the busy state";
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 10004"), 1) << "every delete is tried";
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), 1);
    EXPECT_EQ(std::ranges::count(bench.Box, "ERROR: Unable to Delete Relationship between RCC 2 and Radio Hub"), 1);
    EXPECT_EQ(std::ranges::count(bench.Box, "ERROR: Unable to Delete RCC 4 in Target Hub..."), 1);
    EXPECT_EQ(std::ranges::count_if(bench.Box, [](const std::string& l) { return l.starts_with("ERROR"); }), 2)
        << "a unit the hub no longer holds is not said to be left";
    EXPECT_TRUE(bench.Messages.empty()) << "after an unanswered delete, a refusal is no verdict either";

    // A hub that holds none of them, whatever it answered, has had them deleted.
    unit.ClearFailure();
    unit.SetConfiguration({});
    unit.SetFailure(FailureMode::Rejected, "FDELETE");
    bench.Messages.clear();
    EXPECT_TRUE(IncrementalDeletes(link, Nodes, HubNodes));
    EXPECT_TRUE(bench.Messages.empty());
}

TEST_F(HubDeletesTest, AFailedDeleteLeavesTheLinkBusyUntilTheSequenceEnds)
{
    unit.SetFailure(FailureMode::Silent, "FDELETE DEVICE 4D001");
    link.BeginBusy();
    bool busyThroughout = true;
    EXPECT_FALSE(IncrementalDeletes(link, Nodes, HubNodes, [&](bool) { busyThroughout &= link.Busy(); }));
    EXPECT_TRUE(busyThroughout) << "the deletes after the failed one run busy";
    EXPECT_TRUE(link.Busy());
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 10004"), 1);
}

TEST_F(HubDeletesTest, AnOldHubGetsTheDeletionsAsManualSteps)
{
    EXPECT_TRUE(NeedsManualDeletes("3.07") && NeedsManualDeletes("10.00") && !NeedsManualDeletes("3.08"));
    int shown = 0;
    link.BeginBusy();
    EXPECT_TRUE(ManualChangesCheck(link, HubNodes, [&] { ++shown; }));
    EXPECT_EQ(model::MessageList,
              (Lines{"Some changes cannot be done automatically so the user must\r\ngo to the "
                     "Hub and make the following changes through the menus\r\n\r\n",
                     "Callpoint with Ident 1A2B3 must be deleted at the Hub ",
                     "Device of Unknown Type with Ident 1A0C5 must be deleted at the Hub ",
                     "RCC 4 and all of its devices must be deleted at the Hub",
                     "\r\nWhen the above actions are completed please attempt to reprogram "
                     "the Hub again\r\n"}));
    EXPECT_TRUE(shown == 1 && !link.Busy() && bench.ProgressHidden && unit.CommandLines().empty());
    ASSERT_EQ(bench.Messages.size(), 1u);
    EXPECT_EQ(bench.Messages[0].Text, "Some changes have to be done at the Hub\r\nthough the Hub "
                                      "Menus\r\nSee the Error Check Form for Details");

    model::ResetSite(); // no deletions: nothing to do by hand
    EXPECT_FALSE(ManualChangesCheck(link, HubNodes, [&] { ++shown; }));
    EXPECT_TRUE(model::MessageList.size() == 1 && shown == 1 && bench.Messages.size() == 1);
}

TEST_F(HubDeletesTest, ClearProgrammingTellsTheOutcome)
{
    // unit failure, final state, message ("" none), lines left in the hub
    for (const auto& [failure, state, message, left] :
         {std::tuple{FailureMode::Silent, CommsFailed, "Unable to Clear Device due to Errors", 9},
          {FailureMode::UnknownCommand, UnknownCommand, "", 9},
          {FailureMode::None, PopulateClearDone, "Device Configuration Cleared", 0}}) {
        const size_t before = bench.Messages.size();
        unit.SetFailure(failure);
        EXPECT_EQ(ClearProgramming(link), state);
        EXPECT_EQ(unit.Configuration().size(), static_cast<size_t>(left));
        EXPECT_EQ(bench.Messages.size() == before ? "" : bench.Messages.back().Text, message);
        EXPECT_FALSE(link.Busy());
    }
}

} // namespace
