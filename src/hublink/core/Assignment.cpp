#include "hublink/core/Assignment.h"

#include "hublink/core/AnswerForms.h"
#include "hublink/core/CommsLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Convert.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/base/MessageStyle.h"

#include <vector>

namespace hublink {

using enum CommsStateCode;

using model::clsNode;
using model::kLastSlot;
using model::kNodeCount;
using model::NodeArray;

namespace {

const std::string kCrLf = "\r\n";
const std::string kOwnCaption; // the window's caption as title

// The question before an assignment run.
const std::string kConfirmText = "Are You Sure That You Want To Start This Process\r\nIt May Take A "
                                 "Considerable Amount of Time To Complete";

struct Field
{
    size_t At;
    std::string Text;
};

// The line split at every blank; two blanks in a row give an empty field.
std::vector<Field> SplitAtBlanks(const std::string& line)
{
    std::vector<Field> fields;
    size_t at = 0;
    for (;;) {
        const size_t blank = line.find(' ', at);
        fields.push_back(
            Field{at, line.substr(at, blank == std::string::npos ? std::string::npos : blank - at)});
        if (blank == std::string::npos)
            return fields;
        at = blank + 1;
    }
}

// A field that is a whole decimal number; -1 for anything else.
int FieldNumber(const std::string& text)
{
    return model::WholeNumber(text).value_or(-1);
}

// Stores one "DS LOOP<n> <address> <status...>" line on the unit that owns
// its loop address. Other lines, too short ones and loop addresses outside
// the owner table or without owner change nothing.
void StoreStatusLine(const std::string& line, NodeArray& nodes)
{
    // A line garbled on its way names no unit's status.
    if (!forms::IsPlainText(line))
        return;
    const std::vector<Field> fields = SplitAtBlanks(line);
    if (fields.size() < 4 || fields[0].Text != "DS" || fields[1].Text.substr(0, 4) != "LOOP")
        return;
    const int loop = FieldNumber(fields[1].Text.substr(4));
    const int address = FieldNumber(fields[2].Text);
    const int owner = GetOwner(LoopAddressOwner, loop, address);
    if (owner < 0 || owner / 100 >= kNodeCount)
        return;
    clsNode& node = nodes[static_cast<size_t>(owner / 100)];
    const std::string status = line.substr(fields[3].At);
    if (owner % 100 == 0)
        node.SetNodeStatusString(status);
    else
        node.SetDeviceStatusString(owner % 100, status);
}

// No node in use and no device slot (of any node) left unassigned.
bool AllAssigned(const NodeArray& nodes)
{
    for (const clsNode& node : nodes) {
        if (node.InUse() && !node.Assigned())
            return false;
        for (int slot = 1; slot <= kLastSlot; ++slot)
            if (node.DeviceType(slot) != 0 && !node.DeviceAssigned(slot))
                return false;
    }
    return true;
}

std::string LoopAddressText(int loop, int address)
{
    return "Loop " + std::to_string(loop) + " Address " + std::to_string(address);
}

// Logs, from node first on, each node in use that is not assigned and (with
// devices) each of its devices that is not assigned, under one heading line;
// returns how many were listed.
int ListUnassigned(CommsLink& link, const NodeArray& nodes, int first, bool devices)
{
    int listed = 0;
    auto list = [&](const std::string& line) {
        if (listed++ == 0)
            link.LogLine("Unable to Assign the following :...", true);
        link.LogLine(line, true);
    };
    for (int n = first; n < kNodeCount; ++n) {
        const clsNode& node = nodes[static_cast<size_t>(n)];
        const std::string rcc = " : RCC " + std::to_string(n);
        if (node.InUse() && !node.Assigned())
            list(LoopAddressText(node.NodeLoop(), node.NodeAddress()) + rcc);
        for (int slot = 1; devices && slot <= kLastSlot; ++slot)
            if (node.DeviceType(slot) != 0 && !node.DeviceAssigned(slot))
                list(LoopAddressText(node.DeviceLoop(slot), node.DeviceAddress(slot)) + rcc + ", Device " +
                     std::to_string(slot));
    }
    return listed;
}

// Asks before an assignment run, readies the port and takes the busy state;
// false when the engineer said No or the port could not be opened.
bool BeginAssignment(CommsLink& link, IAssignmentWindow& window, const std::string& question,
                     const std::string& title, const std::string& firstLine)
{
    if (window.Display(question, (MessageStyle::Question | MessageStyle::YesNo), title) != MessageResult::Yes || !PortReady(link, window))
        return false;
    link.BeginBusy();
    link.LogLine(firstLine, true);
    return true;
}

// The status read of an assignment run. A read that times out ends the busy
// state; the run goes on to the assignment, so it takes it again.
void ReadStatusAndStayBusy(CommsLink& link, NodeArray& nodes)
{
    ReadAllDeviceStatus(link, nodes);
    link.BeginBusy();
}

// Sends an assignment command and follows the hub's reports until it
// finishes, falls silent, or does not know the command. Returns the final
// state.
StateCode RunAssignment(CommsLink& link, const std::string& command)
{
    link.Transact(AssignWait, command, kReplyTimeoutMs);
    link.WaitWhileState({Assigning});
    return link.Session().CommsState;
}

// One unassign command and its result message.
void Unassign(CommsLink& link, IAssignmentWindow& window, StateCode waitCode, StateCode doneCode,
              const std::string& command, const std::string& doneText, const std::string& failText)
{
    if (!PortReady(link, window))
        return;
    link.BeginBusy();
    const bool done = link.Transact(waitCode, command, kUnassignTimeoutMs) == doneCode;
    window.Display((done ? doneText : failText) + kCrLf, done ? MessageStyle::Information : MessageStyle::Critical, kOwnCaption);
    link.EndBusy();
}

} // namespace

bool PortReady(CommsLink& link, IAssignmentWindow& window)
{
    if (PortEnabled)
        return true;
    PortEnabled = true;
    if (window.ResetPort() == PortStatus::Ready)
        return true;
    link.EndBusy();
    return false;
}

bool ReadAllDeviceStatus(CommsLink& link, NodeArray& nodes)
{
    for (clsNode& node : nodes) {
        node.SetNodeStatusString("");
        for (int slot = 1; slot <= kLastSlot; ++slot)
            node.SetDeviceStatusString(slot, "");
    }
    link.Session().EmptyReplyLines();
    if (link.Transact(AllStatusCollect, "GET DS ALL", kReplyTimeoutMs) != AllStatusDone)
        return false;
    for (int i = 1; i <= link.Session().ReplyLineCount; ++i)
        StoreStatusLine(link.Session().ReplyLines[static_cast<size_t>(i)], nodes);
    return true;
}

void StartAssign_Click(CommsLink& link, IAssignmentWindow& window)
{
    if (!BeginAssignment(link, window, kConfirmText, "Start Device Assignment Process",
                         "Assigning all devices, Please Wait ....."))
        return;
    NodeArray& nodes = model::Nodes;
    for (int n = 0; n < kNodeCount; ++n) {
        clsNode& node = nodes[static_cast<size_t>(n)];
        node.SetAssigned(false);
        for (int slot = 1; n > 0 && slot <= kLastSlot; ++slot)
            node.SetDeviceAssigned(slot, false);
    }
    // A failed read leaves every unit as not assigned, so the hub is asked.
    ReadStatusAndStayBusy(link, nodes);

    std::string result;
    int32_t style = MessageStyle::Information;
    if (AllAssigned(nodes)) {
        result = "All Devices Are Already Assigned";
    } else if (RunAssignment(link, "ASSIGN ALL") == UnknownCommand) {
        // The hub cannot assign: nothing was tried, so nothing is listed.
        result = "Unable to Assign All Devices due to Errors";
        style = MessageStyle::Critical;
    } else {
        // Finished or fallen silent: the flags tell what the hub assigned.
        result = ListUnassigned(link, nodes, 0, true) == 0 ? "All Devices Have Now Been Successfully Assigned"
                                                           : "Some Devices Were Not Assigned";
    }
    result += kCrLf;
    link.LogLine(result, true);
    window.Display(result, style, kOwnCaption);
    link.EndBusy();
}

void AssignRCC_Click(CommsLink& link, IAssignmentWindow& window)
{
    const std::string title = "Start RCC Assignment Process";
    if (ActiveNode != 0) {
        window.Display("You Can Only Assign RCCs from the Radio Hub" + kCrLf, MessageStyle::Critical, title);
        return;
    }
    if (!BeginAssignment(link, window, kConfirmText + kCrLf, title, "Assigning RCCs, Please Wait ....."))
        return;
    NodeArray& nodes = model::Nodes;
    for (int n = 1; n < kNodeCount; ++n)
        nodes[static_cast<size_t>(n)].SetAssigned(false);
    ReadStatusAndStayBusy(link, nodes);
    if (RunAssignment(link, "ASSIGN RCCS") == AssignDone) {
        const bool all = ListUnassigned(link, nodes, 1, false) == 0;
        window.Display(
            (all ? "All RCCs Have Now Been Successfully Assigned" : "Some RCCs Were Not Assigned") + kCrLf,
            MessageStyle::Information, kOwnCaption);
    } else {
        window.Display("Unable to Assign All RCCs due to Errors" + kCrLf, MessageStyle::Critical, kOwnCaption);
    }
    link.EndBusy();
}

void SetUnassigned_Click(CommsLink& link, IAssignmentWindow& window)
{
    Unassign(link, window, UnassignAllWait, UnassignAllDone, "UNASSIGN ALL",
             "All Devices Have Now Been Successfully UnAssigned",
             "Unable to UnAssign All Devices due to Errors");
}

void ClearUnassigned_Click(CommsLink& link, IAssignmentWindow& window)
{
    Unassign(link, window, UnassignClearWait, UnassignClearDone, "UNASSIGN CLEAR",
             "All Devices Have Now Been Successfully Assigned", "Unable to Assign All Devices due to Errors");
}

void SetIdent_Click(CommsLink& link, IAssignmentWindow& window)
{
    const int node = ActiveNode;
    if (node < 0 || node >= kNodeCount) {
        window.Display("There is no Currently Selected Hub or RCC", MessageStyle::Critical, kOwnCaption);
        window.EnableProgram();
        return;
    }
    if (!PortReady(link, window))
        return;
    link.BeginBusy();
    const std::string ident = model::Nodes[static_cast<size_t>(node)].NodeIdent();
    if (link.Transact(IdentProgWait, "IDENTPROG " + ident, kReplyTimeoutMs) != IdentProgDone) {
        window.Display("Unable to Program Ident due to Errors", MessageStyle::Critical, kOwnCaption);
    } else if (const std::string read = ReadIdent(link); read.empty()) {
        // An unanswered read-back shows nothing.
    } else if (read == ident) {
        window.Display("Ident Programmed Successfully", MessageStyle::Exclamation, kOwnCaption);
    } else {
        const std::string unit = node == 0 ? "The Radio Hub" : "RCC " + std::to_string(node);
        link.LogLine("Ident Mismatch", true);
        window.Display("The Ident in " + unit + kCrLf + "Does Not Match That In The Configuration" + kCrLf +
                           unit + " has an Ident of " + read,
                       MessageStyle::Critical, kOwnCaption);
    }
    link.EndBusy();
}

} // namespace hublink
