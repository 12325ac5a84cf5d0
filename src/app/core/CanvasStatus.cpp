#include "app/core/CanvasStatus.h"

#include <algorithm>

namespace app {

std::string ActiveNodeText(int index, bool isLoopInterface)
{
    if (isLoopInterface)
        return "RLM Active";
    if (index == 0)
        return "Radio Hub Active";
    return "RCC " + std::to_string(index) + " Active";
}

StatusTexts UsageTexts(const model::NodeArray& nodes, int index, int activeNode, bool isLoopInterface,
                       int maxLoopAddress, int loopCount, HubUsageWording wording)
{
    StatusTexts texts;
    if (index < 0 || index >= model::kNodeCount)
        return texts;
    texts.name = nodes[static_cast<std::size_t>(index)].Name();
    if (index == 0) {
        texts.activeNode = isLoopInterface ? "RLM Active" : "Radio Hub Active";
        int used = 1; // the hub's own loop address
        int rccs = 0;
        for (int i = 1; i < model::kNodeCount; ++i) {
            const model::clsNode& node = nodes[static_cast<std::size_t>(i)];
            if (node.InUse()) {
                used += node.DetectorCount() + 1;
                ++rccs;
            }
        }
        const int most = std::min(rccs * 32 + 1, maxLoopAddress * loopCount);
        texts.usage = std::to_string(used) + " of " + std::to_string(most) +
                      (wording == HubUsageWording::Addresses ? " Addresses Used" : " Devices Used");
    } else {
        texts.activeNode = "RCC " + std::to_string(index) + " Active";
        int count = 0;
        if (activeNode >= 0 && activeNode < model::kNodeCount)
            count = nodes[static_cast<std::size_t>(activeNode)].DetectorCountRCC();
        texts.usage = std::to_string(count) + "  of 31 Devices Used";
    }
    return texts;
}

int NextQuickInfoMode(int mode)
{
    switch (mode) {
    case 0:
        return 2;
    case 2:
        return 1;
    case 1:
        return 3;
    case 3:
        return 2;
    default:
        return mode;
    }
}

} // namespace app
