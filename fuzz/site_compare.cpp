// Compare Config and the change list over a site file: the input up to its
// first NUL byte is opened as a site and copied into HubNodes, as a hub
// programmed with it would download; the bytes after the NUL change the hub's
// copy, three bytes a change (what, node, value). Then the address maps,
// Compare Config (for the hub and each RCC, as the first change byte picks)
// and the change list run as the communications window runs them. Neither
// may change the site: saved before and after, it gives the same bytes. For
// a site that programming takes, compared from the hub, the change list is
// empty exactly when Compare Config finds no difference.
// (The site's own address map is built before the first save.)
//
// Then the hub itself: a simulated hub holding the changed copy as its
// statements is programmed with the site (the last change byte's low bit
// answers the clear question) and compared again. Two bytes past the last
// whole change make the hub answer one command late, refuse one and repeat
// the answers to one; or, with no command late, answer the download twice
// and send a status line while each delete waits; or, with none refused,
// refuse the resends of statements and deletes it took, and answer in
// turn. Whenever Program or Compare says the hub holds the site, it does:
// no loop address is answered by two units, and Compare on a link of its
// own finds nothing. Where the hub talked in order, every command that
// programming counted as acknowledged, the hub applied. Where it answered
// every command before the link gave it up, Program never says the hub
// could not delete a unit it no longer holds, nor that it aborted over a hub
// that took every statement.
#include "FuzzFiles.h"
#include "ProgramBench.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/ChangeList.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/ConfigCompare.h"
#include "hublink/core/HubUnits.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/OpeningSequence.h"
#include "hublink/core/ReadConfiguration.h"
#include "hublink/core/ProgrammingList.h"
#include "hublink/core/ProgrammingRun.h"
#include "hublink/core/support/HubAddresses.h"
#include "model/ChannelPlan.h"
#include "model/ConfigurationCheck.h"
#include "model/Settings.h"

#include <cstdio>
#include <map>
#include <sstream>

using namespace hublink;
using fuzz::Finding;
using fuzz::ProgramBench;

using model::HubNodes;
using model::Nodes;

namespace {

// One change of the hub's copy. Values run a little past what the site
// holds, so that the setters' limits are met too.
void Change(uint8_t what, uint8_t which, uint8_t value)
{
    model::clsNode& node = HubNodes[which % model::kNodeCount];
    const int slot = value % model::kLastSlot + 1;
    const model::clsNode& other = Nodes[value % model::kNodeCount];
    switch (what % 11) {
    case 0: node.SetInUse(!node.InUse()); break;
    case 1: node.SetNodeIdent(other.NodeIdent()); break;
    case 2: node.SetNodeLoop(value % 7 - 1); break;
    case 3: node.SetNodeAddress(value); break;
    case 4: node.SetParent(value % 34 - 1); break;
    case 5: node.SetDeviceType(slot, value / 32 * 3 - 1); break;
    case 6: node.SetDeviceIdent(slot, other.DeviceIdent(which % model::kLastSlot + 1)); break;
    case 7: node.SetDeviceLoop(slot, value / 32 - 1); break;
    case 8: node.SetDeviceAddress(slot, value % 128 + (value & 1) * 127); break;
    case 9:
        node.SetX_ChannelA(value % 45 - 1);
        node.SetY_ChannelB(value / 5 - 1);
        break;
    default:
        // Emptied of its type, the slot keeps loop, address and ident; with
        // an odd what / 11 it takes the place and ident of a site device,
        // as a download line whose type word the program does not know is
        // read.
        node.SetDeviceType(slot, 0);
        if (what / 11 % 2 == 1) {
            const int from = which % model::kLastSlot + 1;
            node.SetDeviceLoop(slot, other.DeviceLoop(from));
            node.SetDeviceAddress(slot, other.DeviceAddress(from));
            node.SetDeviceIdent(slot, other.DeviceIdent(from));
        }
        break;
    }
}

void CheckOwners(const OwnerTable& table)
{
    for (int loop = 1; loop < kOwnerLoops; ++loop)
        for (int address = 1; address < kOwnerAddresses; ++address) {
            const int owner = table[loop][address];
            if (owner != -1 && (owner < 0 || owner / 100 >= model::kNodeCount || owner % 100 > model::kLastSlot))
                fuzz::Finding("an owner table holds a code that names no unit");
        }
}

// The statements of a hub that holds HubNodes, as "GET SYSCONFIG" lists
// them: a device slot without a type as a line of a type word the program
// does not know. What no line can carry (a place outside the loops, no
// ident) is left out, and so are devices of the hub's own node, which
// programming never writes.
std::vector<std::string> HubStatements()
{
    std::vector<std::string> lines;
    const auto n = [](int value) { return std::to_string(value); };
    const auto carried = [](const std::string& ident, int loop, int address, int last) {
        return !ident.empty() && ident.find(' ') == std::string::npos && loop >= 1 && loop <= 4 && address >= 1 &&
               address <= last;
    };
    const auto channels = [&n](int a, int b) {
        return IsDefinedChannel(a) && IsDefinedChannel(b) ? n(model::ChannelTable(a)) + " " + n(model::ChannelTable(b))
                                                          : std::string();
    };
    for (int i = 0; i < model::kNodeCount; ++i) {
        const model::clsNode& node = HubNodes[i];
        if (node.InUse() && carried(node.NodeIdent(), node.NodeLoop(), node.NodeAddress(), 128))
            lines.push_back("POPULATE LOOP" + n(node.NodeLoop()) + " NODE " + n(node.NodeAddress()) + " " + n(i) +
                            " " + node.NodeIdent() + " 0");
        for (int s = 1; i != 0 && s <= model::kLastSlot; ++s) {
            if (!HoldsUnit(node, s) || !carried(node.DeviceIdent(s), node.DeviceLoop(s), node.DeviceAddress(s), 127))
                continue;
            const std::string word = ProgrammingTypeWord(node.DeviceType(s));
            lines.push_back("POPULATE LOOP" + n(node.DeviceLoop(s)) + " " + (word.empty() ? "FOOBAR" : word) + " " +
                            n(node.DeviceAddress(s)) + " " + n(i) + " " + node.DeviceIdent(s) + " " + n(s - 1));
        }
        const std::string x = channels(node.X_ChannelA(), node.X_ChannelB());
        if (i != 0 && !x.empty())
            lines.push_back("XPROTRADIOCHANNELS " + x + " " + n(i));
        const int hop = node.Hop(HubNodes, 10);
        if (i != 0 && node.Parent() != -1)
            lines.push_back("RELATION ADD " + n(i) + " " + n(node.Parent()) + " " + n(hop >= 1 && hop <= 9 ? hop : 1));
    }
    const std::string y = channels(HubNodes[0].Y_ChannelA(), HubNodes[0].Y_ChannelB());
    if (!y.empty())
        lines.push_back("YPROTRADIOCHANNELS " + y);
    return lines;
}

bool IsConfigurationCommand(const std::string& command)
{
    for (const char* start : {"POPULATE", "FDELETE", "RELATION", "XPROTRADIOCHANNELS", "YPROTRADIOCHANNELS"})
        if (command.rfind(start, 0) == 0)
            return true;
    return false;
}

// The hub applied the command: it echoed it, or holds the relation already.
bool Applied(const ProgramBench::Exchange& e)
{
    if (e.Answer.empty())
        return false;
    return e.Answer[0] == e.Command ||
           (e.Command.rfind("RELATION ADD", 0) == 0 && e.Answer[0] == "Node Relation already defined");
}

bool Told(const ProgramBench& bench, const std::string& text)
{
    return std::find(bench.Boxes.begin(), bench.Boxes.end(), text) != bench.Boxes.end();
}

// How the hub talks while it is programmed and compared: the answer to one
// command late (resent meanwhile, overtaken by what is answered then, or
// holding back what comes after it when the hub answers in turn), one
// command of the site's list refused, one answered with each line twice;
// the download answered twice, a status line before each delete's answer,
// the resends of what the hub took refused.
struct Disorder
{
    int lateCommand = -1;
    int lateTicks = 1;
    std::string refused;
    std::string repeated;
    bool downloadTwice = false;
    bool statusWhileDeleting = false;
    bool resendsRefused = false;
    bool inTurn = false;
    bool Any() const
    {
        return lateCommand >= 0 || !refused.empty() || !repeated.empty() || downloadTwice || statusWhileDeleting ||
               resendsRefused;
    }
};

// Two bytes: the command answered late (of the first 64 sent) and after how
// many ticks, or, with none late, the download answered twice and status
// lines while deleting; which list command is refused, or, with none, the
// resends refused; which answered twice, or, with none refused or answered
// twice, the answers in turn.
Disorder ReadDisorder(const std::string& bytes, const std::vector<std::string>& site)
{
    Disorder d;
    if (bytes.size() < 2 || site.empty())
        return d;
    const auto a = static_cast<uint8_t>(bytes[0]), b = static_cast<uint8_t>(bytes[1]);
    if ((a & 0xC0) != 0) {
        d.lateCommand = a & 0x3F;
        d.lateTicks = a >> 6; // 1 to 3
    } else {
        d.downloadTwice = (a & 1) != 0;
        d.statusWhileDeleting = (a & 2) != 0;
    }
    if ((b & 1) != 0)
        d.refused = site[(b >> 1) % site.size()];
    else
        d.resendsRefused = (b & 4) != 0;
    if ((b & 2) != 0)
        d.repeated = site[(b >> 3) % site.size()];
    else if ((b & 1) == 0)
        d.inTurn = (b & 8) != 0;
    return d;
}

// The hub holds a unit with the ident, or the relation of RCC n.
bool HoldsIdent(const std::vector<std::string>& statements, const std::string& ident)
{
    return ident.empty() || std::any_of(statements.begin(), statements.end(), [&ident](const std::string& l) {
        const std::vector<std::string> w = UnitWords(l);
        return w.size() >= 6 && w[0] == "POPULATE" && w[5] == ident;
    });
}
bool HoldsRelationOf(const std::vector<std::string>& statements, int n)
{
    return std::any_of(statements.begin(), statements.end(), [n](const std::string& l) {
        const std::vector<std::string> w = UnitWords(l);
        return w.size() >= 3 && w[0] == "RELATION" && w[1] == "ADD" && w[2] == std::to_string(n);
    });
}

// The units and relations a box of the run says the hub could not delete,
// of which the hub no longer holds one: the deletes were tried with the
// download the run parsed into HubNodes.
std::string DeletedAfterAll(const ProgramBench& bench, const std::vector<std::string>& statements)
{
    const std::string heading = "The Radio Hub could not Delete\r\n";
    for (const std::string& box : bench.Boxes) {
        if (box.rfind(heading, 0) != 0)
            continue;
        std::istringstream lines(box.substr(heading.size()));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            int n = 0, slot = 0, parent = 0;
            char rest[2];
            if (std::sscanf(line.c_str(), "Device %d from RCC %d%1s", &slot, &n, rest) == 2 && n >= 1 &&
                n < model::kNodeCount && slot >= 1 && slot <= model::kLastSlot &&
                !HoldsIdent(statements, HubNodes[n].DeviceIdent(slot)))
                return line;
            if (std::sscanf(line.c_str(), "RCC %d%1s", &n, rest) == 1 && n >= 1 && n < model::kNodeCount &&
                !HoldsIdent(statements, HubNodes[n].NodeIdent()))
                return line;
            if ((std::sscanf(line.c_str(), "Relationship between RCC %d and RCC %d", &n, &parent) == 2 ||
                 std::sscanf(line.c_str(), "Relationship between RCC %d and Radio Hub", &n) == 1) &&
                !HoldsRelationOf(statements, n))
                return line;
        }
    }
    return std::string();
}

// The hub applied every statement of a list that programming sent it.
bool TookEveryStatement(const ProgramBench& bench)
{
    for (const ProgramBench::Exchange& e : bench.Exchanges) {
        const bool statement = IsConfigurationCommand(e.Command) && e.Command.rfind("FDELETE", 0) != 0 &&
                               e.Command.rfind("RELATION DEL", 0) != 0;
        if (statement && std::none_of(bench.Exchanges.begin(), bench.Exchanges.end(),
                                      [&e](const ProgramBench::Exchange& x) {
                                          return x.Command == e.Command && Applied(x);
                                      }))
            return false;
    }
    return true;
}

// The hub's faults drawn by the input for the answers to its commands:
// after a marker, one byte of what runs and rules of three bytes, each
// (command, send, fault). The command is the n-th one the hub received,
// resends not counted; the send is its n-th resend in a row (0 the first
// send), the high bit for that send and every later one. The fault byte:
// bits 0-2 what becomes of the answer (none, lost (with bit 6 the command
// itself lost on its way, never taken), a chatter line in its
// place, garbled, refused "Unknown Command" and not taken, the whole answer
// repeated, a chatter line before it, or a duplicate refused: "Unknown
// Command" when the hub took the same line before), bits 3-4 late by that
// many ticks, bit 5 late in turn (else overtaken), bits 6-7 which chatter
// line. Every rule that matches a send applies, in turn: a chatter line
// before the answer goes with what another rule makes of the answer. The run byte: bit 0
// reads the hub (the opening queries and Read Config, with the faults)
// instead of programming it with them, bit 1 programs it twice on one link.
const std::string kFaultsMark("\0FAULTS\0", 8);

struct DrawnFaults
{
    bool read = false;
    bool twice = false;
    struct Rule
    {
        int command, send;
        bool later;
        uint8_t fault;
    };
    std::vector<Rule> rules;
    // Every command line the hub received and the fault it drew for it; the
    // first of the run under way.
    std::vector<std::pair<FaultContext, AnswerFault>> drawn;
    size_t runStart = 0;

    explicit DrawnFaults(const std::string& bytes)
    {
        if (bytes.empty())
            return;
        read = (bytes[0] & 1) != 0;
        twice = (bytes[0] & 2) != 0;
        for (size_t k = 1; k + 2 < bytes.size(); k += 3)
            rules.push_back(Rule{static_cast<uint8_t>(bytes[k]), static_cast<uint8_t>(bytes[k + 1]) & 0x7F,
                                 (static_cast<uint8_t>(bytes[k + 1]) & 0x80) != 0,
                                 static_cast<uint8_t>(bytes[k + 2])});
    }
    AnswerFault Draw(const FaultContext& c)
    {
        static const char* const chatter[] = {"RADIO BUSY", "SF CS RUNNING 30", "DEBUG TICK",
                                              "Node Relation already defined"};
        AnswerFault f;
        for (const Rule& r : rules) {
            if (r.command != c.Ordinal || (r.send != c.Send && !(r.later && c.Send > r.send)))
                continue;
            using enum AnswerFault::Kind;
            const AnswerFault::Kind kinds[] = {None, Lost, Chatter, Garbled, Refused, Repeated, None, Refused};
            const int kind = r.fault & 7;
            const std::string line = chatter[r.fault >> 6];
            if (kind == 6)
                f.Before = line;
            else if (kind != 7 || c.TakenBefore)
                f.What = kind == 1 && (r.fault & 0x40) != 0 ? Unheard : kinds[kind];
            if (kind == 2)
                f.Line = line;
            if ((r.fault & 0x18) != 0) {
                f.LateBy = (r.fault >> 3) & 3;
                f.InTurn = (r.fault & 0x20) != 0;
            }
        }
        drawn.emplace_back(c, f);
        return f;
    }
    SimulatedUnit::FaultDraw Drawer()
    {
        return [this](const FaultContext& c) { return Draw(c); };
    }

    // The hub answered the command (the n-th received) properly at least
    // once in time: a send it took has its answer intact, due before the
    // link's last time-out of the command, and not held back past it by a
    // send answered late in turn; and no earlier command was answered late.
    bool AnsweredProperly(const std::vector<UnitExchange>& exchanges, int command) const
    {
        int heldUntil = 0;
        for (const auto& [c, f] : drawn) {
            if (c.Ordinal < command && f.LateBy > 0)
                return false;
            if (c.Ordinal != command)
                continue;
            const int due = std::max(heldUntil, c.Send + f.LateBy);
            const bool intact = f.What == AnswerFault::Kind::None || f.What == AnswerFault::Kind::Repeated;
            // The debug switch is not resent: its first time-out ends it.
            const int last = c.Command == "DEBUGOFF ALL" ? 0 : kMaxResends;
            if (intact && static_cast<size_t>(c.Index) < exchanges.size() && exchanges[c.Index].Taken &&
                due <= last)
                return true;
            if (f.InTurn)
                heldUntil = std::max(heldUntil, c.Send + f.LateBy);
        }
        return false;
    }
    // Every command of these the hub received was answered properly.
    // The last time the query was asked, the hub answered a send of it
    // properly in time (a hub that refused every send does not know it).
    bool LastAskAnswered(const std::vector<UnitExchange>& exchanges, const std::string& query) const
    {
        int ordinal = -1;
        for (const auto& [c, f] : drawn)
            if (c.Command == query)
                ordinal = c.Ordinal;
        return ordinal < 0 || AnsweredProperly(exchanges, ordinal);
    }
    bool QueriesAnswered(const std::vector<UnitExchange>& exchanges, const std::vector<std::string>& queries) const
    {
        for (const auto& [c, f] : drawn)
            if (c.Send == 0 && std::find(queries.begin(), queries.end(), c.Command) != queries.end() &&
                !AnsweredProperly(exchanges, c.Ordinal))
                return false;
        return true;
    }
    // A statement or a delete the hub refused at its first send, at once, with nothing
    // else of the hub's on its way or just before, that the link sent again
    // all the same.
    std::string RefusedAtOnceSentAgain(const ProgramBench& bench) const
    {
        // Only while every answer of the run so far came as sent: once one
        // did not, the link cannot tell a refusal owed to an earlier send.
        for (size_t i = runStart; i < drawn.size(); ++i) {
            const auto& [c, f] = drawn[i];
            if (i > runStart) {
                const AnswerFault& before = drawn[i - 1].second;
                if (before.What != AnswerFault::Kind::None || before.LateBy > 0 || !before.Before.empty())
                    return std::string();
            }
            const bool plain = f.What == AnswerFault::Kind::Refused && f.Line.empty() && f.LateBy == 0 &&
                               f.Before.empty() &&
                               (i == 0 || drawn[i - 1].second.What != AnswerFault::Kind::Repeated);
            // A query may be answered by a resend: its refusal waits for
            // its last time-out.
            if (c.Send != 0 || !plain || !IsConfigurationCommand(c.Command) ||
                static_cast<size_t>(c.Index) >= bench.QuietAtSend.size() ||
                !bench.QuietAtSend[c.Index])
                continue;
            if (i + 1 < drawn.size() && drawn[i + 1].first.Ordinal == c.Ordinal)
                return c.Command;
        }
        return std::string();
    }
};

const std::vector<std::string> kQueries{"DEBUGOFF ALL", "DS MON DIS", "GET SWV", "IDENTREAD", "QUERY LOOPCOUNT",
                                        "GET LP"};

void Prepare(SimulatedUnit& unit)
{
    unit.SetIdent(Nodes[0].NodeIdent());
    unit.SetLoopCountText(std::to_string(LoopCount));
    const char* const protocols[] = {"XP95", "ZP3", "GE2010"};
    unit.SetProtocolWord(LoopProtocol >= 1 && LoopProtocol <= 3 ? protocols[LoopProtocol - 1] : "NONE");
}

// Compare Config of the hub on a link that nothing disorders; the lines the
// parse refuses come before the differences.
bool HubMatches(SimulatedUnit& unit)
{
    static model::NodeArray scratch;
    const int refused = ParseHubConfiguration(unit.Configuration(), scratch, {0, false});
    ProgramBench bench(unit);
    ActiveNode = 0;
    CompareConfig_Click(bench.Link(), bench);
    return Told(bench, "The Hub matches the Configuration") || model::MessageCount() == refused;
}

// Only an ident of five characters is the site's hub's when the hub
// answers it.
bool HubIdentAnswerable()
{
    const std::string& ident = Nodes[0].NodeIdent();
    return ident.size() == 5 && ident.find(' ') == std::string::npos;
}

bool ToldStarting(const ProgramBench& bench, const std::string& start)
{
    return std::any_of(bench.Boxes.begin(), bench.Boxes.end(),
                       [&start](const std::string& box) { return box.rfind(start, 0) == 0; });
}

// The opening queries and Read Config of a simulated hub holding the
// statements and the site's header, its answers faulted as drawn. The read
// says it read the hub only when the site it made is the hub's, header
// included; neither says it could not learn what a hub answered properly.
void ReadTheHub(const std::vector<std::string>& statements, DrawnFaults& faults)
{
    SimulatedUnit unit;
    Prepare(unit);
    unit.SetConfiguration(statements);
    unit.DrawAnswerFaults(faults.Drawer());
    ProgramBench bench(unit);
    LogProg = false;
    ActiveNode = 0;
    const bool identified = HubIdentAnswerable();
    ConnectToUnit(bench.Link(), bench);
    const auto logged = [&bench](const char* text) {
        return std::find(bench.Log.begin(), bench.Log.end(), text) != bench.Log.end();
    };
    if ((logged("Unable to Connect to Device") || logged("The Connected Node is the Wrong Type") ||
         logged("Ident of Unit Does Not Match Configuration")) &&
        identified && faults.QueriesAnswered(unit.Exchanges(), kQueries))
        Finding("the opening says the hub is not the site's hub over a hub that answered every query");
    StartNewSite();
    ReadHubConfiguration(bench.Link(), bench);
    for (const char* failed : {"Unable to Verify The Type", "Unable to Read The Ident", "Unable to Read the Number",
                               "Unable to Read the Loop Protocol", "A Full Configuration Can Only"})
        if (ToldStarting(bench, failed) && faults.QueriesAnswered(unit.Exchanges(), kQueries))
            Finding("Read Config says it could not learn what the hub answered properly");
    if (!Told(bench, "Config Successfully Read"))
        return;
    // The same read on a link that nothing disorders is the hub's site:
    // saved, the two give the same bytes.
    static const std::string read = fuzz::FuzzFile("read.qvs");
    static const std::string clean = fuzz::FuzzFile("clean.qvs");
    const int16_t readLoops = LoopCount, readProtocol = LoopProtocol;
    const std::vector<UnitExchange> asked = unit.Exchanges();
    std::string error;
    model::SaveSiteFile(read, &error);
    unit.ClearFailure();
    ProgramBench undisturbed(unit);
    StartNewSite();
    ReadHubConfiguration(undisturbed.Link(), undisturbed);
    if (!Told(undisturbed, "Config Successfully Read"))
        return;
    if ((readLoops != LoopCount && faults.LastAskAnswered(asked, "QUERY LOOPCOUNT")) ||
        (readProtocol != LoopProtocol && faults.LastAskAnswered(asked, "GET LP")))
        Finding("Read Config says it read the hub with another loop count or loop protocol than the hub's");
    // A hub that refused every send of a query is one that does not know it:
    // the read keeps the default, and the rest of the site is the hub's.
    LoopCount = readLoops;
    LoopProtocol = readProtocol;
    model::SaveSiteFile(clean, &error);
    if (fuzz::ReadFile(read) != fuzz::ReadFile(clean))
        Finding("Read Config says it read the hub over a site that differs from the hub");
}

// Programs a simulated hub holding HubNodes with the site, then compares it.
void ProgramTheHub(bool clearAnswer, const std::string& disorderBytes, DrawnFaults* faults)
{
    // The site may put a device on a combination head's second address:
    // those addresses are the site's, not the programming's, to answer twice.
    std::vector<std::string> site;
    const ProgrammingList full = BuildFullProgrammingList(Nodes, true);
    for (const ProgrammingCommand& c : full.Commands())
        site.push_back(c.Command);
    const Disorder disorder = ReadDisorder(disorderBytes, site);

    SimulatedUnit unit;
    Prepare(unit);
    unit.SetConfiguration(HubStatements());
    if (!disorder.refused.empty())
        unit.Refuse(disorder.refused);
    if (!disorder.repeated.empty())
        unit.RepeatAnswers(disorder.repeated);
    if (disorder.downloadTwice)
        unit.AnswerTwice("GET SYSCONFIG");
    if (disorder.statusWhileDeleting)
        for (const char* remove : {"FDELETE", "RELATION DEL"})
            unit.SendBeforeAnswers(remove, "DS LOOP1 5 SSG");
    if (disorder.resendsRefused)
        for (const char* start : {"POPULATE", "FDELETE", "RELATION", "XPROTRADIOCHANNELS", "YPROTRADIOCHANNELS"})
            unit.RefuseResends(start);
    if (faults)
        unit.DrawAnswerFaults(faults->Drawer());
    ProgramBench bench(unit);
    bench.ClearAnswer = clearAnswer;
    bench.LateCommand = disorder.lateCommand;
    bench.LateTicks = disorder.lateTicks;
    bench.InTurn = disorder.inTurn;
    LogProg = false;
    ConfirmDiffs = false;
    CommsCloseOnComplete = false;
    ActiveNode = 0;
    cmdUpdate_Click(bench.Link(), bench);
    // The hub is the site's, header included: a run that stops on the hub's
    // type, ident, loop count or protocol may do so only where some query
    // had no proper answer.
    // (A site whose loop protocol no hub reports is refused rightly.)
    if (faults && disorder.lateCommand < 0 && HubIdentAnswerable() && LoopProtocol >= 1 && LoopProtocol <= 3 &&
        (Told(bench, "The Connected Node is not a HUB") || ToldStarting(bench, "Unable to Verify The Ident") ||
         ToldStarting(bench, "The Ident in the Radio Hub") || ToldStarting(bench, "Unable to read the number") ||
         ToldStarting(bench, "The number of Loops supported") || ToldStarting(bench, "The Loop Protocol in the Hub")) &&
        faults->QueriesAnswered(unit.Exchanges(), kQueries))
        Finding("Program says the hub is not the site's over a hub that answered every query properly");
    if (faults && faults->twice) {
        // The first run's words are the hub's as the first run left it.
        if (disorder.lateTicks < 3 && !DeletedAfterAll(bench, unit.Configuration()).empty())
            Finding("Program says the hub could not delete what it no longer holds");
        bench.Boxes.clear();
        faults->runStart = faults->drawn.size();
        ActiveNode = 0;
        cmdUpdate_Click(bench.Link(), bench);
    }
    const std::vector<std::string> lastRun = bench.Boxes;
    if (faults && !faults->RefusedAtOnceSentAgain(bench).empty())
        Finding("the link sent a command again that the hub had refused at once");

    const bool holds = Told(bench, "Programming Completed Successfully") ||
                       Told(bench, "The Config matches the Radio Hub already, Update not required");
    if (holds && !AddressesAnsweredTwice(unit.Configuration(), site).empty())
        Finding("Program says the hub holds the site while a loop address is answered twice");
    // A hub that answers a command only after its last time-out has been
    // given up on: the link can only go by what came before.
    if (disorder.lateTicks < 3) {
        if (!DeletedAfterAll(bench, unit.Configuration()).empty())
            Finding("Program says the hub could not delete what it no longer holds");
        const bool aborted = std::any_of(bench.Boxes.begin(), bench.Boxes.end(), [](const std::string& box) {
            return box.rfind("Programming Aborted", 0) == 0;
        });
        if (aborted && TookEveryStatement(bench))
            Finding("Program says it aborted over a hub that took every statement");
    }
    // The list goes on only on the hub's answer: each of its commands but
    // the last one sent was acknowledged; after the completion, all were.
    // (A hub that answers late, twice or out of turn may have an answer
    // taken for another command's: then only the hub's end state counts.)
    size_t last = 0;
    for (size_t i = 0; i < bench.Exchanges.size(); ++i)
        if (IsConfigurationCommand(bench.Exchanges[i].Command))
            last = i;
    const bool drawn = faults && !faults->rules.empty();
    for (size_t i = 0; !disorder.Any() && !drawn && i < bench.Exchanges.size(); ++i) {
        const ProgramBench::Exchange& e = bench.Exchanges[i];
        const bool listed = e.Command.rfind("FDELETE", 0) != 0 && e.Command.rfind("RELATION DEL", 0) != 0;
        if (IsConfigurationCommand(e.Command) && (holds || (listed && i < last)) && !Applied(e))
            Finding("programming counted a command as acknowledged that the hub did not apply");
    }

    // Compare on the same link, its leftovers and the hub's disorder with
    // it, then on a link of its own: neither says the hub matches unless it
    // does, and Program said it holds the site only if it does.
    bench.Boxes.clear();
    ActiveNode = 0;
    CompareConfig_Click(bench.Link(), bench);
    const bool said = Told(bench, "The Hub matches the Configuration");
    unit.ClearFailure();
    const bool matches = HubMatches(unit);
    if (matches && !AddressesAnsweredTwice(unit.Configuration(), site).empty())
        Finding("Compare says the hub matches while a loop address is answered twice");
    if (holds && !matches)
        Finding("Program says the hub holds the site and Compare finds differences");
    if (said && !matches)
        Finding("Compare says the hub matches over a hub that differs");
    // Whatever came over the link: a hub that holds the whole site and took
    // every statement sent to it, at one send or another, was not given up on
    // (by the last run: an earlier one may have been, rightly).
    bench.Boxes = lastRun;
    const std::vector<UnitExchange> exchanges = unit.Exchanges();
    const bool tookAll = std::all_of(exchanges.begin(), exchanges.end(), [&exchanges](const UnitExchange& e) {
        return !IsConfigurationCommand(e.Command) ||
               std::any_of(exchanges.begin(), exchanges.end(),
                           [&e](const UnitExchange& x) { return x.Command == e.Command && x.Taken; });
    });
    if (matches && tookAll && ToldStarting(bench, "Programming Aborted"))
        Finding("Program says it aborted over a hub that holds the whole site");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = fuzz::FuzzFile("input.qvs");
    static const std::string before = fuzz::FuzzFile("before.qvs");
    static const std::string after = fuzz::FuzzFile("after.qvs");
    const std::string whole(reinterpret_cast<const char*>(data), size);
    // The hub's drawn faults follow a marker; the bytes before it are read
    // as they always were.
    const size_t mark = whole.find(kFaultsMark);
    const std::string bytes = whole.substr(0, mark);
    const bool drawing = mark != std::string::npos;
    DrawnFaults faults(drawing ? whole.substr(mark + kFaultsMark.size()) : std::string());
    const size_t cut = std::min(bytes.find('\0'), bytes.size());
    fuzz::WriteFile(input, bytes.substr(0, cut));
    if (!fuzz::OpenSiteAfresh(input))
        return 0;
    // The site's own map first: on a loop-interface site it puts the RLM in
    // use, which is the map's to do, not the comparison's.
    BuildAddressMap();
    std::string error;
    if (!model::SaveSiteFile(before, &error))
        fuzz::Finding("a site that was opened could not be saved");
    CopyNodeArray(Nodes, HubNodes, 100);
    for (int n = 0; n < model::kNodeCount; ++n) // a download numbers its nodes by place
        HubNodes[n].SetNodeNumber(n);
    const std::string changes = cut < bytes.size() ? bytes.substr(cut + 1) : std::string();
    for (size_t k = 0; k + 2 < changes.size(); k += 3)
        Change(static_cast<uint8_t>(changes[k]), static_cast<uint8_t>(changes[k + 1]),
               static_cast<uint8_t>(changes[k + 2]));

    // A site that programming would take (the check uses the hub's owner
    // table as its scratch, so it goes first), its nodes in use numbered by
    // place as the program saves them (another number changes the hop
    // counts that Compare Config compares).
    bool numbered = true;
    for (int n = 0; n < model::kNodeCount; ++n)
        numbered = numbered && (!Nodes[n].InUse() || Nodes[n].NodeNumber() == n);
    const bool programmable = numbered && model::CheckConfiguration() == 0;
    BuildAddressMap();
    BuildHubAddressMap();
    CheckOwners(LoopAddressOwner);
    CheckOwners(HubLoopAddressOwner);
    model::MessageList.clear();
    ActiveNode = changes.empty() ? 0 : static_cast<uint8_t>(changes[0]) % 34 - 1;
    const int16_t differences = CompareHubWithConfiguration();
    if (differences != model::MessageCount())
        fuzz::Finding("Compare Config counts other lines than it lists");
    const int16_t listed = BuildChangeList();
    // The count may take repeats that the list leaves out, never fewer.
    if (listed < kChangeListChannelsFirst || (listed >= 0 && listed < model::MessageCount() - 1))
        fuzz::Finding("the change list counts fewer changes than it lists");
    // Programming says the hub matches exactly when Compare Config does.
    if (programmable && ActiveNode == 0 && (listed == 0) != (differences == 0))
        fuzz::Finding(listed == 0 ? "the change list finds nothing where Compare Config lists differences"
                                  : "the change list finds changes where Compare Config lists none");

    if (!model::SaveSiteFile(after, &error))
        fuzz::Finding("the site could not be saved after the comparison");
    if (fuzz::ReadFile(after) != fuzz::ReadFile(before))
        fuzz::Finding("the comparison changed the site");
    // The bytes past the last whole change say how the hub talks.
    const std::vector<std::string> hubStatements = HubStatements();
    if (programmable)
        ProgramTheHub(!changes.empty() && (static_cast<uint8_t>(changes.back()) & 1) == 1,
                      changes.substr(changes.size() - changes.size() % 3),
                      drawing && !faults.read ? &faults : nullptr);
    if (drawing && faults.read)
        ReadTheHub(hubStatements, faults);
    return 0;
}
