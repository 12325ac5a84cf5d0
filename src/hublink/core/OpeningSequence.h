#pragma once
// The communications window's first exchange with the unit on the cable,
// once its port is open and the unit has been woken: debug output off, the
// unit's type and version, and, when no node was selected, which node of
// the site it is. The outcome is left in the port: a closed port means there
// is no usable connection.
#include <cstdint>
#include <string>

namespace hublink {

class CommsLink;
class ICommsForm;

// The window's caption for a target node: "Communicate with Radio Hub" (or
// "... with RLM" on a loop-interface site), "Communicate with RCC <n>",
// "Communicate with Unknown Unit" for -1.
std::string CommsCaption(int node);

// The numeric value of the leading digits of a version text ("3.1" is 3.1,
// "" and "V3" 0).
double VersionValue(const std::string& version);

struct ConnectionState
{
    bool debugOutputStopped = false; // the unit acknowledged debug off
    bool unitConnected = false;      // the unit answered the debug-off request
};

// Runs the sequence on ActiveNode, logging each step; may change ActiveNode
// (identification), the window's caption and its port.
ConnectionState ConnectToUnit(CommsLink& link, ICommsForm& form);

} // namespace hublink
