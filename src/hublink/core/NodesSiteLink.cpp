#include "hublink/core/NodesSiteLink.h"

#include "model/Site.h"
#include "model/SiteQueries.h"

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
    return model::FindNodeByIdent(ident);
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
