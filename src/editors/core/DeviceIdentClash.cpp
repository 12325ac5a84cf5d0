#include "editors/core/DeviceIdentClash.h"

#include "editors/core/SlotRules.h"
#include "model/Convert.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

namespace editors {

std::string DeviceIdentClash(const DeviceSlots& slots, int selectedSlot, const std::string& ident,
                             ClashWording wording)
{
    if (ident.empty())
        return {};
    const bool typing = wording == ClashWording::WhileTyping;
    const std::string prefix = "Ident " + ident + "\r\nAlready in Use by ";
    for (int k = 1; k <= model::kLastSlot; ++k) {
        if (k == selectedSlot || slots.Slot(k).ident != ident)
            continue;
        const DeviceSlot& other = slots.Slot(k);
        return prefix + (typing ? "Device at " + LoopAddressText(other.loop, other.address)
                                : "Device " + std::to_string(k));
    }
    int found = model::FindNodeByIdent(ident);
    while (found != -1 && found / 100 == slots.Node())
        found = model::FindNodeByIdent("X");
    if (found == -1)
        return {};
    const int node = found / 100;
    const int slot = found % 100;
    if (slot != 0) {
        const model::clsNode& owner = model::Nodes[static_cast<std::size_t>(node)];
        if (typing)
            return prefix + "Device at " + LoopAddressText(owner.DeviceLoop(slot), owner.DeviceAddress(slot)) +
                   " on RCC" + std::to_string(node);
        return prefix + "Device " + std::to_string(slot) + " on RCC " + std::to_string(node);
    }
    if (found == 0)
        return prefix + "Radio Hub";
    return prefix + "RCC " + std::to_string(node);
}

std::string PaddedIdent(std::string text)
{
    text = model::Upper(text);
    if (text.empty())
        return text;
    return model::PadWithLeadingZeros(text, 5);
}

} // namespace editors
