// The programming run and Compare Config against the simulated hub, as the
// communications window runs them.
#include "hublink/core/ProgrammingRun.h"

#include "LinkFixture.h"
#include "model/SiteBuilder.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubConfigParser.h"
#include "hublink/core/IProgrammingWindow.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <algorithm>

namespace {

using model::HubNodes;
using model::Nodes;
using Lines = std::vector<std::string>;
using sitebuild::PlaceDevice;

const std::string kCompleted = "Programming Completed Successfully";
const std::string kMatches = "The Config matches the Radio Hub already, Update not required";

class ProgrammingRun : public LinkFixture, public IProgrammingWindow
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
    // What the unit was sent after the (last) download.
    Lines Programmed() const
    {
        const Lines all = unit.CommandLines();
        const auto download = std::find(all.rbegin(), all.rend(), "GET SYSCONFIG");
        return Lines(download.base(), all.end());
    }

    int32_t Display(const std::string& text, int32_t style, const std::string&) override
    {
        bench.ShowMessage(text, style);
        return style == 36 ? 6 : 1; // Yes to every question
    }
    PortStatus ResetPort() override { return PortStatus::Ready; }
    void EnableProgram() override {}
    int16_t ParseDownload(bool programming) override
    {
        return ParseHubConfiguration(bench.Link().Session(), {ActiveNode, programming});
    }
    void SetErrorCheckMode(long) override {}
    void ShowErrorList() override { ++ErrorListShown; }
    void CloseErrorList() override {}
    void ClearLogBox() override {}
    void SetCancelCaption(const std::string&) override {}
    void ShowProgress() override {}
    void SetProgressMaximum(int maximum) override { bench.ProgressMaximum = maximum; }
    void SetDeleteDots(bool running) override { bench.DeleteDots = running; }
    void RestoreWindow() override {}
    void SelectHub() override {}
    bool DebugOutputStopped() const override { return false; }
    void SetDebugOutputStopped(bool) override {}
    bool UnitConnected() const override { return true; }
    bool OpenedOnly() const override { return false; }
    void CloseWindow() override { Closed = true; }

    int ErrorListShown = 0;
    bool Closed = false;
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

TEST_F(ProgrammingRun, ARejectedCommandAbortsTheListWhereItStands)
{
    for (const auto& [reply, text] :
         {std::pair("POPULATE FAIL", "Programming Aborted Due to Failed Populate Command"),
          std::pair("Unknown Command", "Programming Aborted Due to Unknown Command"),
          std::pair("ERROR 7 bad channel", "Programming Aborted Due to Command Error")}) {
        unit.AddCommand("POPULATE LOOP1 NODE 11",
                        [reply = reply](const std::string&) { return Lines{reply}; });
        EXPECT_EQ(Program(), Lines{text});
        EXPECT_EQ(Programmed().back(), "POPULATE LOOP1 NODE 11 2 10002 0") << "the list goes no further";
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
        {[this] { unit.SetFailure(FailureMode::Silent, "GET SYSCONFIG"); },
         "Unable to Get Config due to Errors"},
    };
    auto restore = [this] {
        ActiveNode = 0;
        unit.SetKind(UnitKind::Hub), unit.SetIdent("01A2B"), unit.SetLoopCountText("2");
        unit.SetProtocolWord("XP95"), unit.ClearFailure();
    };
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
