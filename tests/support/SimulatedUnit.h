#pragma once
// A Radio Hub, RCC or radio loop module as the serial link sees it: it answers
// each command line with the unit's lines, holds a configuration that the
// programming commands change and "GET SYSCONFIG" returns, and can be told to
// fail. It keeps no time: each answer carries the delay after which it is due.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
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
    Silent,
    Late,           // the answer comes after LateDelayMs
    Garbled,        // each answer line arrives mangled
    UnknownCommand, // "Unknown Command"
    Rejected,       // "ERROR IN COMMAND": the unit knows the command and will not carry it out
    DropMidReply,   // half the answer, the next line cut without its CR, then nothing
    PortGone,       // the unit's end of the cable goes away
    EndlessDebug    // the answer without its END OF DATA, then the debug stream (SetDebugStream)
};

struct UnitOutput
{
    int DelayMs = 0;
    std::string Bytes;
    bool ClosePort = false;
    // A late answer: how many late delays (SetLateDelayMs) it comes after
    // its time (DelayMs counts them already), and whether it holds back the
    // answers after it (in turn) or lets them pass (overtaken).
    int LateBy = 0;
    bool InTurn = false;
};

// A command line as the unit received it, for the answer fault drawn for it.
struct FaultContext
{
    std::string Command;
    int Index = 0;       // among the non-empty command lines received, from 0
    int Ordinal = 0;     // among the commands received, resends not counted, from 0
    int Send = 0;        // 0 for a first send, n for the n-th resend of it in a row
    bool Resend = false; // it came again after a bare carriage return
    bool TakenBefore = false; // the unit took this same line before
};

// A fault on the bytes of one line the unit sends.
struct ByteFault
{
    enum class Kind
    {
        Replaced,   // the byte at At comes as Value
        Dropped,    // the byte at At is lost
        Inserted,   // Value comes before the byte at At (past the last byte: after it)
        BitFlipped, // bit Value % 8 of the byte at At comes inverted
        CutShort,   // the line ends before the byte at At: its CR comes, the rest is lost
        RunOn,      // the line's CR is lost: it runs into the next line the unit sends
    };
    Kind What = Kind::Replaced;
    // Which of the lines the unit sends for the command, from 0, in the
    // order they go out: the lines sent before the answer (chatter, an
    // earlier answer repeated) first, then the answer with its stray lines.
    size_t Line = 0;
    // Where in the line: taken modulo its length (for an insert, its length
    // + 1). A line without bytes takes an insert or a lost CR only.
    size_t At = 0;
    uint8_t Value = 0;
};

// A line of the unit's own among the lines of an answer: after At of them,
// but before the last (so before an answer of one line; alone where the
// answer is lost).
struct StrayLine
{
    size_t At = 0;
    std::string Text;
};

// What becomes of the unit's answer to one command line.
struct AnswerFault
{
    enum class Kind
    {
        None,
        Lost,     // the unit acts on the command; its answer never arrives
        Unheard,  // the command never reaches the unit: not acted on, no answer
        Chatter,  // the unit acts; a line of its own chatter (Line) comes instead of the answer
        Garbled,  // the unit acts; every line of the answer arrives mangled
        Refused,  // the command reached the unit garbled: not acted on, answered Line
                  // ("Unknown Command" when empty)
        Repeated, // the whole answer comes again just before the unit's next answer
    };
    Kind What = Kind::None;
    std::string Line;
    // A line of chatter sent just before the answer ("" none).
    std::string Before;
    // Late by this many late delays, holding back the later answers or
    // overtaken by them.
    int LateBy = 0;
    bool InTurn = false;
    // Faults on the bytes of the lines sent for the command, each on its
    // line, in turn; lines of the unit's own inserted in the answer.
    std::vector<ByteFault> Bytes{};
    std::vector<StrayLine> Strays{};
};

// A line the link got other than the unit meant to send it: bytes changed,
// cut short, or run together with the line before or after it.
struct CorruptedLine
{
    std::string Meant; // as meant (garbled, where the unit garbles), without its CR
    // The bytes that came in its place up to the CR that ended them (one
    // inserted in the line ends it there: the link sees two lines). A line
    // that lost its CR comes with the next line the unit sends: until then,
    // and when nothing follows it, nothing came.
    std::string Sent;
    bool OfAnswer = false; // a line of the command's answer, not chatter, a repeat or a stray line
};

struct ReceivedCommand
{
    int64_t AtMs = 0;
    std::string Line;
};

// A command line and what the unit made of it.
struct UnitExchange
{
    std::string Command;
    std::vector<std::string> Answer; // as meant, before any failure mangled or cut it; none when silent
    bool Taken = false;              // the unit knew the command and acted on it
    // The lines sent for it that came corrupted (one that another line ran
    // into as well), and the stray lines inserted in its answer.
    std::vector<CorruptedLine> Corrupted{};
    std::vector<std::string> Strays{};
};

// Hands each word of a line, split at blanks (and at underscores when
// asked), to take(word) as a view into the line, until take returns false.
template <typename Take> void ForEachWord(std::string_view line, bool underscores, Take take)
{
    const auto blank = [underscores](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || (underscores && c == '_');
    };
    for (size_t i = 0; i < line.size();) {
        while (i < line.size() && blank(line[i]))
            ++i;
        const size_t start = i;
        while (i < line.size() && !blank(line[i]))
            ++i;
        if (i > start && !take(line.substr(start, i - start)))
            return;
    }
}

// A line's words, split at blanks (and at underscores when asked), as
// views into the line; and as strings.
std::vector<std::string_view> WordViews(std::string_view line, bool underscores = false);
std::vector<std::string> UnitWords(const std::string& line);

class SimulatedUnit
{
public:
    using Lines = std::vector<std::string>;
    using Handler = std::function<Lines(const std::string& command)>;

    explicit SimulatedUnit(UnitKind kind = UnitKind::Hub);

    void SetKind(UnitKind kind) { Set(kind_, kind); }
    void SetIdent(const std::string& ident) { Set(ident_, ident); }
    void SetLoopCountText(const std::string& text) { Set(loopCount_, text); }
    void SetProtocolWord(const std::string& word) { Set(protocol_, word); }
    // Replaces the whole "GET SWV" answer ("" = the kind's own line).
    void SetSoftwareVersionLine(const std::string& line) { Set(swvLine_, line); }
    // Consecutive lines of one answer follow each other this far apart.
    void SetLineGapMs(int ms) { Set(lineGapMs_, ms); }
    void SetLateDelayMs(int ms) { Set(lateDelayMs_, ms); }
    // Answers to commands beginning with `prefix` come this much later (a
    // slow unit; the longest prefix wins).
    void SetAnswerDelayMs(const std::string& prefix, int ms) { SetIn(answerDelays_, prefix, ms); }
    // What EndlessDebug sends after the answer: `count` lines, `gapMs` apart,
    // taken from `cycle` in turn. The unit keeps talking for as long as the
    // count lasts, whatever the program does meanwhile.
    void SetDebugStream(int gapMs, int count, const Lines& cycle = {"DBG RADIO RX SLOT 07 LEVEL 31"})
    {
        Set(debugStream_, DebugStream{gapMs, count, cycle});
    }
    // Failure for the next `times` commands beginning with `prefix` ("" = all; -1 = until cleared).
    void SetFailure(FailureMode mode, const std::string& prefix = "", int times = -1)
    {
        Set(failure_, Failure{mode, prefix, times});
    }
    // Commands beginning with `prefix` are answered "Unknown Command" and not
    // acted on, whatever failure is set besides (its delay and mangling
    // still apply to the answer), until ClearFailure.
    void Refuse(const std::string& prefix) { InsertIn(refused_, prefix); }
    // Every line of the answers to commands beginning with `prefix` is sent
    // twice, the copy right after it, until ClearFailure.
    void RepeatAnswers(const std::string& prefix) { InsertIn(repeated_, prefix); }
    // A command beginning with `prefix` sent again after a bare carriage
    // return right after the unit took it (a resend) is answered "Unknown
    // Command": the unit refuses the duplicate, until ClearFailure.
    void RefuseResends(const std::string& prefix) { InsertIn(refusedResends_, prefix); }
    // The answer to commands beginning with `prefix` comes a second time, just
    // before the unit's answer to the next command (as a unit that answered a
    // resend of it as well), until ClearFailure.
    void AnswerTwice(const std::string& prefix) { InsertIn(answeredTwice_, prefix); }
    // The unit sends `line` of its own just before each answer to commands
    // beginning with `prefix` (a status line while the command waits), until
    // ClearFailure.
    void SendBeforeAnswers(const std::string& prefix, const std::string& line)
    {
        SetIn(linesBefore_, prefix, line);
    }
    // Asked, under the unit's lock, for every non-empty command line
    // received: what becomes of the unit's answer to it, beside the switches
    // above. Until ClearFailure.
    using FaultDraw = std::function<AnswerFault(const FaultContext&)>;
    void DrawAnswerFaults(FaultDraw draw) { Set(faultDraw_, std::move(draw)); }
    void ClearFailure()
    {
        SetFailure(FailureMode::None);
        Set(faultDraw_, FaultDraw());
        Set(runOn_, RunOn());
        Set(refused_, std::set<std::string>());
        Set(repeated_, std::set<std::string>());
        Set(refusedResends_, std::set<std::string>());
        Set(answeredTwice_, std::set<std::string>());
        Set(linesBefore_, std::map<std::string, std::string>());
    }
    // The unit answers one command at a time: an answer starts only once the
    // answer before it has been sent, so no answer overtakes another.
    void SetAnswersInTurn(bool inTurn) { Set(inTurn_, inTurn); }
    // A line the unit sends just before its next answer (debug output).
    void AddNoiseBeforeNextAnswer(const std::string& line)
    {
        std::lock_guard lock(mutex_);
        noise_.push_back(line);
    }

    // The stored statements as "GET SYSCONFIG" lists them: node lines, device
    // lines, the hub's and the RCCs' channels, relations, each group by node
    // (and slot); lines of no known kind last.
    Lines Configuration() const
    {
        std::lock_guard lock(mutex_);
        return Listing();
    }
    // The unit's memory as it stands, line by line (taken as given).
    void SetConfiguration(const Lines& lines) { Set(config_, lines); }
    // Idents that "ASSIGN ALL" and "ASSIGN RCCS" report as failed.
    void SetAssignFailures(const std::set<std::string>& idents) { Set(assignFailures_, idents); }
    // Status tokens of a unit in "GET DS ALL". A configured unit reports an
    // assigned status ("SSG") and one created by programming "UCF", until
    // assigned or unassigned by the hub's commands.
    void SetStatus(const std::string& ident, const std::string& tokens) { SetIn(status_, ident, tokens); }
    // Radio readings of the diagnostics commands (defaults: strengths 40..43, daily maximum 45,
    // link budgets 30..33; every scanned channel at level 0x20).
    void SetSignalStrengths(const std::string& ident, const std::vector<int>& four)
    {
        SetIn(strengths_, ident, four);
    }
    void SetDailyMaximum(const std::string& ident, int value) { SetIn(dailyMax_, ident, value); }
    void SetLinkBudgets(const std::string& ident, const std::vector<int>& four)
    {
        SetIn(budgets_, ident, four);
    }
    void SetScanLevel(int level) { Set(scanLevel_, level); }
    // Adds or replaces the answer of commands beginning with `prefix` (the longest prefix wins).
    // The unit's own commands without arguments match only exactly: one
    // followed by extra words gets "Unknown Command", unless a test's
    // command answers it.
    void AddCommand(const std::string& prefix, Handler handler) { SetIn(commands_, prefix, handler); }

    // Bytes from the program, received at nowMs; returns what the unit sends.
    std::vector<UnitOutput> Receive(const std::string& bytes, int64_t nowMs);

    std::string Wire() const { return Get(wire_); }
    // Every command line received, empty ones too; CommandLines() without them.
    std::vector<ReceivedCommand> Commands() const { return Get(received_); }
    Lines CommandLines() const;
    // Every non-empty command line with the unit's answer, in order.
    std::vector<UnitExchange> Exchanges() const { return Get(exchanges_); }
    // The unit answered a send of the command with its echo or with a
    // relation it already holds: it holds what the command asks for.
    bool Acknowledged(const std::string& command) const;
    void ClearRecord()
    {
        Set(wire_, std::string());
        Set(received_, std::vector<ReceivedCommand>());
        Set(exchanges_, std::vector<UnitExchange>());
        std::lock_guard lock(mutex_);
        runOn_.Records.clear();
    }

private:
    struct Failure
    {
        FailureMode Mode = FailureMode::None;
        std::string Prefix;
        int Times = -1;
    };
    template <typename T> T Get(const T& field) const
    {
        std::lock_guard lock(mutex_);
        return field;
    }
    template <typename T, typename V> void Set(T& field, const V& value)
    {
        std::lock_guard lock(mutex_);
        field = value;
    }
    template <typename M, typename V> void SetIn(M& map, const std::string& key, const V& value)
    {
        std::lock_guard lock(mutex_);
        map[key] = value;
    }
    void InsertIn(std::set<std::string>& set, const std::string& prefix)
    {
        std::lock_guard lock(mutex_);
        set.insert(prefix);
    }
    void InstallCommands();
    // The assignment commands and the status they change
    // (SimulatedUnitAssignment.cpp).
    void InstallAssignmentCommands();
    std::string StatusOf(const std::string& ident) const;
    FailureMode TakeFailure(const std::string& command);
    // A line on its way out, and whether it is one of the command's answer.
    struct Outgoing
    {
        std::string Text;
        bool OfAnswer = false;
    };
    std::vector<UnitOutput> Deliver(std::vector<Outgoing> answer, FailureMode mode, int delayMs,
                                    const std::vector<ByteFault>& bytes = {});
    // The line as it goes out under the byte faults drawn for it; false
    // when its CR is lost.
    static bool Corrupt(std::string& line, size_t index, const std::vector<ByteFault>& bytes);
    // The answer's lines with the stray lines among them.
    static std::vector<Outgoing> WithStrays(const Lines& answer, bool ofAnswer, const std::vector<StrayLine>& strays);
    FaultContext Context(const std::string& line, bool resent);
    // The lines that go out for the answer under a drawn fault (a garbled
    // answer turns the mode to Garbled).
    Lines FaultedAnswer(const AnswerFault& fault, const Lines& answer, FailureMode& mode) const;
    int AnswerDelayMs(const std::string& command) const;
    void Store(const std::string& line);
    // The programming statements, refused as a careful unit refuses them
    // (SimulatedUnitConfig.cpp).
    void InstallConfigurationCommands();
    Lines Populate(const std::string& command);
    Lines Channels(const std::string& command);
    Lines RelationAdd(const std::string& command);
    Lines RelationDelete(const std::string& command);
    Lines DeleteDevice(const std::string& command);
    Lines IdentProg(const std::string& command);
    Lines Listing() const;
    bool HasNodeLine(int node) const;
    int LoopLimit() const;
    std::vector<Lines> Units() const;
    Lines List(const std::string& head, const std::function<std::string(const Lines&)>& line) const;

    mutable std::mutex mutex_;
    UnitKind kind_;
    std::string ident_ = "01A2B", loopCount_ = "2", protocol_ = "XP95", swvLine_;
    int lineGapMs_ = 0, lateDelayMs_ = 0, scanLevel_ = 0x20;
    Failure failure_;
    struct DebugStream
    {
        int GapMs = 1000;
        int Count = 0;
        Lines Cycle;
    } debugStream_;
    std::map<std::string, int> answerDelays_;
    Lines noise_, config_;
    std::set<std::string> assignFailures_;
    std::map<std::string, std::string> status_;
    std::map<std::string, std::vector<int>> strengths_, budgets_;
    std::map<std::string, int> dailyMax_;
    std::map<std::string, Handler> commands_;
    std::set<std::string> exact_, refused_, repeated_, refusedResends_, answeredTwice_;
    std::map<std::string, std::string> linesBefore_;
    FaultDraw faultDraw_;
    bool inTurn_ = false;
    // When the answers sent so far end (in the time of Receive's nowMs), and
    // until when a late answer drawn in turn holds back the later ones.
    int64_t answeredUntil_ = 0, heldUntil_ = 0;
    // For the fault draw: the lines received so far, resends not counted,
    // the resends of the last one in a row, and the lines the unit took.
    int ordinal_ = -1, sends_ = 0, lines_ = 0;
    std::string lastLine_;
    std::set<std::string> taken_;
    // The command line the unit last took, and whether the line before the
    // one received was empty (the bare carriage return before a resend).
    std::string lastTaken_;
    bool afterBareCr_ = false;
    // A line sent without its CR: its bytes go out with the next line the
    // unit sends, and the corruption records (exchange, record) it makes
    // get that line too.
    struct RunOn
    {
        std::string Bytes;
        std::vector<std::pair<size_t, size_t>> Records;
        bool Any() const { return !Bytes.empty() || !Records.empty(); }
    } runOn_;
    std::string partial_, wire_;
    std::vector<ReceivedCommand> received_;
    std::vector<UnitExchange> exchanges_;
};
