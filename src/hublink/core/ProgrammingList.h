#pragma once
// The programming list of a Radio Hub: the one-line commands that bring the
// hub's programming into line with the site, each with its progress caption,
// in the order the link sends them, and the text of every programming
// command (the deletes that go out one by one before the list included).
//
// The lists are built from the node arrays and the change flags that the
// change list has set, then loaded into the link's shared arrays, from where
// the reply dispatcher walks them (state ProgramWait). The programming run
// of the communications window makes these calls after the change list (and
// after the incremental deletes, HubDeletes.h):
//
//   full run:        PutProgrammingList(session, BuildFullProgrammingList(model::Nodes, UnitConnected));
//   incremental run: PutProgrammingList(session, BuildIncrementalProgrammingList(model::Nodes, model::HubNodes,
//                                                                       UnitConnected));
//
// then, unless CommandCount is 0, it sets ReplyLineCount to 1 and sends
// ReplyLines[1] with FirstCommandTimeoutMs(ReplyLines[1]).
//
// A command is never built from an undefined channel (an index outside
// 1..32): such a channel command is left out. Only RCCs that the site holds
// get node, device, channel and relation commands, and only occupied slots
// get device commands.
#include "hublink/core/LinkState.h"
#include "model/clsNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hublink {

// The command that empties the hub's programming; the link waits longer for
// its echo than for any other programming command.
inline constexpr const char* kClearCommand = "POPULATE CLEAR";
inline constexpr int32_t kClearTimeoutMs = 5000;

// The time-out of the first command of a list: kClearTimeoutMs for the clear
// command, the link's normal reply time-out otherwise.
int32_t FirstCommandTimeoutMs(const std::string& command);

// The type word of a device command. Combination bases without a chosen
// head (types 13 and 14) go out as "COMBO", the word a downloaded
// configuration reads back as a combination base; the empty text for 0 and
// codes that name no device.
std::string ProgrammingTypeWord(model::DeviceTypeCode type);

// True for a channel index 1..32, the indices the wire has a channel for.
bool IsDefinedChannel(int index);

// "POPULATE LOOP<loop> NODE <address> <node> <ident>", and " 0" with
// unitConnected. Node is the index of the node in its array.
std::string NodeCommand(const model::clsNode& node, int Node, bool unitConnected);
// "POPULATE LOOP<loop> <type word> <address> <node> <ident>", and " " plus
// the slot less one with unitConnected.
std::string DeviceCommand(const model::clsNode& node, int Node, int Slot, bool unitConnected);
// "YPROTRADIOCHANNELS <A> <B>" from the hub's Y pair, in wire channel
// numbers; the empty text when either index is undefined.
std::string YChannelCommand(const model::clsNode& hub);
// "XPROTRADIOCHANNELS <A> <B> <node>" from the RCC's X pair; the empty text
// when either index is undefined.
std::string XChannelCommand(const model::clsNode& node, int Node);
// "RELATION ADD <node> <parent> <hop>", the hop counted over nodes.
std::string RelationCommand(const model::NodeArray& nodes, int Node);
// "RELATION DEL <node> <parent>": parent as the downloaded configuration
// gives it.
std::string RelationDeleteCommand(int Node, int Parent);
// "FDELETE DEVICE <ident>" for a device or an RCC.
std::string DeleteDeviceCommand(const std::string& Ident);

struct ProgrammingCommand
{
    std::string Command;
    std::string Caption; // shown in the log when the command goes out; "" none
    bool operator==(const ProgrammingCommand&) const = default;
};

class ProgrammingList
{
public:
    // Appends one command.
    void AddCommand(const std::string& Command, const std::string& Caption = std::string());
    // The node command of node Node of nodes ("Setting Radio Hub Details" or
    // "Setting RCC <n> Details") and, for an RCC, the device command of each
    // occupied slot, the first slot's with "Setting RCC <n> Device Details".
    // Nothing for a node that is not in use.
    void AddPopulateCommands(const model::NodeArray& nodes, int Node, bool unitConnected);
    // Empties the list and puts the clear command at its head.
    void SetClearCommand();

    const std::vector<ProgrammingCommand>& Commands() const { return commands_; }
    int Count() const { return static_cast<int>(commands_.size()); }

private:
    std::vector<ProgrammingCommand> commands_;
};

// A full reprogramming: the clear command, the hub's node and Y channels,
// then for each RCC whose hop count over Nodes is 1..4 its node, devices and
// X channels, and last the relations, level by level from hop 1 to hop 4.
ProgrammingList BuildFullProgrammingList(const model::NodeArray& Nodes, bool unitConnected);

// An incremental update from the change flags: node by node the node
// command (added or moved), the X channels (added, or changed and differing
// from HubNodes) and the device commands (added or moved), then the
// relations of added or re-parented RCCs level by level, then the hub's Y
// channels when they differ from HubNodes. An RCC replaced by one with a new
// ident under the same number is re-added whole. Every occupied slot of an
// added node gets its DeviceAdd flag set in Nodes, as the run reports it.
ProgrammingList BuildIncrementalProgrammingList(model::NodeArray& Nodes, const model::NodeArray& HubNodes,
                                                bool unitConnected);

// Loads the list into the session's arrays: commands at ReplyLines[1..n],
// captions at CommandCaptions[1..n], index 0 empty, CommandCount and
// ReplyLineCount n. An empty list empties the arrays.
void PutProgrammingList(LinkSession& session, const ProgrammingList& list);

} // namespace hublink
