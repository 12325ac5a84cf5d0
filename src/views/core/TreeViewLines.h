#pragma once
// The lines of the tree view: the Radio Hub at the root and under it either
// the RCCs with their devices (by RCC) or the panel loops with the RCCs and
// devices on each loop in loop-address order (by loop). A device is one line,
// or with details a line of its type with its properties as child lines.
#include "model/SiteState.h"
#include "model/clsNode.h"
#include "views/core/TreeLine.h"

#include <string>
#include <vector>

namespace views {

enum class TreeViewBy
{
    Rcc,
    Loop
};

struct TreeViewSite
{
    const model::NodeArray& nodes;
    const OwnerTable& owners; // the site's LoopAddressOwner
    int loopCount;
    int maxLoopAddress;
};

// Every line in the order it is added. Each key is used once: a line whose
// key is already taken (a combination head's second address, an owner table
// that lists a unit twice) is left out with its detail lines. Owner codes
// naming a node or slot outside 0..31 are passed over.
std::vector<TreeLine> TreeViewLines(const TreeViewSite& site, TreeViewBy by, bool details);

// The image key of a device line's type ("Optical", "Combo", ...); the empty
// text for a code that names no device type.
std::string TreeViewImageKey(model::DeviceTypeCode code);

// The node a click on a line of this text activates: 0 for the root
// ("Radio..."), n for an RCC line ("RCC n, ...") or a device's RCC detail
// line ("RCC: n"); -1 for every other line, and for an RCC that is no longer
// in use (the line was built before the RCC was deleted).
int NodeToActivate(const std::string& lineText, const model::NodeArray& nodes);

} // namespace views
