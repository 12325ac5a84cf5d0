#pragma once
// Programming a Radio Hub with the site, and clearing its programming. The
// window implements IProgrammingWindow and calls each in one line:
//
//     void frmComms::cmdUpdate_Click()  { ::cmdUpdate_Click(Link(), *this); }
//     void frmComms::ClearProg_Click()  { ::ClearProg_Click(Link(), *this); }
//
// and its Program button runs ReadConfig_Click when it reads "&Read", else
// sets the Cancel button's caption to "&Close" and runs cmdUpdate_Click
// (cmdProgram_Click, also what the main window runs for CommsAction 1).
//
// The site is only read: no stored property of a node and not FileChanged
// change. The run writes ActiveNode (-1 becomes 0), IsLoopInterface (the
// hub's version answer clears it), the change flags of both node arrays,
// HubNodes and both loop-address tables, MessageList and the programming
// list in ReplyLines.
#include <cstdint>

namespace hublink {

class CommsLink;
class IProgrammingWindow;

// The programming run, within the window's busy state from start to end.
// Refuses, each with its message and before anything is sent to the hub: an
// RCC as target, a site with configuration errors (the error list, no
// message), a port that cannot be opened, a unit that is not a hub, an ident
// that cannot be read or differs from the site's hub, another loop count or
// loop protocol, a failed download. Then it parses the download (asking
// whether to go on when the parse found faults), builds the change list
// (shown and asked about with ConfirmDiffs), and says "The Config matches
// the Radio Hub already, Update not required" only when neither the change
// list nor Compare of the same download finds a difference (what Compare
// alone finds is offered a clear, and is not complete without it). Else it
// reprograms from "POPULATE CLEAR" (a hub holding no RCC for a site with
// RCCs, no node line of its own or a new hub ident, or after a Yes to the
// clear question for more than 1000 changes as the change list counts
// them), or deletes what has gone (the manual steps instead for firmware before 3.08)
// and sends the changes. A delete the hub refuses or leaves unanswered ends
// the run before the changes, naming what the hub still holds and saying
// "Programming is Not Complete". A unit that a delete by its ident could miss
// (HubDeletes.h: UndeletableUnits) is offered a clear too; without it the
// run names the units and ends "Programming is Not Complete" with nothing
// sent. The link walks the list on the hub's echoes and
// ends it with "Programming Completed Successfully" or the reason it
// stopped (a command the hub does not know included); with CommsCloseOnComplete a completed run closes the
// window.
//
// When the change list can only tell the radio channels (a channel
// differs, so parents and loop addresses were not compared), the changes it
// found are programmed, then the hub is read and compared again and what
// remains is programmed, so the completion message comes only when the hub
// holds the site. Later passes ask again with ConfirmDiffs. A hub that
// still differs in its channels after they were sent ends the run with a
// failure message.
void cmdUpdate_Click(CommsLink& link, IProgrammingWindow& window);

// Clear Programming: "POPULATE CLEAR" to whatever unit is connected, after
// switching the port on when it is off; "Device Configuration Cleared", or
// "Unable to Clear Device due to Errors" when the unit stays silent.
void ClearProg_Click(CommsLink& link, IProgrammingWindow& window);

// The progress step of a list of count commands over the bar's remaining
// range: remaining / count, halves rounded to the even neighbour.
int16_t ListProgressStep(int remaining, int count);

} // namespace hublink
