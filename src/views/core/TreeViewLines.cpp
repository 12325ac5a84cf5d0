#include "views/core/TreeViewLines.h"

#include "views/core/UsageStatistics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <unordered_set>

namespace views {
namespace {

using model::clsNode;
using model::DeviceTypeCode;
using model::kLastSlot;
using model::kNodeCount;

std::string Plain(int value)
{
    return std::to_string(value);
}

// At least width digits with leading zeros, the sign in front: -1 with
// width 3 reads "-001".
std::string ZeroPadded(int value, std::size_t width)
{
    std::string digits = std::to_string(std::abs(value));
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

// Collects the lines, each key once.
class LineList
{
public:
    // False (and nothing added) when the key is taken.
    bool Add(std::string key, std::string parentKey, std::string text, std::string image = {})
    {
        if (!keys_.insert(key).second)
            return false;
        lines_.push_back({std::move(key), std::move(parentKey), std::move(text), std::move(image)});
        return true;
    }
    std::vector<TreeLine> Take() { return std::move(lines_); }

private:
    std::unordered_set<std::string> keys_;
    std::vector<TreeLine> lines_;
};

std::string HubText(const clsNode& hub)
{
    std::string text = "Radio Hub, Ident " + hub.NodeIdent() + ", L" + Plain(hub.NodeLoop()) + "/" +
                       ZeroPadded(hub.NodeAddress(), 3) + ", Ch1:" + ZeroPadded(hub.Y_ChannelA(), 2) +
                       " Ch2:" + ZeroPadded(hub.Y_ChannelB(), 2);
    if (!hub.Name().empty())
        text += ", " + hub.Name();
    return text;
}

std::string RccText(const clsNode& node, int n, TreeViewBy by)
{
    std::string text = "RCC " + Plain(n) + ", Ident " + node.NodeIdent();
    if (by == TreeViewBy::Rcc)
        text += ", Loop " + Plain(node.NodeLoop()) + " Address " + ZeroPadded(node.NodeAddress(), 3);
    else
        text += ", Address " + ZeroPadded(node.NodeAddress(), 3);
    text += ", Parent:" + (node.Parent() == 0 ? std::string("Radio Hub") : "RCC " + Plain(node.Parent()));
    text += ", Ch1:" + ZeroPadded(node.X_ChannelA(), 2) + " Ch2:" + ZeroPadded(node.X_ChannelB(), 2);
    if (!node.Name().empty())
        text += ", " + node.Name();
    return text;
}

// "040 & 041" (three digits) or "40 & 41" for a combination head.
std::string AddressText(const clsNode& node, int s, bool threeDigits)
{
    const int address = node.DeviceAddress(s);
    const auto form = [threeDigits](int value) { return threeDigits ? ZeroPadded(value, 3) : Plain(value); };
    std::string text = form(address);
    if (model::IsComboHeadType(node.DeviceType(s)))
        text += " & " + form(address + 1);
    return text;
}

void AddDevice(LineList& lines, const clsNode& node, int n, int s, const std::string& parentKey,
               TreeViewBy by, bool details)
{
    const DeviceTypeCode type = node.DeviceType(s);
    const std::string id = Plain(n) + "-" + Plain(s);
    const std::string key = "Device" + id;
    const std::string typeName = model::DeviceTypeName(type);
    const std::string name = node.DeviceName(s);
    if (!details) {
        std::string text = typeName + ", Ident " + node.DeviceIdent(s);
        if (by == TreeViewBy::Rcc)
            text += ", Loop " + Plain(node.DeviceLoop(s)) + " Address " + AddressText(node, s, true);
        else
            text += ", Address " + AddressText(node, s, false);
        if (!name.empty())
            text += ", " + name;
        if (by == TreeViewBy::Loop)
            text += ", RCC " + Plain(n);
        lines.Add(key, parentKey, text, TreeViewImageKey(type));
        return;
    }
    if (!lines.Add(key, parentKey, typeName, TreeViewImageKey(type)))
        return;
    lines.Add("Ident" + id, key, "Ident: " + node.DeviceIdent(s));
    if (by == TreeViewBy::Rcc)
        lines.Add("Loop" + id, key, "Loop: " + Plain(node.DeviceLoop(s)));
    lines.Add("Address" + id, key, "Address: " + AddressText(node, s, false));
    lines.Add("Name" + id, key, "Name: " + name);
    if (by == TreeViewBy::Loop)
        lines.Add("DevRCC" + id, key, "RCC: " + Plain(n));
}

void AddByRcc(LineList& lines, const model::NodeArray& nodes, bool details)
{
    // Node 0's own slots (an RLM's devices) show only by loop.
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& node = nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        const std::string rccKey = "RCC" + Plain(n);
        lines.Add(rccKey, "Hub", RccText(node, n, TreeViewBy::Rcc), "Node");
        for (int s = 1; s <= kLastSlot; ++s) {
            if (node.DeviceType(s) != 0)
                AddDevice(lines, node, n, s, rccKey, TreeViewBy::Rcc, details);
        }
    }
}

void AddByLoop(LineList& lines, const TreeViewSite& site, bool details)
{
    const int lastLoop = std::min(site.loopCount, kOwnerLoops - 1);
    const int lastAddress = std::min(site.maxLoopAddress, kOwnerAddresses - 1);
    for (int l = 1; l <= lastLoop; ++l) {
        const std::string loopKey = "Loop" + Plain(l);
        lines.Add(loopKey, "Hub", "Loop  " + Plain(l), "Loop");
        for (int a = 1; a <= lastAddress; ++a) {
            const int owner = GetOwner(site.owners, l, a);
            const int n = owner / 100;
            const int s = owner % 100;
            if (owner < 0 || n >= kNodeCount || s > kLastSlot)
                continue;
            const clsNode& node = site.nodes[static_cast<std::size_t>(n)];
            if (s == 0) {
                // The hub's own address is in the root's text.
                if (node.InUse() && n != 0)
                    lines.Add("RCC" + Plain(n), loopKey, RccText(node, n, TreeViewBy::Loop), "Node");
                continue;
            }
            if (node.DeviceType(s) == 0)
                continue;
            AddDevice(lines, node, n, s, loopKey, TreeViewBy::Loop, details);
            // A combination head takes the next address too: passed over.
            if (model::IsComboHeadType(node.DeviceType(s)))
                ++a;
        }
    }
}

} // namespace

std::vector<TreeLine> TreeViewLines(const TreeViewSite& site, TreeViewBy by, bool details)
{
    LineList lines;
    lines.Add("Hub", "", HubText(site.nodes[0]), "Node");
    if (by == TreeViewBy::Rcc)
        AddByRcc(lines, site.nodes, details);
    else
        AddByLoop(lines, site, details);
    return lines.Take();
}

std::string TreeViewImageKey(DeviceTypeCode code)
{
    // The statistics' table, but the multisensor combo shows as a
    // combo/beacon here, and code 1 names no device.
    if (code == 18)
        return "ComboBeacon";
    return code == 1 ? "" : DeviceTypeIconKey(code);
}

int NodeToActivate(const std::string& lineText, const model::NodeArray& nodes)
{
    if (lineText.rfind("Radio", 0) == 0)
        return 0;
    if (lineText.rfind("RCC", 0) != 0)
        return -1;
    std::size_t at = 3;
    if (at < lineText.size() && lineText[at] == ':')
        ++at;
    if (at < lineText.size() && lineText[at] == ' ')
        ++at;
    int n = -1;
    for (int digits = 0;
         digits < 2 && at < lineText.size() && std::isdigit(static_cast<unsigned char>(lineText[at])) != 0;
         ++digits, ++at)
        n = (n < 0 ? 0 : n * 10) + (lineText[at] - '0');
    if (n < 0 || n >= kNodeCount)
        return -1;
    if (n != 0 && !nodes[static_cast<std::size_t>(n)].InUse())
        return -1;
    return n;
}

} // namespace views
