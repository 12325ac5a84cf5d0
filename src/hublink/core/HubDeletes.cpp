#include "hublink/core/HubDeletes.h"

#include "hublink/core/CommsLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgrammingList.h"
#include "model/ConfigurationCheck.h"
#include "model/DeviceTypes.h"
#include "platform/base/MessageStyle.h"

namespace hublink {

using enum CommsStateCode;

using model::clsNode;
using model::kLastSlot;
using model::kNodeCount;
using model::NodeArray;

namespace {

std::string Number(int value)
{
    return std::to_string(value);
}

// Deletes a unit of the download, named in the log by `which` ("Device 2
// from RCC 1 ..." or "RCC 4 ...").
bool DeleteUnit(CommsLink& link, const std::string& which, const std::string& ident,
                const DeleteDotsSwitch& dots)
{
    link.LogLine("Deleting " + which, true);
    if (DeleteDevices(link, ident, dots))
        return true;
    link.LogLine("ERROR: Unable to Delete " + which, true);
    return false;
}

// Deletes the device of slot s of RCC n as the download gives it.
bool DeleteSlot(CommsLink& link, const clsNode& hub, int n, int s, const DeleteDotsSwitch& dots)
{
    return DeleteUnit(link, "Device " + Number(s) + " from RCC " + Number(n) + " in Target Hub...",
                      hub.DeviceIdent(s), dots);
}

bool DeleteRelation(CommsLink& link, int n, int parent)
{
    const StateCode state =
        link.Transact(RelationDeleteWait, RelationDeleteCommand(n, parent), kDeleteTimeoutMs);
    if (state == DeleteDone) {
        const std::string from = parent == 0 ? "Hub " : "RCC " + Number(parent);
        link.LogLine("Relationship Between " + from + " and RCC " + Number(n) + " Successfully Deleted",
                     true);
        return true;
    }
    link.LogLine("ERROR: Unable to Delete Relationship between RCC " + Number(n) + " and " +
                     (parent == 0 ? std::string("Radio Hub") : "RCC " + Number(parent)),
                 true);
    return false;
}

// A downloaded device that the change list marked as gone.
bool SlotGoes(const clsNode& hub, int s)
{
    return hub.DeviceDelete(s) && hub.DeviceType(s) != 0;
}

} // namespace

bool NeedsManualDeletes(const std::string& hubVersion)
{
    return hubVersion.substr(0, 4) < "3.08";
}

bool DeleteDevices(CommsLink& link, const std::string& Ident, const DeleteDotsSwitch& dots)
{
    link.Session().CommsState = DeleteWait;
    link.Session().CommandText = DeleteDeviceCommand(Ident);
    link.SendCommand(false, kDeleteTimeoutMs);
    if (dots)
        dots(true);
    link.WaitWhileState({DeleteWait});
    if (dots)
        dots(false);
    if (link.Session().CommsState == DeleteDone)
        return true;
    if (link.PortFailed())
        return false; // the lost port has been reported
    link.Window().ShowMessage("Unable to Delete All Devices due to Errors\r\n" + link.Session().LastRxLine, MessageStyle::Critical);
    return false;
}

bool IncrementalDeletes(CommsLink& link, const NodeArray& Nodes, const NodeArray& HubNodes,
                        const DeleteDotsSwitch& dots)
{
    bool success = true;
    link.ProgressStep = 1;
    // Once the port is gone, no delete can reach the hub: the run ends there.
    for (int n = 1; n < kNodeCount && !link.PortFailed(); ++n) {
        const int parent = HubNodes[n].Parent();
        if ((Nodes[n].ParentChange() || HubNodes[n].NodeDelete()) && parent != -1)
            success = DeleteRelation(link, n, parent) && success;
    }
    for (int n = 1; n < kNodeCount && !link.PortFailed(); ++n) {
        const clsNode& hub = HubNodes[n];
        for (int s = 1; s <= kLastSlot && !link.PortFailed(); ++s) {
            if (hub.NodeDelete() ? hub.DeviceType(s) != 0 : SlotGoes(hub, s))
                success = DeleteSlot(link, hub, n, s, dots) && success;
        }
        if (hub.NodeDelete() && !link.PortFailed())
            success =
                DeleteUnit(link, "RCC " + Number(n) + " in Target Hub...", hub.NodeIdent(), dots) && success;
        link.AdvanceProgress();
    }
    return success && !link.PortFailed();
}

bool ManualChangesCheck(CommsLink& link, const NodeArray& HubNodes,
                        const std::function<void()>& showErrorList)
{
    model::MessageList.clear();
    model::AddErrorLine("Some changes cannot be done automatically so the user must\r\n"
                        "go to the Hub and make the following changes through the menus\r\n\r\n");
    bool found = false;
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& hub = HubNodes[n];
        if (hub.NodeDelete()) {
            model::AddErrorLine("RCC " + Number(n) + " and all of its devices must be deleted at the Hub");
            found = true;
            continue;
        }
        for (int s = 1; s <= kLastSlot; ++s) {
            if (!SlotGoes(hub, s))
                continue;
            model::AddErrorLine(model::DeviceTypeName(hub.DeviceType(s)) + " with Ident " +
                                hub.DeviceIdent(s) + " must be deleted at the Hub ");
            found = true;
        }
    }
    if (!found)
        return false;
    link.EndBusy();
    model::AddErrorLine(
        "\r\nWhen the above actions are completed please attempt to reprogram the Hub again\r\n");
    if (showErrorList)
        showErrorList();
    link.Window().ShowMessage("Some changes have to be done at the Hub\r\nthough the Hub Menus\r\n"
                              "See the Error Check Form for Details",
                              MessageStyle::Critical);
    return true;
}

StateCode ClearProgramming(CommsLink& link)
{
    link.BeginBusy();
    const StateCode state = link.Transact(PopulateClearWait, kClearCommand, kClearTimeoutMs);
    link.EndBusy();
    if (state == CommsFailed)
        link.Window().ShowMessage("Unable to Clear Device due to Errors", MessageStyle::Critical);
    else if (state == PopulateClearDone)
        link.Window().ShowMessage("Device Configuration Cleared", MessageStyle::Information);
    return state;
}

} // namespace hublink
