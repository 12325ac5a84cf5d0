#include "app/core/RccCommands.h"

namespace app {
namespace {

void FreeOwnedCell(OwnerTable& owners, int node, int loop, int address)
{
    const int16_t owner = GetOwner(owners, loop, address);
    if (owner >= 0 && owner / 100 == node) {
        SetOwner(owners, loop, address, -1);
    }
}

} // namespace

std::string RccLimitMessage()
{
    return "There are already " + std::to_string(model::kLastSlot) + " RCCs in the configuration";
}

int AddRcc(model::NodeArray& nodes, int16_t& activeNode)
{
    int32_t x = kRccStartPosition;
    int32_t y = kRccStartPosition;
    for (int i = 1; i <= model::kLastSlot; ++i) {
        model::clsNode& node = nodes[static_cast<std::size_t>(i)];
        if (node.InUse()) {
            if (node.Left() == x) {
                x += kRccStartStep;
            }
            if (node.Top() == y) {
                y += kRccStartStep;
            }
            continue;
        }
        if (activeNode >= 0 && activeNode < model::kNodeCount) {
            nodes[static_cast<std::size_t>(activeNode)].DeActivate();
        }
        // Whatever an earlier site left in the slot (a file may have
        // numbered it 0, as the hub), the node is a new RCC.
        node.Renew(i);
        node.SetInUse(true);
        activeNode = static_cast<int16_t>(i);
        node.Activate();
        node.SetLeft(x);
        node.SetTop(y);
        return i;
    }
    return -1;
}

std::string DeleteRccQuestion(const model::NodeArray& nodes, int index)
{
    std::string text = "Are you sure you want to delete RCC " + std::to_string(index) + "?";
    const model::clsNode& node = nodes[static_cast<std::size_t>(index)];
    for (int s = 1; s <= model::kLastSlot; ++s) {
        if (node.DeviceType(s) != 0) {
            text += "\r\nThis will delete all Devices on this RCC";
            break;
        }
    }
    return text;
}

void DeleteRcc(model::NodeArray& nodes, int index, OwnerTable& owners)
{
    model::clsNode& node = nodes[static_cast<std::size_t>(index)];
    if (node.NodeLoop() != -1 && node.NodeAddress() != -1) {
        FreeOwnedCell(owners, index, node.NodeLoop(), node.NodeAddress());
    }
    node.SetNodeAddress(-1);
    node.SetNodeLoop(-1);
    node.SetName("");
    node.SetNodeIdent("");
    node.SetX_ChannelA(-1);
    node.SetX_ChannelB(-1);
    node.SetY_ChannelA(-1);
    node.SetY_ChannelB(-1);
    for (int s = 1; s <= model::kLastSlot; ++s) {
        const model::DeviceTypeCode type = node.DeviceType(s);
        if (type == 0) {
            continue;
        }
        const int loop = node.DeviceLoop(s);
        const int address = node.DeviceAddress(s);
        if (loop != -1 && address != -1) {
            FreeOwnedCell(owners, index, loop, address);
            if (model::IsComboHeadType(type)) {
                FreeOwnedCell(owners, index, loop, address + 1);
            }
        }
        node.SetDeviceType(s, 0);
        node.SetDeviceAddress(s, -1);
        node.SetDeviceLoop(s, -1);
        node.SetDeviceIdent(s, "");
        node.SetDeviceName(s, "");
    }
    node.SetInUse(false);
    const int newParent = node.Parent();
    node.SetParent(-1);
    for (int j = 1; j <= model::kLastSlot; ++j) {
        if (j != index && nodes[static_cast<std::size_t>(j)].Parent() == index) {
            nodes[static_cast<std::size_t>(j)].SetParent(newParent);
        }
    }
}

} // namespace app
