// The assignment and ident commands against the simulated hub, on the site
// being edited.
#include "hublink/core/Assignment.h"

#include "LinkFixture.h"
#include "model/SiteBuilder.h"
#include "hublink/core/AddressMaps.h"
#include "model/Site.h"
#include "support/LinkTestHelpers.h"
#include "support/ListAt.h"

#include <functional>
#include <tuple>

namespace {

using model::Nodes;
using testsupport::Last;
using Lines = std::vector<std::string>;

// Hub L1/12, RCC 3 L1/40 with a callpoint in slot 5 (L1/41) and an optical
// in slot 6 (L1/42).
const Lines kHubProgramming = {"POPULATE LOOP1 NODE 12 0 01A2B 0", "POPULATE LOOP1 NODE 40 3 0F00D 0",
                               "POPULATE LOOP1 CALLPOINT 41 3 1A2B3 4",
                               "POPULATE LOOP1 OPTICAL 42 3 2C4D6 5"};

class Assignment : public LinkFixture, public IAssignmentWindow
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        model::ResetSite();
        ActiveNode = 0;
        sitebuild::PlaceNode(Nodes, 0, -1, 1, 12, "01A2B");
        sitebuild::PlaceNode(Nodes, 3, -1, 1, 40, "0F00D");
        sitebuild::PlaceDevice(Nodes, 3, 5, 2, 1, 41, "1A2B3");
        sitebuild::PlaceDevice(Nodes, 3, 6, 3, 1, 42, "2C4D6");
        BuildAddressMap();
    }
    // Each message as "style title: text" (no title: the window's caption).
    int32_t Display(const std::string& text, int32_t style, const std::string& title) override
    {
        Shown.push_back(std::to_string(style) + (title.empty() ? "" : " " + title) + ": " + text);
        return Answer;
    }
    PortStatus ResetPort() override { return PortFails ? PortStatus::Failed : PortStatus::Ready; }
    void EnableProgram() override { ProgramEnabled = true; }

    // Runs a command and returns the lines it added to the status box.
    Lines Run(void (*command)(CommsLink&, IAssignmentWindow&))
    {
        const size_t before = bench.Box.size();
        unit.ClearRecord();
        command(link, *this);
        EXPECT_FALSE(link.Busy() || bench.ControlsBusy) << "the window is left busy";
        return Lines(bench.Box.begin() + static_cast<long>(before), bench.Box.end());
    }

    Lines Shown;
    int32_t Answer = 6;
    bool PortFails = false, ProgramEnabled = false;
};

TEST_F(Assignment, ProgrammedUnitsAreAssignedUntilNoneIsLeft)
{
    ASSERT_EQ(SendProgramList(link, kHubProgramming), ProgramDone);
    unit.SetAssignFailures({"2C4D6"});
    Answer = 7;
    EXPECT_EQ(Run(StartAssign_Click), Lines{});
    EXPECT_EQ(unit.CommandLines(), Lines{}) << "No asks nothing";
    EXPECT_EQ(Last(Shown), "36 Start Device Assignment Process: Are You Sure That You Want To Start This "
                            "Process\r\nIt May Take A Considerable Amount of Time To Complete");

    Answer = 6;
    EXPECT_EQ(Run(StartAssign_Click),
              (Lines{"Assigning all devices, Please Wait .....", "Device Status Successfully Obtained",
                     "Assign Process Completed", "Unable to Assign the following :...",
                     "Loop 1 Address 42 : RCC 3, Device 6", "Some Devices Were Not Assigned\r\n"}));
    EXPECT_EQ(unit.CommandLines(), (Lines{"GET DS ALL", "ASSIGN ALL"}));
    EXPECT_EQ(Last(Shown), "64: Some Devices Were Not Assigned\r\n");

    unit.SetAssignFailures({});
    Run(StartAssign_Click);
    EXPECT_EQ(Last(Shown), "64: All Devices Have Now Been Successfully Assigned\r\n");
    Run(StartAssign_Click);
    EXPECT_EQ(Last(Shown), "64: All Devices Are Already Assigned\r\n");
    EXPECT_EQ(unit.CommandLines(), Lines{"GET DS ALL"});
    unit.SetStatus("0F00D", "UCF");
    Run(StartAssign_Click);
    EXPECT_EQ(unit.CommandLines(), (Lines{"GET DS ALL", "ASSIGN ALL"})) << "an unassigned RCC alone is assigned";
}

TEST_F(Assignment, WithoutAssignFinishTheShortenedWaitEndsAndListsWhatIsLeft)
{
    platform::SetTimeoutScale(0.01);
    unit.SetConfiguration(kHubProgramming);
    unit.SetStatus("0F00D", "UCF");
    unit.SetStatus("1A2B3", "UCF");
    unit.SetFailure(FailureMode::DropMidReply, "ASSIGN ALL"); // echo and the RCC's result, then silence
    const Lines box = Run(StartAssign_Click);
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_LT(bench.NowMs(), 1000) << "forty seconds times the time-out scale";
    EXPECT_EQ(Lines(box.end() - 3, box.end()),
              (Lines{"Unable to Assign the following :...", "Loop 1 Address 41 : RCC 3, Device 5",
                     "Some Devices Were Not Assigned\r\n"}));
    EXPECT_TRUE(Nodes[3].Assigned());

    bool busyWhileAssigning = false;
    unit.AddCommand("ASSIGN ALL", [&](const std::string& c) {
        busyWhileAssigning = bench.ControlsBusy;
        return Lines{c, "ASSIGN FINISH"};
    });
    unit.SetFailure(FailureMode::Silent, "GET DS ALL", 1);
    EXPECT_EQ(Last(Run(StartAssign_Click)), "Some Devices Were Not Assigned\r\n");
    EXPECT_TRUE(busyWhileAssigning) << "a failed status read does not free the window";

    unit.SetStatus("1A2B3", "UCF");
    unit.SetFailure(FailureMode::UnknownCommand, "ASSIGN ALL");
    EXPECT_EQ(Last(Run(StartAssign_Click)), "Unable to Assign All Devices due to Errors\r\n");
    EXPECT_EQ(Last(Shown), "16: Unable to Assign All Devices due to Errors\r\n");
}

TEST_F(Assignment, StatusLinesReachTheUnitsThatOwnTheirAddress)
{
    unit.AddCommand("GET DS ALL", [](const std::string& c) {
        return Lines{c, "DS LOOP1 40 SSG BG", "DS LOOP1 41 S", "DS LOOP1 12", "DS LOOP5 1 UCF",
                     "DS LOOP9 42 UCF", "DS LOOP1 42 S#G", "END OF DATA"};
    });
    EXPECT_TRUE(ReadAllDeviceStatus(link, Nodes));
    EXPECT_EQ(Nodes[3].NodeStatusString(), "SSG BG");
    EXPECT_EQ(Nodes[3].DeviceStatusString(5), "S") << "the status from its own field";
    EXPECT_EQ(Nodes[0].NodeStatusString(), "") << "too few fields";
    EXPECT_EQ(Nodes[3].DeviceStatusString(6), "") << "outside the owner table, or garbled on its way";

    unit.SetFailure(FailureMode::Silent, "GET DS ALL");
    EXPECT_FALSE(ReadAllDeviceStatus(link, Nodes));
    EXPECT_EQ(Nodes[3].NodeStatusString(), "");
}

TEST_F(Assignment, HiddenCommandsReportTheirResult)
{
    unit.SetConfiguration(kHubProgramming);
    unit.AddCommand("IDENTREAD", [](const std::string&) { return Lines{"IDENTREAD 0F00D"}; });
    const std::tuple<void (*)(CommsLink&, IAssignmentWindow&), std::function<void()>, std::string> cases[] = {
        {SetUnassigned_Click, [] {}, "64: All Devices Have Now Been Successfully UnAssigned\r\n"},
        {AssignRCC_Click, [] {}, "64: All RCCs Have Now Been Successfully Assigned\r\n"},
        {ClearUnassigned_Click, [&] { unit.SetFailure(FailureMode::Silent, "UNASSIGN"); },
         "16: Unable to Assign All Devices due to Errors\r\n"},
        {AssignRCC_Click, [] { ActiveNode = 3; },
         "16 Start RCC Assignment Process: You Can Only Assign RCCs from the Radio Hub\r\n"},
        {SetIdent_Click, [] { ActiveNode = 3; }, "48: Ident Programmed Successfully"},
        {SetIdent_Click, [] {},
         "16: The Ident in The Radio Hub\r\nDoes Not Match That In The Configuration\r\n"
         "The Radio Hub has an Ident of 0F00D"},
        {SetIdent_Click, [] { ActiveNode = -1; }, "16: There is no Currently Selected Hub or RCC"},
        {SetUnassigned_Click, [&] { PortEnabled = false, PortFails = true; }, ""},
    };
    for (const auto& [command, prepare, message] : cases) {
        SCOPED_TRACE(message);
        Shown.clear();
        ActiveNode = 0;
        prepare();
        Run(command);
        EXPECT_EQ(Shown.empty() ? std::string() : Shown.back(), message);
        unit.ClearFailure();
    }
    EXPECT_TRUE(ProgramEnabled);
}

} // namespace
