#pragma once
// A small site for the programming tests: the hub, RCC 2 on the hub, RCC 1
// under RCC 2, and RCC 3 whose parent chain is broken.
#include "model/Site.h"

#include <string>

namespace smallsite {

inline void PlaceNode(model::NodeArray& nodes, int n, int parent, int address, const std::string& ident, int chanA,
                      int chanB)
{
    model::clsNode& node = nodes[static_cast<size_t>(n)];
    node.SetInUse(true);
    node.SetNodeNumber(n);
    node.SetParent(parent);
    node.SetNodeLoop(1);
    node.SetNodeAddress(address);
    node.SetNodeIdent(ident);
    if (n == 0) {
        node.SetY_ChannelA(chanA);
        node.SetY_ChannelB(chanB);
    } else {
        node.SetX_ChannelA(chanA);
        node.SetX_ChannelB(chanB);
    }
}

inline void PlaceDevice(model::NodeArray& nodes, int n, int s, int type, int loop, int address,
                        const std::string& ident)
{
    model::clsNode& node = nodes[static_cast<size_t>(n)];
    node.SetDeviceType(s, type);
    node.SetDeviceLoop(s, loop);
    node.SetDeviceAddress(s, address);
    node.SetDeviceIdent(s, ident);
}

inline void Build(model::NodeArray& nodes)
{
    PlaceNode(nodes, 0, -1, 1, "0A1B2", 1, 20);
    PlaceNode(nodes, 1, 2, 10, "10001", 5, 6);
    PlaceDevice(nodes, 1, 1, 2, 2, 17, "1A2B3");  // callpoint
    PlaceDevice(nodes, 1, 3, 14, 2, 20, "1C0B0"); // combination base with beacon, no head
    PlaceNode(nodes, 2, 0, 11, "10002", 17, 32);
    PlaceDevice(nodes, 2, 2, 7, 1, 30, "5B001");   // sounder/beacon
    PlaceDevice(nodes, 2, 12, 10, 1, 40, "C0010"); // optical head on a combination base
    PlaceNode(nodes, 3, -1, 12, "10003", 3, 4);
}

} // namespace smallsite
