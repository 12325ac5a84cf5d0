#include "hublink/core/HubUnits.h"

#include "hublink/core/AddressMaps.h"
#include "model/DeviceTypes.h"

#include <algorithm>
#include <cctype>

namespace hublink {

using model::clsNode;

bool HoldsUnit(const clsNode& node, int slot)
{
    return node.DeviceType(slot) != 0 || HoldsUnknownUnit(node, slot);
}

bool HoldsUnknownUnit(const clsNode& node, int slot)
{
    return node.DeviceType(slot) == 0 &&
           (!node.DeviceIdent(slot).empty() || node.DeviceLoop(slot) != -1 || node.DeviceAddress(slot) != -1);
}

std::string HeldTypeName(const clsNode& node, int slot)
{
    return HoldsUnknownUnit(node, slot) ? "Device of Unknown Type" : model::DeviceTypeName(node.DeviceType(slot));
}

std::string IdentKey(const std::string& ident)
{
    std::string key = ident;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
    return key;
}

SiteUnits::SiteUnits(const model::NodeArray& nodes)
{
    for (auto& loop : owners_)
        loop.fill(-1);
    BuildProgrammedOwnerTable(owners_, nodes);
    for (int n = 0; n < model::kNodeCount; ++n) {
        const clsNode& node = nodes[static_cast<size_t>(n)];
        if (!node.InUse())
            continue;
        ++idents_[IdentKey(node.NodeIdent())];
        for (int s = 1; n != 0 && s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0)
                ++idents_[IdentKey(node.DeviceIdent(s))];
    }
}

bool SiteUnits::AddressTaken(int loop, int address) const
{
    return GetOwner(owners_, loop, address) != -1;
}

int SiteUnits::IdentCount(const std::string& ident) const
{
    const auto found = idents_.find(IdentKey(ident));
    return found == idents_.end() ? 0 : found->second;
}

bool SiteKeepsUnknownUnit(const model::NodeArray& Nodes, const model::NodeArray& HubNodes, int n, int s,
                          const SiteUnits& site)
{
    const clsNode& node = Nodes[static_cast<size_t>(n)];
    const clsNode& hub = HubNodes[static_cast<size_t>(n)];
    if (!node.InUse() || !hub.InUse() || node.NodeIdent() != hub.NodeIdent())
        return false;
    // The site's slot without a type is taken by no unit of the site, so
    // any unit on its address or with its ident is another.
    return node.DeviceType(s) == 0 && !hub.DeviceIdent(s).empty() && node.DeviceIdent(s) == hub.DeviceIdent(s) &&
           node.DeviceLoop(s) == hub.DeviceLoop(s) && node.DeviceAddress(s) == hub.DeviceAddress(s) &&
           !site.AddressTaken(hub.DeviceLoop(s), hub.DeviceAddress(s)) && site.IdentCount(hub.DeviceIdent(s)) == 0;
}

} // namespace hublink
