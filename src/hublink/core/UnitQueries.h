#pragma once
// One-line questions to the connected unit, each sent with the calling
// convention of the link (600 ms time-out, resends as the state allows).
// Each reads the line that answered it (AcceptedReply), not lines that came
// after it.
#include <cstdint>
#include <string>

namespace hublink {

class CommsLink;

// The unit a software-version reply names by its first word (exact case):
// "HUB" or "RCC", or a radio loop module ("WZM", "ALID", "GELI", "ZWZM",
// "ZRLM"). A reply that names none does not end the query.
enum class VersionUnit
{
    None,
    HubOrRcc,
    LoopInterface,
};
VersionUnit VersionReplyUnit(const std::string& line);
// The line answers a "GET SWV" (it names a unit); the wait tables' answer
// test of the version query.
bool IsVersionReply(const std::string& line, const std::string& command);

// "DEBUGOFF ALL", then (not on a loop-interface site) "DS MON DIS".
// True when both were acknowledged.
bool StopDebugOutput(CommsLink& link);

// "GET SWV": sets ConnectedUnitType and HubVersion, and IsLoopInterface from
// the unit that answered. Node is the target node index (-1 none, 0 the hub).
// Returns 1 the expected kind of unit (or an RLM, or a unit too old to
// tell), 3 no usable answer, 4 a hub answered where node 0 was not the
// target, 5 an RCC answered where the hub or no node was the target, and
// kUnitTypeNoPort when the port is gone or refused the command (no unit can
// have answered; never to be taken as a match).
constexpr int32_t kUnitTypeNoPort = 2;
int32_t ReadUnitType(CommsLink& link, int16_t Node);

// "IDENTREAD": the last five characters of the reply, or "" without one.
// Leaves CommsState at Idle.
std::string ReadIdent(CommsLink& link);

// "IDENTREAD": true when the unit's ident equals the NodeIdent of the node
// (exact comparison).
bool CheckIdent(CommsLink& link, int16_t Node);

// "QUERY LOOPCOUNT": the count 0..9; -1 when the unit does not know the
// command; -2 when it did not answer or the count is not a digit.
int16_t ReadLoopCount(CommsLink& link);

// "GET LP": 1 Apollo XP95, 2 Ziton ZP/ZP3, 3 GE 2010, 4 another protocol or
// a unit that does not know the command, 5 no answer.
int32_t ReadLoopProtocol(CommsLink& link);

} // namespace hublink
