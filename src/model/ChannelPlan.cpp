#include "model/ChannelPlan.h"

#include "model/Convert.h"
#include "model/Site.h"

#include <stdexcept>

namespace model {

GeneratorState RandomState;

namespace {

constexpr uint32_t kFactor = 1103515245; // halves 16838 and 20077
constexpr uint32_t kAddend = 12345;
constexpr int kDraws = 1000;

bool IsLowBand(int index)
{
    return index <= 16;
}

bool IsFit(int candidate, const ChannelPlanList& used, int32_t minSpacing, int16_t excludeA, int16_t excludeB)
{
    if (candidate == excludeA || candidate == excludeB)
        return false;
    for (int16_t u : used) {
        if (u == -1)
            continue;
        if (u == candidate)
            return false;
        const bool otherBand = IsLowBand(candidate) != IsLowBand(u);
        const int distance = candidate > u ? candidate - u : u - candidate;
        if (!otherBand && distance < minSpacing)
            return false;
    }
    return true;
}

} // namespace

void SeedRandom(int32_t seed)
{
    if (seed < 0)
        seed = 0;
    if (seed > 65535)
        seed = 65535;
    RandomState.low = static_cast<uint16_t>(seed);
    RandomState.high = 0;
}

void MultiplyState(GeneratorState& state, uint32_t factor)
{
    const uint32_t factorLow = factor & 0xFFFF;
    const uint32_t factorHigh = factor >> 16;
    const uint32_t lowProduct = state.low * factorLow;
    const uint32_t carry = lowProduct >> 16;
    const uint32_t high = (state.high * factorLow + state.low * factorHigh + carry) & 0xFFFF;
    state.low = static_cast<uint16_t>(lowProduct & 0xFFFF);
    state.high = static_cast<uint16_t>(high);
}

void AddState(GeneratorState& state, uint32_t addend)
{
    const uint32_t low = state.low + (addend & 0xFFFF);
    const uint32_t high = state.high + (addend >> 16) + (low >> 16);
    state.low = static_cast<uint16_t>(low & 0xFFFF);
    state.high = static_cast<uint16_t>(high & 0xFFFF);
}

int32_t NextRandom()
{
    MultiplyState(RandomState, kFactor);
    AddState(RandomState, kAddend);
    return RandomState.high & 0x7FFF;
}

int16_t PickFreeChannel(const ChannelPlanList& used, int32_t mode, int32_t minSpacing, int16_t excludeA,
                        int16_t excludeB)
{
    const int first = mode == 1 ? 17 : 1;
    const int last = mode == 0 ? 16 : 32;
    bool anyFit = false;
    for (int c = first; c <= last && !anyFit; ++c)
        anyFit = IsFit(c, used, minSpacing, excludeA, excludeB);
    if (!anyFit)
        return -1;
    // The sweep only proves a fit index exists; the one returned is drawn.
    for (int draw = 0; draw < kDraws; ++draw) {
        const int32_t r = NextRandom();
        const int candidate = mode == 0 ? r % 16 + 1 : mode == 1 ? r % 16 + 17 : r % 32 + 1;
        if (IsFit(candidate, used, minSpacing, excludeA, excludeB))
            return static_cast<int16_t>(candidate);
    }
    return -1;
}

void AutoAssignChannels()
{
    ChannelPlanList a;
    ChannelPlanList b;
    a.fill(-1);
    b.fill(-1);
    int32_t spacing = 3;

    const std::string ident = Nodes[0].NodeIdent();
    SeedRandom(HexToWord(ident.size() > 4 ? ident.substr(ident.size() - 4) : ident));

    // The spacing is shared by every pick and only goes down. A fit index
    // always exists once it is low enough: A takes 31 of 32 indices, and B
    // in each band exactly as many as that band can hold.
    for (std::size_t i = 0; i + 1 < kNodeCountForPlan; ++i) {
        while ((a[i] = PickFreeChannel(a, 2, spacing, a[0], b[0])) == -1)
            --spacing;
        const int32_t mode = IsLowBand(a[i]) ? 1 : 0;
        while ((b[i] = PickFreeChannel(b, mode, spacing, a[0], b[0])) == -1)
            --spacing;
    }
    a[31] = a[1];
    const int bandStart = IsLowBand(a[1]) ? 17 : 1;
    b[31] = static_cast<int16_t>(b[1] - 4 < bandStart ? b[1] + 12 : b[1] - 4);

    Nodes[0].SetY_ChannelA(a[0]);
    Nodes[0].SetY_ChannelB(b[0]);
    for (std::size_t n = 1; n < kNodeCountForPlan; ++n) {
        Nodes[n].SetX_ChannelA(a[n]);
        Nodes[n].SetX_ChannelB(b[n]);
    }
}

void ResetChannelPlan()
{
    SeedRandom(1);
}

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
