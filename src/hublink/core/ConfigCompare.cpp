#include "hublink/core/ConfigCompare.h"

#include "hublink/core/HubUnits.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteState.h"

namespace hublink {

namespace {

using model::clsNode;
using model::HubNodes;
using model::Nodes;

constexpr int kHopDepth = 10;

std::string NumberText(int value)
{
    return value == -1 ? "Undefined" : std::to_string(value);
}

std::string IdentText(const std::string& ident)
{
    return ident.empty() ? "Undefined" : ident;
}

std::string LoopAddressText(int loop, int address)
{
    return "Loop " + NumberText(loop) + " : Address " + NumberText(address);
}

// The downloaded value first, the site's in brackets after it.
void AddMismatch(const std::string& prefix, const std::string& what, const std::string& downloaded,
                 const std::string& site)
{
    model::AddErrorLine(prefix + "Mismatch in " + what + " - " + downloaded + ", (" + site + ")");
}

void CompareLoopAddress(const std::string& prefix, int hubLoop, int hubAddress, int siteLoop, int siteAddress)
{
    if (hubLoop != siteLoop || hubAddress != siteAddress)
        AddMismatch(prefix, "Loop Address", LoopAddressText(hubLoop, hubAddress),
                    LoopAddressText(siteLoop, siteAddress));
}

void CompareChannel(const std::string& prefix, const std::string& what, int downloaded, int site)
{
    if (downloaded != site)
        AddMismatch(prefix, what, ChannelText(downloaded), ChannelText(site));
}

void CompareYChannels(const std::string& prefix)
{
    CompareChannel(prefix, "Y First Channel", HubNodes[0].Y_ChannelA(), Nodes[0].Y_ChannelA());
    CompareChannel(prefix, "Y Second Channel", HubNodes[0].Y_ChannelB(), Nodes[0].Y_ChannelB());
}

void CompareSlot(const clsNode& hub, const clsNode& site, int i, int j, const SiteUnits& units)
{
    const std::string prefix = "Device " + std::to_string(j) + " on RCC " + std::to_string(i) + " - ";
    // A unit of a type this program does not know is one the site does not
    // have, unless the site holds it as it stands.
    const bool unknown = HoldsUnknownUnit(hub, j) && !SiteKeepsUnknownUnit(Nodes, HubNodes, i, j, units);
    const model::DeviceTypeCode t = hub.DeviceType(j);
    const model::DeviceTypeCode s = site.DeviceType(j);
    const auto unit = [j](const clsNode& node) { return HeldTypeName(node, j) + "  " + node.DeviceIdent(j); };
    if (unknown || !SameTypeOnHub(t, s)) {
        if (s == 0)
            model::AddErrorLine(prefix + "Device in RCC, but not in Configuration - " + unit(hub));
        else if (t == 0 && !unknown)
            model::AddErrorLine(prefix + "Device in Configuration but not in RCC - " + unit(site));
        else
            AddMismatch(prefix, "Device Type", unit(hub), unit(site));
    }
    if ((t == 0 && !unknown) || s == 0)
        return;
    if (hub.DeviceIdent(j) != site.DeviceIdent(j))
        AddMismatch(prefix, "Ident", hub.DeviceIdent(j), site.DeviceIdent(j));
    CompareLoopAddress(prefix, hub.DeviceLoop(j), hub.DeviceAddress(j), site.DeviceLoop(j),
                       site.DeviceAddress(j));
}

// The download holds the node's line, channels or relation.
bool HoldsNodeValues(const clsNode& node)
{
    return node.InUse() || node.Parent() != -1 || node.X_ChannelA() != -1 || node.X_ChannelB() != -1 ||
           node.Y_ChannelA() != -1 || node.Y_ChannelB() != -1;
}

// ... or devices of the node.
bool HoldsAnything(const clsNode& node)
{
    for (int j = 1; j <= model::kLastSlot; ++j)
        if (HoldsUnit(node, j))
            return true;
    return HoldsNodeValues(node);
}

void CompareInFull(int i, bool hubSelected, const SiteUnits& units)
{
    const clsNode& hub = HubNodes[i];
    // A node deleted from the site keeps its old values; they count as empty.
    clsNode empty;
    empty.SetNodeNumber(i);
    const clsNode& site = Nodes[i].InUse() ? Nodes[i] : empty;
    const std::string prefix = i == 0 ? "Radio Hub " : "RCC " + std::to_string(i) + " ";
    if (hub.InUse() != site.InUse()) {
        model::AddErrorLine(prefix + (site.InUse() ? "Should be In Use but is not in the Hub"
                                                   : "Should Not be In Use but is in the Hub"));
        return;
    }
    if (!HoldsAnything(hub) && !site.InUse())
        return;
    if (hub.NodeIdent() != site.NodeIdent())
        AddMismatch(prefix, "Ident", IdentText(hub.NodeIdent()), IdentText(site.NodeIdent()));
    CompareLoopAddress(prefix, hub.NodeLoop(), hub.NodeAddress(), site.NodeLoop(), site.NodeAddress());
    if (hubSelected) {
        const int hubHop = hub.Hop(HubNodes, kHopDepth);
        const int siteHop = site.Hop(Nodes, kHopDepth);
        if (hubHop != siteHop)
            AddMismatch(prefix, "Hop Count", NumberText(hubHop), NumberText(siteHop));
    }
    // The hub has no parent: a site shown by the main window gives it 0, a
    // download none, and neither is programmed.
    if (i != 0 && hub.Parent() != site.Parent())
        AddMismatch(prefix, "Parent", NumberText(hub.Parent()), NumberText(site.Parent()));
    if (i == 0) {
        CompareYChannels(prefix);
        return;
    }
    CompareChannel(prefix, "X First Channel", hub.X_ChannelA(), site.X_ChannelA());
    CompareChannel(prefix, "X Second Channel", hub.X_ChannelB(), site.X_ChannelB());
    for (int j = 1; j <= model::kLastSlot; ++j)
        CompareSlot(hub, site, i, j, units);
}

// What RCC a should know of node i: the relatives of a in the site, the hub's
// Y channels, and no devices of another RCC.
void CompareAwareness(int a, int i)
{
    const std::string prefix = "RCC " + std::to_string(a) + " ";
    const std::string rcc = "RCC " + std::to_string(i) + "  ";
    const bool related = Nodes[i].InUse() && Nodes[a].IsRelated(i, Nodes);
    if (HoldsNodeValues(HubNodes[i]) && !related)
        model::AddErrorLine(prefix + "Should Not be aware of " + rcc + IdentText(HubNodes[i].NodeIdent()));
    if (!HubNodes[i].InUse() && related)
        model::AddErrorLine(prefix + "Should be aware of " + rcc + Nodes[i].NodeIdent());
    if (i == 0) {
        CompareYChannels(prefix);
        return;
    }
    for (int j = 1; j <= model::kLastSlot; ++j) {
        if (HoldsUnit(HubNodes[i], j))
            model::AddErrorLine(prefix + "Should not be aware of device with Ident " +
                                HubNodes[i].DeviceIdent(j) + " in Slot " + std::to_string(j));
    }
}

} // namespace

std::string ChannelText(int index)
{
    if (index == -1)
        return "Undefined";
    if (index > 32)
        return "F" + std::to_string(index - 32);
    return std::to_string(index);
}

bool SameTypeOnHub(model::DeviceTypeCode a, model::DeviceTypeCode b)
{
    if (a == b)
        return true;
    const auto isCombo = [](model::DeviceTypeCode code) { return code == 13 || code == 14; };
    if (isCombo(a) && isCombo(b))
        return true;
    const std::string word = model::DeviceTypeWord(a);
    return !word.empty() && word == model::DeviceTypeWord(b);
}

int16_t CompareHubWithConfiguration()
{
    const int a = ActiveNode;
    if (a < 0 || a >= model::kNodeCount)
        return model::MessageCount();
    const SiteUnits units(Nodes);
    for (int i = 0; i < model::kNodeCount; ++i) {
        if (a == 0 || i == a)
            CompareInFull(i, a == 0, units);
        else
            CompareAwareness(a, i);
    }
    return model::MessageCount();
}

} // namespace hublink
