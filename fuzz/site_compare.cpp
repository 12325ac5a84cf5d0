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
//
// After a second marker, the hub also corrupts the bytes of lines it sends
// (a byte replaced, dropped or inserted, a bit flipped, a line cut short or
// run into the next) and puts stray lines of its own in a download or in
// place of a lost answer. A corrupted line without a form the link takes is
// one the link must see through: an answer so broken is no answer, and the
// hub answers the query asked again. A corrupted line that keeps such a
// form cannot be told from the hub's own: a run with one is not held to the
// words that rest on the hub's lines, and the process tells at its exit how
// often those words went wrong. Whatever the faults, "Unable to Get Config
// due to Errors" comes only after three requests of the download in a row
// went unanswered, and no delete waits out its whole time-out after the hub
// has sent a line.
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

#include <cctype>
#include <cstdio>
#include <map>
#include <regex>
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

// The forms of the lines the link takes, as it reads a line (an underscore
// a blank, a line feed dropped, a CR the line's end, trailing blanks not
// counted). A line the unit sent corrupted that still has a form of the
// answers to its command (or of a refusal) cannot be told from a line the
// hub meant: the link can only take it as it reads.
std::vector<std::string> LinesSeen(const std::string& bytes)
{
    std::vector<std::string> lines(1);
    for (const char c : bytes) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back() += c == '_' ? ' ' : c;
    }
    for (std::string& line : lines)
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
    std::erase(lines, std::string());
    return lines;
}

bool Matches(const std::string& line, const std::string& pattern)
{
    static std::map<std::string, std::regex> compiled;
    auto found = compiled.find(pattern);
    if (found == compiled.end())
        found = compiled.emplace(pattern, std::regex(pattern)).first;
    return std::regex_match(line, found->second);
}

// Plain text: words of letters, digits and . : , = / - ( ), one blank apart.
const std::string kWord = "[A-Za-z0-9.:,=/()-]+";
const std::string kPlain = kWord + "( " + kWord + ")*";

bool Plain(const std::string& line)
{
    return Matches(line, kPlain);
}

bool Has(const std::string& line, const char* text)
{
    return line.find(text) != std::string::npos;
}

bool RefusalForm(const std::string& line)
{
    return Matches(line, "Unknown Command( " + kPlain + ")?");
}

bool VersionForm(const std::string& line)
{
    if (!Plain(line) || !Matches(line, "(HUB|RCC|WZM|ALID|GELI|ZWZM|ZRLM)[A-Z0-9]*( .*)?"))
        return false;
    const size_t at = line.find(" V");
    return at == std::string::npos || Matches(line.substr(at + 1, line.find(' ', at + 1) - at - 1), "V[0-9][0-9.]*");
}

bool DownloadForm(const std::string& line)
{
    for (const char* form :
         {"EXPORT SYSCONFIG", "END OF DATA",
          "POPULATE LOOP[0-9] NODE [0-9]{1,3} [0-9]{1,3} [0-9A-Fa-f]{5}( [0-9]{1,3})?",
          "POPULATE LOOP[0-9] [A-Z]* [0-9]{1,3} [0-9]{1,3} [0-9A-Fa-f]{5}( {1,2}[0-9]{1,2})?",
          "RELATION [A-Z]+ [0-9]{1,3} [0-9]{1,3} [0-9]{1,3}", "YPROTRADIOCHANNELS [0-9]{1,3} [0-9]{1,3}",
          "XPROTRADIOCHANNELS [0-9]{1,3} [0-9]{1,3}( [0-9]{1,3})?"})
        if (Matches(line, form))
            return true;
    return false;
}

// What the hub says of a statement or a delete besides its echo.
bool StatementVerdictForm(const std::string& line)
{
    if (!Plain(line))
        return false;
    std::string upper = line;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    if (Has(upper, "NODE RELATION ALREADY DEFINED") || Has(upper, "RELATION ALREADY EXISTS") ||
        Has(line, "POPULATE FAIL") || Has(line, "ERROR") || Has(line, "DELETE DEVICE"))
        return true;
    for (const char* done : {"DEVICE DELETED", "DELETE NODE", "DEVICE NO RESPONSE", "DEVICE DELETE TIMEOUT",
                             "DELETE RELATION"})
        if (line.rfind(done, 0) == 0)
            return true;
    return false;
}

// The forms of the answers to the command (its blanks as the link reads
// them); to a command the runs do not send, any plain line.
bool AnswerForm(const std::string& line, const std::string& command)
{
    if (command == "GET SWV")
        return VersionForm(line);
    if (command == "IDENTREAD")
        return Matches(line, "IDENTREAD [0-9A-Fa-f]{5}");
    if (command == "QUERY LOOPCOUNT")
        return Matches(line, "QUERY LOOPCOUNT [0-9]");
    if (command == "GET LP")
        return Matches(line, "LP( [A-Za-z0-9]+)+");
    if (command == "GET SYSCONFIG")
        return DownloadForm(line);
    if (command == "DEBUGOFF ALL")
        return Plain(line) && Has(line, "DEBUGOFF");
    if (command == "DS MON DIS")
        return Plain(line) && Has(line, "DS MON STOP");
    if (command == "POPULATE CLEAR" && Plain(line) && Has(line, "CLEAR"))
        return true;
    if (IsConfigurationCommand(command))
        return line == command || (line.rfind(command + " ", 0) == 0 && Plain(line.substr(command.size() + 1))) ||
               StatementVerdictForm(line);
    return Plain(line);
}

// The line has a form of an answer to the command, or of a refusal. A line
// sent with no command's answer (chatter, a repeat, a stray line) may be
// taken for any command's: it keeps a form when it has one of any command
// the runs send.
bool KeepsForm(const std::string& line, std::string command)
{
    if (RefusalForm(line))
        return true;
    if (!command.empty()) {
        std::replace(command.begin(), command.end(), '_', ' ');
        return AnswerForm(line, command);
    }
    for (const char* query : {"GET SWV", "IDENTREAD", "QUERY LOOPCOUNT", "GET LP", "GET SYSCONFIG", "DEBUGOFF ALL",
                              "DS MON DIS", "POPULATE CLEAR"})
        if (AnswerForm(line, query))
            return true;
    return StatementVerdictForm(line) || Matches(line, "(FDELETE DEVICE|RELATION DEL) " + kPlain);
}

// What the corruptions of the lines sent for one command did: whether any
// line came other than meant, one of its answer did, and one still had a
// form the link takes.
struct Damage
{
    bool any = false;
    bool answer = false;
    bool formKept = false;
};

Damage DamageOf(const UnitExchange& e)
{
    Damage damage;
    for (const CorruptedLine& line : e.Corrupted) {
        const std::vector<std::string> seen = LinesSeen(line.Sent);
        const std::vector<std::string> meant = LinesSeen(line.Meant);
        if (seen == meant)
            continue;
        damage.any = true;
        damage.answer = damage.answer || line.OfAnswer;
        for (const std::string& l : seen)
            if (std::find(meant.begin(), meant.end(), l) == meant.end() &&
                KeepsForm(l, line.OfAnswer ? e.Command : std::string()))
                damage.formKept = true;
    }
    return damage;
}

Damage DamageAt(const std::vector<UnitExchange>& exchanges, int index)
{
    return index >= 0 && static_cast<size_t>(index) < exchanges.size() ? DamageOf(exchanges[index]) : Damage();
}

// The exchanges from `from` on: whether any line came corrupted, and
// whether one kept its form.
Damage DamageSince(const std::vector<UnitExchange>& exchanges, size_t from)
{
    Damage all;
    for (size_t i = from; i < exchanges.size(); ++i) {
        const Damage d = DamageOf(exchanges[i]);
        all.any = all.any || d.any;
        all.answer = all.answer || d.answer;
        all.formKept = all.formKept || d.formKept;
    }
    return all;
}

// A line other than meant came for the command, or a stray line with its answer.
bool Disturbed(const std::vector<UnitExchange>& exchanges, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= exchanges.size())
        return false;
    const UnitExchange& e = exchanges[index];
    return !e.Strays.empty() || DamageOf(e).any;
}

bool IsDelete(const std::string& command)
{
    return command.rfind("FDELETE", 0) == 0 || command.rfind("RELATION DEL", 0) == 0;
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
//
// After a second marker, rules of six bytes for the bytes of the lines the
// hub sends (command, send, line, fault, at, value): command and send as
// above; the line of those sent for the send, from 0 (the lines sent before
// the answer first); the fault byte's bits 0-2: a byte replaced by value, a
// byte dropped, value inserted, bit value % 8 flipped, the line cut short,
// the line run on into the next (its CR lost), or (6 and 7) a stray line
// (bits 3-5 which): in a download, after 1 + `line` of its lines but before
// its end; before the answer of another command, or alone where the answer
// is lost. `at` is the byte's place in the line. A stray line that could be
// the verdict on the statement it comes with (a refusal, "POPULATE FAIL")
// is left out: no answer of the statement's own follows it for the link to
// place it by.
const std::string kFaultsMark("\0FAULTS\0", 8);
const std::string kBytesMark("\0BYTES\0", 7);

const char* const kStrayLines[] = {"Unknown Command", "DS 4 1 SSG",    "POPULATE FAIL",
                                   "DS ERROR 5",      "RADIO BUSY",    "POPULATE LOOP1 NODE 30 9 0F00D 0",
                                   "DS LOOP1 5 SSG",  "SF CS RUNNING 30"};

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
    struct ByteRule
    {
        int command, send;
        bool later;
        uint8_t line, fault, at, value;
    };
    std::vector<ByteRule> byteRules;
    // Every command line the hub received and the fault it drew for it; the
    // first of the run under way.
    std::vector<std::pair<FaultContext, AnswerFault>> drawn;
    size_t runStart = 0;

    DrawnFaults(const std::string& bytes, const std::string& byteBytes)
    {
        if (bytes.empty())
            return;
        read = (bytes[0] & 1) != 0;
        twice = (bytes[0] & 2) != 0;
        for (size_t k = 1; k + 2 < bytes.size(); k += 3)
            rules.push_back(Rule{static_cast<uint8_t>(bytes[k]), static_cast<uint8_t>(bytes[k + 1]) & 0x7F,
                                 (static_cast<uint8_t>(bytes[k + 1]) & 0x80) != 0,
                                 static_cast<uint8_t>(bytes[k + 2])});
        const auto at = [&byteBytes](size_t k) { return static_cast<uint8_t>(byteBytes[k]); };
        for (size_t k = 0; k + 5 < byteBytes.size(); k += 6)
            byteRules.push_back(
                ByteRule{at(k), at(k + 1) & 0x7F, (at(k + 1) & 0x80) != 0, at(k + 2), at(k + 3), at(k + 4), at(k + 5)});
    }
    static bool Hits(int command, int send, bool later, const FaultContext& c)
    {
        return command == c.Ordinal && (send == c.Send || (later && c.Send > send));
    }
    // The fault the rules give a send.
    AnswerFault Fault(const FaultContext& c) const
    {
        static const char* const chatter[] = {"RADIO BUSY", "SF CS RUNNING 30", "DEBUG TICK",
                                              "Node Relation already defined"};
        AnswerFault f;
        for (const Rule& r : rules) {
            if (!Hits(r.command, r.send, r.later, c))
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
        for (const ByteRule& r : byteRules) {
            if (!Hits(r.command, r.send, r.later, c))
                continue;
            const int kind = r.fault & 7;
            if (kind < 6)
                f.Bytes.push_back(ByteFault{static_cast<ByteFault::Kind>(kind), r.line, r.at, r.value});
            else if (const std::string stray = kStrayLines[(r.fault >> 3) & 7]; StrayPlaced(c.Command, f, stray))
                f.Strays.push_back(StrayLine{c.Command == "GET SYSCONFIG" ? 1u + r.line : 0u, stray});
        }
        return f;
    }
    // A stray line comes inside a download the hub answers, or alone or
    // before the answer where it cannot be the verdict on a statement: a
    // delete is settled by the hub's state, a query's refusal waits for
    // its answer.
    static bool StrayPlaced(const std::string& command, const AnswerFault& f, const std::string& stray)
    {
        using enum AnswerFault::Kind;
        const bool answered = f.What == None || f.What == Repeated || f.What == Garbled;
        if (command == "GET SYSCONFIG" && answered)
            return !DownloadForm(stray);
        if (IsDelete(command))
            return true;
        if (IsConfigurationCommand(command))
            return !KeepsForm(stray, command);
        return !answered || !KeepsForm(stray, command);
    }
    AnswerFault Draw(const FaultContext& c)
    {
        const AnswerFault f = Fault(c);
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
    // An answer that came with a line whose form is broken is none: the
    // link must ask again, and the hub answers the next send as drawn (a
    // send the link did not make, as the rules would have it). One that
    // came with a line that kept its form the link cannot tell: it is not
    // held against the link.
    bool AnsweredProperly(const std::vector<UnitExchange>& exchanges, int command) const
    {
        int heldUntil = 0, lastSend = -1;
        bool broken = false;
        size_t next = drawn.size();
        std::string asked;
        for (size_t i = 0; i < drawn.size(); ++i) {
            const auto& [c, f] = drawn[i];
            if (c.Ordinal < command && f.LateBy > 0)
                return false;
            if (c.Ordinal != command)
                continue;
            asked = c.Command;
            lastSend = c.Send;
            next = i + 1;
            const Damage damage = DamageAt(exchanges, c.Index);
            if (damage.formKept)
                return false;
            const int due = std::max(heldUntil, c.Send + f.LateBy);
            const bool intact = f.What == AnswerFault::Kind::None || f.What == AnswerFault::Kind::Repeated;
            if (intact && static_cast<size_t>(c.Index) < exchanges.size() && exchanges[c.Index].Taken &&
                due <= LastSend(c.Command)) {
                // A hub whose own answer has no form of it (an ident that is
                // not five hexadecimal characters) did not answer properly.
                const std::vector<std::string>& meant = exchanges[c.Index].Answer;
                const std::string& query = c.Command;
                if (!std::all_of(meant.begin(), meant.end(),
                                 [&query](const std::string& l) { return KeepsForm(l, query); }))
                    return false;
                if (!damage.answer)
                    return true;
                broken = true;
            }
            if (f.InTurn)
                heldUntil = std::max(heldUntil, c.Send + f.LateBy);
        }
        if (!broken)
            return false;
        // Asked again as a new command, or as a resend of the same one.
        if (next < drawn.size() && drawn[next].first.Command == asked && drawn[next].first.Send == 0)
            return AnsweredProperly(exchanges, drawn[next].first.Ordinal);
        for (int send = lastSend + 1; send <= LastSend(asked); ++send) {
            const AnswerFault f = Fault(FaultContext{asked, -1, command, send, true, true});
            if ((f.What == AnswerFault::Kind::None || f.What == AnswerFault::Kind::Repeated) && f.LateBy == 0 &&
                f.Bytes.empty())
                return std::max(heldUntil, send) <= LastSend(asked);
        }
        return false;
    }
    // The debug switch is not resent: its first time-out ends it.
    static int LastSend(const std::string& command) { return command == "DEBUGOFF ALL" ? 0 : kMaxResends; }
    // Some answer came only after the link had given its command up at its
    // last time-out: the link can only go by what came before it, and a
    // line of that answer may be taken for a later command's.
    bool AnsweredAfterGivingUp() const
    {
        return std::any_of(drawn.begin(), drawn.end(), [](const auto& d) {
            return d.second.LateBy > 0 && d.first.Send + d.second.LateBy > LastSend(d.first.Command);
        });
    }
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
    // Every query of these the hub received (from the from-th command line
    // drawn) was answered properly.
    bool QueriesAnswered(const std::vector<UnitExchange>& exchanges, const std::vector<std::string>& queries,
                         size_t from = 0) const
    {
        for (size_t i = from; i < drawn.size(); ++i) {
            const FaultContext& c = drawn[i].first;
            if (c.Send == 0 && std::find(queries.begin(), queries.end(), c.Command) != queries.end() &&
                !AnsweredProperly(exchanges, c.Ordinal))
                return false;
        }
        return true;
    }
    // A statement or a delete the hub refused at its first send, at once, with nothing
    // else of the hub's on its way or just before, that the link sent again
    // all the same.
    std::string RefusedAtOnceSentAgain(const ProgramBench& bench, const std::vector<UnitExchange>& exchanges) const
    {
        // Only while every answer of the run so far came as sent: once one
        // did not, the link cannot tell a refusal owed to an earlier send.
        for (size_t i = runStart; i < drawn.size(); ++i) {
            const auto& [c, f] = drawn[i];
            if (i > runStart) {
                const AnswerFault& before = drawn[i - 1].second;
                if (before.What != AnswerFault::Kind::None || before.LateBy > 0 || !before.Before.empty() ||
                    Disturbed(exchanges, drawn[i - 1].first.Index))
                    return std::string();
            }
            const bool plain = f.What == AnswerFault::Kind::Refused && f.Line.empty() && f.LateBy == 0 &&
                               f.Before.empty() && !Disturbed(exchanges, c.Index) &&
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

// What the runs of one input came to: a line the hub sent came corrupted,
// one kept its form, and with one kept, the words said Programming
// Completed, that the hub matches, or Config Successfully Read over a hub
// that differs.
struct Tally
{
    bool corrupted = false, formKept = false, completed = false, matches = false, read = false;
};
Tally tally; // the input under way

// The inputs' tallies, told when the process ends.
struct Counts
{
    long corrupted = 0, formKept = 0, completed = 0, matches = 0, read = 0;
} counts;

void TellCounts()
{
    std::fprintf(stderr,
                 "form-keeping corruptions: %ld of %ld runs with a corrupted line kept a form; of them, wrong "
                 "Completed %ld, wrong matches %ld, wrong Config Successfully Read %ld\n",
                 counts.formKept, counts.corrupted, counts.completed, counts.matches, counts.read);
}

void Count(const Tally& run)
{
    counts.corrupted += run.corrupted ? 1 : 0;
    counts.formKept += run.formKept ? 1 : 0;
    counts.completed += run.completed ? 1 : 0;
    counts.matches += run.matches ? 1 : 0;
    counts.read += run.read ? 1 : 0;
}

void TallyDamage(const Damage& damage)
{
    tally.corrupted = tally.corrupted || damage.any;
    tally.formKept = tally.formKept || damage.formKept;
}

// The words said what the hub does not hold: a finding, unless a line the
// hub sent came corrupted with its form kept, which the link cannot see
// (then it is counted).
void WrongWords(bool formKept, bool& counted, const char* finding)
{
    if (!formKept)
        Finding(finding);
    counted = true;
}

// "Unable to Get Config due to Errors" only where the hub did not answer
// the download when it was last asked: three requests of it in a row, none
// answered (or the port gone).
void CheckDownloadFailures(const ProgramBench& bench)
{
    for (const ProgramBench::Box& box : bench.Said) {
        if (box.Text != "Unable to Get Config due to Errors" || box.PortFailed)
            continue;
        int requests = 0;
        for (size_t i = box.Sends; i > 0; --i) {
            const std::string& command = bench.Exchanges[i - 1].Command;
            if (command.empty())
                continue;
            if (command != "GET SYSCONFIG")
                break;
            ++requests;
        }
        if (requests < kMaxResends + 1)
            Finding("a run says it could not get the configuration of a hub it had not asked three times");
    }
}

// A delete waits for its answer as long as the hub may take, but not on a
// hub that has spoken meanwhile.
void CheckDeleteWaits(const ProgramBench& bench)
{
    if (!bench.WaitedOutWhileTalking.empty())
        Finding("a delete waited out its whole time-out after the hub had sent a line");
}

// The hub knew the query the last time it was asked: it took a send of it.
bool HubKnew(const DrawnFaults& faults, const std::vector<UnitExchange>& exchanges, const std::string& query)
{
    int ordinal = -1;
    for (const auto& [c, f] : faults.drawn)
        if (c.Command == query)
            ordinal = c.Ordinal;
    return std::any_of(faults.drawn.begin(), faults.drawn.end(), [&](const auto& d) {
        return d.first.Ordinal == ordinal && static_cast<size_t>(d.first.Index) < exchanges.size() &&
               exchanges[d.first.Index].Taken;
    });
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
    CheckDownloadFailures(bench);
    const std::vector<UnitExchange> asked = unit.Exchanges();
    const Damage damage = DamageSince(asked, 0);
    TallyDamage(damage);
    if (!Told(bench, "Config Successfully Read"))
        return;
    // The same read on a link that nothing disorders is the hub's site:
    // saved, the two give the same bytes.
    static const std::string read = fuzz::FuzzFile("read.qvs");
    static const std::string clean = fuzz::FuzzFile("clean.qvs");
    const int16_t readLoops = LoopCount, readProtocol = LoopProtocol;
    std::string error;
    model::SaveSiteFile(read, &error);
    unit.ClearFailure();
    ProgramBench undisturbed(unit);
    StartNewSite();
    ReadHubConfiguration(undisturbed.Link(), undisturbed);
    if (!Told(undisturbed, "Config Successfully Read"))
        return;
    // (A line that kept its form may have been the hub's answer: only a
    // hub that did not know the query keeps the default.)
    const auto answered = [&](const char* query) {
        return damage.formKept ? HubKnew(faults, asked, query) : faults.LastAskAnswered(asked, query);
    };
    if ((readLoops != LoopCount && answered("QUERY LOOPCOUNT")) ||
        (readProtocol != LoopProtocol && answered("GET LP")))
        WrongWords(damage.formKept, tally.read,
                   "Read Config says it read the hub with another loop count or loop protocol than the hub's");
    // A hub that refused every send of a query is one that does not know it:
    // the read keeps the default, and the rest of the site is the hub's.
    LoopCount = readLoops;
    LoopProtocol = readProtocol;
    model::SaveSiteFile(clean, &error);
    if (fuzz::ReadFile(read) != fuzz::ReadFile(clean))
        WrongWords(damage.formKept, tally.read, "Read Config says it read the hub over a site that differs from the hub");
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
    // The hub's version (3.10) takes deletes.
    const auto checkRun = [&] {
        CheckDownloadFailures(bench);
        CheckDeleteWaits(bench);
        if (faults && disorder.lateCommand < 0 && ToldStarting(bench, "Some changes have to be done at the Hub") &&
            faults->LastAskAnswered(unit.Exchanges(), "GET SWV"))
            Finding("Program says the hub takes no deletes over a hub whose version takes them");
    };
    checkRun();
    if (faults && faults->twice) {
        // The first run's words are the hub's as the first run left it.
        if (disorder.lateTicks < 3 && !faults->AnsweredAfterGivingUp() && !DamageSince(unit.Exchanges(), 0).formKept &&
            !DeletedAfterAll(bench, unit.Configuration()).empty())
            Finding("Program says the hub could not delete what it no longer holds");
        bench.Boxes.clear();
        faults->runStart = faults->drawn.size();
        ActiveNode = 0;
        cmdUpdate_Click(bench.Link(), bench);
        checkRun();
    }
    const std::vector<std::string> lastRun = bench.Boxes;
    const std::vector<UnitExchange> programmed = unit.Exchanges();
    // A line that came corrupted with its form kept may have told the link
    // anything the hub could have said: the words that rest on the hub's
    // lines are counted then, not held against the link.
    const Damage programDamage = DamageSince(programmed, 0);
    if (faults && !faults->RefusedAtOnceSentAgain(bench, programmed).empty())
        Finding("the link sent a command again that the hub had refused at once");

    const bool completed = Told(bench, "Programming Completed Successfully");
    const bool holds = completed || Told(bench, "The Config matches the Radio Hub already, Update not required");
    bool& wrongly = completed ? tally.completed : tally.matches;
    if (holds && !AddressesAnsweredTwice(unit.Configuration(), site).empty())
        WrongWords(programDamage.formKept, wrongly,
                   "Program says the hub holds the site while a loop address is answered twice");
    // A hub that answers a command only after its last time-out has been
    // given up on: the link can only go by what came before.
    if (disorder.lateTicks < 3 && !(faults && faults->AnsweredAfterGivingUp()) && !programDamage.formKept) {
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
    const bool drawn = faults && (!faults->rules.empty() || !faults->byteRules.empty());
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
    const size_t compareFrom = faults ? faults->drawn.size() : 0;
    CompareConfig_Click(bench.Link(), bench);
    if (faults && disorder.lateCommand < 0 && HubIdentAnswerable() &&
        (ToldStarting(bench, "The Ident in") || ToldStarting(bench, "Unable to Verify The Ident")) &&
        faults->QueriesAnswered(unit.Exchanges(), {"IDENTREAD"}, compareFrom))
        Finding("Compare says the hub is not the site's over a hub that answered its ident properly");
    CheckDownloadFailures(bench);
    CheckDeleteWaits(bench);
    const bool said = Told(bench, "The Hub matches the Configuration");
    const Damage compareDamage = DamageSince(unit.Exchanges(), 0);
    TallyDamage(compareDamage);
    unit.ClearFailure();
    const bool matches = HubMatches(unit);
    if (matches && !AddressesAnsweredTwice(unit.Configuration(), site).empty())
        Finding("Compare says the hub matches while a loop address is answered twice");
    if (holds && !matches)
        WrongWords(programDamage.formKept, wrongly, "Program says the hub holds the site and Compare finds differences");
    if (said && !matches)
        WrongWords(compareDamage.formKept, tally.matches, "Compare says the hub matches over a hub that differs");
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
    if (matches && tookAll && !programDamage.formKept && ToldStarting(bench, "Programming Aborted"))
        Finding("Program says it aborted over a hub that holds the whole site");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = fuzz::FuzzFile("input.qvs");
    static const std::string before = fuzz::FuzzFile("before.qvs");
    static const std::string after = fuzz::FuzzFile("after.qvs");
    static const bool told = [] {
        fuzz::RunReport = TellCounts;
        return std::atexit(TellCounts) == 0;
    }();
    (void)told;
    const std::string whole(reinterpret_cast<const char*>(data), size);
    // The hub's drawn faults follow a marker, and the faults on its lines'
    // bytes a second one; the bytes before each are read as they always were.
    const size_t mark = whole.find(kFaultsMark);
    const std::string bytes = whole.substr(0, mark);
    const bool drawing = mark != std::string::npos;
    const std::string drawnBytes = drawing ? whole.substr(mark + kFaultsMark.size()) : std::string();
    const size_t bytesMark = drawnBytes.find(kBytesMark);
    DrawnFaults faults(drawnBytes.substr(0, bytesMark),
                       bytesMark == std::string::npos ? std::string() : drawnBytes.substr(bytesMark + kBytesMark.size()));
    tally = Tally();
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
    // The fuzzer runs an input a second time to look for a leak: it is
    // counted once.
    static std::string counted;
    if (whole != counted)
        Count(tally);
    counted = whole;
    return 0;
}
