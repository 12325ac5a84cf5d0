#pragma once
// A Radio Hub, RCC or radio loop module as the serial link sees it: it takes
// the bytes the program writes, answers each command line with the lines a
// unit sends, holds a configuration that the programming commands change and
// "GET SYSCONFIG" returns, and can be told to fail in named ways.
// It does no timing itself: each answer carries the delay after which it is
// due, and whoever drives the unit (a virtual clock, or the pseudo-terminal
// thread of SimulatedPort) delivers it then.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

enum class UnitKind
{
    Hub,
    Rcc,
    Rlm
};

enum class FailureMode
{
    None,
    Silent,         // no answer at all
    Late,           // the answer comes after LateDelayMs
    Garbled,        // each answer line arrives mangled
    UnknownCommand, // "Unknown Command"
    DropMidReply,   // half the answer, the last line cut without its CR, then nothing
    PortGone        // the unit's end of the cable goes away
};

// What the unit sends after a command, DelayMs after the command arrived.
struct UnitOutput
{
    int DelayMs = 0;
    std::string Bytes;
    bool ClosePort = false;
};

// One command line as the unit received it, with the time it ended.
struct ReceivedCommand
{
    int64_t AtMs = 0;
    std::string Line;
};

class SimulatedUnit
{
public:
    using Handler = std::function<std::vector<std::string>(const std::string& command)>;

    explicit SimulatedUnit(UnitKind kind = UnitKind::Hub);

    // What the unit reports about itself.
    void SetKind(UnitKind kind);
    void SetIdent(const std::string& ident);
    std::string Ident() const;
    void SetVersion(const std::string& version); // "3.10"
    void SetLoopCount(int count);
    void SetLoopCountText(const std::string& text);       // the reply after "QUERY LOOPCOUNT "
    void SetProtocolWord(const std::string& word);        // "XP95", "ZP3", "GE2010"
    void SetRlmWord(const std::string& word);             // "ZRLM", "WZM", ...
    void SetSoftwareVersionLine(const std::string& line); // replaces the whole "GET SWV" answer

    // The answer of each command is split into lines; consecutive lines of
    // one answer follow each other LineGapMs apart.
    void SetLineGapMs(int ms);

    // Failure for the next `times` commands that begin with `prefix` (all
    // commands for an empty prefix; -1 times = until cleared).
    void SetFailure(FailureMode mode, const std::string& prefix = "", int times = -1);
    void ClearFailure();
    void SetLateDelayMs(int ms);

    // A line the unit sends just before its next answer (debug output).
    void AddNoiseBeforeNextAnswer(const std::string& line);
    // The line ends the unit writes ("\r" by default).
    void SetLineEnd(const std::string& ending);

    // The configuration as "GET SYSCONFIG" returns it, in stored order.
    std::vector<std::string> Configuration() const;
    void SetConfiguration(const std::vector<std::string>& lines);
    // Idents that "ASSIGN ALL" reports as failed.
    void SetAssignFailures(const std::set<std::string>& idents);
    // Status tokens of the unit with the ident in "GET DS ALL".
    void SetStatus(const std::string& ident, const std::string& tokens);

    // Radio readings the diagnostics commands report for the unit with the
    // ident (defaults: strengths 40 41 42 43, daily maximum 45, link budgets
    // 30 31 32 33) and the level the channel scan reports for every channel.
    void SetSignalStrengths(const std::string& ident, const std::vector<int>& fourValues);
    void SetDailyMaximum(const std::string& ident, int value);
    void SetLinkBudgets(const std::string& ident, const std::vector<int>& fourValues);
    void SetScanLevel(int level);

    // Adds or replaces the answer of commands that begin with `prefix`
    // (later issues add the diagnostics commands this way).
    void AddCommand(const std::string& prefix, Handler handler);

    // Bytes from the program, received at nowMs. Returns what the unit sends.
    std::vector<UnitOutput> Receive(const std::string& bytes, int64_t nowMs);

    // Every byte received so far, and the command lines (empty lines too).
    std::string Wire() const;
    std::vector<ReceivedCommand> Commands() const;
    // The non-empty command lines only.
    std::vector<std::string> CommandLines() const;
    void ClearRecord();

private:
    struct Failure
    {
        FailureMode Mode = FailureMode::None;
        std::string Prefix;
        int Times = -1;
    };
    struct Entry
    {
        std::string Key;
        std::string Line;
    };

    std::vector<std::string> Answer(const std::string& command);
    std::vector<UnitOutput> Deliver(const std::vector<std::string>& lines, FailureMode mode);
    FailureMode TakeFailure(const std::string& command);
    void Store(const std::string& key, const std::string& line);
    bool Erase(const std::string& key);
    std::string KindLine() const;
    void InstallCommands();

    mutable std::mutex mutex_;
    UnitKind kind_;
    std::string ident_ = "01A2B";
    std::string version_ = "3.10";
    std::string loopCountText_ = "2";
    std::string protocolWord_ = "XP95";
    std::string rlmWord_ = "ZRLM";
    std::string swvLine_;
    std::string lineEnd_ = "\r";
    int lineGapMs_ = 0;
    int lateDelayMs_ = 0;
    Failure failure_;
    std::vector<std::string> noise_;
    std::vector<Entry> config_;
    std::set<std::string> assignFailures_;
    std::map<std::string, std::string> status_;
    std::map<std::string, std::vector<int>> strengths_;
    std::map<std::string, int> dailyMax_;
    std::map<std::string, std::vector<int>> budgets_;
    int scanLevel_ = 0x20;
    void InstallDiagnosticsCommands();
    // The POPULATE lines of the configuration, split into fields.
    std::vector<std::vector<std::string>> Units() const;
    std::vector<std::pair<std::string, Handler>> commands_;
    std::string partial_;
    std::string wire_;
    std::vector<ReceivedCommand> received_;
};
