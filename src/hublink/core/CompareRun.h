#pragma once
// Compare Config as the communications window runs it: checks that the unit
// on the cable is the selected node, downloads its configuration, parses it
// into HubNodes and lists how it differs from the site, without changing
// either. The window calls it in one line:
//
//     void frmComms::CompareConfig_Click() { ::CompareConfig_Click(Link(), *this); }
//
// where Link() is the window's CommsLink and the window implements
// IProgrammingWindow. The main window reaches it through its compare
// commands (CommsAction 2).
#include "hublink/core/LinkState.h"
#include "model/clsNode.h"

#include <cstdint>

namespace hublink {

class CommsLink;
class IProgrammingWindow;

// Compares the unit of ActiveNode (0 the hub, 1..31 an RCC) with the site.
// No selection: "There is no Currently Selected Hub or RCC" and the Program
// button is enabled. An ident that cannot be read or differs from the
// node's: its message, nothing downloaded. A download: the parse and the
// comparison fill MessageList; any line shows the error list (mode 2), none
// shows "The Hub matches the Configuration" (or "The RCC matches..."). A
// failed download: "Unable to Get Config due to Errors"; a unit that does
// not know the command: TellConfigNotSent. After a download, PortEnabled is False
// and, with CommsCloseOnComplete and the window not opened for use by hand,
// the window closes.
void CompareConfig_Click(CommsLink& link, IProgrammingWindow& window);

// The progress bar's maximum for a configuration download of the site: 2,
// and for every RCC in use 3 and one per occupied slot.
int DownloadProgressMaximum(const model::NodeArray& nodes);

// "GET SYSCONFIG": waits for the header, then for the lines up to "END OF
// DATA" (collected in ReplyLines), with firstLineMs allowed before the first
// line. A download that holds a line other than its statements whole in
// their form (a byte garbled on the line, chatter, a refusal no send could
// take), or that is cut short, is not trusted alone: it is read again, and
// taken once one comes clean or two hold the same statements line for line
// (a line that is not whole in both is the hub's own, for the parse to
// report). After three reads that give neither, the download fails and the
// log says why. Returns the final CommsState: SysConfigDone for a download
// taken, its statements in ReplyLines.
inline constexpr int32_t kFirstConfigLineMs = 1000;
StateCode DownloadSysConfig(CommsLink& link, int32_t firstLineMs = kFirstConfigLineMs);

// For a unit that answered "GET SYSCONFIG" with "Unknown Command": tells the
// engineer, in the log box and a box, that it could not send its
// configuration.
void TellConfigNotSent(CommsLink& link);

} // namespace hublink
