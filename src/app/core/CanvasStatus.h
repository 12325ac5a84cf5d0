#pragma once
// Texts of the main window's status-bar panels 2, 3 and 4 for the active
// node, and the quick-info mode a click on a quick-info label steps to.
#include "model/clsNode.h"

#include <string>

namespace app {

struct StatusTexts
{
    std::string activeNode; // panel 2
    std::string name;       // panel 3
    std::string usage;      // panel 4
};

// Panel 4 of the hub counts addresses ("Addresses Used"); selecting from
// code words the same count as "Devices Used".
enum class HubUsageWording
{
    Addresses,
    Devices
};

// The panels for node index (-1 clears them). For the hub: the loop
// addresses the site takes (the hub's own, and each RCC in use with its
// devices) of the most the site can hold (32 per RCC + 1, at most
// MaxLoopAddress x LoopCount). For an RCC: the occupied slots of the active
// node of 31.
StatusTexts UsageTexts(const model::NodeArray& nodes, int index, int activeNode, bool isLoopInterface,
                       int maxLoopAddress, int loopCount,
                       HubUsageWording wording = HubUsageWording::Addresses);

// Panel 2 of a right click: "RLM Active", "Radio Hub Active" or "RCC n Active".
std::string ActiveNodeText(int index, bool isLoopInterface);

// The quick-info mode after a click on a label: 0 -> 2, 2 -> 1, 1 -> 3,
// 3 -> 2; 4 or more stays.
int NextQuickInfoMode(int mode);

} // namespace app
