#pragma once
// Reading the configuration stored in a Radio Hub (or RLM, or an RCC's own
// part) into the site being edited: the new untitled site it starts from,
// and the exchange with the unit, parse and copy that fill it.
#include <cstdint>

namespace hublink {

class CommsLink;
class ICommsForm;

// The new empty site a read starts from: every node emptied (keeping its
// index as NodeNumber), the owner table free, protocol 1 with 126
// addresses, 4 loops, the name "New Site" shown at 1500, 200 twips, the file
// "untitled.qvs" marked changed; ActiveNode 0, the hub the exchange
// addresses.
void StartNewSite();

// What became of a read.
enum class ReadOutcome
{
    Stopped,    // a query failed or the user cancelled; its message was shown
    Downloaded, // the configuration was read, parsed and copied into the site
    Failed,     // the download failed ("Unable to Get Config due to Errors")
    Refused     // the unit does not know "GET SYSCONFIG"; the engineer was told
};

// The exchange on an open port: unit type, ident, loop count, loop
// protocol, "GET SYSCONFIG"; then the parse into HubNodes, the copy into
// Nodes and the owner table. Runs between BeginBusy and EndBusy and reports
// each step in the window's log and message boxes.
ReadOutcome ReadHubConfiguration(CommsLink& link, ICommsForm& form);

} // namespace hublink
