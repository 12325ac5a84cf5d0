#pragma once
// Radio channels. Nodes store a channel index; the hub link carries the
// channel number. Indices 1..16 are the low band (channels 2..17), 17..32 the
// high band (channels 30..45).
#include <array>
#include <cstdint>

namespace model {

inline constexpr int kChannelTableLast = 42;
inline constexpr std::size_t kNodeCountForPlan = 32;

// The channel number of index 0..42: 2..17 for 1..16, 30..45 for 17..32, and
// 0 for index 0 and 33..42. Throws std::out_of_range for any other index.
// The table is fixed, so nothing needs to fill it at start-up.
int16_t ChannelTable(int index);

// The pseudo-random generator behind the automatic channel plan: a 32-bit
// state kept as two 16-bit halves, stepped as state * 1103515245 + 12345
// (modulo 2^32). Seeded with 1 at start-up, so the first three draws are
// 16838, 5758 and 10113.
struct GeneratorState
{
    uint16_t low = 1;
    uint16_t high = 0;
};
extern GeneratorState RandomState;

// Clamps seed to 0..65535 and makes it the low half; the high half becomes 0.
void SeedRandom(int32_t seed);
// Steps the state and returns its bits 16..30 (0..32767).
int32_t NextRandom();
// The state's multiplication and addition modulo 2^32, on 16-bit halves.
void MultiplyState(GeneratorState& state, uint32_t factor);
void AddState(GeneratorState& state, uint32_t addend);

// A plan of channel indices by position 0..31, -1 where none is chosen yet.
using ChannelPlanList = std::array<int16_t, kNodeCountForPlan>;

// A channel index fit for use, or -1. Mode 0 takes the low band (1..16),
// mode 1 the high band (17..32), any other mode both. A candidate is fit when
// it is neither excludeA nor excludeB, is not in used, and keeps at least
// minSpacing steps from every used index of its own band. When a sweep of the
// band finds a fit index, up to 1000 random draws look for one; -1 when the
// band has none or the draws find none.
int16_t PickFreeChannel(const ChannelPlanList& used, int32_t mode, int32_t minSpacing, int16_t excludeA,
                        int16_t excludeB);

// Chooses every channel of the site from a generator seeded with the last
// four characters of the hub's ident (the same ident always gives the same
// plan) and writes them into Nodes: the hub's Y pair and the X pair of every
// RCC 1..31, in use or not.
void AutoAssignChannels();

// Seeds the generator with 1, as at start-up.
void ResetChannelPlan();

} // namespace model
