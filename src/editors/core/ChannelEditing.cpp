#include "editors/core/ChannelEditing.h"

namespace editors {

std::string ChangeWarningText()
{
    return "WARNING: Changing Radio Channels on an Existing System\r\n"
           "will require ALL devices to be reprogrammed\r\n"
           "This function should only be used for New Systems\"";
}

std::string GeneratorWarningText()
{
    return "WARNING: Changing Radio Channels on an Existing System\r\n"
           "Will require ALL Devices to be Re-Programmed\r\n"
           "This Function should only be used for New Systems\"";
}

std::string YAgainstXText()
{
    return "You Must Not Use The Same Channels for the Y-Protocol\r\nand the X-Protocol";
}

std::string SameXPairText(int rcc)
{
    return "WARNING: The X-Channels you have selected are the same\r\nas those on RCC " + std::to_string(rcc) +
           "\r\nIt is recommended to change to use other channels";
}

std::string XOnYText()
{
    return "You Must Not Use Y-Protocol Channels\r\nfor X-Protocol Channels";
}

ChannelChoice ChooseChannel(bool hub, int current, int chosen)
{
    if (chosen == current)
        return ChannelChoice::Unchanged;
    return hub || current != -1 ? ChannelChoice::Confirm : ChannelChoice::Accept;
}

int CompareXChannels(int chanA, int chanB, int exclude, const model::NodeArray& nodes)
{
    int result = -1;
    for (int i = 1; i < model::kNodeCount; ++i) {
        const model::clsNode& node = nodes[static_cast<std::size_t>(i)];
        if (i == exclude || !node.InUse())
            continue;
        const int xa = node.X_ChannelA();
        const int xb = node.X_ChannelB();
        if (xa == chanA && xb == chanB && xa != -1 && xb != -1)
            return 2;
        if ((xa == chanA && xa != -1) || (xb == chanB && xb != -1))
            result = 1;
    }
    return result;
}

bool IsHubYChannel(int channel, const model::NodeArray& nodes)
{
    return channel != -1 && (channel == nodes[0].Y_ChannelA() || channel == nodes[0].Y_ChannelB());
}

} // namespace editors
