#include "model/ConfigurationCheck.h"

#include "model/Site.h"
#include "model/SiteState.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace model {

std::vector<std::string> MessageList;

namespace {

// The idents seen by the last check with the owner that had each first.
std::unordered_map<std::string, int16_t> IdentList;

// Claims an owner-table cell for owner, or names the owner that has it.
class AddressClaims
{
public:
    AddressClaims()
    {
        // The whole table: a cell of loop 0 or address 0 must not keep an
        // owner from the hub's configuration.
        for (auto& row : HubLoopAddressOwner)
            row.fill(-1);
    }

    // -1 when the cell was free (it is now owner's), else its owner.
    int16_t Claim(int loop, int address, int16_t owner)
    {
        const bool inTable = loop >= 0 && loop < kOwnerLoops && address >= 0 && address < kOwnerAddresses;
        // Addresses beyond the table still must not be used twice.
        const int16_t held = inTable ? GetOwner(HubLoopAddressOwner, loop, address) : Beyond(loop, address);
        if (held != -1)
            return held;
        if (inTable)
            SetOwner(HubLoopAddressOwner, loop, address, owner);
        else
            beyond_[{loop, address}] = owner;
        return -1;
    }

private:
    int16_t Beyond(int loop, int address) const
    {
        const auto it = beyond_.find({loop, address});
        return it == beyond_.end() ? int16_t{-1} : it->second;
    }

    std::map<std::pair<int, int>, int16_t> beyond_;
};

// -1 when the ident is new (it is now owner's), else the owner that has it.
int16_t ClaimIdent(const std::string& ident, int16_t owner)
{
    const auto [it, added] = IdentList.try_emplace(ident, owner);
    return added ? int16_t{-1} : it->second;
}

// The tests shared by nodes and device slots: loop, address, both used
// twice, and the ident.
void CheckLoopAddressAndIdent(AddressClaims& claims, const std::string& prefix, const char* noLoop, int loop,
                              int address, const std::string& ident, int16_t owner)
{
    if (loop == -1)
        AddErrorLine(prefix + noLoop);
    if (address == -1)
        AddErrorLine(prefix + "has no Loop Address");
    if (loop != -1 && address != -1) {
        const int16_t held = claims.Claim(loop, address, owner);
        if (held != -1)
            AddErrorLine(prefix + "has the Same Loop Address as " + OwnerName(held));
    }
    if (ident.empty()) {
        AddErrorLine(prefix + "has no Ident");
    } else {
        const int16_t held = ClaimIdent(ident, owner);
        if (held != -1)
            AddErrorLine(prefix + "has the Same Ident as " + OwnerName(held));
    }
}

void CheckChannel(const std::string& prefix, int channel, const std::string& what)
{
    if (channel == -1)
        AddErrorLine(prefix + "has no " + what + " setting");
    else if (channel > 32)
        AddErrorLine(prefix + "has an invalid " + what + " setting");
}

} // namespace

void AddErrorLine(const std::string& text)
{
    if (MessageList.size() < kMaxMessages)
        MessageList.push_back(text);
}

std::string OwnerName(int owner)
{
    const int node = owner / 100;
    const int slot = owner % 100;
    std::string name = node == 0 ? "Radio Hub" : "RCC " + std::to_string(node);
    if (slot != 0)
        name += "  Device Slot " + std::to_string(slot);
    return name;
}

int16_t CheckConfiguration()
{
    AddressClaims claims;
    IdentList.clear();
    MessageList.clear();

    for (int n = 0; n < kNodeCount; ++n) {
        const clsNode& node = Nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        const std::string prefix = n == 0 ? std::string("Radio Hub ") : "RCC " + std::to_string(n) + " ";
        if (n != 0 && node.Parent() == -1)
            AddErrorLine(prefix + "has no Parent");
        CheckLoopAddressAndIdent(claims, prefix, "has no Loop Number", node.NodeLoop(), node.NodeAddress(),
                                 node.NodeIdent(), static_cast<int16_t>(n * 100));
        if (n == 0) {
            CheckChannel(prefix, node.Y_ChannelA(), "Y-Protocol First Channel");
            CheckChannel(prefix, node.Y_ChannelB(), "Y-Protocol Second Channel");
            continue;
        }
        CheckChannel(prefix, node.X_ChannelA(), "X-Protocol First Channel");
        CheckChannel(prefix, node.X_ChannelB(), "X-Protocol Second Channel");
        const int hop = node.Hop(Nodes, 10);
        if (hop == -1 || hop > 4)
            AddErrorLine(prefix + "has an Invalid Hop Count");
        for (int j = 1; j <= kLastSlot; ++j) {
            if (node.DeviceType(j) == 0)
                continue;
            const std::string device =
                "Device Slot " + std::to_string(j) + " on RCC " + std::to_string(n) + " ";
            CheckLoopAddressAndIdent(claims, device, "has no Loop", node.DeviceLoop(j), node.DeviceAddress(j),
                                     node.DeviceIdent(j), static_cast<int16_t>(n * 100 + j));
        }
    }
    return MessageCount();
}

void ResetConfigurationCheck()
{
    MessageList.clear();
    IdentList.clear();
}

} // namespace model
