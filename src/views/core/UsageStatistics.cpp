#include "views/core/UsageStatistics.h"

#include <algorithm>
#include <array>

namespace views {
namespace {

using model::clsNode;
using model::DeviceTypeCode;
using model::kLastSlot;
using model::kNodeCount;

constexpr int kLoops = 5;     // loops 0..4
constexpr int kFirstType = 2; // the named device types 2..20
constexpr int kLastType = 20;
using TypeCounts = std::array<int, kLastType + 1>;

const clsNode& Node(const StatsSite& site, int n)
{
    return site.nodes[static_cast<std::size_t>(n)];
}

void CountType(TypeCounts& counts, DeviceTypeCode type)
{
    if (type >= kFirstType && type <= kLastType)
        ++counts[static_cast<std::size_t>(type)];
}

// "1 Callpoint", "3 Callpoints", "2 Sounder/Beacons" for each type held.
void AddTypeLines(std::vector<TreeLine>& lines, const TypeCounts& counts, const std::string& parentKey)
{
    for (int t = kFirstType; t <= kLastType; ++t) {
        const int c = counts[static_cast<std::size_t>(t)];
        if (c == 0)
            continue;
        std::string text = std::to_string(c) + " " + model::DeviceTypeName(t);
        if (c > 1)
            text += "s";
        lines.push_back({"", parentKey, text, DeviceTypeIconKey(t)});
    }
}

void AddByNode(std::vector<TreeLine>& lines, const StatsSite& site, bool countUsed)
{
    lines.push_back({"Hub", "", HubAddressSummary(site, StatsGrouping::ByNode, countUsed), "Node"});
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& node = Node(site, n);
        if (!node.InUse())
            continue;
        const std::string key = "RCC " + std::to_string(n);
        lines.push_back(
            {key, "Hub",
             key + ", " + FormatUsedFree(node.DetectorCountRCC(), kLastSlot, "device slots", countUsed),
             "Node"});
        TypeCounts counts{};
        for (int s = 1; s <= kLastSlot; ++s)
            CountType(counts, node.DeviceType(s));
        AddTypeLines(lines, counts, key);
    }
}

void AddByLoop(std::vector<TreeLine>& lines, const StatsSite& site, bool countUsed)
{
    const int lastLoop = std::min(site.loopCount, kLoops - 1);
    std::array<int, kLoops> rccs{};
    std::array<int, kLoops> addresses{};
    std::array<TypeCounts, kLoops> types{};
    for (int l = 1; l <= lastLoop; ++l) {
        const auto li = static_cast<std::size_t>(l);
        for (int n = 1; n < kNodeCount; ++n) {
            const clsNode& node = Node(site, n);
            if (node.NodeLoop() == l && node.InUse()) {
                ++rccs[li];
                ++addresses[li];
            }
            // A deleted RCC's slots are emptied with loop -1, so they count nowhere.
            for (int s = 1; s <= kLastSlot; ++s) {
                if (node.DeviceLoop(s) != l)
                    continue;
                CountType(types[li], node.DeviceType(s));
                addresses[li] += model::IsComboHeadType(node.DeviceType(s)) ? 2 : 1;
            }
        }
    }
    const int hubLoop = Node(site, 0).NodeLoop();
    if (hubLoop >= 0 && hubLoop < kLoops)
        ++addresses[static_cast<std::size_t>(hubLoop)];

    for (int l = 1; l <= lastLoop; ++l) {
        const auto li = static_cast<std::size_t>(l);
        const std::string key = "Loop " + std::to_string(l);
        lines.push_back(
            {key, "", key + ", " + FormatUsedFree(addresses[li], site.maxLoopAddress, "addresses", countUsed),
             "Loop"});
        if (hubLoop == l)
            lines.push_back({"Hub", key, HubAddressSummary(site, StatsGrouping::ByLoop, countUsed), "Node"});
        if (rccs[li] > 0)
            lines.push_back({"", key, std::to_string(rccs[li]) + (rccs[li] == 1 ? " RCC" : " RCCs"), "Node"});
        AddTypeLines(lines, types[li], key);
    }
}

void AddByDevice(std::vector<TreeLine>& lines, const StatsSite& site, bool countUsed)
{
    int rccs = 0;
    TypeCounts counts{};
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& node = Node(site, n);
        if (node.InUse())
            ++rccs;
        for (int s = 1; s <= kLastSlot; ++s)
            CountType(counts, node.DeviceType(s));
    }
    lines.push_back({"Hub", "", HubAddressSummary(site, StatsGrouping::ByDevice, countUsed), "Node"});
    lines.push_back({"RCC", "", FormatUsedFree(rccs, kNodeCount - 1, "Possible RCCs", countUsed), "Node"});
    AddTypeLines(lines, counts, "");
}

} // namespace

std::string FormatUsedFree(int used, int total, std::string noun, bool countUsed)
{
    if (total == 1 && !noun.empty())
        noun.pop_back();
    if (countUsed)
        return std::to_string(used) + " of " + std::to_string(total) + " " + noun + " used";
    return std::to_string(total - used) + " of " + std::to_string(total) + " " + noun + " free";
}

std::string HubAddressSummary(const StatsSite& site, StatsGrouping grouping, bool countUsed)
{
    const std::string prefix = grouping == StatsGrouping::ByLoop
                                   ? "Radio Hub, "
                                   : std::to_string(site.loopCount) + " Loop Radio Hub, ";
    int used = 1; // the hub's own address
    for (int n = 1; n < kNodeCount; ++n) {
        if (Node(site, n).InUse())
            used += Node(site, n).DetectorCount() + 1;
    }
    return prefix +
           FormatUsedFree(used, site.maxLoopAddress * site.loopCount, "possible addresses", countUsed);
}

std::string DeviceTypeIconKey(DeviceTypeCode code)
{
    switch (code) {
    case 1:
        return "Node";
    case 2:
        return "Callpoint";
    case 3:
        return "Optical";
    case 4:
        return "Heat";
    case 5:
        return "HHeat";
    case 6:
        return "Sounder";
    case 7:
        return "Beacon";
    case 8:
    case 20:
        return "IOUnit";
    case 9:
        return "Multi";
    case 10:
    case 11:
    case 12:
    case 13:
    case 18:
        return "Combo";
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
        return "ComboBeacon";
    default:
        return "";
    }
}

std::vector<TreeLine> UsageStatisticsLines(const StatsSite& site, StatsGrouping grouping, bool countUsed)
{
    std::vector<TreeLine> lines;
    switch (grouping) {
    case StatsGrouping::ByNode:
        AddByNode(lines, site, countUsed);
        break;
    case StatsGrouping::ByLoop:
        AddByLoop(lines, site, countUsed);
        break;
    case StatsGrouping::ByDevice:
        AddByDevice(lines, site, countUsed);
        break;
    }
    return lines;
}

} // namespace views
