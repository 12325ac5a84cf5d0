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

inline void PlaceSlot(model::clsNode& node, int s, int type, int loop, int address, const std::string& ident = "")
{
    node.SetDeviceType(s, type);
    node.SetDeviceLoop(s, loop);
    node.SetDeviceAddress(s, address);
    node.SetDeviceIdent(s, ident);
}

inline void PlaceDevice(model::NodeArray& nodes, int n, int s, int type, int loop, int address,
                        const std::string& ident = "")
{
    PlaceSlot(nodes[static_cast<size_t>(n)], s, type, loop, address, ident);
}

// An RCC on loop 1 with the X pair 2n+1, 2n+2.
inline model::clsNode& PlaceRcc(model::NodeArray& nodes, int n, int parent, int address, const std::string& ident)
{
    model::clsNode& node = PlaceNode(nodes, n, parent, 1, address, ident);
    node.SetX_ChannelA(2 * n + 1);
    node.SetX_ChannelB(2 * n + 2);
    return node;
}

// The hub on L1/1 (Y pair 1, 2); RCC 1 on it on L1/10 with a callpoint and a
// sounder/beacon, RCC 2 under RCC 1 on L1/11 with an optical.
inline void PlaceTwoRccSite(model::NodeArray& nodes, int hubParent)
{
    PlaceNode(nodes, 0, hubParent, 1, 1, "01A2B").SetY_ChannelA(1);
    nodes[0].SetY_ChannelB(2);
    PlaceRcc(nodes, 1, 0, 10, "10001");
    PlaceRcc(nodes, 2, 1, 11, "10002");
    PlaceDevice(nodes, 1, 1, 2, 1, 20, "1A001");
    PlaceDevice(nodes, 1, 2, 7, 2, 21, "1A002");
    PlaceDevice(nodes, 2, 1, 3, 1, 30, "2A001");
}

} // namespace sitebuild
