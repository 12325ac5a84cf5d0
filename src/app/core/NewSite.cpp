#include "app/core/NewSite.h"

namespace app {

int ApplyNewSiteHeader(const NewSiteChoice& choice)
{
    LoopCount = static_cast<int16_t>(choice.loopCount);
    LoopProtocol = static_cast<int16_t>(choice.protocol);
    IsLoopInterface = choice.rlm;
    MaxLoopAddress = LoopProtocol == 1 ? 126 : 127;
    return choice.rlm ? 0 : choice.rccCount;
}

void ResetNodesForNewSite(model::NodeArray& nodes, int rccCount, OwnerTable& owners)
{
    for (int i = 0; i < model::kNodeCount; ++i) {
        model::clsNode& node = nodes[static_cast<std::size_t>(i)];
        node.InitializeNode();
        node.SetNodeNumber(i);
        node.SetInUse(i <= rccCount);
    }
    for (int loop = 1; loop <= 4; ++loop) {
        for (int address = 1; address <= 128; ++address) {
            SetOwner(owners, loop, address, -1);
        }
    }
}

void NameNewSite(const std::string& name)
{
    SiteName = name;
    SiteNameX = 1500;
    SiteNameY = 200;
    ShowSiteName = true;
    SiteFileName = "untitled.qvs";
    FileChanged = true;
}

} // namespace app
