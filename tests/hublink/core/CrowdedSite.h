#pragma once
// A site of four loops near the limit of the clear question: the hub and 12
// RCCs on L1/1..13, 370 callpoints on L1..L4 from address 14, and two
// optical combination heads on L4/100 and L4/102.
#include "model/SiteBuilder.h"

#include <cstdio>
#include <string>

namespace crowdedsite {

inline std::string Ident(int value)
{
    char text[6];
    std::snprintf(text, sizeof text, "%05X", value);
    return text;
}

inline void Place(model::NodeArray& nodes)
{
    sitebuild::PlaceNode(nodes, 0, -1, 1, 1, "01A2B").SetY_ChannelA(1);
    nodes[0].SetY_ChannelB(2);
    for (int n = 1; n <= 12; ++n)
        sitebuild::PlaceRcc(nodes, n, 0, n + 1, Ident(0x10000 + n));
    for (int k = 0; k < 370; ++k)
        sitebuild::PlaceDevice(nodes, k / 31 + 1, k % 31 + 1, 2, k / 110 + 1, 14 + k % 110, Ident(k + 1));
    sitebuild::PlaceDevice(nodes, 12, 30, 10, 4, 100, Ident(0x900));
    sitebuild::PlaceDevice(nodes, 12, 31, 10, 4, 102, Ident(0x901));
}

// Edits worth 1,001 changes in a list of 999 lines: 332 new device idents
// (a delete, an add and an ident line each), one callpoint moved to a free
// address, and both heads retyped (one line each, met again at their
// second address).
inline void Edit(model::NodeArray& nodes)
{
    for (int k = 0; k < 332; ++k)
        nodes[k / 31 + 1].SetDeviceIdent(k % 31 + 1, Ident(0x5000 + k));
    nodes[11].SetDeviceAddress(31, 120); // from L4/24
    nodes[12].SetDeviceType(30, 11);
    nodes[12].SetDeviceType(31, 11);
}

} // namespace crowdedsite
