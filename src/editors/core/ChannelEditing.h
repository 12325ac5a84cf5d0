#pragma once
// The rules of the radio channel lists of the node properties window: when a
// choice must be confirmed, which channels clash, and the texts that say so.
// The hub's Y pair links it with the RCCs; an RCC's (or the RLM's) X pair
// links it with its devices.
#include "model/clsNode.h"

#include <string>

namespace editors {

inline const std::string kChangeChannelsTitle = "Change Radio Channels";
inline const std::string kYChannelsTitle = "Set Y-Protocol Channels";
inline const std::string kXChannelsTitle = "Set X-Protocol Channels";

// The warning before a channel of a node is changed, and the one before the
// generator chooses every channel of the site.
std::string ChangeWarningText();
std::string GeneratorWarningText();
inline const std::string kChangeConfirmText = "Are You Sure ?";
std::string YAgainstXText();
// An X pair the same as RCC n's.
std::string SameXPairText(int rcc);
std::string XOnYText();

// What choosing a channel asks first: nothing when it is the node's own
// channel; the warning and the confirmation when it replaces a channel (on
// the hub even one not yet set); nothing more than marking the edit when an
// RCC's channel was not set.
enum class ChannelChoice
{
    Unchanged,
    Confirm,
    Accept
};
ChannelChoice ChooseChannel(bool hub, int current, int chosen);

// How the pair (chanA, chanB) meets the X pairs of the in-use RCCs other
// than exclude, position by position: 2 the same pair, 1 one channel in the
// same position, -1 no meeting.
int CompareXChannels(int chanA, int chanB, int exclude, const model::NodeArray& nodes);

// An X channel that is one of the hub's Y channels.
bool IsHubYChannel(int channel, const model::NodeArray& nodes);

} // namespace editors
