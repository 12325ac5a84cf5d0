#include "model/ChannelPlan.h"

#include <stdexcept>

namespace model {

int16_t ChannelTable(int index)
{
    if (index < 0 || index > kChannelTableLast) {
        throw std::out_of_range("channel index out of range");
    }
    if (index >= 1 && index <= 16) {
        return static_cast<int16_t>(index + 1);
    }
    if (index >= 17 && index <= 32) {
        return static_cast<int16_t>(index + 13);
    }
    return 0;
}

} // namespace model
