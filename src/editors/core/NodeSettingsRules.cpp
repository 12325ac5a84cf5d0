#include "editors/core/NodeSettingsRules.h"

#include "model/Convert.h"
#include "model/SiteQueries.h"

#include <algorithm>

namespace editors {

namespace {

std::string RightAligned(int value, int16_t width)
{
    std::string text = std::to_string(value);
    return model::PadString(text, width, 2);
}

} // namespace

ListItems LoopItems(int loopCount)
{
    ListItems items;
    for (int n = 1; n <= loopCount; ++n)
        items.push_back({"     " + std::to_string(n), n});
    return items;
}

ListItems AddressItems(int loop, int owner, const OwnerTable& table, int maxAddress)
{
    ListItems items;
    if (loop < 0 || loop >= kOwnerLoops)
        return items;
    for (int a = 1; a <= maxAddress && a < kOwnerAddresses; ++a) {
        const int16_t holder = GetOwner(table, loop, a);
        if (holder == -1 || holder == owner)
            items.push_back({RightAligned(a, 6), a});
    }
    return items;
}

ListItems ParentItems(int node, const model::NodeArray& nodes)
{
    ListItems items{{"No Parent", -1}, {"Radio Hub", 0}};
    for (int n = 1; n < model::kNodeCount; ++n) {
        if (nodes[static_cast<std::size_t>(n)].InUse() && n != node)
            items.push_back({"   " + std::to_string(n), n});
    }
    return items;
}

ListItems TotalLoopsItems(int highestLoopInUse)
{
    ListItems items;
    for (int n = std::max(highestLoopInUse, 1); n <= 4; ++n)
        items.push_back({"     " + std::to_string(n), n});
    return items;
}

ListItems ProtocolItems(int highestAddressInUse)
{
    ListItems items;
    if (highestAddressInUse < 127)
        items.push_back({"Apollo XP95", 1});
    if (highestAddressInUse < 128)
        items.push_back({"Ziton ZP", 2});
    return items;
}

ListItems ChannelItems()
{
    ListItems items;
    for (int n = 1; n <= 32; ++n)
        items.push_back({"   " + std::to_string(n), n});
    return items;
}

int ItemPosition(const ListItems& items, int value)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == value)
            return static_cast<int>(i);
    }
    return -1;
}

int16_t MaxLoopAddressFor(int protocol)
{
    return protocol == 1 ? 126 : 127;
}

std::string NodeSettingsCaption(int node, bool isLoopInterface, bool changed)
{
    std::string caption;
    if (node < 0 && !isLoopInterface)
        caption = "Hub/RCC Properties";
    else if (isLoopInterface)
        caption = "RLM Properties";
    else if (node == 0)
        caption = "Radio Hub Properties";
    else
        caption = "RCC " + std::to_string(node) + " Properties";
    return changed ? caption + " *" : caption;
}

std::optional<std::string> IdentEntry(const std::string& text)
{
    std::string ident = text;
    if (!model::IsHexString(ident))
        return std::nullopt;
    return ident;
}

std::string RightmostFive(const std::string& ident)
{
    return ident.size() > 5 ? ident.substr(ident.size() - 5) : ident;
}

LeftIdent LeaveIdent(const std::string& text)
{
    std::string ident = text;
    if (ident.size() > 5)
        return {RightmostFive(ident), true};
    if (!ident.empty())
        model::PadWithLeadingZeros(ident, 5);
    return {ident, false};
}

int IdentClashOwner(const std::string& ident, int node)
{
    if (ident.size() != 5)
        return -1;
    int owner = model::FindNodeByIdent(ident);
    while (owner != -1 && owner == node * 100)
        owner = model::FindNodeByIdent("X");
    return owner;
}

std::string IdentClashMessage(const std::string& ident, int owner)
{
    std::string text = "Ident " + ident + "\r\nAlready in Use by";
    const int node = owner / 100;
    const int slot = owner % 100;
    if (owner == 0)
        return text + " Radio Hub";
    if (slot == 0)
        return text + " RCC " + std::to_string(node);
    return text + " Device " + std::to_string(slot) + " on RCC " + std::to_string(node);
}

HopShown ShowHop(int hop)
{
    return {hop < 0 ? "0" : std::to_string(hop), hop < 0 || hop > 4};
}

} // namespace editors
