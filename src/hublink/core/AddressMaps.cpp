#include "hublink/core/AddressMaps.h"

#include "model/DeviceTypes.h"
#include "model/Site.h"
#include "model/SiteState.h"

namespace hublink {

namespace {

constexpr int kCopyAll = 100;

void ClearOwners(OwnerTable& table)
{
    for (int loop = 1; loop < kOwnerLoops; ++loop)
        for (int address = 1; address < kOwnerAddresses; ++address)
            table[loop][address] = -1;
}

// Calls enter(loop, address, owner, type) for every node in use (type 0)
// and every device slot of it with a loop and an address (node 0's slots
// only with enterNodeZeroSlots), in the order of the tables: node by node,
// each node before its slots.
template <typename Enter>
void ForEachPlace(const model::NodeArray& nodes, bool enterNodeZeroSlots, Enter enter)
{
    for (int n = 0; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[n];
        if (!node.InUse())
            continue;
        if (node.NodeLoop() != -1 && node.NodeAddress() != -1)
            enter(node.NodeLoop(), node.NodeAddress(), static_cast<int16_t>(n * 100),
                  model::DeviceTypeCode{0});
        if (n == 0 && !enterNodeZeroSlots)
            continue;
        for (int s = 1; s <= model::kLastSlot; ++s) {
            if (node.DeviceLoop(s) != -1 && node.DeviceAddress(s) != -1)
                enter(node.DeviceLoop(s), node.DeviceAddress(s), static_cast<int16_t>(n * 100 + s),
                      node.DeviceType(s));
        }
    }
}

// SetOwner skips cells outside the table, so a stray loop or address (or
// the second address of a head at 128) writes nothing.
void FillOwnerTable(OwnerTable& table, const model::NodeArray& nodes, bool enterNodeZeroSlots)
{
    ClearOwners(table);
    ForEachPlace(nodes, enterNodeZeroSlots, [&table](int loop, int address, int16_t owner, int type) {
        SetOwner(table, loop, address, owner);
        if (model::IsComboHeadType(type))
            SetOwner(table, loop, address + 1, owner);
    });
}

} // namespace

void BuildProgrammedOwnerTable(OwnerTable& table, const model::NodeArray& nodes)
{
    ClearOwners(table);
    ForEachPlace(nodes, false, [&table](int loop, int address, int16_t owner, int type) {
        if (model::IsComboHeadType(type))
            SetOwner(table, loop, address + 1, owner);
    });
    // A node, or a slot with a device type.
    ForEachPlace(nodes, false, [&table](int loop, int address, int16_t owner, int type) {
        if (owner % 100 == 0 || type != 0)
            SetOwner(table, loop, address, owner);
    });
}

void BuildAddressMap()
{
    if (IsLoopInterface)
        model::Nodes[0].SetInUse(true);
    FillOwnerTable(LoopAddressOwner, model::Nodes, IsLoopInterface);
}

void BuildHubAddressMap()
{
    FillOwnerTable(HubLoopAddressOwner, model::HubNodes, false);
}

bool CopyNodeArray(std::span<const model::clsNode> Source, std::span<model::clsNode> Destination, int Which)
{
    if (Source.size() != Destination.size())
        return false;
    const int count = static_cast<int>(Source.size());
    int first = Which;
    int last = Which;
    if (Which == kCopyAll) {
        first = 0;
        last = count - 1;
    } else if (Which < 0 || Which >= count) {
        return false;
    }
    for (int i = first; i <= last; ++i) {
        const model::clsNode& from = Source[i];
        model::clsNode& to = Destination[i];
        to.SetInUse(from.InUse());
        to.SetName(from.Name());
        to.SetNodeAddress(from.NodeAddress());
        to.SetNodeIdent(from.NodeIdent());
        to.SetNodeLoop(from.NodeLoop());
        to.SetNodeNumber(from.NodeNumber());
        to.SetParent(from.Parent());
        to.SetX_ChannelA(from.X_ChannelA());
        to.SetX_ChannelB(from.X_ChannelB());
        to.SetY_ChannelA(from.Y_ChannelA());
        to.SetY_ChannelB(from.Y_ChannelB());
        for (int s = 1; s <= model::kLastSlot; ++s) {
            to.SetDeviceType(s, from.DeviceType(s));
            to.SetDeviceName(s, from.DeviceName(s));
            to.SetDeviceIdent(s, from.DeviceIdent(s));
            to.SetDeviceLoop(s, from.DeviceLoop(s));
            to.SetDeviceAddress(s, from.DeviceAddress(s));
        }
    }
    return true;
}

} // namespace hublink
