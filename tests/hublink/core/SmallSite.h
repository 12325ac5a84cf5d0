#pragma once
// The site of the programming tests: the hub, RCC 2 on the hub, RCC 1 under
// RCC 2, and RCC 3 whose parent chain is broken.
#include "LinkFixture.h"
#include "model/SiteBuilder.h"
#include "model/Site.h"

namespace smallsite {

// A node on loop 1; the pair is the hub's Y pair or an RCC's X pair.
inline void Node(model::NodeArray& nodes, int n, int parent, int address, const std::string& ident, int a,
                 int b)
{
    model::clsNode& node = sitebuild::PlaceNode(nodes, n, parent, 1, address, ident);
    n == 0 ? (node.SetY_ChannelA(a), node.SetY_ChannelB(b)) : (node.SetX_ChannelA(a), node.SetX_ChannelB(b));
}

inline constexpr auto Device = &sitebuild::PlaceDevice;

class SmallSiteTest : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        model::ResetSite();
        Node(model::Nodes, 0, -1, 1, "0A1B2", 1, 20);
        Node(model::Nodes, 1, 2, 10, "10001", 5, 6);
        Device(model::Nodes, 1, 1, 2, 2, 17, "1A2B3");  // callpoint
        Device(model::Nodes, 1, 3, 14, 2, 20, "1C0B0"); // combination base with beacon, no head
        Node(model::Nodes, 2, 0, 11, "10002", 17, 32);
        Device(model::Nodes, 2, 2, 7, 1, 30, "5B001");   // sounder/beacon
        Device(model::Nodes, 2, 12, 10, 1, 40, "C0010"); // optical head on a combination base
        Node(model::Nodes, 3, -1, 12, "10003", 3, 4);
    }
};

} // namespace smallsite
