#pragma once
// The configuration check and the shared message list. The check, the
// downloaded-configuration parser, the comparison with a hub and the change
// list all append their lines to MessageList through AddErrorLine; the error
// list window shows it.
#include <cstdint>
#include <string>
#include <vector>

namespace model {

// The lines in the order appended (MessageList[0] is the first line).
extern std::vector<std::string> MessageList;
// The list holds at most this many lines; AddErrorLine drops further ones.
inline constexpr std::size_t kMaxMessages = 32767;

inline int16_t MessageCount()
{
    return static_cast<int16_t>(MessageList.size());
}

void AddErrorLine(const std::string& text);

// Checks Nodes for values that are missing, out of range (a loop beyond
// LoopCount, an address beyond MaxLoopAddress, a type that is no device type)
// or used twice and puts one line per problem into MessageList (emptied
// first); returns the number of lines, above 0 when the site has errors.
// HubLoopAddressOwner is the check's owner table: afterwards it holds the
// owners of the site.
int16_t CheckConfiguration();

// "Radio Hub" or "RCC <n>", followed by "  Device Slot <j>" for a slot.
std::string OwnerName(int owner);

// Empties the message list and the check's ident list.
void ResetConfigurationCheck();

} // namespace model
