#pragma once
// Radio channels. Nodes store a channel index; the hub link carries the
// channel number. Indices 1..16 are the low band (channels 2..17), 17..32 the
// high band (channels 30..45).
#include <cstdint>

namespace model {

inline constexpr int kChannelTableLast = 42;

// The channel number of index 0..42: 2..17 for 1..16, 30..45 for 17..32, and
// 0 for index 0 and 33..42. Throws std::out_of_range for any other index.
// The table is fixed, so nothing needs to fill it at start-up.
int16_t ChannelTable(int index);

} // namespace model
