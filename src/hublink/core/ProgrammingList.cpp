#include "hublink/core/ProgrammingList.h"

#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "model/ChannelPlan.h"
#include "model/DeviceTypes.h"

namespace hublink {

using model::clsNode;
using model::kLastSlot;
using model::kNodeCount;
using model::NodeArray;

namespace {

constexpr int kHopDepth = 10;
constexpr int kDeepestHop = 4;

std::string Number(int value)
{
    return std::to_string(value);
}

// "POPULATE LOOP<loop> <word> <address> <node> <ident>" and, for a unit that
// acknowledged the debug-off request, the position field.
std::string PopulateCommand(int loop, const std::string& word, int address, int node,
                            const std::string& ident, bool unitConnected, int position)
{
    std::string text = "POPULATE LOOP" + Number(loop) + " " + word + " " + Number(address) + " " +
                       Number(node) + " " + ident;
    if (unitConnected)
        text += " " + Number(position);
    return text;
}

std::string ChannelPair(int a, int b)
{
    return Number(model::ChannelTable(a)) + " " + Number(model::ChannelTable(b));
}

bool IsRcc(int node)
{
    return node >= 1 && node < kNodeCount;
}

// The relation commands of the RCCs in use that pass the filter, level by
// level from hop 1 to hop 4; the first carries the caption.
template <typename Filter>
void AddRelations(ProgrammingList& list, const NodeArray& nodes, const std::string& caption, Filter take)
{
    bool first = true;
    for (int h = 1; h <= kDeepestHop; ++h) {
        for (int i = 1; i < kNodeCount; ++i) {
            if (!nodes[i].InUse() || nodes[i].Hop(nodes, kHopDepth) != h || !take(i))
                continue;
            list.AddCommand(RelationCommand(nodes, i), first ? caption : std::string());
            first = false;
        }
    }
}

} // namespace

int32_t FirstCommandTimeoutMs(const std::string& command)
{
    return command == kClearCommand ? kClearTimeoutMs : kReplyTimeoutMs;
}

std::string ProgrammingTypeWord(model::DeviceTypeCode type)
{
    if (type == 13 || type == 14)
        return "COMBO";
    return model::DeviceTypeWord(type);
}

bool IsDefinedChannel(int index)
{
    return index >= 1 && index <= 32;
}

std::string NodeCommand(const clsNode& node, int Node, bool unitConnected)
{
    return PopulateCommand(node.NodeLoop(), model::StringTableText(model::kStrNodeWord), node.NodeAddress(),
                           Node, node.NodeIdent(), unitConnected, 0);
}

std::string DeviceCommand(const clsNode& node, int Node, int Slot, bool unitConnected)
{
    return PopulateCommand(node.DeviceLoop(Slot), ProgrammingTypeWord(node.DeviceType(Slot)),
                           node.DeviceAddress(Slot), Node, node.DeviceIdent(Slot), unitConnected, Slot - 1);
}

std::string YChannelCommand(const clsNode& hub)
{
    if (!IsDefinedChannel(hub.Y_ChannelA()) || !IsDefinedChannel(hub.Y_ChannelB()))
        return std::string();
    return "YPROTRADIOCHANNELS " + ChannelPair(hub.Y_ChannelA(), hub.Y_ChannelB());
}

std::string XChannelCommand(const clsNode& node, int Node)
{
    if (!IsDefinedChannel(node.X_ChannelA()) || !IsDefinedChannel(node.X_ChannelB()))
        return std::string();
    return "XPROTRADIOCHANNELS " + ChannelPair(node.X_ChannelA(), node.X_ChannelB()) + " " + Number(Node);
}

std::string RelationCommand(const NodeArray& nodes, int Node)
{
    const clsNode& node = nodes[static_cast<size_t>(Node)];
    return "RELATION ADD " + Number(Node) + " " + Number(node.Parent()) + " " +
           Number(node.Hop(nodes, kHopDepth));
}

std::string RelationDeleteCommand(int Node, int Parent)
{
    return "RELATION DEL " + Number(Node) + " " + Number(Parent);
}

std::string DeleteDeviceCommand(const std::string& Ident)
{
    return "FDELETE DEVICE " + Ident;
}

void ProgrammingList::AddCommand(const std::string& Command, const std::string& Caption)
{
    commands_.push_back(ProgrammingCommand{Command, Caption});
}

void ProgrammingList::AddPopulateCommands(const NodeArray& nodes, int Node, bool unitConnected)
{
    if (Node < 0 || Node >= kNodeCount)
        return;
    const clsNode& node = nodes[static_cast<size_t>(Node)];
    if (!node.InUse())
        return;
    AddCommand(NodeCommand(node, Node, unitConnected),
               Node == 0 ? "Setting Radio Hub Details" : "Setting RCC " + Number(Node) + " Details");
    if (Node == 0)
        return;
    for (int s = 1; s <= kLastSlot; ++s) {
        if (node.DeviceType(s) != 0)
            AddCommand(DeviceCommand(node, Node, s, unitConnected),
                       s == 1 ? "Setting RCC " + Number(Node) + " Device Details" : std::string());
    }
}

void ProgrammingList::SetClearCommand()
{
    commands_.assign(1,
                     ProgrammingCommand{kClearCommand, "Clearing existing configuration from Radio Hub\r\n"});
}

ProgrammingList BuildFullProgrammingList(const NodeArray& Nodes, bool unitConnected)
{
    ProgrammingList list;
    list.SetClearCommand();
    list.AddPopulateCommands(Nodes, 0, unitConnected);
    const std::string y = YChannelCommand(Nodes[0]);
    if (!y.empty())
        list.AddCommand(y, "Setting Y-Protocol Channels");
    for (int i = 1; i < kNodeCount; ++i) {
        const int hop = Nodes[i].Hop(Nodes, kHopDepth);
        if (!Nodes[i].InUse() || hop < 1 || hop > kDeepestHop)
            continue;
        list.AddPopulateCommands(Nodes, i, unitConnected);
        const std::string x = XChannelCommand(Nodes[i], i);
        if (!x.empty())
            list.AddCommand(x, "Setting X-Protocol Channels for RCC " + Number(i));
    }
    AddRelations(list, Nodes, "Setting Relationships between RCCs and Radio Hub", [](int) { return true; });
    return list;
}

ProgrammingList BuildIncrementalProgrammingList(NodeArray& Nodes, const NodeArray& HubNodes,
                                                bool unitConnected)
{
    ProgrammingList list;
    for (int i = 0; i < kNodeCount; ++i) {
        clsNode& node = Nodes[i];
        const clsNode& hub = HubNodes[i];
        if (!node.InUse())
            continue; // an RCC gone from the site is deleted, never programmed
        // An RCC deleted from the hub because its ident changed is added
        // again whole (NodeAdd); one that stays is programmed where it changed.
        const bool kept = !hub.NodeDelete();
        if (node.NodeAdd() || (kept && node.AddressChange()))
            list.AddCommand(NodeCommand(node, i, unitConnected));
        const bool channelsDiffer =
            node.X_ChannelA() != hub.X_ChannelA() || node.X_ChannelB() != hub.X_ChannelB();
        if (IsRcc(i) && (node.NodeAdd() || (kept && node.ChannelChange() && channelsDiffer))) {
            const std::string x = XChannelCommand(node, i);
            if (!x.empty())
                list.AddCommand(x);
        }
        if (!IsRcc(i))
            continue; // the hub has no device slots in the list
        for (int s = 1; s <= kLastSlot; ++s) {
            if (node.DeviceType(s) == 0)
                continue;
            if (node.NodeAdd())
                node.SetDeviceAdd(s, true);
            if (node.DeviceAdd(s) || node.DeviceAddressChange(s))
                list.AddCommand(DeviceCommand(node, i, s, unitConnected));
        }
    }
    AddRelations(list, Nodes, "Adding Relationships Between RCCs and Radio Hub...",
                 [&Nodes](int i) { return Nodes[i].ParentChange() || Nodes[i].NodeAdd(); });
    if (Nodes[0].Y_ChannelA() != HubNodes[0].Y_ChannelA() ||
        Nodes[0].Y_ChannelB() != HubNodes[0].Y_ChannelB()) {
        const std::string y = YChannelCommand(Nodes[0]);
        if (!y.empty())
            list.AddCommand(y, "Setting Radio Y Channels..");
    }
    return list;
}

void PutProgrammingList(LinkSession& session, const ProgrammingList& list)
{
    const auto& commands = list.Commands();
    session.ReplyLines.assign(commands.size() + 1, std::string());
    session.CommandCaptions.assign(commands.size() + 1, std::string());
    for (size_t i = 0; i < commands.size(); ++i) {
        session.ReplyLines[i + 1] = commands[i].Command;
        session.CommandCaptions[i + 1] = commands[i].Caption;
    }
    session.CommandCount = static_cast<int16_t>(commands.size());
    session.ReplyLineCount = session.CommandCount;
}

} // namespace hublink
