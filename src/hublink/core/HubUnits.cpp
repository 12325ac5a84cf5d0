#include "hublink/core/HubUnits.h"

#include "hublink/core/AddressMaps.h"
#include "model/Convert.h"
#include "model/DeviceTypes.h"

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
    return model::Upper(ident);
}

namespace {

int Count(const std::map<std::string, int>& idents, const std::string& ident)
{
    const auto found = idents.find(IdentKey(ident));
    return found == idents.end() ? 0 : found->second;
}

} // namespace

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
        for (int s = 1; n != 0 && s <= model::kLastSlot; ++s) {
            if (node.DeviceType(s) != 0) {
                ++idents_[IdentKey(node.DeviceIdent(s))];
            } else if (HoldsUnknownUnit(node, s)) {
                ++keptIdents_[IdentKey(node.DeviceIdent(s))];
                const int loop = node.DeviceLoop(s), address = node.DeviceAddress(s);
                if (loop >= 0 && loop < kOwnerLoops && address >= 0 && address < kOwnerAddresses)
                    ++kept_[static_cast<size_t>(loop)][static_cast<size_t>(address)];
            }
        }
    }
}

bool SiteUnits::AddressTaken(int loop, int address) const
{
    return GetOwner(owners_, loop, address) != -1;
}

int SiteUnits::IdentCount(const std::string& ident) const
{
    return Count(idents_, ident);
}

int SiteUnits::KeptAt(int loop, int address) const
{
    if (loop < 0 || loop >= kOwnerLoops || address < 0 || address >= kOwnerAddresses)
        return 0;
    return kept_[static_cast<size_t>(loop)][static_cast<size_t>(address)];
}

int SiteUnits::KeptIdentCount(const std::string& ident) const
{
    return Count(keptIdents_, ident);
}

bool SiteKeepsUnknownUnit(const model::NodeArray& Nodes, const model::NodeArray& HubNodes, int n, int s,
                          const SiteUnits& site)
{
    const clsNode& node = Nodes[static_cast<size_t>(n)];
    const clsNode& hub = HubNodes[static_cast<size_t>(n)];
    if (!node.InUse() || !hub.InUse() || node.NodeIdent() != hub.NodeIdent())
        return false;
    const std::string& ident = hub.DeviceIdent(s);
    const int loop = hub.DeviceLoop(s), address = hub.DeviceAddress(s);
    if (node.DeviceType(s) != 0 || ident.empty() || node.DeviceIdent(s) != ident || node.DeviceLoop(s) != loop ||
        node.DeviceAddress(s) != address)
        return false;
    // The site's slot is counted among the kept ones: any more on its
    // address or with its ident is another.
    const bool placed = loop != -1 && address != -1;
    return !(placed && (site.AddressTaken(loop, address) || site.KeptAt(loop, address) > 1)) &&
           site.IdentCount(ident) == 0 && site.KeptIdentCount(ident) == 1;
}

} // namespace hublink
