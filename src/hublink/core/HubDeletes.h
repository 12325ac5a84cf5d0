#pragma once
// Removing programming from a Radio Hub. Relations, devices and whole RCCs
// are deleted with commands sent one at a time, each waited for and judged
// on its own, before the programming list of an incremental update goes
// out. A hub whose firmware is too old for these deletes gets a list of the
// deletions the engineer must make through the hub's own menus instead. The
// clear command empties the hub's programming by itself.
//
// Calls of the communications window (the link is its CommsLink, dots its
// DeleteTimer switch, showErrorList shows or refreshes the error-list window):
//
//   programming run, old firmware:  if (NeedsManualDeletes(HubVersion) &&
//                                       ManualChangesCheck(link, model::HubNodes, showErrorList)) return;
//   programming run, incremental:   if (!IncrementalDeletes(link, model::Nodes, model::HubNodes, dots))
//                                       stop, naming what is NotDeleted;
//   ClearProg_Click, port ready:    ClearProgramming(link);
#include "hublink/core/LinkState.h"
#include "model/clsNode.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hublink {

class CommsLink;

// How long a delete may take the hub before the link resends it.
inline constexpr int32_t kDeleteTimeoutMs = 64000;

// Starts (true) or stops (false) the progress dots of the log box while a
// delete waits for its answer.
using DeleteDotsSwitch = std::function<void(bool running)>;

// True when the hub's firmware version, compared by its first four
// characters as text, sorts before "3.08": such a hub takes no deletes.
bool NeedsManualDeletes(const std::string& hubVersion);

// Sends "FDELETE DEVICE <ident>" and waits for the answer with the dots
// running. True when the hub reports the unit deleted; otherwise shows
// "Unable to Delete All Devices due to Errors" with the last line received
// and returns false. No box comes when the port was lost (the link has
// reported it) nor when the hub's answers left the delete unsettled (the
// hub's state tells what became of it).
bool DeleteDevices(CommsLink& link, const std::string& Ident, const DeleteDotsSwitch& dots = {});

// What the deletes left in the hub that the site has dropped: each unit or
// relation the hub refused to delete or never answered for, as "Device 6
// from RCC 1", "RCC 3" or "Relationship between RCC 2 and Radio Hub", as
// the hub's configuration read after the deletes still holds it; whether
// the port went away (the link has told that, and the deletes after it
// were not tried); and whether that read failed, so that what the hub
// holds is unknown. True when everything went.
struct DeletesOutcome
{
    std::vector<std::string> NotDeleted;
    bool PortLost = false;
    bool Unread = false;
    // The hub's configuration was read to settle the deletes, and is in the
    // link's ReplyLines.
    bool Read = false;

    explicit operator bool() const { return NotDeleted.empty() && !PortLost && !Unread; }
};

// The deletes before an incremental update, from the change flags: first the
// relation of every RCC that has moved (ParentChange in Nodes) or gone
// (NodeDelete in HubNodes) and had a parent in the hub, then, RCC by RCC,
// the devices and the RCC itself of a gone RCC, or the gone devices
// (DeviceDelete in HubNodes) of a kept one, advancing the progress bar by
// one per RCC. Idents and parents come from HubNodes; an empty downloaded
// slot has nothing to delete, one holding a unit of unknown type has. Every
// delete is tried even after one failed. A delete not answered as done is
// settled by the hub's state: when any is, the hub's configuration is read
// once the deletes are over, and only what it still holds is logged as not
// deleted. A refused device or RCC delete shows its box as well. A lost
// port ends the deletes at once. The caller has made sure with UndeletableUnits that each
// delete removes what it means.
DeletesOutcome IncrementalDeletes(CommsLink& link, const model::NodeArray& Nodes,
                                  const model::NodeArray& HubNodes, const DeleteDotsSwitch& dots = {});

// The deletes of IncrementalDeletes that could remove another unit than the
// one meant, as a delete names only an ident: a unit without an ident, one
// whose ident the download holds on a unit that stays too, and a unit of a
// type this program does not know whose ident the site gives another unit
// (it may be that unit, placed by other means). One line per unit, naming
// it and why ("Device 10 on RCC 1 (Device of Unknown Type  0C0AA) shares
// its Ident with RCC 2 in the Hub"); none when every delete is safe. Read
// after the change list has flagged the deletes.
std::vector<std::string> UndeletableUnits(const model::NodeArray& Nodes, const model::NodeArray& HubNodes);

// For a hub that takes no deletes: replaces the message list with the
// deletions the engineer must make at the hub (gone RCCs, and the gone
// devices of kept RCCs, both as flagged in HubNodes). When there is any, it
// ends the busy state, hides the progress bar, completes the list, calls
// showErrorList, shows "Some changes have to be done at the Hub..." and
// returns true: the run must end. False when there is nothing to delete
// (the list then holds its heading only).
bool ManualChangesCheck(CommsLink& link, const model::NodeArray& HubNodes,
                        const std::function<void()>& showErrorList);

// Sends "POPULATE CLEAR" within the busy state and tells the outcome:
// "Device Configuration Cleared" when the hub answered, "Unable to Clear
// Device due to Errors" when it stayed silent, nothing for any other answer
// (a unit that does not know the command). Returns the final CommsState.
// The caller has made sure the port is open.
StateCode ClearProgramming(CommsLink& link);

} // namespace hublink
