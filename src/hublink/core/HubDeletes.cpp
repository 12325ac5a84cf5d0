#include "hublink/core/HubDeletes.h"

#include "hublink/core/CommsLink.h"
#include "hublink/core/CompareRun.h"
#include "hublink/core/HubUnits.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgrammingList.h"
#include "model/ConfigurationCheck.h"
#include "model/DeviceTypes.h"
#include "platform/base/MessageStyle.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>
#include <vector>

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

// A delete that was not answered as done: what it names ("Device 2 from
// RCC 1", "RCC 4" or the relationship), and what of the hub it removes:
// the unit with the ident, or the relation of RCC n to its parent.
struct DeleteLeft
{
    std::string which;
    std::string ident;
    int n = 0;
    int parent = -1;
};

// Deletes a unit of the download, named by `which` ("Device 2 from RCC 1"
// or "RCC 4"); one not answered as done joins unsettled.
void DeleteUnit(CommsLink& link, const std::string& which, const std::string& ident,
                const DeleteDotsSwitch& dots, std::vector<DeleteLeft>& unsettled)
{
    link.LogLine("Deleting " + which + " in Target Hub...", true);
    if (!DeleteDevices(link, ident, dots))
        unsettled.push_back(DeleteLeft{which, ident});
}

void DeleteRelation(CommsLink& link, int n, int parent, std::vector<DeleteLeft>& unsettled)
{
    const StateCode state =
        link.Transact(RelationDeleteWait, RelationDeleteCommand(n, parent), kDeleteTimeoutMs);
    if (state == DeleteDone) {
        const std::string from = parent == 0 ? "Hub " : "RCC " + Number(parent);
        link.LogLine("Relationship Between " + from + " and RCC " + Number(n) + " Successfully Deleted",
                     true);
        return;
    }
    const std::string relation = "Relationship between RCC " + Number(n) + " and " +
                                 (parent == 0 ? std::string("Radio Hub") : "RCC " + Number(parent));
    unsettled.push_back(DeleteLeft{relation, {}, n, parent});
}

// A download line's words.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The downloaded statements hold what the delete was to remove.
bool StillHeld(const std::vector<std::string>& statements, const DeleteLeft& unit)
{
    const std::string key = IdentKey(unit.ident);
    return std::any_of(statements.begin(), statements.end(), [&](const std::string& line) {
        const std::vector<std::string> w = Words(line);
        if (unit.parent != -1)
            return w.size() >= 4 && w[0] == "RELATION" && w[1] == "ADD" && w[2] == Number(unit.n) &&
                   w[3] == Number(unit.parent);
        return w.size() >= 6 && w[0] == "POPULATE" && IdentKey(w[5]) == key;
    });
}

// The deletes not answered as done are settled by what the hub holds now:
// those it still holds are logged as not deleted and named in the outcome.
// (With the port gone, nothing can be read: each is logged as not deleted.)
void SettleByTheHubsState(CommsLink& link, const std::vector<DeleteLeft>& unsettled, DeletesOutcome& outcome)
{
    if (unsettled.empty())
        return;
    std::vector<std::string> statements;
    if (!link.PortFailed()) {
        link.LogLine("Reading Current Configuration from the Radio Hub.....", true);
        if (DownloadSysConfig(link) != SysConfigDone) {
            outcome.Unread = !link.PortFailed();
            return;
        }
        outcome.Read = true;
        const LinkSession& session = link.Session();
        const auto count = static_cast<size_t>(std::max<int>(0, session.ReplyLineCount));
        statements.assign(session.ReplyLines.begin() + std::min<size_t>(1, session.ReplyLines.size()),
                          session.ReplyLines.begin() + std::min(count + 1, session.ReplyLines.size()));
    }
    for (const DeleteLeft& unit : unsettled) {
        if (!link.PortFailed() && !StillHeld(statements, unit))
            continue;
        link.LogLine("ERROR: Unable to Delete " + unit.which + (unit.parent == -1 ? " in Target Hub..." : ""),
                     true);
        outcome.NotDeleted.push_back(unit.which);
    }
}

// A downloaded device that the change list marked as gone.
bool SlotGoes(const clsNode& hub, int s)
{
    return hub.DeviceDelete(s) && HoldsUnit(hub, s);
}

// What the deletes remove of downloaded RCC n, in their order: the slots of
// the devices that go, then 0 for the RCC itself when it goes with them.
std::vector<int> UnitsToDelete(const clsNode& hub)
{
    std::vector<int> units;
    for (int s = 1; s <= kLastSlot; ++s)
        if (hub.NodeDelete() ? HoldsUnit(hub, s) : SlotGoes(hub, s))
            units.push_back(s);
    if (hub.NodeDelete())
        units.push_back(0);
    return units;
}

std::string IdentOf(const clsNode& node, int s)
{
    return s == 0 ? node.NodeIdent() : node.DeviceIdent(s);
}

// "Device 3 on RCC 2", "RCC 2" or "the Radio Hub".
std::string UnitName(int n, int s)
{
    if (s != 0)
        return "Device " + Number(s) + " on RCC " + Number(n);
    return n == 0 ? "the Radio Hub" : "RCC " + Number(n);
}

// The units the deletes remove, node by node (none of the hub's own node).
using Going = std::array<std::vector<int>, kNodeCount>;

// A unit of the download other than (n, s) that holds the ident and that
// the deletes keep: {-1, -1} when there is none.
std::pair<int, int> OtherHolder(const NodeArray& HubNodes, const Going& going, int n, int s,
                                const std::string& key)
{
    for (int m = 0; m < kNodeCount; ++m) {
        const clsNode& hub = HubNodes[m];
        const std::vector<int>& gone = going[static_cast<size_t>(m)];
        const auto holds = [&](int j) {
            return (m != n || j != s) && std::find(gone.begin(), gone.end(), j) == gone.end() &&
                   IdentKey(IdentOf(hub, j)) == key;
        };
        if (hub.InUse() && holds(0))
            return {m, 0};
        for (int j = 1; j <= kLastSlot; ++j)
            if (HoldsUnit(hub, j) && holds(j))
                return {m, j};
    }
    return {-1, -1};
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
    if (link.PortFailed() || link.Session().CommsState == Unsettled)
        return false; // the lost port has been reported; the hub's state settles the delete
    link.Window().ShowMessage("Unable to Delete All Devices due to Errors\r\n" + link.Session().LastRxLine, MessageStyle::Critical);
    return false;
}

DeletesOutcome IncrementalDeletes(CommsLink& link, const NodeArray& Nodes, const NodeArray& HubNodes,
                                  const DeleteDotsSwitch& dots)
{
    DeletesOutcome outcome;
    std::vector<DeleteLeft> unsettled;
    link.ProgressStep = 1;
    // Once the port is gone, no delete can reach the hub: the run ends there.
    for (int n = 1; n < kNodeCount && !link.PortFailed(); ++n) {
        const int parent = HubNodes[n].Parent();
        if ((Nodes[n].ParentChange() || HubNodes[n].NodeDelete()) && parent != -1)
            DeleteRelation(link, n, parent, unsettled);
    }
    for (int n = 1; n < kNodeCount && !link.PortFailed(); ++n) {
        const clsNode& hub = HubNodes[n];
        for (const int s : UnitsToDelete(hub)) {
            if (link.PortFailed())
                break;
            DeleteUnit(link, s != 0 ? "Device " + Number(s) + " from RCC " + Number(n) : "RCC " + Number(n),
                       IdentOf(hub, s), dots, unsettled);
        }
        link.AdvanceProgress();
    }
    SettleByTheHubsState(link, unsettled, outcome);
    outcome.PortLost = link.PortFailed();
    return outcome;
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
            model::AddErrorLine(HeldTypeName(hub, s) + " with Ident " + hub.DeviceIdent(s) +
                                " must be deleted at the Hub ");
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

std::vector<std::string> UndeletableUnits(const NodeArray& Nodes, const NodeArray& HubNodes)
{
    std::vector<std::string> found;
    const SiteUnits site(Nodes);
    Going going;
    for (int n = 1; n < kNodeCount; ++n)
        going[static_cast<size_t>(n)] = UnitsToDelete(HubNodes[n]);
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& hub = HubNodes[n];
        for (const int s : going[static_cast<size_t>(n)]) {
            const std::string ident = IdentOf(hub, s);
            const std::string held = s == 0 ? ident : ident.empty() ? HeldTypeName(hub, s)
                                                                     : HeldTypeName(hub, s) + "  " + ident;
            const std::string unit = UnitName(n, s) + (held.empty() ? std::string() : " (" + held + ")");
            if (ident.empty()) {
                found.push_back(unit + " has no Ident");
                continue;
            }
            const auto [m, j] = OtherHolder(HubNodes, going, n, s, IdentKey(ident));
            if (m != -1) {
                found.push_back(unit + " shares its Ident with " + UnitName(m, j) + " in the Hub");
                continue;
            }
            // A unit of unknown type whose ident the site gives another unit
            // may be that unit, placed by other means: the engineer decides.
            const clsNode& node = Nodes[n];
            const bool siteSlotHolds = s != 0 && node.InUse() && node.DeviceType(s) != 0 &&
                                       IdentKey(node.DeviceIdent(s)) == IdentKey(ident);
            if (s != 0 && HoldsUnknownUnit(hub, s) && site.IdentCount(ident) > (siteSlotHolds ? 1 : 0))
                found.push_back(unit + " shares its Ident with a Unit of the Configuration");
        }
    }
    return found;
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
