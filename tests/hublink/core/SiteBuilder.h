#pragma once
// Nodes and device slots placed straight into a node array, for the tests
// that build a site in memory.
#include "model/clsNode.h"

#include <string>

namespace sitebuild {

inline model::clsNode& PlaceNode(model::NodeArray& nodes, int n, int parent, int loop, int address,
                                 const std::string& ident = "")
{
    model::clsNode& node = nodes[static_cast<size_t>(n)];
    node.SetInUse(true);
    node.SetNodeNumber(n);
    node.SetParent(parent);
    node.SetNodeLoop(loop);
    node.SetNodeAddress(address);
    node.SetNodeIdent(ident);
    return node;
}

inline void PlaceDevice(model::NodeArray& nodes, int n, int s, int type, int loop, int address,
                        const std::string& ident = "")
{
    model::clsNode& node = nodes[static_cast<size_t>(n)];
    node.SetDeviceType(s, type);
    node.SetDeviceLoop(s, loop);
    node.SetDeviceAddress(s, address);
    node.SetDeviceIdent(s, ident);
}

} // namespace sitebuild
