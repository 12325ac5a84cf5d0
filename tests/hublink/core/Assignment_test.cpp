// The assignment and ident commands against the simulated hub, on the site
// being edited.
#include "hublink/core/Assignment.h"

#include "LinkFixture.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/NodesSiteLink.h"
#include "model/Site.h"
#include "support/LinkTestHelpers.h"

#include <functional>
#include <tuple>

namespace {

using model::Nodes;
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
        bench.Site = &site;
        ActiveNode = 0;
        Unit(0, 12, "01A2B");
        Unit(3, 40, "0F00D");
        Unit(3, 41, "1A2B3", 5, 2);
        Unit(3, 42, "2C4D6", 6, 3);
        BuildAddressMap();
    }
    static void Unit(int n, int address, const char* ident, int slot = 0, int type = 0)
    {
        model::clsNode& node = Nodes[static_cast<size_t>(n)];
        if (slot == 0) {
            node.SetInUse(true);
            node.SetNodeLoop(1);
            node.SetNodeAddress(address);
            node.SetNodeIdent(ident);
            return;
        }
        node.SetDeviceType(slot, type);
        node.SetDeviceLoop(slot, 1);
        node.SetDeviceAddress(slot, address);
        node.SetDeviceIdent(slot, ident);
    }
    int32_t Display(const std::string& text, int32_t style, const std::string& title) override
    {
        Shown.emplace_back(text, style, title);
        return Answer;
    }
    bool ResetPort() override { return PortFails; }
    void EnableProgram() override { ProgramEnabled = true; }

    // Runs a command and returns the lines it added to the status box.
    Lines Run(const std::function<void(CommsLink&, IAssignmentWindow&)>& command)
    {
        const size_t before = bench.Box.size();
        unit.ClearRecord();
        command(link, *this);
        EXPECT_FALSE(link.Busy() || bench.ControlsBusy) << "the window is left busy";
        return Lines(bench.Box.begin() + static_cast<long>(before), bench.Box.end());
    }
    std::tuple<std::string, int32_t, std::string> Last() const { return Shown.back(); }

    NodesSiteLink site;
    std::vector<std::tuple<std::string, int32_t, std::string>> Shown;
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

    Answer = 6;
    EXPECT_EQ(Run(StartAssign_Click),
              (Lines{"Assigning all devices, Please Wait .....", "Device Status Successfully Obtained",
                     "Assign Process Completed", "Unable to Assign the following :...",
                     "Loop 1 Address 42 : RCC 3, Device 6", "Some Devices Were Not Assigned\r\n"}));
    EXPECT_EQ(unit.CommandLines(), (Lines{"GET DS ALL", "ASSIGN ALL"}));
    EXPECT_EQ(Shown.front(),
              std::make_tuple(std::string("Are You Sure That You Want To Start This Process\r\n"
                                          "It May Take A Considerable Amount of Time To Complete"),
                              36, std::string("Start Device Assignment Process")));
    EXPECT_EQ(Last(), std::make_tuple(std::string("Some Devices Were Not Assigned\r\n"), 64, std::string()));

    unit.SetAssignFailures({});
    Run(StartAssign_Click);
    EXPECT_EQ(Last(), std::make_tuple(std::string("All Devices Have Now Been Successfully Assigned\r\n"), 64,
                                      std::string()));
    Run(StartAssign_Click);
    EXPECT_EQ(std::get<0>(Last()), "All Devices Are Already Assigned\r\n");
    EXPECT_EQ(unit.CommandLines(), Lines{"GET DS ALL"});
}

TEST_F(Assignment, WithoutAssignFinishTheShortenedWaitEndsAndListsWhatIsLeft)
{
    platform::SetTimeoutScale(0.01);
    unit.SetConfiguration(kHubProgramming);
    unit.SetStatus("0F00D", "UCF");
    unit.SetStatus("1A2B3", "UCF");
    unit.SetFailure(FailureMode::DropMidReply, "ASSIGN ALL"); // echo and the RCC's result, then silence
    const Lines box = Run(StartAssign_Click);
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_LT(bench.NowMs(), 1000) << "forty seconds times the time-out scale";
    EXPECT_EQ(Lines(box.end() - 3, box.end()),
              (Lines{"Unable to Assign the following :...", "Loop 1 Address 41 : RCC 3, Device 5",
                     "Some Devices Were Not Assigned\r\n"}));
    EXPECT_TRUE(Nodes[3].Assigned());

    unit.SetStatus("1A2B3", "UCF");
    unit.SetFailure(FailureMode::UnknownCommand, "ASSIGN ALL");
    EXPECT_EQ(Run(StartAssign_Click).back(), "Unable to Assign All Devices due to Errors\r\n");
    EXPECT_EQ(std::get<1>(Last()), 16) << "a hub that does not know the command fails the process";
}

TEST_F(Assignment, StatusLinesReachTheUnitsThatOwnTheirAddress)
{
    unit.AddCommand("GET DS ALL", [](const std::string& c) {
        return Lines{c,
                     "DS LOOP1 40 SSG BG",
                     "DS LOOP1 41 S",
                     "DS LOOP1 12",
                     "DS LOOP9 42 UCF",
                     "DS LOOP1 300 UCF",
                     "DS LOOP1 43 UCF",
                     "END OF DATA"};
    });
    EXPECT_TRUE(ReadAllDeviceStatus(link, Nodes));
    EXPECT_EQ(Nodes[3].NodeStatusString(), "SSG BG");
    EXPECT_EQ(Nodes[3].DeviceStatusString(5), "S") << "the status from its own field";
    EXPECT_EQ(Nodes[0].NodeStatusString(), "") << "too few fields";
    EXPECT_EQ(Nodes[3].DeviceStatusString(6), "") << "outside the owner table";

    unit.SetFailure(FailureMode::Silent, "GET DS ALL");
    EXPECT_FALSE(ReadAllDeviceStatus(link, Nodes));
    EXPECT_EQ(Nodes[3].NodeStatusString(), "");
}

TEST_F(Assignment, HiddenCommandsReportTheirResult)
{
    unit.SetConfiguration(kHubProgramming);
    unit.AddCommand("IDENTREAD", [](const std::string&) { return Lines{"IDENTREAD 0F00D"}; });
    using Command = void (*)(CommsLink&, IAssignmentWindow&);
    const std::tuple<Command, std::function<void()>, std::string, int32_t> cases[] = {
        {SetUnassigned_Click, [] {}, "All Devices Have Now Been Successfully UnAssigned\r\n", 64},
        {AssignRCC_Click, [] {}, "All RCCs Have Now Been Successfully Assigned\r\n", 64},
        {ClearUnassigned_Click, [&] { unit.SetFailure(FailureMode::Silent, "UNASSIGN"); },
         "Unable to Assign All Devices due to Errors\r\n", 16},
        {AssignRCC_Click, [] { ActiveNode = 3; }, "You Can Only Assign RCCs from the Radio Hub\r\n", 16},
        {SetIdent_Click, [] { ActiveNode = 3; }, "Ident Programmed Successfully", 48},
        {SetIdent_Click, [] {},
         "The Ident in The Radio Hub\r\nDoes Not Match That In The Configuration\r\n"
         "The Radio Hub has an Ident of 0F00D",
         16},
        {SetIdent_Click, [] { ActiveNode = -1; }, "There is no Currently Selected Hub or RCC", 16},
        {SetUnassigned_Click, [] { PortEnabled = false; },
         "All Devices Have Now Been Successfully UnAssigned\r\n", 64},
        {SetUnassigned_Click, [&] { PortEnabled = false, PortFails = true; }, "", 0},
    };
    for (const auto& [command, prepare, text, style] : cases) {
        SCOPED_TRACE(text);
        Shown.clear();
        ActiveNode = 0;
        prepare();
        Run(command);
        EXPECT_EQ(Shown.empty() ? std::string() : std::get<0>(Last()), text);
        EXPECT_EQ(Shown.empty() ? 0 : std::get<1>(Last()), style);
        unit.ClearFailure();
    }
    EXPECT_TRUE(ProgramEnabled);
}

} // namespace
