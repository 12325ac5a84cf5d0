#pragma once
// The device assignment process and the assignment and ident commands of the
// communications window's Tools menu, run over the window's link on the site
// being edited (model::Nodes, LoopAddressOwner, ActiveNode).
//
// The window implements IAssignmentWindow (its message box, ResetPort and
// its Program button) and calls each command in one line:
//     void frmComms::StartAssign_Click()    { ::StartAssign_Click(Link(), *this); }
//     void frmComms::AssignRCC_Click()      { ::AssignRCC_Click(Link(), *this); }
//     void frmComms::SetUnassigned_Click()  { ::SetUnassigned_Click(Link(), *this); }
//     void frmComms::ClearUnassigned_Click(){ ::ClearUnassigned_Click(Link(), *this); }
//     void frmComms::SetIdent_Click()       { ::SetIdent_Click(Link(), *this); }
// where Link() is the window's CommsLink. Each command takes the busy state
// of the window for its whole run and leaves it ended; when PortEnabled is
// False it first sets it True and resets the port, and a port that cannot be
// opened ends the command without a message of its own.
//
// "Start Assignment Process" is offered only for a hub of version 3.00 or
// later; the menu items of the other four commands stay hidden.
#include "hublink/core/IAssignmentWindow.h"
#include "model/clsNode.h"

namespace hublink {

class CommsLink;

// A port switched off (PortEnabled False) is switched on and set up again
// (ResetPort). False when it could not be opened: the reset has said why and
// the busy state is ended.
bool PortReady(CommsLink& link, IAssignmentWindow& window);

// "GET DS ALL": empties every status text of the nodes and slots, then
// stores each reported status on the node or device slot that owns the
// reported loop address in LoopAddressOwner (the text from the status field
// to the end of the line). Lines that are not "DS LOOP<n> <address>
// <status...>", or whose loop address lies outside the owner table or has no
// owner, are skipped. True when the whole list was read ("END OF DATA");
// otherwise every status text stays empty.
bool ReadAllDeviceStatus(CommsLink& link, model::NodeArray& nodes);

// Start Assignment Process: after the engineer's Yes, clears the assigned
// flags, reads the live status of every unit, and unless every unit in use
// and every device is assigned, sends "ASSIGN ALL" and follows the hub's
// reports until "ASSIGN FINISH" or 40 s of silence. Logs the units still not
// assigned and shows the result. A hub that does not know the command ends
// the process as a failure.
void StartAssign_Click(CommsLink& link, IAssignmentWindow& window);

// Start RCC Assignment (only from the Radio Hub): the same for the RCCs with
// "ASSIGN RCCS"; devices are neither cleared nor listed.
void AssignRCC_Click(CommsLink& link, IAssignmentWindow& window);

// Set All Devices As Unassigned: "UNASSIGN ALL".
void SetUnassigned_Click(CommsLink& link, IAssignmentWindow& window);

// Set All Devices as Assigned: "UNASSIGN CLEAR".
void ClearUnassigned_Click(CommsLink& link, IAssignmentWindow& window);

// Program Ident: writes the ident of the active node (hub or RCC) into the
// connected unit and reads it back.
void SetIdent_Click(CommsLink& link, IAssignmentWindow& window);

} // namespace hublink
