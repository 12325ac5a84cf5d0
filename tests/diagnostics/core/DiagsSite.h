#pragma once
// A small hub site for the diagnostics tests, and a simulated unit that
// holds the same configuration and answers the diagnostics commands.
#include "hublink/core/AddressMaps.h"
#include "model/SiteBuilder.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "support/SimulatedUnit.h"

#include <algorithm>
#include <utility>
#include <string>
#include <vector>

// Hub 00001 at 1.1; RCC 1 (hop 1) at 1.10 with a callpoint at 1.11 and an
// optical combination head at 2.17 (17-18); RCC 2 (hop 2, under RCC 1) at
// 1.20 with a sounder at 1.21.
inline void BuildDiagsSite()
{
    ResetSiteState();
    model::ResetSite();
    LoopCount = 2;
    LoopProtocol = 1;
    MaxLoopAddress = 126;
    using sitebuild::PlaceNode, sitebuild::PlaceDevice;
    PlaceNode(model::Nodes, 0, -1, 1, 1, "00001");
    PlaceNode(model::Nodes, 1, 0, 1, 10, "0000A");
    PlaceNode(model::Nodes, 2, 1, 1, 20, "00014");
    PlaceDevice(model::Nodes, 1, 1, 2, 1, 11, "1000B");
    PlaceDevice(model::Nodes, 1, 2, 10, 2, 17, "20011");
    PlaceDevice(model::Nodes, 2, 1, 6, 1, 21, "30015");
    hublink::BuildAddressMap();
}

// The simulated unit's configuration: one POPULATE line per RCC and device of
// the site (fields: 1 the loop, 3 the address, 5 the ident).
inline void ConfigureUnit(SimulatedUnit& unit)
{
    std::vector<std::string> lines;
    auto add = [&](int loop, int address, const std::string& ident) {
        lines.push_back("POPULATE LOOP" + std::to_string(loop) + " X " + std::to_string(address) + " 0 " + ident +
                        " 0");
    };
    for (int n = 1; n < model::kNodeCount; ++n) {
        const model::clsNode& node = model::Nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        add(node.NodeLoop(), node.NodeAddress(), node.NodeIdent());
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0)
                add(node.DeviceLoop(s), node.DeviceAddress(s), node.DeviceIdent(s));
    }
    unit.SetConfiguration(lines);
}

// The unit's answer to a command as the link's receive side hands it on:
// complete lines, "_" read as a blank.
inline std::vector<std::string> UnitLines(SimulatedUnit& unit, const std::string& command)
{
    std::string bytes;
    for (const UnitOutput& out : unit.Receive(command + "\r", 0))
        bytes += out.Bytes;
    std::replace(bytes.begin(), bytes.end(), '_', ' ');
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!line.empty())
                lines.push_back(std::exchange(line, {}));
        } else {
            line += c;
        }
    }
    return lines;
}

// A list reply collected as the link collects it: lines at 1.. (index 0
// empty), without the header line and "END OF DATA".
inline std::vector<std::string> UnitList(SimulatedUnit& unit, const std::string& command)
{
    std::vector<std::string> lines = UnitLines(unit, command);
    lines.front().clear();
    lines.pop_back();
    return lines;
}
