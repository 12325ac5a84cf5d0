#include "model/Site.h"

namespace model {

NodeArray Nodes;
NodeArray HubNodes;

void ResetSite()
{
    for (NodeArray* site : {&Nodes, &HubNodes}) {
        for (clsNode& node : *site) {
            node = clsNode();
            node.UnbindView();
        }
    }
}

} // namespace model
