#pragma once
// The configuration a hub sends for "GET SYSCONFIG", one programming
// statement per line, read into a node array: node lines (POPULATE LOOPn NODE
// address node ident), device lines (POPULATE LOOPn type address node ident
// [slot-1]), relations (RELATION ADD node parent hop) and the radio channels
// of the hub (YPROTRADIOCHANNELS a b) and of the RCCs (XPROTRADIOCHANNELS a b
// [node]). Every line that cannot be taken as it stands is reported as one
// line of the shared message list.
#include "hublink/core/LinkState.h"
#include "model/clsNode.h"

#include <cstdint>
#include <span>
#include <string>

namespace hublink {

struct HubParseOptions
{
    // The node the link talks to: an RCC channel line without a node number
    // belongs to it.
    int activeNode = -1;
    // The parse is part of programming (the error list shows the parser's
    // findings): an RCC channel line naming no RCC is then refused.
    bool programming = false;
};

// Empties the message list and every node of hub (each keeps its index as
// NodeNumber), then reads the lines in order. A line with too few fields, or
// text where a number belongs, is reported as "Unrecognised data" and stores
// nothing; a field that fails its check is reported and not stored, the
// other fields of its line are. A device line without a slot takes the
// first slot that holds no unit, also none of a type word this program does
// not know. Returns the number of message lines.
int16_t ParseHubConfiguration(std::span<const std::string> lines, model::NodeArray& hub,
                              const HubParseOptions& options);

// The same over the session's collected reply lines (ReplyLines
// 1..ReplyLineCount)
// into HubNodes.
int16_t ParseHubConfiguration(const LinkSession& session, const HubParseOptions& options);

} // namespace hublink
