#pragma once
// A small site for the comparison and change-list tests, loaded into Nodes
// and copied into HubNodes, so each test starts from a hub equal to the site.
#include "model/SiteBuilder.h"
#include "hublink/core/AddressMaps.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteState.h"

#include <gtest/gtest.h>

#include <functional>

using model::HubNodes;
using model::MessageList;
using model::Nodes;
using Lines = std::vector<std::string>;

class CompareSite : public ::testing::Test
{
protected:
    // Hub on L1/1 with channels 1 and 2; RCC 1 under the hub on L1/10 with a
    // callpoint (L1/20) and an optical combo head (L1/30..31); RCC 2 under
    // RCC 1 on L1/11 with a sounder/beacon (L1/40).
    void SetUp() override
    {
        model::ResetSite();
        ResetSiteState();
        model::MessageList.clear();
        Node(0, -1, 1, "0A000");
        Nodes[0].SetY_ChannelA(1);
        Nodes[0].SetY_ChannelB(2);
        Node(1, 0, 10, "0A001");
        Device(1, 1, 2, 20, "1A001");
        Device(1, 2, 10, 30, "1A002");
        Node(2, 1, 11, "0A002");
        Device(2, 1, 7, 40, "2A001");
        hublink::CopyNodeArray(Nodes, HubNodes, 100);
        for (int n = 0; n < model::kNodeCount; ++n) // as a loaded site and a parse number them
            Nodes[n].SetNodeNumber(n), HubNodes[n].SetNodeNumber(n);
    }

    static void Node(int n, int parent, int address, const char* ident, model::NodeArray& nodes = Nodes)
    {
        sitebuild::PlaceRcc(nodes, n, parent, address, ident);
    }
    static void Device(int n, int s, int type, int address, const char* ident,
                       model::NodeArray& nodes = Nodes)
    {
        sitebuild::PlaceDevice(nodes, n, s, type, 1, address, ident);
    }
};
