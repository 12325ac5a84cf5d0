// The programming run and Compare Config against the simulated hub, as the
// communications window runs them.
#include "hublink/core/ProgrammingRun.h"

#include "CrowdedSite.h"
#include "LinkFixture.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubConfigParser.h"
#include "hublink/core/HubDeletes.h"
#include "hublink/core/IProgrammingWindow.h"
#include "hublink/core/support/HubAddresses.h"
#include "hublink/core/support/QuietProgrammingWindow.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteBuilder.h"
#include "model/SiteQueries.h"

#include <algorithm>
#include <functional>
#include <random>

namespace {

using model::HubNodes;
using model::Nodes;
using Lines = std::vector<std::string>;
using sitebuild::PlaceDevice;

const std::string kCompleted = "Programming Completed Successfully";
const std::string kMatches = "The Config matches the Radio Hub already, Update not required";
const std::string kHubMatches = "The Hub matches the Configuration";
const std::string kGoOn = "Errors were Encountered, Continue Anyway?";

class ProgrammingRun : public LinkFixture, public QuietProgrammingWindow
{
protected:
    // Hub L1/1; RCC 1 on the hub with a callpoint and a sounder/beacon, RCC 2
    // under RCC 1 with an optical, RCC 4 on the hub with a heat detector.
    void SetUp() override
    {
        LinkFixture::SetUp();
        model::ResetSite();
        LoopCount = 2;
        ActiveNode = 0;
        ConfirmDiffs = false;
        CommsCloseOnComplete = false;
        sitebuild::PlaceTwoRccSite(Nodes, -1);
        sitebuild::PlaceRcc(Nodes, 4, 0, 12, "10004");
        PlaceDevice(Nodes, 4, 1, 4, 1, 40, "4A001");
    }

    // Runs the programming and returns the texts of the boxes it showed.
    Lines Program()
    {
        bench.Messages.clear();
        unit.ClearRecord();
        cmdUpdate_Click(link, *this);
        EXPECT_FALSE(link.Busy() || bench.ControlsBusy) << "the window is left busy";
        Lines texts;
        for (const auto& m : bench.Messages)
            texts.push_back(m.Text);
        return texts;
    }
    // Compare Config's answer: its box, or the differences it listed.
    Lines Compare()
    {
        bench.Messages.clear();
        CompareConfig_Click(link, *this);
        return bench.Messages.empty() ? model::MessageList : Lines{bench.Messages[0].Text};
    }
    // Program brings the hub into line with the site: it completes, Compare
    // then finds no difference and the next Program nothing to send.
    void ExpectProgrammedToMatch(const std::string& what)
    {
        EXPECT_EQ(Program(), Lines{kCompleted}) << what;
        EXPECT_EQ(Compare(), Lines{kHubMatches}) << what;
        EXPECT_EQ(Program(), Lines{kMatches}) << what;
    }
    // What the unit was sent after the (last) download.
    // The answer to the first send of the first command beginning with
    // `command` becomes `what`.
    void DrawOnFirstSend(const std::string& command, AnswerFault::Kind what)
    {
        unit.DrawAnswerFaults([command, what, done = false](const FaultContext& f) mutable {
            if (done || f.Command.rfind(command, 0) != 0)
                return AnswerFault{};
            done = true;
            return AnswerFault{what, "", "", 0, false};
        });
    }

    Lines Programmed() const
    {
        const Lines all = unit.CommandLines();
        const auto download = std::find(all.rbegin(), all.rend(), "GET SYSCONFIG");
        return Lines(download.base(), all.end());
    }
    // The first and the last of them, "" for none.
    std::string FirstProgrammed() const
    {
        const Lines sent = Programmed();
        return sent.empty() ? std::string() : sent.front();
    }
    std::string LastProgrammed() const
    {
        const Lines sent = Programmed();
        return sent.empty() ? std::string() : sent.back();
    }

    int32_t Display(const std::string& text, int32_t style, const std::string&) override
    {
        bench.ShowMessage(text, style);
        // Yes to every question, unless told; always Yes to go on after a
        // download with faults.
        return style == 36 && text != kGoOn ? QuestionAnswer : style == 36 ? 6 : 1;
    }
    int16_t ParseDownload(bool programming) override
    {
        const int16_t faults = ParseHubConfiguration(bench.Link().Session(), {ActiveNode, programming});
        if (AfterParse)
            AfterParse();
        return faults;
    }
    void SetErrorCheckMode(long mode) override { ErrorCheckMode = mode; }
    void ShowErrorList() override
    {
        ++ErrorListShown;
        ErrorListMode = ErrorCheckMode;
    }
    void SetProgressMaximum(int maximum) override { bench.ProgressMaximum = maximum; }
    void SetDeleteDots(bool running) override { bench.DeleteDots = running; }
    void CloseWindow() override { Closed = true; }

    int ErrorListShown = 0;
    long ErrorCheckMode = 0, ErrorListMode = 0; // the mode set last, and the one the list was shown in
    bool Closed = false;
    int32_t QuestionAnswer = 6;
    // Changes what a parse left in HubNodes: a hub no download gives.
    std::function<void()> AfterParse;
};

TEST_F(ProgrammingRun, AnEmptyHubIsProgrammedFromClearAndThenMatches)
{
    EXPECT_EQ(Program(), Lines{kCompleted});
    const Lines sent = Programmed();
    ASSERT_EQ(sent.size(), 16u) << "clear, 4 nodes, 4 devices, Y and 3 X channels, 3 relations";
    EXPECT_EQ(sent.front(), "POPULATE CLEAR");
    EXPECT_EQ(bench.NowMs(), 0) << "each command went out on the echo of the one before";

    CommsCloseOnComplete = true;
    EXPECT_EQ(Program(), Lines{kMatches});
    EXPECT_EQ(Programmed(), Lines{});
    EXPECT_TRUE(Closed);
}

TEST_F(ProgrammingRun, EditsAreProgrammedIncrementallyAndTheHubThenMatchesTheSite)
{
    Program();
    Nodes[4] = model::clsNode();                             // RCC 4 deleted with its device
    sitebuild::PlaceRcc(Nodes, 3, 2, 13, "10003"); // RCC 3 added under RCC 2
    PlaceDevice(Nodes, 3, 5, 9, 1, 50, "3A005");
    Nodes[2].SetParent(0);            // RCC 2 re-parented to the hub
    Nodes[1].SetDeviceAddress(1, 25); // a device moved
    Nodes[2].SetDeviceType(1, 4);     // and one retyped
    EXPECT_EQ(Program(), Lines{kCompleted});
    const Lines sent = Programmed(); // deletes first, no clear
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(Lines(sent.begin(), sent.begin() + 5),
              (Lines{"RELATION DEL 2 1", "RELATION DEL 4 0", "FDELETE DEVICE 2A001", "FDELETE DEVICE 4A001",
                     "FDELETE DEVICE 10004"}));

    bench.Messages.clear();
    CompareConfig_Click(link, *this);
    ASSERT_EQ(bench.Messages.size(), 1u);
    EXPECT_EQ(bench.Messages[0].Text, "The Hub matches the Configuration");
}

// A delete the hub refuses or never answers leaves in it what the site has
// dropped: the run sends no list and ends saying what stays and that
// programming is not complete, never in silence. Once the hub takes the
// delete, the next run completes.
TEST_F(ProgrammingRun, ADeleteTheHubDoesNotTakeEndsTheRunNotComplete)
{
    Program();
    const Lines programmed = unit.Configuration();
    Nodes[4] = model::clsNode(); // RCC 4 deleted with its device
    Nodes[2].SetParent(0);       // RCC 2 moved from RCC 1 to the hub
    const auto notDeleted = [](const std::string& what) {
        return "The Radio Hub could not Delete\r\n" + what +
               "\r\nThe Changes were not Sent\r\nProgramming is Not Complete";
    };
    const std::string relation = notDeleted("Relationship between RCC 2 and RCC 1");
    struct Case
    {
        FailureMode mode;
        const char* command;
        Lines boxes;
    };
    const Case cases[] = {
        {FailureMode::Rejected, "RELATION DEL 2 1", {relation}},
        {FailureMode::UnknownCommand, "RELATION DEL 2 1", {relation}},
        {FailureMode::Silent, "RELATION DEL 2 1", {relation}},
        // An error text leaves the delete to the hub's state; a refusal shows its box.
        {FailureMode::Rejected, "FDELETE DEVICE 4A001", {notDeleted("Device 1 from RCC 4")}},
        {FailureMode::UnknownCommand, "FDELETE DEVICE 4A001",
         {"Unable to Delete All Devices due to Errors\r\nUnknown Command", notDeleted("Device 1 from RCC 4")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.boxes));
        unit.SetConfiguration(programmed);
        unit.SetFailure(c.mode, c.command);
        bench.Box.clear();
        EXPECT_EQ(Program(), c.boxes);
        EXPECT_EQ(std::ranges::count(bench.Box, c.boxes.back()), 1) << "the log says it too";
        EXPECT_TRUE(bench.ProgressHidden);
        EXPECT_FALSE(std::ranges::any_of(Programmed(), [](const std::string& l) {
            return l.starts_with("RELATION ADD");
        })) << "no list after a failed delete";
        EXPECT_NE(Compare(), Lines{kHubMatches});

        unit.ClearFailure();
        EXPECT_EQ(Program(), Lines{kCompleted});
        EXPECT_EQ(Compare(), Lines{kHubMatches});
    }
}

// Lines that answer no delete (a download's second copy, the hub's own
// status line) come while the deletes wait, or the hub, which has deleted a
// unit, says it has none to the delete's resend before its late echo: each
// delete still ends on its own answer, and the run completes.
TEST_F(ProgrammingRun, EachDeleteEndsOnItsOwnAnswerWhateverComesBeforeIt)
{
    const std::vector<std::pair<const char*, std::function<void()>>> disturbances = {
        {"a status line before each delete's answer",
         [this] {
             unit.SendBeforeAnswers("RELATION DEL", "DS LOOP1 5 SSG");
             unit.SendBeforeAnswers("FDELETE", "DS LOOP1 5 SSG");
         }},
        {"the download answered twice", [this] { unit.AnswerTwice("GET SYSCONFIG"); }},
        {"the download and its resend answered, the deletes slow",
         [this] {
             unit.SetAnswerDelayMs("GET SYSCONFIG", 700);
             unit.SetAnswerDelayMs("FDELETE", 1000);
         }},
        {"a delete's echo past its time-out, its resend answered at once",
         [this] {
             unit.SetLateDelayMs(kDeleteTimeoutMs + 300);
             unit.SetFailure(FailureMode::Late, "FDELETE DEVICE 4A001", 1);
         }},
        // Lines that are no delete's verdict: the hub's state settles it.
        {"the hub's chatter before each delete's echo",
         [this] {
             unit.SendBeforeAnswers("RELATION DEL", "RADIO BUSY");
             unit.SendBeforeAnswers("FDELETE", "SF CS RUNNING 30");
         }},
        {"a delete's answer lost, its resend told the unit is not found",
         [this] { DrawOnFirstSend("FDELETE DEVICE 4A001", AnswerFault::Kind::Lost); }},
        {"a delete's echo garbled", [this] { DrawOnFirstSend("FDELETE DEVICE 10004", AnswerFault::Kind::Garbled); }},
        {"a relation delete's echo repeated as the next delete waits",
         [this] { DrawOnFirstSend("RELATION DEL", AnswerFault::Kind::Repeated); }},
        {"the download late, in turn, its resend refused",
         [this] {
             unit.SetAnswersInTurn(true);
             unit.SetAnswerDelayMs("GET SYSCONFIG", 700);
             unit.RefuseResends("GET SYSCONFIG");
         }},
    };
    for (const auto& [what, disturb] : disturbances) {
        SetUp();
        unit.SetConfiguration({});
        ASSERT_EQ(Program(), Lines{kCompleted});
        Nodes[4] = model::clsNode(); // RCC 4 deleted with its device
        Nodes[2].SetParent(0);       // RCC 2 moved from RCC 1 to the hub
        disturb();
        EXPECT_EQ(Program(), Lines{kCompleted}) << what;
        unit.ClearFailure();
        unit.SetAnswersInTurn(false);
        unit.SetAnswerDelayMs("GET SYSCONFIG", 0);
        unit.SetAnswerDelayMs("FDELETE", 0);
        EXPECT_EQ(Compare(), Lines{kHubMatches}) << what;
    }
}

// A delete the hub answers with anything but its own answer, or that meets
// a refusal that may be owed to a send answered before it, is left to the
// hub's state: it is waited for one reply time-out, never for its long one,
// and is told as not deleted only while the hub still holds the unit.
TEST_F(ProgrammingRun, ADeleteLeftOpenIsSettledByTheHubsStateWithoutItsLongWait)
{
    using Kind = AnswerFault::Kind;
    const std::string device = "FDELETE DEVICE 4A001";
    const Lines notDeleted = {"The Radio Hub could not Delete\r\nDevice 1 from RCC 4\r\n"
                              "The Changes were not Sent\r\nProgramming is Not Complete"};
    struct Case
    {
        const char* name;
        std::function<AnswerFault(const FaultContext&)> fault;
        bool refused; // the hub does not know the delete
        Lines boxes;
    };
    const auto onDelete = [device](AnswerFault fault) {
        return [device, fault](const FaultContext& f) { return f.Command == device ? fault : AnswerFault{}; };
    };
    const Case cases[] = {
        {"the download's first answer lost, the delete refused",
         [lost = false](const FaultContext& f) mutable {
             const bool first = f.Command == "GET SYSCONFIG" && !std::exchange(lost, true);
             return first ? AnswerFault{Kind::Lost, "", "", 0, false} : AnswerFault{};
         },
         true, notDeleted},
        {"its answer lost while the hub sends a status line",
         onDelete({Kind::Lost, "", "DS LOOP1 40 SSG", 0, false}), false, {kCompleted}},
        {"a download line in place of its answer", onDelete({Kind::Chatter, "POPULATE LOOP1 NODE 12 4 10004 0", "", 0, false}),
         false, {kCompleted}},
        {"another list's refusal in place of its answer", onDelete({Kind::Chatter, "POPULATE FAIL", "", 0, false}), false,
         {kCompleted}},
        {"a status error in place of its answer", onDelete({Kind::Chatter, "DS ERROR 5", "", 0, false}), false, {kCompleted}},
    };
    Program();
    const Lines programmed = unit.Configuration();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Nodes[4] = model::clsNode(); // RCC 4 deleted with its device
        unit.ClearFailure();
        unit.SetConfiguration(programmed);
        unit.DrawAnswerFaults(c.fault);
        if (c.refused)
            unit.Refuse(device);
        bench.Box.clear();
        const int64_t start = bench.NowMs();
        EXPECT_EQ(Program(), c.boxes);
        EXPECT_LT(bench.NowMs() - start, kDeleteTimeoutMs) << "a delete waited out its long time-out";
        EXPECT_EQ(std::ranges::count(unit.CommandLines(), device), 1);
        EXPECT_FALSE(std::ranges::any_of(bench.Box, [](const std::string& l) {
            return l.starts_with("Communications Failure");
        }));
        SetUp();
    }
}

// A byte corrupted in a download that keeps its form (a hex digit for
// another) cannot be seen in the line: the delete it plans finds nothing
// ("DEVICE NOT FOUND"), the hub is read to settle it, and the changes are
// planned again from the hub as read, so the unit the site dropped goes.
TEST_F(ProgrammingRun, ADeleteAWrongDownloadPlannedIsPlannedAgainFromTheHubAsRead)
{
    Program();
    Nodes[4].SetDeviceType(1, 0); // RCC 4's heat detector is taken out of the site
    AfterParse = [parses = 0]() mutable {
        if (++parses == 1)
            HubNodes[4].SetDeviceIdent(1, "4A00B");
    };
    EXPECT_EQ(Program(), Lines{kCompleted});
    EXPECT_EQ(Programmed(), Lines{}) << "the hub read back holds the site";
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 4A00B"), 1);
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "FDELETE DEVICE 4A001"), 1);
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), 3);
    EXPECT_EQ(Compare(), Lines{kHubMatches});
}

// A byte corrupted in the line of a unit the hub holds and the site has
// dropped: the download holding it is read again, so Compare lists the unit
// and Program deletes it, asking nothing about the line.
TEST_F(ProgrammingRun, AByteCorruptedInADownloadLineIsReadAgainNotTakenForTheHubs)
{
    using Kind = ByteFault::Kind;
    const std::vector<std::pair<const char*, std::vector<ByteFault>>> corruptions = {
        {"its first letters", {{Kind::Replaced, 0, 1, '#'}}},
        {"its address", {{Kind::Replaced, 0, 26, '#'}}},
        {"a bit of its ident", {{Kind::BitFlipped, 0, 31, 6}}},
        {"cut short", {{Kind::CutShort, 0, 20, 0}}},
        {"run into the line after it", {{Kind::RunOn, 0, 0, 0}}},
    };
    Program();
    const Lines programmed = unit.Configuration();
    const auto held = std::ranges::find_if(programmed, [](const std::string& l) { return l.find("4A001") != l.npos; });
    ASSERT_EQ(*held, "POPULATE LOOP1 HEAT 40 4 4A001 0");
    const size_t line = static_cast<size_t>(held - programmed.begin()) + 1; // after the header
    Nodes[4].SetDeviceType(1, 0); // the site drops RCC 4's heat detector
    for (const auto& [what, bytes] : corruptions) {
        SCOPED_TRACE(what);
        for (const bool compare : {true, false}) {
            unit.SetConfiguration(programmed);
            unit.DrawAnswerFaults([bytes, line, first = true](const FaultContext& f) mutable {
                AnswerFault fault;
                if (f.Command == "GET SYSCONFIG" && std::exchange(first, false)) {
                    fault.Bytes = bytes;
                    for (ByteFault& b : fault.Bytes)
                        b.Line = line;
                }
                return fault;
            });
            unit.ClearRecord();
            if (compare) {
                EXPECT_EQ(Compare(), Lines{"Device 1 on RCC 4 - Device in RCC, but not in Configuration - Heat A1R "
                                           "Detector  4A001"});
            } else {
                EXPECT_EQ(Program(), Lines{kCompleted}) << "no question about the line, and the unit deleted";
                EXPECT_EQ(std::ranges::count(unit.Configuration(), *held), 0);
            }
            EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), 2);
        }
    }
}

TEST_F(ProgrammingRun, LeftoversOfRccsTheHubNoLongerHasAreShownAndCleared)
{
    Program();
    const Lines clean = unit.Configuration();
    Lines held = clean;
    held.insert(held.end(), {"POPULATE LOOP1 OPTICAL 60 7 7A001 0", "RELATION ADD 8 0 1"});
    unit.SetConfiguration(held);
    CompareConfig_Click(link, *this);
    EXPECT_EQ(model::MessageList,
              (Lines{"Device 1 on RCC 7 - Device in RCC, but not in Configuration - Optical Smoke Detector  7A001",
                     "RCC 8 Mismatch in Hop Count - 1, (Undefined)", "RCC 8 Mismatch in Parent - 0, (Undefined)"}));
    EXPECT_EQ(Program(), Lines{kCompleted});
    ASSERT_GE(model::MessageList.size(), 2u);
    EXPECT_EQ(model::MessageList[1], "Optical Smoke Detector with Ident 7A001 will be deleted from RCC 7");
    EXPECT_EQ(Programmed(), (Lines{"RELATION DEL 8 0", "FDELETE DEVICE 7A001"}));
    EXPECT_EQ(unit.Configuration(), clean);

    held = clean; // channels without their RCC go only with a clear, which is offered
    held.push_back("XPROTRADIOCHANNELS 10 40 6");
    unit.SetConfiguration(held);
    EXPECT_EQ(Program(), (Lines{"Do You Wish to Clear All Programming from the Hub\r\nBefore Re-Programming?", kCompleted}));
    EXPECT_EQ(Program(), Lines{kMatches});
}

TEST_F(ProgrammingRun, AChannelChangeIsFollowedByASecondPassWithOneCompletionBox)
{
    Program();
    Nodes[1].SetX_ChannelA(20); // known first; the parent change only after the channels
    Nodes[2].SetParent(0);
    bench.WhileMessageOpen = [this] { link.Comm_OnComm(link.Session().CommandText + "\r" + link.Session().CommandText + "\r"); };
    EXPECT_EQ(Program(), Lines{kCompleted});
    EXPECT_EQ(Programmed(), (Lines{"RELATION DEL 2 1", "RELATION ADD 2 0 1"})) << "the second pass";
    EXPECT_EQ(Program(), Lines{kMatches});
}

TEST_F(ProgrammingRun, SwappedAndRotatedAddressesAreProgrammedUntilCompareFindsNothing)
{
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"two devices of an RCC swap",
         [] {
             Nodes[2].SetDeviceAddress(1, 31);
             Nodes[2].SetDeviceAddress(2, 30);
         }},
        {"the same swap with the sounder retyped a heat detector",
         [] {
             Nodes[2].SetDeviceAddress(1, 31);
             Nodes[2].SetDeviceAddress(2, 30);
             Nodes[2].SetDeviceType(2, 4);
         }},
        {"devices of three RCCs rotate, and so do the three RCCs",
         [] {
             Nodes[1].SetDeviceAddress(1, 30);
             Nodes[2].SetDeviceAddress(1, 40);
             Nodes[4].SetDeviceAddress(1, 20);
             Nodes[1].SetNodeAddress(11);
             Nodes[2].SetNodeAddress(12);
             Nodes[4].SetNodeAddress(10);
         }},
        {"the hub swaps with an RCC",
         [] {
             Nodes[0].SetNodeAddress(10);
             Nodes[1].SetNodeAddress(1);
         }},
    };
    for (const auto& [what, edit] : edits) {
        SetUp();
        PlaceDevice(Nodes, 2, 2, 6, 1, 31, "2A002"); // a sounder beside RCC 2's optical on L1/30
        unit.SetConfiguration({});
        ASSERT_EQ(Program(), Lines{kCompleted});
        edit();
        ExpectProgrammedToMatch(what);
    }
}

// Random swaps, rotations and retypes of the units of a site whose devices
// stand on even addresses (a combination head takes the odd one after it):
// after every Program the hub holds the site, and the next Program and
// Compare both say so.
TEST_F(ProgrammingRun, AfterAnyShuffleOfAddressesProgramLeavesNothingForCompare)
{
    model::ResetSite();
    sitebuild::PlaceNode(Nodes, 0, -1, 1, 2, "01A2B").SetY_ChannelA(1);
    Nodes[0].SetY_ChannelB(2);
    struct Unit
    {
        int Node, Slot;
    };
    std::vector<Unit> units{{0, 0}};
    for (int n = 1; n <= 4; ++n) {
        sitebuild::PlaceRcc(Nodes, n, n == 1 ? 0 : n - 1, 2 + 2 * n, crowdedsite::Ident(0x10000 + n));
        units.push_back({n, 0});
        for (int s = 1; s <= 4; ++s) {
            PlaceDevice(Nodes, n, s, 2, 1 + s % 2, 10 * n + 2 * s, crowdedsite::Ident(0x100 * n + s));
            units.push_back({n, s});
        }
    }
    ASSERT_EQ(Program(), Lines{kCompleted});
    std::mt19937 random(33);
    auto pick = [&random](size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random);
    };
    // A unit's place as the pair (loop, address).
    auto place = [](const Unit& u) {
        const model::clsNode& node = Nodes[u.Node];
        return u.Slot == 0 ? std::pair(node.NodeLoop(), node.NodeAddress())
                           : std::pair(node.DeviceLoop(u.Slot), node.DeviceAddress(u.Slot));
    };
    auto put = [](const Unit& u, std::pair<int, int> at) {
        model::clsNode& node = Nodes[u.Node];
        u.Slot == 0 ? (node.SetNodeLoop(at.first), node.SetNodeAddress(at.second))
                    : (node.SetDeviceLoop(u.Slot, at.first), node.SetDeviceAddress(u.Slot, at.second));
    };
    for (int round = 0; round < 200; ++round) {
        std::string what = "round " + std::to_string(round) + ":";
        const size_t ring = 2 + pick(3); // a swap, or a rotation of three or four
        std::vector<Unit> moved;
        while (moved.size() < ring) {
            const Unit u = units[pick(units.size())];
            if (std::none_of(moved.begin(), moved.end(),
                             [&u](const Unit& m) { return m.Node == u.Node && m.Slot == u.Slot; }))
                moved.push_back(u);
        }
        const std::pair<int, int> first = place(moved[0]);
        for (size_t i = 0; i + 1 < moved.size(); ++i)
            put(moved[i], place(moved[i + 1]));
        put(moved.back(), first);
        for (const Unit& u : moved)
            what += " " + std::to_string(u.Node) + "." + std::to_string(u.Slot);
        if (pick(2) == 0) {
            const Unit u = units[1 + pick(units.size() - 1)];
            if (u.Slot != 0) {
                const int type = 2 + static_cast<int>(pick(19)); // 2..20
                Nodes[u.Node].SetDeviceType(u.Slot, type);
                what += " retyped " + std::to_string(u.Node) + "." + std::to_string(u.Slot) + " to " +
                        std::to_string(type);
            }
        }
        ExpectProgrammedToMatch(what);
        if (HasFailure())
            return;
    }
}

// A callpoint on the second address of a combination head passes the
// configuration check, and the hub takes both. Moved away, it is the one
// unit programmed: the head, which now holds its second address alone, has
// not moved and is not sent again.
TEST_F(ProgrammingRun, AHeadThatGainsItsSecondAddressInPlaceIsNotProgrammedAsMoved)
{
    PlaceDevice(Nodes, 2, 1, 10, 1, 30, "2A001");
    PlaceDevice(Nodes, 2, 2, 2, 1, 31, "2A002");
    ASSERT_EQ(Program(), Lines{kCompleted});
    Nodes[2].SetDeviceAddress(2, 50);
    EXPECT_EQ(Program(), Lines{kCompleted});
    EXPECT_EQ(Programmed(), Lines{"POPULATE LOOP1 CALLPOINT 50 2 2A002 1"});
    EXPECT_EQ(Compare(), Lines{kHubMatches});
    EXPECT_EQ(Program(), Lines{kMatches});
}

TEST_F(ProgrammingRun, ASiteOfTheHubAloneMatchesOnceProgrammed)
{
    model::ResetSite();
    sitebuild::PlaceNode(Nodes, 0, -1, 1, 1, "01A2B").SetY_ChannelA(1);
    Nodes[0].SetY_ChannelB(2);
    EXPECT_EQ(Program(), Lines{kCompleted});
    EXPECT_EQ(Programmed(),
              (Lines{"POPULATE CLEAR", "POPULATE LOOP1 NODE 1 0 01A2B 0", "YPROTRADIOCHANNELS 2 3"}));
    EXPECT_EQ(Program(), Lines{kMatches});
    EXPECT_EQ(Programmed(), Lines{});
    EXPECT_EQ(Compare(), Lines{kHubMatches});

    Nodes[0].SetNodeAddress(3); // a move is programmed without a clear
    EXPECT_EQ(Program(), Lines{kCompleted});
    EXPECT_EQ(Programmed(), Lines{"POPULATE LOOP1 NODE 3 0 01A2B 0"});
    EXPECT_EQ(Program(), Lines{kMatches});
}

// Sites whose hop counts the hub cannot be given as the site has them are
// refused by the configuration check: the error list opens and nothing
// reaches the hub. Should the hub read still differ from the site where the
// change list has no command for it (a parse that leaves the hub's RCC 4
// counting 0 hops under the site's parents), that is never taken for a
// match: the hub is offered a clear, and without it programming is not
// complete.
TEST_F(ProgrammingRun, ADifferenceOnlyCompareSeesIsNeverAMatch)
{
    ASSERT_EQ(Program(), Lines{kCompleted});
    const Lines held = unit.Configuration();
    const std::vector<std::tuple<const char*, std::function<void()>, std::string>> refused = {
        {"an RCC numbered as the hub (a site file without its number)", [] { Nodes[4].SetNodeNumber(0); },
         "RCC 4 has an Invalid Hop Count"},
        {"an RCC under an RCC the site does not use, whose parent a read of a hub leaves",
         [] {
             Nodes[3].SetParent(0);
             Nodes[4].SetParent(3);
         },
         "RCC 4 has an Invalid Hop Count"},
        {"a hub alone numbered other than 0",
         [] {
             model::ResetSite();
             sitebuild::PlaceNode(Nodes, 0, -1, 1, 1, "01A2B").SetY_ChannelA(1);
             Nodes[0].SetY_ChannelB(2);
             Nodes[0].SetNodeNumber(3);
         },
         "Radio Hub has an Invalid Hop Count"},
        {"a device at an address the hub stores but never reports", [] { Nodes[4].SetDeviceAddress(1, 128); },
         "Device Slot 1 on RCC 4 has an Invalid Loop Address"},
    };
    for (const auto& [what, edit, line] : refused) {
        SetUp();
        unit.SetConfiguration(held);
        edit();
        ErrorListShown = 0;
        EXPECT_EQ(Program(), Lines{}) << what;
        EXPECT_EQ(ErrorListShown, 1) << what;
        EXPECT_EQ(model::MessageList, Lines{line}) << what;
        EXPECT_EQ(unit.CommandLines(), Lines{}) << what << ": the hub keeps what it holds";
    }

    SetUp();
    unit.SetConfiguration(held);
    AfterParse = [] { HubNodes[4].SetNodeNumber(0); };
    ASSERT_EQ(Compare(), Lines{"RCC 4 Mismatch in Hop Count - 0, (1)"});
    const std::string clear = "Do You Wish to Clear All Programming from the Hub\r\nBefore Re-Programming?";
    QuestionAnswer = 7; // No
    EXPECT_EQ(Program(), (Lines{clear, "The Radio Hub differs from the Config in ways the List of Changes cannot "
                                       "Program\r\nOnly Clearing All Programming from the Hub can change them\r\n"
                                       "Programming is Not Complete"}));
    EXPECT_EQ(Programmed(), Lines{});
    QuestionAnswer = 6;
    EXPECT_EQ(Program(), (Lines{clear, kCompleted}));
    EXPECT_EQ(FirstProgrammed(), "POPULATE CLEAR");
}

// A unit whose type word the program does not know still answers its loop
// address: wherever the site does not hold it as it stands, Program deletes
// it by its ident, and never leaves its address answered twice.
TEST_F(ProgrammingRun, AUnitOfAnUnknownTypeIsDeletedUnlessTheSiteHoldsItAsItStands)
{
    const std::string unknown = "POPULATE LOOP1 FOOBAR 50 1 0C0AA 11";
    const auto asRead = [] { PlaceDevice(Nodes, 1, 12, 0, 1, 50, "0C0AA"); };
    const std::vector<std::tuple<const char*, std::function<void()>, bool>> edits = {
        {"the site does not have it", [] {}, true},
        {"a device of another slot on its address", [] { PlaceDevice(Nodes, 1, 5, 2, 1, 50, "1A005"); }, true},
        {"a device of another RCC", [] { PlaceDevice(Nodes, 2, 2, 2, 1, 50, "2A002"); }, true},
        {"a device moved there", [] { Nodes[4].SetDeviceAddress(1, 50); }, true},
        {"a combination head at 49", [] { PlaceDevice(Nodes, 2, 2, 10, 1, 49, "2A002"); }, true},
        {"an RCC moved there", [] { Nodes[2].SetNodeAddress(50); }, true},
        {"a device given its slot", [] { PlaceDevice(Nodes, 1, 12, 3, 1, 50, "0C0AA"); }, true},
        {"the site read from the hub holds it", asRead, false},
        {"... and a device moved there", [&] { asRead(); Nodes[4].SetDeviceAddress(1, 50); }, true},
        {"... where it stood before", [&] { asRead(); Nodes[1].SetDeviceAddress(12, 51); }, true},
        {"... and another slot without a type keeps its ident",
         [&] { asRead(); PlaceDevice(Nodes, 2, 12, 0, 1, 60, "0C0AA"); }, true},
    };
    const std::string& goOn = kGoOn;
    const Lines parsed = {"[" + unknown + "] RCC 1 FOOBAR on ,  Loop 1, Address 50, Ident 0C0AA, Slot 11 / Error In Device Type"};
    for (const auto& [what, edit, deleted] : edits) {
        SetUp();
        unit.SetConfiguration({});
        ASSERT_EQ(Program(), Lines{kCompleted});
        Lines held = unit.Configuration();
        held.push_back(unknown);
        unit.SetConfiguration(held);
        edit();
        EXPECT_EQ(Program(), (Lines{goOn, deleted ? kCompleted : kMatches})) << what;
        EXPECT_EQ(FirstProgrammed() == "FDELETE DEVICE 0C0AA", deleted) << what;
        EXPECT_EQ(std::ranges::count(unit.Configuration(), unknown), deleted ? 0 : 1) << what;
        EXPECT_EQ(AddressesAnsweredTwice(unit.Configuration()), Lines{}) << what;
        EXPECT_EQ(Compare(), deleted ? Lines{kHubMatches} : parsed) << what;
        EXPECT_EQ(Program(), deleted ? Lines{kMatches} : (Lines{goOn, kMatches})) << what;
    }
}

// A delete names only an ident. Where it could remove another unit than the
// one meant, the hub is offered a clear; without it the run names the unit
// and sends nothing.
TEST_F(ProgrammingRun, AUnitThatADeleteByItsIdentCouldMissIsOfferedAClearAndOtherwiseNamed)
{
    const std::string clear = "Do You Wish to Clear All Programming from the Hub\r\nBefore Re-Programming?";
    const auto notComplete = [](const std::string& unit) {
        return "The Radio Hub holds Units that cannot be Deleted by their Ident\r\n" + unit +
               "\r\nOnly Clearing All Programming from the Hub removes them\r\nProgramming is Not Complete";
    };
    const std::vector<std::tuple<const char*, Lines, std::function<void()>, std::string>> cases = {
        {"another unit of the hub keeps its ident", {"POPULATE LOOP1 FOOBAR 50 1 4A001 11"}, [] {},
         "Device 12 on RCC 1 (Device of Unknown Type  4A001) shares its Ident with Device 1 on RCC 4 in the Hub"},
        {"the site gives its ident to another unit", {"POPULATE LOOP1 FOOBAR 50 1 0C0AA 11"},
         [] { PlaceDevice(Nodes, 2, 2, 2, 1, 60, "0C0AA"); },
         "Device 12 on RCC 1 (Device of Unknown Type  0C0AA) shares its Ident with a Unit of the Configuration"},
        {"a gone device whose ident the hub holds on a unit that stays", {"POPULATE LOOP2 OPTICAL 60 2 10004 4"}, [] {},
         "Device 5 on RCC 2 (Optical Smoke Detector  10004) shares its Ident with RCC 4 in the Hub"},
        {"a unit read without an ident", {"POPULATE LOOP1 FOOBAR 50 1 X0C0A 11"}, [] {},
         "Device 12 on RCC 1 (Device of Unknown Type) has no Ident"},
    };
    const std::string& goOn = kGoOn;
    for (const auto& [what, extra, edit, named] : cases) {
        SetUp();
        unit.SetConfiguration({});
        ASSERT_EQ(Program(), Lines{kCompleted});
        Lines held = unit.Configuration();
        held.insert(held.end(), extra.begin(), extra.end());
        unit.SetConfiguration(held);
        edit();
        // The parse's question comes first for a type word it does not know.
        Lines asked = extra[0].find("FOOBAR") != std::string::npos ? Lines{goOn, clear} : Lines{clear};
        QuestionAnswer = 7; // No
        Lines expected = asked;
        expected.push_back(notComplete(named));
        EXPECT_EQ(Program(), expected) << what;
        EXPECT_EQ(Programmed(), Lines{}) << what;
        QuestionAnswer = 6;
        expected = asked;
        expected.push_back(kCompleted);
        EXPECT_EQ(Program(), expected) << what;
        EXPECT_EQ(FirstProgrammed(), "POPULATE CLEAR") << what;
        EXPECT_EQ(Compare(), Lines{kHubMatches}) << what;
    }

    // Units that all go may share an ident: each delete removes one of them.
    SetUp();
    unit.SetConfiguration({});
    ASSERT_EQ(Program(), Lines{kCompleted});
    Lines held = unit.Configuration();
    held.insert(held.end(), {"POPULATE LOOP1 FOOBAR 50 1 0C0AA 11", "POPULATE LOOP2 OPTICAL 60 2 0C0AA 4"});
    unit.SetConfiguration(held);
    EXPECT_EQ(Program(), (Lines{goOn, kCompleted}));
    EXPECT_EQ(Programmed(), (Lines{"FDELETE DEVICE 0C0AA", "FDELETE DEVICE 0C0AA"}));
    EXPECT_EQ(Compare(), Lines{kHubMatches});
}

// A hub whose node line holds another ident than the hub answers with is
// programmed from clear with the site's: the hub's node command carries it.
TEST_F(ProgrammingRun, AChangedHubIdentIsProgrammed)
{
    ASSERT_EQ(Program(), Lines{kCompleted});
    Lines held = unit.Configuration();
    std::ranges::replace(held, std::string("POPULATE LOOP1 NODE 1 0 01A2B 0"), std::string("POPULATE LOOP1 NODE 1 0 0FFFF 0"));
    unit.SetConfiguration(held);
    ASSERT_NE(Compare(), Lines{kHubMatches});
    EXPECT_EQ(Program(), Lines{kCompleted});
    const Lines sent = Programmed();
    EXPECT_NE(std::ranges::find(sent, "POPULATE LOOP1 NODE 1 0 01A2B 0"), sent.end());
    EXPECT_EQ(Compare(), Lines{kHubMatches});
}

TEST_F(ProgrammingRun, ChangesCountedOverAThousandAskToClearTheHubFirst)
{
    model::ResetSite();
    unit.SetLoopCountText("4");
    LoopCount = 4;
    crowdedsite::Place(Nodes);
    ASSERT_EQ(Program(), Lines{kCompleted});
    crowdedsite::Edit(Nodes); // 1,001 changes in 999 lines
    EXPECT_EQ(Program(), (Lines{"Do You Wish to Clear All Programming from the Hub\r\nBefore Re-Programming?",
                                kCompleted}));
    EXPECT_EQ(FirstProgrammed(), "POPULATE CLEAR") << "the answer Yes clears the hub";
    EXPECT_EQ(Compare(), Lines{kHubMatches});
}

TEST_F(ProgrammingRun, ARejectedCommandAbortsTheListWhereItStands)
{
    for (const auto& [reply, text] :
         {std::pair("POPULATE FAIL", "Programming Aborted Due to Failed Populate Command"),
          std::pair("Unknown Command", "Programming Aborted Due to Unknown Command"),
          std::pair("ERROR 7 bad channel", "Programming Aborted Due to Command Error")}) {
        unit.AddCommand("POPULATE LOOP1 NODE 11",
                        [reply = reply](const std::string&) { return Lines{reply}; });
        EXPECT_EQ(Program(), Lines{text});
        EXPECT_EQ(LastProgrammed(), "POPULATE LOOP1 NODE 11 2 10002 0") << "the list goes no further";
    }
}

// The hub answers a relation late, so that it is resent, and refuses the
// next one (the list sends the relations of RCCs 1, 4 and 2): the refusal
// may overtake the answer owed to the resend, or come
// after the late answers, each of them sent twice. Either way a line can be
// taken for the wrong relation's answer; the run then reads the hub back and
// says complete only when the hub holds the site. A late answer alone ends
// complete after the read, and so does each other line out of place alone;
// a clean run reads the hub once only. What the read finds is the box's and
// the error list's.
TEST_F(ProgrammingRun, ALateRepeatedOrOvertakenAnswerIsCheckedAgainstTheHubBeforeTheRunIsComplete)
{
    const std::string notComplete = "Programming is Not Complete";
    const std::string refusedText = "Programming Aborted Due to Unknown Command";
    const std::string parentOf2 = "Parent of RCC 2 Changed from Undefined to RCC 1";
    Lines programmed; // the hub as the site has it
    // The debug switch is not resent: its answer comes as the version is asked.
    const auto lateDebugSwitch = [this] {
        unit.SetAnswerDelayMs("DEBUGOFF", 620);
        unit.SetAnswerDelayMs("GET SWV", 100);
    };
    const auto statusLine = [this] {
        unit.SetAnswerDelayMs("RELATION ADD 4", 300);
        bench.UnitSends("DS LOOP1 5 SSG\r", 100);
    };
    const auto deleteAlone = [&] {
        Lines held = programmed;
        held.push_back("POPULATE LOOP1 OPTICAL 60 4 4A009 8");
        unit.SetConfiguration(held);
        unit.AddNoiseBeforeNextAnswer("DS LOOP1 5 SSG");
    };
    // No read of a hub differs from a site the check takes only where
    // Compare looks; the reads after the first are made to (the hub's RCC 4
    // counting 0 hops under the site's parents).
    const auto hopOnlyCompareTells = [this] {
        AfterParse = [reads = 0]() mutable {
            if (++reads > 1)
                HubNodes[4].SetNodeNumber(0);
        };
        unit.SetAnswerDelayMs("RELATION ADD 2", 620);
    };
    struct Case
    {
        const char* name;
        bool late, repeated, refused;
        int refusalMs; // how late the refusal comes
        const std::string& ends; // what the box ends with
        std::string differs = {};        // the difference read back, which the box tells first
        std::function<void()> also = {}; // what else the hub or the site does
        // The hub takes the late relation and refuses its resend, in turn
        // (after the late answer) or at once (before it).
        enum class Resend
        {
            Taken,
            RefusedInTurn,
            RefusedAtOnce
        } resend = Resend::Taken;
    };
    const Case cases[] = {
        // The refusal is the answer owed to the resend, for all the link
        // can tell; the hub's late answer then acknowledges the next.
        {"a refusal overtakes the late answer", true, false, true, 0, notComplete, parentOf2},
        {"late answers sent twice, the refusal after them", true, true, true, 1000, notComplete, parentOf2},
        // The second echo answers no send, and the refusal after it may be
        // owed to the first relation's send too: the hub's state decides.
        {"a repeated answer in time", false, true, true, 0, notComplete, parentOf2},
        {"a late answer, nothing refused", true, false, false, 0, kCompleted},
        // The refusal owed to the resend comes after the next relation's
        // first time-out: it is the resend's, not the next relation's.
        {"the late relation's resend refused in turn", true, false, false, 0, kCompleted, {}, {},
         Case::Resend::RefusedInTurn},
        // The refusal of the resend says nothing while the first send may
        // still be answered.
        {"the late relation's resend refused at once", true, false, false, 0, kCompleted, {}, {},
         Case::Resend::RefusedAtOnce},
        {"a clean run", false, false, false, 0, kCompleted},
        {"a repeated answer in time, nothing refused", false, true, false, 0, kCompleted},
        {"a late answer without a resend", false, false, false, 0, kCompleted, {}, lateDebugSwitch},
        {"an unasked status line as a relation waits", false, false, false, 0, kCompleted, {}, statusLine},
        {"a delete alone, after an unasked status line", false, false, false, 0, kCompleted, {}, deleteAlone},
        // The echo of a relation lost or garbled, and every resend refused
        // as a duplicate: no verdict; the hub, read back, holds the site.
        {"a relation's echo lost, its resends refused", false, false, false, 0, kCompleted, {},
         [this] {
             DrawOnFirstSend("RELATION ADD", AnswerFault::Kind::Lost);
             unit.RefuseResends("RELATION ADD");
         }},
        {"a relation's echo garbled, its resends refused", false, false, false, 0, kCompleted, {},
         [this] {
             DrawOnFirstSend("RELATION ADD", AnswerFault::Kind::Garbled);
             unit.RefuseResends("RELATION ADD");
         }},
        // The hub says it holds the last relation, then refuses it.
        {"the last relation said held, then refused", false, false, false, 0, notComplete, parentOf2,
         [this] {
             unit.Refuse("RELATION ADD 2");
             unit.SendBeforeAnswers("RELATION ADD 2", "Node Relation already defined");
         }},
        // Last: the reads stay changed.
        {"a relation answered late, a hop count only Compare tells", false, false, false, 0, notComplete,
         "RCC 4 Mismatch in Hop Count - 0, (1)", hopOnlyCompareTells},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unit.ClearFailure();
        for (const char* slow : {"RELATION ADD 4", "RELATION ADD 2", "DEBUGOFF", "GET SWV"})
            unit.SetAnswerDelayMs(slow, 0);
        ASSERT_EQ(Program().size(), 1u);
        programmed = unit.Configuration();
        Lines held = programmed;
        std::erase_if(held, [](const std::string& l) { return l.starts_with("RELATION"); });
        unit.SetConfiguration(held);
        if (c.late && c.resend == Case::Resend::RefusedAtOnce) {
            unit.SetLateDelayMs(620); // the first send's answer only
            unit.SetFailure(FailureMode::Late, "RELATION ADD 4", 1);
        } else if (c.late) {
            unit.SetAnswerDelayMs("RELATION ADD 4", 620); // past the time-out, and due before the next one
        }
        if (c.repeated)
            unit.RepeatAnswers("RELATION ADD 4");
        if (c.refused) {
            unit.Refuse("RELATION ADD 2");
            unit.SetAnswerDelayMs("RELATION ADD 2", c.refusalMs);
        }
        unit.SetAnswersInTurn(c.resend == Case::Resend::RefusedInTurn);
        if (c.resend != Case::Resend::Taken)
            unit.RefuseResends("RELATION ADD 4");
        if (c.also)
            c.also();
        ErrorListShown = 0;
        const Lines boxes = Program();
        bench.RunFor(10000); // the late lines have all come
        ASSERT_EQ(boxes.size(), 1u) << testing::PrintToString(boxes);
        const size_t reads = static_cast<size_t>(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"));
        EXPECT_EQ(boxes[0], c.differs.empty()
                                ? c.ends
                                : "The Radio Hub read back does not hold the Config as Programmed\r\n" +
                                      c.differs + "\r\n" + c.ends);
        // What the read found is in the error list, shown.
        EXPECT_EQ(ErrorListShown, c.differs.empty() ? 0 : 1);
        if (!c.differs.empty()) {
            EXPECT_EQ(ErrorListMode, 3);
            EXPECT_NE(std::ranges::find(model::MessageList, c.differs), model::MessageList.end());
        }
        if (c.ends != refusedText) {
            EXPECT_EQ(reads, c.late || c.repeated || c.also ? 2u : 1u)
                << "read back only after irregular exchanges";
        }
        EXPECT_EQ(Compare() == Lines{kHubMatches}, c.ends == kCompleted) << "the hub is as the run said";
    }
}

TEST_F(ProgrammingRun, RefusalsSendNothingToTheHub)
{
    const std::vector<std::tuple<std::function<void()>, std::string>> refusals = {
        {[] { ActiveNode = 3; }, "You can only perform an Update at the Radio Hub\r\n"},
        {[this] { unit.SetKind(UnitKind::Rcc); }, "The Connected Node is not a HUB"},
        {[this] { unit.SetIdent("0A1B2"); },
         "The Ident in the Radio Hub\r\nDoes Not Match That In The Configuration\r\nthe Radio Hub has an "
         "Ident of 0A1B2"},
        {[this] { unit.SetLoopCountText("4"); },
         "The number of Loops supported by the Hub (4)\r\nis not the same as the Configuration (2)"},
        {[this] { unit.SetProtocolWord("ZP3"); },
         "The Loop Protocol in the Hub\r\nDoes not match the Configuration"},
        // The refusal of the ident's resend comes while the loop count waits.
        {[this] {
             unit.SetLoopCountText("4");
             unit.SetAnswerDelayMs("IDENTREAD", 900);
             unit.RefuseResends("IDENTREAD");
         },
         "The number of Loops supported by the Hub (4)\r\nis not the same as the Configuration (2)"},
        {[this] { unit.SetFailure(FailureMode::Silent, "GET SYSCONFIG"); },
         "Unable to Get Config due to Errors"},
    };
    auto restore = [this] {
        ActiveNode = 0;
        unit.SetKind(UnitKind::Hub), unit.SetIdent("01A2B"), unit.SetLoopCountText("2");
        unit.SetProtocolWord("XP95"), unit.ClearFailure();
        unit.SetAnswerDelayMs("IDENTREAD", 0);
    };
    unit.SetAnswersInTurn(true); // no answer overtakes another
    for (const auto& [change, text] : refusals) {
        restore();
        change();
        EXPECT_EQ(Program(), Lines{text});
        EXPECT_EQ(unit.Configuration(), Lines{}) << text;
    }
    restore();
    Nodes[2].SetNodeIdent("");
    EXPECT_EQ(Program(), Lines{});
    EXPECT_EQ(ErrorListShown, 1);
    EXPECT_EQ(unit.CommandLines(), Lines{}) << "a site with errors reaches no unit";
}

} // namespace
