#include "model/ConfigurationCheck.h"

#include "model/DeviceTypes.h"
#include "model/Site.h"
#include "model/SiteState.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace model {

std::vector<std::string> MessageList;

namespace {

// The idents seen by the last check with the owner that had each first: an
// open-addressed table keyed on the ident's characters (a node cuts its
// idents to five), big enough for every node and slot of a site.
class IdentTable
{
public:
    void Clear() { slots_.fill(Entry{}); }

    // -1 when the ident is new (it is now owner's), else the owner that has it.
    int16_t Claim(const std::string& ident, int16_t owner)
    {
        uint64_t key = ident.size();
        std::memcpy(reinterpret_cast<char*>(&key) + 1, ident.data(), std::min<std::size_t>(ident.size(), 7));
        const uint64_t hash = key * 0x9E3779B97F4A7C15ULL;
        for (std::size_t slot = (hash ^ (hash >> 31)) & (kSlots - 1);; slot = (slot + 1) & (kSlots - 1)) {
            Entry& entry = slots_[slot];
            if (entry.key == 0) {
                entry = Entry{key, owner};
                return -1;
            }
            if (entry.key == key)
                return entry.owner;
        }
    }

private:
    struct Entry
    {
        uint64_t key = 0; // 0 empty; a claimed ident's length is never 0
        int16_t owner = -1;
    };
    static constexpr std::size_t kSlots = 4096; // 32 nodes of 32 slots fill at most a quarter
    std::array<Entry, kSlots> slots_{};
};

IdentTable IdentList;

// Claims an owner-table cell for owner, or names the owner that has it.
class AddressClaims
{
public:
    AddressClaims()
    {
        // The whole table: a cell of loop 0 or address 0 must not keep an
        // owner from the hub's configuration.
        for (auto& row : HubLoopAddressOwner)
            row.fill(-1);
    }

    // -1 when the cell was free (it is now owner's), else its owner.
    int16_t Claim(int loop, int address, int16_t owner)
    {
        const bool inTable = loop >= 0 && loop < kOwnerLoops && address >= 0 && address < kOwnerAddresses;
        // Addresses beyond the table still must not be used twice.
        const int16_t held = inTable ? GetOwner(HubLoopAddressOwner, loop, address) : Beyond(loop, address);
        if (held != -1)
            return held;
        if (inTable)
            SetOwner(HubLoopAddressOwner, loop, address, owner);
        else
            beyond_[{loop, address}] = owner;
        return -1;
    }

private:
    int16_t Beyond(int loop, int address) const
    {
        const auto it = beyond_.find({loop, address});
        return it == beyond_.end() ? int16_t{-1} : it->second;
    }

    std::map<std::pair<int, int>, int16_t> beyond_;
};

void AppendNumber(std::string& text, int value)
{
    char digits[12];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void AppendOwnerName(std::string& text, int owner)
{
    const int node = owner / 100;
    const int slot = owner % 100;
    if (node == 0) {
        text += "Radio Hub";
    } else {
        text += "RCC ";
        AppendNumber(text, node);
    }
    if (slot != 0) {
        text += "  Device Slot ";
        AppendNumber(text, slot);
    }
}

// The lines of the last check, kept for their memory: a site with faults has
// hundreds of lines, and every check builds them all again.
constexpr std::size_t kKeptLines = 4096;
std::vector<std::string> SpareLines;

std::string NewLine()
{
    if (SpareLines.empty())
        return {};
    std::string line = std::move(SpareLines.back());
    SpareLines.pop_back();
    line.clear();
    return line;
}

// The lines of one node ("RCC 3 ...") or device slot ("Device Slot 5 on
// RCC 3 ..."); a site without faults builds no text at all.
class Reporter
{
public:
    Reporter(int node, int slot) : node_(node), slot_(slot) {}

    // The line: the start, what, and the name of other when it is not -1.
    void Add(std::string_view what, int other = -1) const
    {
        if (MessageList.size() >= kMaxMessages)
            return;
        std::string line = Start(what);
        if (other != -1)
            AppendOwnerName(line, other);
        MessageList.push_back(std::move(line));
    }

    // The line: the start, what, and the number.
    void AddNumber(std::string_view what, int number) const
    {
        if (MessageList.size() >= kMaxMessages)
            return;
        std::string line = Start(what);
        AppendNumber(line, number);
        MessageList.push_back(std::move(line));
    }

private:
    std::string Start(std::string_view what) const
    {
        std::string line = NewLine();
        line.reserve(80);
        if (slot_ != 0) {
            line += "Device Slot ";
            AppendNumber(line, slot_);
            line += " on RCC ";
            AppendNumber(line, node_);
            line += ' ';
        } else if (node_ == 0) {
            line += "Radio Hub ";
        } else {
            line += "RCC ";
            AppendNumber(line, node_);
            line += ' ';
        }
        line += what;
        return line;
    }

    int node_;
    int slot_;
};

// The texts of a node's or a slot's loop field.
struct LoopTexts
{
    const char* none;
    const char* invalid;
};

// The tests shared by nodes and device slots: loop, address, both used
// twice, and the ident. A loop beyond the site's loops, or an address the
// site's protocol cannot hold (lastTaken is the last address the unit takes,
// a combination head's second), is invalid: the hub either refuses the unit
// or keeps it where no download reports it. Such a value still claims its
// cell, so it is not used twice either.
void CheckLoopAddressAndIdent(AddressClaims& claims, const Reporter& report, LoopTexts texts, int loop,
                              int address, int lastTaken, const std::string& ident, int16_t owner)
{
    if (loop == -1)
        report.Add(texts.none);
    else if (loop < 1 || loop > LoopCount)
        report.Add(texts.invalid);
    if (address == -1) {
        report.Add("has no Loop Address");
    } else if (address < 1 || address > MaxLoopAddress) {
        report.Add("has an Invalid Loop Address");
    } else if (lastTaken > MaxLoopAddress) {
        // The unit's own address fits: the line names the one that does not.
        report.AddNumber("has an Invalid Loop Address ", lastTaken);
    }
    if (loop != -1 && address != -1) {
        const int16_t held = claims.Claim(loop, address, owner);
        if (held != -1)
            report.Add("has the Same Loop Address as ", held);
    }
    if (ident.empty()) {
        report.Add("has no Ident");
    } else {
        const int16_t held = IdentList.Claim(ident, owner);
        if (held != -1)
            report.Add("has the Same Ident as ", held);
    }
}

void CheckChannel(const Reporter& report, int channel, const char* noSetting, const char* invalid)
{
    if (channel == -1)
        report.Add(noSetting);
    else if (channel > 32)
        report.Add(invalid);
}

constexpr int kHopDepth = 10;

// The node's hops to the hub over nodes the site uses: -1 when its way
// breaks, loops, runs too long or passes an RCC the site does not use (a
// read of a hub that holds a relation for an RCC without its node leaves
// one), which the hub is never given.
int HopOverNodesInUse(const clsNode& node)
{
    const int hop = node.Hop(Nodes, kHopDepth);
    const clsNode* step = &node;
    for (int i = 0; i < hop; ++i) {
        const int parent = step->Parent();
        step = &Nodes[static_cast<std::size_t>(parent)];
        if (parent != 0 && !step->InUse())
            return -1;
    }
    return hop;
}

} // namespace

void AddErrorLine(const std::string& text)
{
    if (MessageList.size() < kMaxMessages)
        MessageList.push_back(text);
}

std::string OwnerName(int owner)
{
    std::string name;
    AppendOwnerName(name, owner);
    return name;
}

int16_t CheckConfiguration()
{
    AddressClaims claims;
    IdentList.Clear();
    for (std::string& line : MessageList)
        if (SpareLines.size() < kKeptLines)
            SpareLines.push_back(std::move(line));
    MessageList.clear();

    for (int n = 0; n < kNodeCount; ++n) {
        const clsNode& node = Nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        const Reporter report(n, 0);
        if (n != 0 && node.Parent() == -1)
            report.Add("has no Parent");
        CheckLoopAddressAndIdent(claims, report, {"has no Loop Number", "has an Invalid Loop Number"},
                                 node.NodeLoop(), node.NodeAddress(), node.NodeAddress(), node.NodeIdent(),
                                 static_cast<int16_t>(n * 100));
        if (n == 0) {
            CheckChannel(report, node.Y_ChannelA(), "has no Y-Protocol First Channel setting",
                         "has an invalid Y-Protocol First Channel setting");
            CheckChannel(report, node.Y_ChannelB(), "has no Y-Protocol Second Channel setting",
                         "has an invalid Y-Protocol Second Channel setting");
            // The hub counts 0 hops, which a hub numbered other than 0 (by a
            // site file's Number key) does not.
            if (node.Hop(Nodes, kHopDepth) != 0)
                report.Add("has an Invalid Hop Count");
            continue;
        }
        CheckChannel(report, node.X_ChannelA(), "has no X-Protocol First Channel setting",
                     "has an invalid X-Protocol First Channel setting");
        CheckChannel(report, node.X_ChannelB(), "has no X-Protocol Second Channel setting",
                     "has an invalid X-Protocol Second Channel setting");
        // An RCC is one to four hops from the hub: 0 is the hub's own count,
        // which an RCC numbered 0 would give.
        const int hop = HopOverNodesInUse(node);
        if (hop < 1 || hop > 4)
            report.Add("has an Invalid Hop Count");
        for (int j = 1; j <= kLastSlot; ++j) {
            const DeviceTypeCode type = node.DeviceType(j);
            if (type == 0)
                continue;
            const Reporter slot(n, j);
            if (!IsDeviceType(type))
                slot.Add("has an Invalid Device Type");
            CheckLoopAddressAndIdent(claims, slot, {"has no Loop", "has an Invalid Loop"}, node.DeviceLoop(j),
                                     node.DeviceAddress(j), LastAddressTaken(type, node.DeviceAddress(j)),
                                     node.DeviceIdent(j),
                                     static_cast<int16_t>(n * 100 + j));
        }
    }
    return MessageCount();
}

void ResetConfigurationCheck()
{
    MessageList.clear();
    IdentList.Clear();
}

} // namespace model
