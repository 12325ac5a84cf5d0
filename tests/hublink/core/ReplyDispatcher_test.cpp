// The reply dispatcher: accepted replies per state, the collections, the
// programming list walk, assignment results and deletes.
#include "LinkFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

struct Accept
{
    int32_t state;
    const char* line;
    int32_t next;
};

TEST_F(LinkFixture, EachWaitingStateTakesOnlyItsReply)
{
    const Accept cases[] = {
        {IdentReadWait, "IDENTREAD 0A1B2", IdentReadDone},
        {IdentReadWait, " IDENTREAD 0A1B2", IdentReadWait},
        {IdentProgWait, "xx IDENTPROG OK", IdentProgDone},
        {UnassignClearWait, "UNASSIGN CLEAR", UnassignClearDone},
        {UnassignAllWait, "UNASSIGN ALL", UnassignAllDone},
        {UnassignAllWait, "UNASSIGN CLEAR", UnassignAllWait},
        {AssignWait, "ASSIGN RCCS", Assigning},
        {PopulateClearWait, "POPULATE CLEAR", PopulateClearDone},
        {DebugOffWait, "> DEBUGOFF ALL", DebugOffDone},
        {StatusMonitorOffWait, "DS MON STOP", StatusMonitorOffDone},
        {StatusMonitorOffWait, "DS MON DIS", StatusMonitorOffWait},
        {SoftwareVersionWait, "hub V3.10", SoftwareVersionWait},
        {LoopProtocolWait, "LP ZP3", LoopProtocolDone},
        {LoopCountWait, "QUERY LOOPCOUNT 4", LoopCountDone},
        {SysConfigWait, "GET SYSCONFIG", SysConfigWait},
        {IdentReadDone, "IDENTREAD 0A1B2", IdentReadDone},
        {CommsFailed, "IDENTREAD 0A1B2", CommsFailed},
    };
    for (const Accept& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " in state " + std::to_string(c.state));
        CommsState = c.state;
        bench.Start(600);
        link.ProcessReply(c.line);
        EXPECT_EQ(CommsState, c.next);
        EXPECT_EQ(LastRxLine, c.line);
        if (c.next != c.state && c.next != Assigning) {
            EXPECT_FALSE(bench.Enabled());
        }
    }
}

TEST_F(LinkFixture, SoftwareVersionReplySetsTheLoopInterfaceFlag)
{
    IsLoopInterface = true;
    CommsState = SoftwareVersionWait;
    link.ProcessReply("RCC V3.00");
    EXPECT_FALSE(IsLoopInterface);
    for (const char* word : {"WZM", "ALID", "GELI", "ZWZM", "ZRLM"}) {
        IsLoopInterface = false;
        CommsState = SoftwareVersionWait;
        link.ProcessReply(std::string(word) + " V1.2");
        EXPECT_TRUE(IsLoopInterface) << word;
        EXPECT_EQ(CommsState, SoftwareVersionDone);
    }
}

TEST_F(LinkFixture, ConfigurationIsCollectedUpToEndOfData)
{
    unit.SetConfiguration({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                           "  RELATION ADD 5 0 1", "RELATION ADD 6 0 1   ", "XPROTRADIOCHANNELS 6 7 3",
                           "JUNK LINE", "populate x"});
    unit.SetLineGapMs(100);
    bench.ProgressMaximum = 100;
    link.ProgressStep = 1;
    EXPECT_EQ(link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs), SysConfigCollect);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(CommsState, SysConfigDone);
    const std::vector<std::string> expected = {"", "POPULATE LOOP1 NODE 12 0 01A2B 0",
                                               "YPROTRADIOCHANNELS 2 33", "RELATION ADD 6 0 1",
                                               "XPROTRADIOCHANNELS 6 7 3"};
    EXPECT_EQ(ReplyLines, expected);
    EXPECT_EQ(ReplyLineCount, 4);
    EXPECT_EQ(bench.Progress, 9) << "the header and every later line advance the bar";
}

TEST_F(LinkFixture, EndOfDataAnywhereEndsTheConfigurationButMustBeginAStatusLine)
{
    CommsState = SysConfigCollect;
    link.ProcessReply("xx END OF DATA");
    EXPECT_EQ(CommsState, SysConfigDone);

    unit.SetConfiguration({"POPULATE LOOP2 CALLPOINT 17 3 1A2B3 0"});
    EXPECT_EQ(link.Transact(AllStatusCollect, "GET DS ALL", kReplyTimeoutMs), AllStatusDone);
    EXPECT_EQ(ReplyLines, (std::vector<std::string>{"", "GET DS ALL", "DS LOOP2 17 UCF"}));
    EXPECT_EQ(bench.Box.back(), "Device Status Successfully Obtained");

    CommsState = AllStatusCollect;
    link.ProcessReply("xx END OF DATA");
    EXPECT_EQ(CommsState, AllStatusCollect);
    EXPECT_EQ(ReplyLines.back(), "xx END OF DATA");
}

TEST_F(LinkFixture, ACollectionCutShortFailsAfterItsLineTimeout)
{
    unit.SetConfiguration(
        {"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33", "RELATION ADD 5 0 1"});
    unit.SetFailure(FailureMode::DropMidReply, "GET SYSCONFIG", 1);
    link.BeginBusy();
    EXPECT_EQ(link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs), SysConfigCollect);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_EQ(bench.NowMs(), 5000);
    EXPECT_FALSE(link.Busy());
    EXPECT_TRUE(bench.Box.empty()) << "collections fail without a message";

    unit.SetFailure(FailureMode::DropMidReply, "GET DS ALL", 1);
    const int64_t start = bench.NowMs();
    EXPECT_EQ(link.Transact(AllStatusCollect, "GET DS ALL", kReplyTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.NowMs() - start, 1000);
}

TEST_F(LinkFixture, ACollectionThatNeverEndsIsCapped)
{
    link.BeginBusy();
    CommsState = AllStatusCollect;
    for (int i = 0; i < kMaxReplyLines + 10 && CommsState == AllStatusCollect; ++i)
        link.Comm_OnComm("DS LOOP1 " + std::to_string(i % 120) + " OK\r");
    EXPECT_EQ(CommsState, CommsFailed);
    EXPECT_EQ(ReplyLineCount, kMaxReplyLines);
    EXPECT_EQ(ReplyLines.size(), static_cast<size_t>(kMaxReplyLines) + 1);
    EXPECT_FALSE(link.Busy());
}

class ProgramListTest : public LinkFixture
{
protected:
    // Puts the commands in the list and sends the first, as the programming
    // sequence does, then waits for the walk to end.
    int32_t Walk(const std::vector<std::string>& commands, const std::vector<std::string>& captions)
    {
        ReplyLines = {""};
        CommandCaptions = {""};
        for (size_t i = 0; i < commands.size(); ++i) {
            ReplyLines.push_back(commands[i]);
            CommandCaptions.push_back(i < captions.size() ? captions[i] : "");
        }
        CommandCount = static_cast<int16_t>(commands.size());
        ReplyLineCount = 1;
        link.BeginBusy();
        return link.Transact(ProgramWait, commands[0], commands[0] == "POPULATE CLEAR" ? 5000 : 600);
    }
};

TEST_F(ProgramListTest, EveryCommandIsSentAfterTheEchoOfThePreviousOne)
{
    bench.ProgressMaximum = 10;
    link.ProgressStep = 2;
    unit.SetConfiguration({"RELATION ADD 5 0 1"});
    const std::vector<std::string> list = {"POPULATE CLEAR", "POPULATE LOOP1 NODE 12 0 01A2B 0",
                                           "YPROTRADIOCHANNELS 2 33", "RELATION ADD 5 0 1"};
    EXPECT_EQ(Walk(list, {"Clearing", "Setting Radio Hub Details", "", "Setting Relationships"}),
              ProgramDone);
    EXPECT_EQ(unit.CommandLines(), list);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"Setting Radio Hub Details", "Setting Relationships",
                                                   "Programming Completed Successfully"}));
    EXPECT_EQ(bench.Progress, 6);
    EXPECT_TRUE(bench.ProgressHidden);
    EXPECT_FALSE(link.Busy());
    EXPECT_EQ(unit.Configuration(),
              (std::vector<std::string>{"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                                        "RELATION ADD 5 0 1"}));
}

TEST_F(ProgramListTest, RejectedCommandsAbortTheWalk)
{
    unit.AddCommand("YPROTRADIOCHANNELS",
                    [](const std::string&) { return std::vector<std::string>{"ERROR 7 bad channel"}; });
    EXPECT_EQ(Walk({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 99", "RELATION ADD 5 0 1"}, {}),
              ProgramAborted);
    EXPECT_EQ(unit.CommandLines().size(), 2u);
    ASSERT_EQ(bench.Messages.size(), 1u);
    EXPECT_EQ(bench.Messages[0].Text, "Programming Aborted Due to Command Error");
    EXPECT_EQ(bench.Messages[0].Style, 16);
    EXPECT_FALSE(link.Busy());

    EXPECT_EQ(Walk({"POPULATE LOOP9 NODE"}, {}), ProgramAborted);
    EXPECT_EQ(bench.Messages.back().Text, "Programming Aborted Due to Failed Populate Command");
}

TEST_F(ProgramListTest, EchoesAndExistingRelationsAcknowledge)
{
    unit.AddCommand("RELATION ADD 7", [](const std::string&) {
        return std::vector<std::string>{"node relation already defined"};
    });
    unit.AddCommand("XPROTRADIOCHANNELS",
                    [](const std::string& c) { return std::vector<std::string>{c + " ERROR ignored"}; });
    EXPECT_EQ(Walk({"RELATION ADD 7 0 1", "XPROTRADIOCHANNELS 6 7 3"}, {}), ProgramDone);
}

TEST_F(ProgramListTest, AnUnexpectedLineIsLoggedAndTheTimeoutResends)
{
    unit.AddNoiseBeforeNextAnswer("RADIO BUSY");
    unit.SetFailure(FailureMode::Silent, "", 2);
    EXPECT_EQ(Walk({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33"}, {}), ProgramDone);
    EXPECT_EQ(Count(bench.Box, "...Comms Error, Retrying"), 1);
    EXPECT_EQ(Count(bench.Box, "...Retry"), 2);
    ASSERT_GE(bench.Writes.size(), 5u);
    EXPECT_EQ(bench.Writes[1].AtMs, 600);
    EXPECT_EQ(bench.Writes[3].AtMs, 5600) << "resends of the first command wait 5000 ms";
}

TEST_F(ProgramListTest, UnknownCommandEndsTheWalk)
{
    unit.SetFailure(FailureMode::UnknownCommand, "YPROT");
    EXPECT_EQ(Walk({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33", "RELATION ADD 5 0 1"}, {}),
              UnknownCommand);
    EXPECT_EQ(unit.CommandLines().size(), 2u);
}

TEST_F(LinkFixture, AssignmentResultsSetTheFlagsOfTheNamedUnits)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/assign";
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
    unit.SetConfiguration({"POPULATE LOOP1 NODE 40 3 0F00D 0", "POPULATE LOOP1 CALLPOINT 41 3 1A2B3 4",
                           "POPULATE LOOP1 OPTICAL 42 3 FFFFF 5"});
    unit.SetAssignFailures({"1A2B3"});
    unit.SetLineGapMs(1000);
    bench.Owners = {{"0F00D", 300}, {"1A2B3", 305}};
    bench.AssignedFlags[305] = true;
    EXPECT_EQ(link.Transact(AssignWait, "ASSIGN ALL", kReplyTimeoutMs), Assigning);
    link.WaitWhileState({Assigning});
    EXPECT_EQ(CommsState, AssignDone);
    EXPECT_EQ(bench.AssignedFlags, (std::map<int, bool>{{300, true}, {305, false}}));
    EXPECT_EQ(bench.Box.back(), "Assign Process Completed");
    std::ifstream in(LogFolder + "/ProgLog.txt", std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("<- ASSIGN OK 0F00D\r\nAssigned 3:0\r\n"), std::string::npos);
    EXPECT_NE(log.find("<- ASSIGN FAIL 1A2B3\r\nFailed 3:5\r\n"), std::string::npos);
    EXPECT_EQ(log.find("FFFFF\r\nAssigned"), std::string::npos);
}

TEST_F(LinkFixture, AssignmentSilenceFailsAfterFortySeconds)
{
    CommsState = Assigning;
    bench.Start(kAssignLineTimeoutMs);
    link.Comm_OnComm("ASSIGN OK 0F00D\r");
    bench.RunFor(39999);
    EXPECT_EQ(CommsState, Assigning);
    bench.RunFor(1);
    EXPECT_EQ(CommsState, CommsFailed);
}

struct DeleteCase
{
    int32_t state;
    const char* command;
    const char* reply;
    int32_t next;
    const char* logged; // "" none
};

TEST_F(LinkFixture, DeleteRepliesAreJudged)
{
    const DeleteCase cases[] = {
        {DeleteWait, "FDELETE DEVICE 1A2B3", "FDELETE DEVICE 1A2B3", DeleteDone,
         "Device Successfully Deleted"},
        {DeleteWait, "FDELETE DEVICE 1A2B3", "DEVICE DELETED", DeleteDone, "Device Successfully Deleted"},
        {DeleteWait, "FDELETE DEVICE 0F00D", "DELETE NODE 3", DeleteDone, "RCC Successfully Deleted"},
        {DeleteWait, "FDELETE DEVICE 1A2B3", "DEVICE NO RESPONSE", DeleteDone,
         "Device Deleted, but did not Respond "},
        {DeleteWait, "FDELETE DEVICE 1A2B3", "DEVICE DELETE TIMEOUT", DeleteDone,
         "Device Deleted, but RCC did not Respond "},
        {DeleteWait, "FDELETE DEVICE 1A2B3", "DEVICE NOT FOUND", DeleteFailed,
         "Unable to Delete Device : DEVICE NOT FOUND"},
        {RelationDeleteWait, "RELATION DEL 5 3", "RELATION DEL 5 3", DeleteDone, ""},
        {RelationDeleteWait, "RELATION DEL 5 3", "DELETE RELATION 5", DeleteDone, ""},
        {RelationDeleteWait, "RELATION DEL 5 3", "NO SUCH RELATION", DeleteFailed, "NO SUCH RELATION"},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.reply);
        bench.Box.clear();
        CommsState = c.state;
        CommandText = c.command;
        bench.Start(64000);
        link.Comm_OnComm(std::string(c.reply) + "\r");
        EXPECT_EQ(CommsState, c.next);
        EXPECT_FALSE(bench.Enabled());
        EXPECT_EQ(bench.Box,
                  *c.logged == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.logged});
    }
}

TEST_F(LinkFixture, DeleteDotsPutABlankLineInTheFileForEveryLine)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/dots";
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
    bench.DeleteDots = true;
    CommsState = DeleteWait;
    CommandText = "FDELETE DEVICE 1A2B3";
    link.Comm_OnComm("FDELETE DEVICE 1A2B3\r");
    std::ifstream in(LogFolder + "/ProgLog.txt", std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("\r\n \r\n<- FDELETE DEVICE 1A2B3\r\nDevice Successfully Deleted\r\n"),
              std::string::npos);
}

} // namespace
