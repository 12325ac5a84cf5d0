#pragma once
// The lines of the usage statistics: how many loop addresses, RCC places and
// device slots the site takes, and how many devices of each type it holds,
// grouped by loop, by node (RCC) or by device type; every count reads "used"
// or "free".
#include "model/clsNode.h"
#include "views/core/TreeLine.h"

#include <string>
#include <vector>

namespace views {

// The values of the StatsViewBy setting.
enum class StatsGrouping
{
    ByLoop = 1,
    ByNode = 2,
    ByDevice = 3
};

struct StatsSite
{
    const model::NodeArray& nodes;
    int loopCount;
    int maxLoopAddress;
};

// "12 of 31 device slots used" or, counting free, "19 of 31 device slots
// free"; a total of 1 drops the noun's last letter.
std::string FormatUsedFree(int used, int total, std::string noun, bool countUsed);

// The hub line: the loop addresses the hub and the RCCs in use take of all
// the loops hold, "2 Loop Radio Hub, 40 of 252 possible addresses used"
// ("Radio Hub, ..." when grouped by loop).
std::string HubAddressSummary(const StatsSite& site, StatsGrouping grouping, bool countUsed);

// The image key of a device type code; the empty text for a code that names
// no device type.
std::string DeviceTypeIconKey(model::DeviceTypeCode code);

// Every line in the order it is added. Keys: "Hub", "RCC n" (by node),
// "Loop n" (by loop), "RCC" (by device type); every other line has none.
std::vector<TreeLine> UsageStatisticsLines(const StatsSite& site, StatsGrouping grouping, bool countUsed);

} // namespace views
