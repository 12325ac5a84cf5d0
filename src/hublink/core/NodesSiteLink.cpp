#include "hublink/core/NodesSiteLink.h"

#include "model/Site.h"

namespace hublink {

namespace {
bool IsNode(int node)
{
    return node >= 0 && node < model::kNodeCount;
}
} // namespace

std::string NodesSiteLink::NodeIdent(int node) const
{
    return IsNode(node) ? model::Nodes[static_cast<size_t>(node)].NodeIdent() : std::string();
}

int32_t NodesSiteLink::FindNodeByIdent(const std::string& ident)
{
    // Looked up on its own: neither continuing nor disturbing the site's
    // first/next ident search, whatever text the unit sent.
    if (ident.empty())
        return -1;
    for (int n = 0; n < model::kNodeCount; ++n) {
        const model::clsNode& node = model::Nodes[static_cast<size_t>(n)];
        if (!node.InUse())
            continue;
        if (node.NodeIdent() == ident)
            return n * 100;
        for (int slot = 1; n > 0 && slot <= model::kLastSlot; ++slot)
            if (node.DeviceIdent(slot) == ident)
                return n * 100 + slot;
    }
    return -1;
}

void NodesSiteLink::SetAssigned(int node, int slot, bool assigned)
{
    if (!IsNode(node))
        return;
    model::clsNode& target = model::Nodes[static_cast<size_t>(node)];
    if (slot == 0)
        target.SetAssigned(assigned);
    else
        target.SetDeviceAssigned(slot, assigned);
}

} // namespace hublink
