// The reply dispatcher: accepted replies per state, the collections, the
// programming list walk, assignment results and deletes.
#include "LinkFixture.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubDeletes.h"
#include "hublink/core/UnitQueries.h"
#include "support/LinkTestHelpers.h"
#include "support/ListAt.h"

#include <functional>
#include <tuple>

namespace {

using Lines = std::vector<std::string>;

TEST_F(LinkFixture, EachWaitingStateTakesOnlyItsReply)
{
    const std::tuple<CommsStateCode, const char*, CommsStateCode> cases[] = {
        {IdentReadWait, "IDENTREAD 0A1B2", IdentReadDone},
        {IdentReadWait, " IDENTREAD 0A1B2", IdentReadWait},
        {IdentProgWait, "xx IDENTPROG OK", IdentProgDone},
        {UnassignAllWait, "UNASSIGN ALL", UnassignAllDone},
        {UnassignAllWait, "UNASSIGN CLEAR", UnassignAllWait},
        {AssignWait, "ASSIGN RCCS", Assigning},
        {DebugOffWait, "> DEBUGOFF ALL", DebugOffDone},
        {StatusMonitorOffWait, "DS MON STOP", StatusMonitorOffDone},
        {StatusMonitorOffWait, "DS MON DIS", StatusMonitorOffWait},
        {SoftwareVersionWait, "hub V3.10", SoftwareVersionWait},
        {LoopProtocolWait, "LP ZP3", LoopProtocolDone},
        {LoopProtocolWait, "XLP XP95", LoopProtocolWait},
        {SysConfigWait, "GET SYSCONFIG", SysConfigWait},
        {CommsFailed, "IDENTREAD 0A1B2", CommsFailed},
    };
    for (const auto& [state, line, next] : cases) {
        SCOPED_TRACE(std::string(line) + " in state " + std::to_string(static_cast<int32_t>(state)));
        link.Session().CommsState = state;
        bench.Start(600);
        link.ProcessReply(line);
        EXPECT_EQ(link.Session().CommsState, next);
        EXPECT_EQ(link.Session().LastRxLine, line);
        EXPECT_EQ(bench.Enabled(), next == state || next == Assigning);
    }
}

TEST_F(LinkFixture, ConfigurationIsCollectedUpToEndOfData)
{
    unit.SetConfiguration({"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                           "  RELATION ADD 5 0 1", "RELATION ADD 6 0 1   ", "XPROTRADIOCHANNELS 6 7 3",
                           "JUNK LINE", "populate x"});
    unit.SetLineGapMs(100);
    link.ProgressStep = 1;
    EXPECT_EQ(link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs), SysConfigCollect);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(link.Session().CommsState, SysConfigDone);
    EXPECT_EQ(link.Session().ReplyLines,
              (std::vector<std::string>{"", "POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33",
                                        "XPROTRADIOCHANNELS 6 7 3", "RELATION ADD 6 0 1"}));
    EXPECT_EQ(link.Session().ReplyLineCount, 4);
    EXPECT_EQ(bench.Progress, 9) << "the header and every later line advance the bar";

    link.Session().CommsState = SysConfigCollect;
    link.ProcessReply("xx END OF DATA");
    EXPECT_EQ(link.Session().CommsState, SysConfigDone) << "anywhere in a configuration line";
    link.Session().CommsState = AllStatusCollect;
    link.ProcessReply("xx END OF DATA");
    EXPECT_EQ(link.Session().CommsState, AllStatusCollect) << "only at the start of a status line";
    EXPECT_EQ(link.Session().ReplyLines.back(), "xx END OF DATA");
}

TEST_F(LinkFixture, ACollectionCutShortFailsAfterItsLineTimeout)
{
    unit.SetConfiguration(
        {"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33", "RELATION ADD 5 0 1"});
    unit.SetFailure(FailureMode::DropMidReply, "GET SYSCONFIG", 1);
    link.BeginBusy();
    EXPECT_EQ(link.Transact(SysConfigWait, "GET SYSCONFIG", kReplyTimeoutMs), SysConfigCollect);
    link.WaitWhileState({SysConfigCollect});
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(bench.NowMs(), 5000);
    EXPECT_TRUE(link.Busy()) << "the download's caller reads it again within its busy state";
    EXPECT_TRUE(link.CutShort());
    EXPECT_TRUE(bench.Box.empty()) << "collections fail without a message";

    // The download cut short had its answer: nothing of it is owed any more,
    // so the next download takes its own header at the first send.
    unit.ClearRecord();
    EXPECT_EQ(DownloadSysConfig(link), SysConfigDone);
    EXPECT_EQ(unit.CommandLines(), std::vector<std::string>{"GET SYSCONFIG"});

    unit.SetFailure(FailureMode::DropMidReply, "GET DS", 1);
    const int64_t start = bench.NowMs();
    EXPECT_EQ(link.Transact(AllStatusCollect, "GET DS ALL", kReplyTimeoutMs), CommsFailed);
    EXPECT_EQ(bench.NowMs() - start, 1000);
}

// A download is trusted alone only when every line between its header and
// its end is a statement whole in its form. Otherwise it is read again, and
// taken once a read comes clean or two reads hold the same statements line
// for line; after three reads that give neither, it fails and says so.
TEST_F(LinkFixture, ADownloadIsTakenCleanOrOnceTwoReadsAgree)
{
    const Lines statements = {"POPULATE LOOP1 NODE 12 0 01A2B 0", "POPULATE LOOP1 NODE 13 1 0F00D 0",
                              "POPULATE LOOP1 MULTISENSOR 13 1 0C004 3", "RELATION ADD 1 0 1",
                              "YPROTRADIOCHANNELS 2 33"};
    // The whole download (its header line 0, the statements, its end) with
    // line i replaced by `line`, or `line` inserted before it.
    const auto download = [&statements](int i = -1, const std::string& line = "", bool insert = false) {
        Lines lines = statements;
        lines.insert(lines.begin(), "EXPORT SYSCONFIG");
        lines.push_back("END OF DATA");
        if (insert)
            lines.insert(lines.begin() + i, line);
        else if (i >= 0)
            lines.at(static_cast<size_t>(i)) = line;
        return lines;
    };
    const std::string garbledDevice = "POPULATE LOOP1 MULTI#ENSOR 13 1 0C004 3";
    struct Case
    {
        const char* name;
        std::vector<Lines> reads; // the hub's answer to each request in turn (the last one again after)
        CommsStateCode end;
        size_t requests;
        Lines taken; // the statements collected, when the download is taken
    };
    Lines withGarbled = statements;
    withGarbled[2] = garbledDevice;
    Lines garbledRelation = statements;
    garbledRelation.erase(garbledRelation.begin() + 3);
    garbledRelation.push_back("RE#ATION ADD 1 0 1");
    const Case cases[] = {
        {"clean", {download()}, SysConfigDone, 1, statements},
        {"a statement's first letters garbled", {download(3, "P#PULATE LOOP1 MULTISENSOR 13 1 0C004 3"), download()},
         SysConfigDone, 2, statements},
        {"a relation's first letters garbled", {download(4, "RE#ATION ADD 1 0 1"), download()}, SysConfigDone, 2,
         statements},
        {"an address garbled", {download(3, "POPULATE LOOP1 MULTISENSOR 1#3 1 0C004 3"), download()},
         SysConfigDone, 2, statements},
        {"a character dropped from an ident", {download(3, "POPULATE LOOP1 MULTISENSOR 13 1 0C04 3"), download()},
         SysConfigDone, 2, statements},
        {"a refusal no send can take", {download(3, "Unknown Command", true), download()}, SysConfigDone, 2,
         statements},
        {"the end garbled", {download(6, "END OF D#TA"), download()}, SysConfigDone, 2, statements},
        {"the last statement run into the end",
         {[&] {
              Lines l = download();
              l[5] += l[6];
              l.pop_back();
              return l;
          }(),
          download()},
         SysConfigDone, 2, statements},
        {"a statement run into the header",
         {[&] {
              Lines l = download();
              l[0] += l[1];
              l.erase(l.begin() + 1);
              return l;
          }(),
          download()},
         SysConfigDone, 2, statements},
        {"the hub's status line in every read", {download(2, "DS LOOP1 13 SSG", true)}, SysConfigDone, 2, statements},
        {"a line the hub holds garbled", {download(3, garbledDevice)}, SysConfigDone, 2, withGarbled},
        // Garbled from its first letters alike in both: the hub's own, for
        // the parse to report, not a line dropped.
        {"a line the hub holds garbled from its first letters", {download(4, "RE#ATION ADD 1 0 1")}, SysConfigDone,
         2, garbledRelation},
        {"a line garbled from its first letters otherwise in two reads",
         {download(4, "RE#ATION ADD 1 0 1"), download(4, "RE$ATION ADD 1 0 1"), download()}, SysConfigDone, 3,
         statements},
        {"garbled otherwise at every read",
         {download(1, "POPULATE LOOP1 NODE 1# 0 01A2B 0"), download(2, "POPULATE LOOP1 NODE 13 1 0F0#D 0"),
          download(4, "RELATION ADD 1 0 #")},
         CommsFailed, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedUnit hub;
        VirtualBench hubBench{hub};
        hub.AddCommand("GET SYSCONFIG", [&c, read = size_t{0}](const std::string&) mutable {
            return c.reads[std::min(read++, c.reads.size() - 1)];
        });
        CommsLink& hubLink = hubBench.Link();
        hubLink.BeginBusy();
        EXPECT_EQ(DownloadSysConfig(hubLink), c.end);
        EXPECT_EQ(static_cast<size_t>(std::ranges::count(hub.CommandLines(), "GET SYSCONFIG")), c.requests);
        const LinkSession& session = hubLink.Session();
        if (c.end == SysConfigDone) {
            EXPECT_EQ(Lines(session.ReplyLines.begin() + 1, session.ReplyLines.end()), c.taken);
        }
        EXPECT_EQ(static_cast<size_t>(std::ranges::count(
                      hubBench.Box, "The Configuration Received was Incomplete or Garbled, Reading it Again")),
                  std::min<size_t>(c.requests, 3) - 1);
        EXPECT_EQ(std::ranges::count(hubBench.Box,
                                     "The Configuration Received was Incomplete or Garbled at Every Read"),
                  c.end == CommsFailed ? 1 : 0);
        EXPECT_TRUE(hubLink.Busy());
    }

    // A long download: each statement gives the next one its five seconds.
    unit.SetConfiguration(Lines(8, "RELATION ADD 1 0 1"));
    unit.SetLineGapMs(2000);
    EXPECT_EQ(DownloadSysConfig(link, 5000), SysConfigDone);
    EXPECT_EQ(bench.NowMs(), 18000);
    EXPECT_EQ(std::ranges::count(unit.CommandLines(), "GET SYSCONFIG"), 1);
}

TEST_F(LinkFixture, ACollectionThatNeverEndsIsCapped)
{
    link.BeginBusy();
    link.Session().CommsState = AllStatusCollect;
    for (int i = 0; i < kMaxReplyLines + 10 && link.Session().CommsState == AllStatusCollect; ++i)
        link.Comm_OnComm("DS LOOP1 " + std::to_string(i % 120) + " OK\r");
    EXPECT_EQ(link.Session().CommsState, CommsFailed);
    EXPECT_EQ(link.Session().ReplyLineCount, kMaxReplyLines);
    EXPECT_FALSE(link.Busy());
}

TEST_F(LinkFixture, EveryListCommandIsSentAfterTheEchoOfThePreviousOne)
{
    bench.ProgressMaximum = 20;
    link.ProgressStep = 2;
    unit.SetConfiguration({"RELATION ADD 5 0 1"});
    unit.AddCommand("RELATION ADD 7",
                    [](const std::string&) { return SimulatedUnit::Lines{"node relation already defined"}; });
    unit.AddCommand("XPROTRADIOCHANNELS",
                    [](const std::string& c) { return SimulatedUnit::Lines{c + " ERROR ignored"}; });
    const std::vector<std::string> list = {"POPULATE CLEAR",          "POPULATE LOOP1 NODE 12 0 01A2B 0",
                                           "YPROTRADIOCHANNELS 2 33", "RELATION ADD 5 0 1",
                                           "RELATION ADD 7 0 1",      "XPROTRADIOCHANNELS 6 7 3"};
    EXPECT_EQ(SendProgramList(link, list, {"Clearing", "Setting Radio Hub Details", "", "Setting Relationships"}),
              ProgramDone);
    EXPECT_EQ(unit.CommandLines(), list);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"Setting Radio Hub Details", "Setting Relationships",
                                                   "Programming Completed Successfully"}));
    EXPECT_EQ(bench.Progress, 10);
}

TEST_F(LinkFixture, AnUnexpectedLineInAListIsLoggedAndTheTimeoutResends)
{
    unit.AddNoiseBeforeNextAnswer("RADIO BUSY");
    unit.SetFailure(FailureMode::Silent, "", 2);
    EXPECT_EQ(SendProgramList(link, {"POPULATE LOOP1 NODE 12 0 01A2B 0", "YPROTRADIOCHANNELS 2 33"}), ProgramDone);
    EXPECT_EQ(std::ranges::count(bench.Box, "...Comms Error, Retrying"), 1);
    EXPECT_EQ(std::ranges::count(bench.Box, "...Retry"), 2);
    ASSERT_GE(bench.Writes.size(), 5u);
    EXPECT_EQ(bench.Writes[1].AtMs, 600);
    EXPECT_EQ(bench.Writes[3].AtMs, 5600) << "resends of the first command wait 5000 ms";
}

// The hub answers each relation past the reply time-out and refuses the
// last one: each late answer meets a resend of its command, and the answer
// owed to the resend comes while the next command waits. No answer may
// count for a command it does not answer, and a late line changes nothing
// after the walk has ended.
TEST_F(LinkFixture, AnAnswerCountsOnlyForTheSendItAnswers)
{
    struct Case
    {
        int lateMs;
        bool relationsFirst; // the first command's resends wait 5000 ms
        bool strayLine;      // the answer owed to a resend, sent by the test itself
        bool held;           // the hub holds RELATION ADD 2 0 1: it answers that it has it
        CommsStateCode end;
    };
    const Case cases[] = {
        // The refusal comes after the resend: the hub may have taken the
        // first send and refused the duplicate. The list goes on, and only
        // the hub's state can tell.
        {700, false, false, false, ProgramDone}, {900, false, false, true, ProgramDone},
        {1200, false, false, false, ProgramDone}, {2000, true, false, false, CommsFailed},
        // After a lost answer, a refusal may be owed to a send the link lost
        // track of: open too.
        {0, false, true, false, ProgramDone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lateMs) + " ms late" + (c.relationsFirst ? ", relations first" : "") +
                     (c.strayLine ? ", stray line" : "") + (c.held ? ", relation held" : ""));
        SimulatedUnit hub;
        VirtualBench hubBench{hub};
        const auto logs = LogIntoFreshFolder("late");
        if (c.held)
            hub.SetConfiguration({"RELATION ADD 2 0 1"});
        hub.SetAnswerDelayMs("RELATION ADD", c.lateMs);
        hub.Refuse("RELATION ADD 3 1 2");
        if (c.strayLine) {
            // The first send of RELATION ADD 2 0 1 is lost; its resend is
            // answered, and an answer still owed to a send of it comes at
            // 700 ms, while RELATION ADD 3 1 2 (sent at 600 ms) waits.
            hub.SetFailure(FailureMode::Silent, "RELATION ADD 2 0 1", 1);
            hub.SetAnswerDelayMs("RELATION ADD 3 1 2", 300);
            hubBench.UnitSends("Node Relation already defined\r", 700);
        }
        std::vector<std::string> list = {"RELATION ADD 2 0 1", "RELATION ADD 3 1 2"};
        if (!c.relationsFirst)
            list.insert(list.begin(), "YPROTRADIOCHANNELS 2 33");
        EXPECT_EQ(SendProgramList(hubBench.Link(), list).Value(), static_cast<int32_t>(c.end));
        hubBench.RunFor(10000); // every late answer has come
        EXPECT_EQ(hubBench.Link().Session().CommsState.Value(), static_cast<int32_t>(c.end))
            << "a late line changed the end";
        EXPECT_EQ(hubBench.Messages.size(), 0u) << "the walk was told complete";
        EXPECT_TRUE(hubBench.Link().ExchangesIrregular());
        EXPECT_EQ(LoggedReplies(), LinesSent(hubBench.Delivered)) << "the log holds the lines as they came";
    }
}

// The first send of a command goes unanswered, its resend is answered, and
// the answer to the first send comes at last while the next operation
// waits: it answers that first send, and the operation in flight ends on
// its own answer, sent once.
TEST_F(LinkFixture, AnAnswerOwedToAnEarlierCommandIsNotTheNextOnesAnswer)
{
    struct Case
    {
        const char* earlier; // the last command of a programming list, or a query
        const char* owed;    // the answer its first send gets at last
        const char* next;
        std::function<bool(CommsLink&)> ownOutcome;
    };
    const Case cases[] = {
        {"YPROTRADIOCHANNELS 2 33", "Unknown Command", "GET SYSCONFIG",
         [](CommsLink& l) { return DownloadSysConfig(l) == SysConfigDone; }},
        {"RELATION ADD 2 0 1", "Node Relation already defined", "IDENTREAD",
         [](CommsLink& l) { return ReadIdent(l) == "01A2B"; }},
        // The hub does not hold the unit: the delete must not be told done.
        {"RELATION ADD 2 0 1", "Node Relation already defined", "FDELETE DEVICE",
         [](CommsLink& l) { return !DeleteDevices(l, "1A2B3") && l.Session().CommsState == Unsettled; }},
        {"QUERY LOOPCOUNT", "Unknown Command", "GET LP", [](CommsLink& l) { return ReadLoopProtocol(l) == 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.owed) + " owed to " + c.earlier + ", then " + c.next);
        SimulatedUnit hub;
        VirtualBench hubBench{hub};
        CommsLink& hubLink = hubBench.Link();
        hub.SetFailure(FailureMode::Silent, c.earlier, 1);
        if (std::string(c.earlier) == "QUERY LOOPCOUNT")
            ASSERT_EQ(ReadLoopCount(hubLink), 2);
        else
            ASSERT_EQ(SendProgramList(hubLink, {"POPULATE LOOP1 NODE 12 0 01A2B 0", c.earlier}), ProgramDone);
        ASSERT_EQ(testsupport::Last(hub.CommandLines()), c.earlier) << "the earlier command was resent";
        hub.ClearRecord();
        hub.SetAnswerDelayMs(c.next, 300);
        hubBench.UnitSends(std::string(c.owed) + "\r", 100);
        EXPECT_TRUE(c.ownOutcome(hubLink)) << "ended " << hubLink.Session().CommsState.Value() << " on "
                                            << hubLink.Session().LastRxLine;
        EXPECT_EQ(hub.CommandLines().size(), 1u) << testsupport::Last(hub.CommandLines());
    }
}

// The last command of a list goes unanswered until the list has failed;
// its echo and the answer owed to a resend come at last while the next
// command, answered late itself, has been resent. Neither is an answer the
// next command can take: the echo of another command, and a relation held
// by the hub, answer no query and no delete.
TEST_F(LinkFixture, TheLateLinesOfAFailedCommandAnswerNothingOfTheNextOne)
{
    struct Case
    {
        const char* next;
        int answerMs;    // the next command's answer comes this late,
        int lateLinesMs; // the failed command's lines after its first time-out
        std::function<bool(CommsLink&)> ownOutcome;
    };
    const Case cases[] = {
        {"IDENTREAD", 700, 650, [](CommsLink& l) { return ReadIdent(l) == "01A2B"; }},
        {"GET SWV", 700, 650, [](CommsLink& l) { return ReadUnitType(l, -1) == 4; }},
        {"GET SYSCONFIG", 700, 650, [](CommsLink& l) { return DownloadSysConfig(l) == SysConfigDone; }},
        // The hub holds the unit: the delete is done.
        {"FDELETE DEVICE", 64300, 64200, [](CommsLink& l) { return DeleteDevices(l, "1A2B3"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.next);
        SimulatedUnit hub;
        VirtualBench hubBench{hub};
        CommsLink& hubLink = hubBench.Link();
        hub.SetConfiguration({"POPULATE LOOP1 NODE 10 1 10001 0", "POPULATE LOOP1 CALLPOINT 20 1 1A2B3 0"});
        hub.SetFailure(FailureMode::Silent, "RELATION ADD 2 0 1");
        ASSERT_EQ(SendProgramList(hubLink, {"POPULATE LOOP1 NODE 12 0 01A2B 0", "RELATION ADD 2 0 1"}), CommsFailed);
        hub.ClearFailure();
        hub.ClearRecord();
        hub.SetAnswerDelayMs(c.next, c.answerMs);
        hubBench.UnitSends("RELATION ADD 2 0 1\rNode Relation already defined\r", c.lateLinesMs);
        EXPECT_TRUE(c.ownOutcome(hubLink)) << "ended " << hubLink.Session().CommsState.Value() << " on "
                                            << hubLink.Session().LastRxLine;
        EXPECT_EQ(hub.CommandLines().size(), 2u) << "sent and resent";
    }
}

TEST_F(LinkFixture, AssignmentResultsSetTheFlagsOfTheNamedUnits)
{
    unit.SetConfiguration({"POPULATE LOOP1 NODE 40 3 0F00D 0", "POPULATE LOOP1 CALLPOINT 41 3 1A2B3 4",
                           "POPULATE LOOP1 OPTICAL 42 3 FFFFF 5"});
    unit.SetAssignFailures({"1A2B3"});
    unit.SetLineGapMs(1000);
    model::clsNode& rcc = model::Nodes[3];
    rcc.SetInUse(true), rcc.SetNodeIdent("0F00D"), rcc.SetDeviceIdent(5, "1A2B3"), rcc.SetDeviceType(5, 2);
    rcc.SetDeviceAssigned(5, true);
    EXPECT_EQ(link.Transact(AssignWait, "ASSIGN ALL", kReplyTimeoutMs), Assigning);
    link.WaitWhileState({Assigning});
    EXPECT_EQ(link.Session().CommsState, AssignDone);
    EXPECT_TRUE(rcc.Assigned() && !rcc.DeviceAssigned(5));
    EXPECT_EQ(testsupport::Last(bench.Box), "Assign Process Completed");

    link.Session().CommsState = Assigning;
    rcc.SetAssigned(false);
    link.Comm_OnComm("ASSIGN OK 0F00DASSIGN FINISH\r");
    EXPECT_FALSE(rcc.Assigned()) << "a result run into another line names no unit";
    bench.Start(kAssignLineTimeoutMs);
    link.Comm_OnComm("ASSIGN OK 0F00D\r");
    EXPECT_TRUE(rcc.Assigned());
    bench.RunFor(39999);
    EXPECT_EQ(link.Session().CommsState, Assigning);
    bench.RunFor(1);
    EXPECT_EQ(link.Session().CommsState, CommsFailed) << "silence fails after forty seconds";
}

TEST_F(LinkFixture, AssignmentResultsAreLoggedWithTheUnitTheyName)
{
    const auto logs = LogIntoFreshFolder("assign");
    unit.SetConfiguration({"POPULATE LOOP1 NODE 40 3 0F00D 0", "POPULATE LOOP1 CALLPOINT 41 3 1A2B3 4"});
    unit.SetAssignFailures({"1A2B3"});
    model::clsNode& rcc = model::Nodes[3];
    rcc.SetInUse(true), rcc.SetNodeIdent("0F00D"), rcc.SetDeviceIdent(5, "1A2B3"), rcc.SetDeviceType(5, 2);
    EXPECT_EQ(link.Transact(AssignWait, "ASSIGN ALL", kReplyTimeoutMs), Assigning);
    link.WaitWhileState({Assigning});
    const std::string log = ProgLogText();
    EXPECT_NE(log.find("<- ASSIGN OK 0F00D\r\nAssigned 3:0\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("<- ASSIGN FAIL 1A2B3\r\nFailed 3:5\r\n"), std::string::npos) << log;
}

TEST_F(LinkFixture, DeleteRepliesAreJudged)
{
    const char *device = "FDELETE DEVICE 1A2B3", *relation = "RELATION DEL 5 3";
    // command, reply, next state, the line logged (the echoes and a device
    // not found come from the unit in the delete run's tests)
    const std::tuple<const char*, const char*, CommsStateCode, std::string> cases[] = {
        {device, "DEVICE DELETED", DeleteDone, "Device Successfully Deleted"},
        {"FDELETE DEVICE 0F00D", "DELETE NODE 3", DeleteDone, "RCC Successfully Deleted"},
        {device, "DEVICE NO RESPONSE", DeleteDone, "Device Deleted, but did not Respond "},
        {device, "DEVICE DELETE TIMEOUT", DeleteDone, "Device Deleted, but RCC did not Respond "},
        // No verdict: the hub's state settles it unless its own answer
        // follows within a reply time-out.
        // The hub's words are told all the same.
        {relation, "NO SUCH RELATION", RelationDeleteWait, "NO SUCH RELATION"},
        {device, "NODE BUSY", DeleteWait, "Unable to Delete Device : NODE BUSY"},
        {relation, "ERROR Relation already gone", DeleteDone, ""}, // taken as the command's echo
        // A relation the hub holds answers a relation added, and nothing else.
        {relation, "Node Relation already defined", RelationDeleteWait, ""},
        {device, "RELATION ALREADY EXISTS", DeleteWait, ""},
        {"YPROTRADIOCHANNELS 2 33", "Node Relation already defined", ProgramWait, "...Comms Error, Retrying"},
    };
    for (const auto& [command, reply, next, logged] : cases) {
        SCOPED_TRACE(reply);
        bench.Box.clear();
        const std::string_view sent = command;
        const CommsStateCode wait = sent.starts_with("RELATION DEL") ? RelationDeleteWait
                                    : sent.starts_with("FDELETE")    ? DeleteWait
                                                                     : ProgramWait;
        link.Session().CommsState = wait;
        link.Session().CommandText = command;
        bench.Start(64000);
        link.Comm_OnComm(std::string(reply) + "\r");
        EXPECT_EQ(link.Session().CommsState, next);
        EXPECT_EQ(bench.Enabled(), next == wait) << "the time-out runs on while the command waits";
        EXPECT_EQ(bench.Box, logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{logged});
    }

    const auto logs = LogIntoFreshFolder("dots");
    bench.DeleteDots = true;
    link.Session().CommsState = DeleteWait;
    link.Session().CommandText = device;
    link.Comm_OnComm("FDELETE DEVICE 1A2B3\r");
    EXPECT_NE(ProgLogText().find("\r\n \r\n<- FDELETE DEVICE 1A2B3\r\nDevice Successfully Deleted\r\n"),
              std::string::npos)
        << "while the delete dots run, every line puts a blank line in the file";
}

} // namespace
