#include "diagnostics/core/ChannelMonitor.h"

#include "ChannelBench.h"

using namespace diagnostics;
using enum hublink::CommsStateCode;
using enum DiagsStateCode;

namespace {

using Lines = SimulatedUnit::Lines;

// A run on its own bench.
template <typename Run> struct Wired
{
    Wired() { link.Wire(run); }
    ChannelBench link;
    Run run{link};
};

} // namespace

TEST(ChannelReplies, ScanTokensAndProgressText)
{
    ChannelLevels levels{};
    levels[4] = 9;
    // Index 0x22 is no channel, "ABC" no token, the 35th field is past the last.
    std::string line = "SF CS 0110 2233 ABC 2005";
    for (int k = 0; k < 30; ++k)
        line += " 0000";
    ReadScanResult(line + " 0377", levels);
    EXPECT_EQ(levels[0], 0x10);
    EXPECT_EQ(levels[31], 5);
    EXPECT_EQ(levels[4], 9);
    EXPECT_EQ(levels[2], 0);

    EXPECT_EQ(ScanProgressText(299), " Scanning, Please Wait  (00.04.59)");
    EXPECT_EQ(ScanProgressText(15300, ','), " Scanning, Please Wait  (04,15,00)");
}

TEST(ChannelReplies, KeyFilters)
{
    struct Case
    {
        const char* text;
        char key;
        bool duration, channel;
    } cases[] = {{"25", '5', true, false}, {"25", '6', false, false}, {"", '0', true, false},
                 {"3", '3', true, false},  {"3", '2', true, true},    {"4", '0', true, true},
                 {"1", 'a', false, false}, {"255", '\b', true, true}, {"", '7', true, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(AcceptDurationKey(c.text, c.key), c.duration) << c.text << "+" << c.key;
        EXPECT_EQ(AcceptChannelKey(c.text, c.key), c.channel) << c.text << "+" << c.key;
    }
}

TEST(ChannelScan, CountsDownThenReadsTheResult)
{
    Wired<ChannelScan> b;
    ChannelBench& link = b.link;
    ChannelScan& scan = b.run;
    link.unit.AddCommand("SF CS ", Answer({"SF CS START"}));
    link.unit.SetScanLevel(0x2A);
    std::vector<std::string> texts;
    // A second goes by with each tick; the unit says it runs every 10 s,
    // the first time 10 s after its start.
    link.meanwhile = [&] {
        if (scan.CountdownOn() && link.pending.empty()) {
            texts.push_back(ScanProgressText(scan.SecondsLeft()));
            scan.Tick();
            link.Pass(1000);
            if (scan.SecondsLeft() % 10 == 0)
                link.pending.push_back("SF CS RUNNING 7");
            return true;
        }
        if (link.state == Scanning && link.pending.empty()) {
            link.pending.push_back("SF CS STOP");
            return true;
        }
        return false;
    };
    EXPECT_EQ(scan.Run(1), ScanDone);
    EXPECT_EQ(link.sent, (Lines{"SF CS 1", "GET SF CS RESULT"}));
    ASSERT_EQ(texts.size(), 61u); // 60 seconds, then the tick that ends the countdown
    EXPECT_EQ(texts[1], " Scanning, Please Wait  (00.00.59)");
    EXPECT_EQ(std::count(scan.Results().begin(), scan.Results().end(), 0x2A), 32);
}

TEST(ChannelScan, CancelAtAnyMomentOfTheCountdown)
{
    Wired<ChannelScan> b;
    ChannelBench& link = b.link;
    ChannelScan& scan = b.run;
    for (int cancelAt : {0, 30, 60, 61}) {
        link.state = Idle;
        link.sent.clear();
        link.unit.AddCommand("SF CS ", Answer({"SF CS START", "SF CS RUNNING 1"}));
        int ticks = 0;
        link.meanwhile = [&] {
            if (link.state != Scanning)
                return false;
            if (ticks == cancelAt)
                return scan.Cancel();
            ++ticks;
            scan.Tick();
            return true;
        };
        EXPECT_EQ(scan.Run(1), ScanDone) << cancelAt;
        EXPECT_EQ(link.sent, (Lines{"SF CS 1", "SF CS DIS", "GET SF CS RESULT"})) << cancelAt;
        EXPECT_FALSE(scan.CountdownOn());
        EXPECT_EQ(link.failures, 0);
    }
}

TEST(ChannelScanFailures, WaitEndsOnEveryLinkFailure)
{
    struct Case
    {
        const char* name;
        Lines start;       // the unit's answer to the start
        bool cancel;       // the user cancels once the scan runs
        hublink::CommsStateCode state;
        std::size_t sends;
    } cases[] = {{"silent after the start", {"SF CS START"}, false, CommsFailed, 1},
                 {"never started", {}, false, CommsFailed, 3},
                 {"start unknown", {"Unknown Command"}, false, UnknownCommand, 1},
                 {"start answered again, as a resend is", {"SF CS START", "SF CS START"}, false, CommsFailed, 1},
                 {"cancel unanswered", {"SF CS START"}, true, CommsFailed, 2}};
    for (const Case& c : cases) {
        Wired<ChannelScan> b;
        b.link.unit.AddCommand("SF CS ", Answer(c.start));
        b.link.unit.AddCommand("SF CS DIS", Answer({}));
        b.link.meanwhile = [&] { return c.cancel && b.run.Cancel(); };
        EXPECT_EQ(b.run.Run(5), c.state) << c.name;
        EXPECT_EQ(b.link.sent.size(), c.sends) << c.name;
        EXPECT_FALSE(b.run.CountdownOn()) << c.name;
    }
}

TEST(ChannelMonitor, WaitEndsOnFailureOrStop)
{
    Wired<ChannelMonitor> silent;
    silent.link.unit.SetFailure(FailureMode::Silent, "SF MON EN ");
    EXPECT_EQ(silent.run.Run(1, 32), CommsFailed);
    EXPECT_EQ(silent.link.sent, Lines(3, "SF MON EN 2 45"));

    Wired<ChannelMonitor> stopped;
    stopped.link.unit.AddCommand("SF MON EN ", Answer({"SF MON START", "SF MON STOP"}));
    EXPECT_EQ(stopped.run.Run(1, 1), MonitorDone);
    EXPECT_EQ(stopped.link.failures, 0);

    // Cancelled before the start's reply: the run still waits for its end.
    Wired<ChannelMonitor> early;
    early.link.meanwhile = [&] { return early.link.state == MonitorWait && early.run.Cancel(); };
    EXPECT_EQ(early.run.Run(1, 32), MonitorDone);
}
