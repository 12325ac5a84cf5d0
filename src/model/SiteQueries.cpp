#include "model/SiteQueries.h"

#include "model/ChannelPlan.h"
#include "model/Site.h"

#include <algorithm>

namespace model {
namespace {

constexpr int kPastEnd = kNodeCount; // next node of a search that has run out
constexpr int kPastSlots = kLastSlot + 1;

struct SearchState
{
    int nextNode = kPastEnd;
    int nextSlot = 0;
};

struct IdentSearch : SearchState
{
    std::string ident;
};

struct LoopAddressSearch : SearchState
{
    int loop = -1;
    int address = -1;
};

IdentSearch identSearch;
LoopAddressSearch loopAddressSearch;

const clsNode& NodeAt(int n)
{
    return Nodes[static_cast<std::size_t>(n)];
}

// Moves a running search past the item it returned last.
void StepPastLastHit(SearchState& state)
{
    if (state.nextSlot == kLastSlot) {
        state.nextSlot = 0;
        ++state.nextNode;
    } else {
        ++state.nextSlot;
    }
}

// Walks the site from the search's position and returns the owner code of the
// first hit, leaving the position on it. Node 0's own slots are examined only
// when hubSlots is set, and then only after a hit on node 0 itself.
template <class NodeMatch, class SlotMatch>
int Walk(SearchState& state, bool hubSlots, NodeMatch nodeMatches, SlotMatch slotMatches)
{
    while (state.nextNode < kNodeCount) {
        const clsNode& node = NodeAt(state.nextNode);
        if (!node.InUse()) {
            ++state.nextNode;
            continue;
        }
        if (state.nextNode == 0) {
            if (state.nextSlot == 0) {
                if (nodeMatches(node)) {
                    return 0;
                }
                state.nextSlot = kPastSlots;
            }
            for (; hubSlots && state.nextSlot <= kLastSlot; ++state.nextSlot) {
                if (slotMatches(node, state.nextSlot)) {
                    return state.nextSlot;
                }
            }
            state.nextSlot = 0;
            state.nextNode = 1;
            continue;
        }
        for (; state.nextSlot <= kLastSlot; ++state.nextSlot) {
            const bool hit = state.nextSlot == 0 ? nodeMatches(node) : slotMatches(node, state.nextSlot);
            if (hit) {
                return state.nextNode * 100 + state.nextSlot;
            }
        }
        state.nextSlot = 0;
        ++state.nextNode;
    }
    return -1;
}

} // namespace

int FindNodeByIdent(const std::string& ident)
{
    if (ident.empty()) {
        return -1;
    }
    IdentSearch& s = identSearch;
    if (ident != "X") {
        s.ident = ident;
        s.nextNode = 0;
        s.nextSlot = 0;
    } else {
        if (s.nextNode >= kNodeCount) {
            return -1;
        }
        StepPastLastHit(s);
    }
    return Walk(
        s, false, [&](const clsNode& node) { return node.NodeIdent() == s.ident; },
        [&](const clsNode& node, int slot) { return node.DeviceIdent(slot) == s.ident; });
}

int FindByLoopAddress(int loop, int address)
{
    LoopAddressSearch& s = loopAddressSearch;
    if (loop != -1 && address != -1) {
        s.loop = loop;
        s.address = address;
        s.nextNode = 0;
        s.nextSlot = 0;
    } else {
        if (loop == 0 || address == 0 || s.nextNode >= kNodeCount) {
            return -1;
        }
        StepPastLastHit(s);
    }
    return Walk(
        s, true,
        [&](const clsNode& node) { return node.NodeLoop() == s.loop && node.NodeAddress() == s.address; },
        [&](const clsNode& node, int slot) {
            if (node.DeviceLoop(slot) != s.loop) {
                return false;
            }
            const int own = node.DeviceAddress(slot);
            // A head without an address does not own the address after it.
            return own == s.address ||
                   (IsComboHeadType(node.DeviceType(slot)) && own != -1 && own + 1 == s.address);
        });
}

int FindNodeByXChannels(int channelA, int channelB, int exclude)
{
    if (channelA == -1 || channelB == -1) {
        return -1;
    }
    for (int n = 1; n < kNodeCount; ++n) {
        const clsNode& node = NodeAt(n);
        if (n != exclude && node.InUse() && node.X_ChannelA() == channelA && node.X_ChannelB() == channelB) {
            return n;
        }
    }
    return -1;
}

namespace {

// The largest value of a node field over the in-use nodes and of a slot field
// over the slots of the in-use RCCs, starting from 0.
template <class NodeField, class SlotField> int HighestInUse(NodeField nodeField, SlotField slotField)
{
    int highest = 0;
    for (int n = 0; n < kNodeCount; ++n) {
        const clsNode& node = NodeAt(n);
        if (!node.InUse()) {
            continue;
        }
        highest = std::max(highest, nodeField(node));
        for (int slot = 1; n != 0 && slot <= kLastSlot; ++slot) {
            highest = std::max(highest, slotField(node, slot));
        }
    }
    return highest;
}

} // namespace

int HighestLoopInUse()
{
    return HighestInUse([](const clsNode& node) { return int{node.NodeLoop()}; },
                        [](const clsNode& node, int slot) { return int{node.DeviceLoop(slot)}; });
}

int HighestAddressInUse()
{
    return HighestInUse([](const clsNode& node) { return int{node.NodeAddress()}; },
                        [](const clsNode& node, int slot) {
                            return LastAddressTaken(node.DeviceType(slot), node.DeviceAddress(slot));
                        });
}

int ChannelIndexFromNumber(int number)
{
    for (int index = 1; index <= 32; ++index) {
        if (ChannelTable(index) == number) {
            return index;
        }
    }
    return -1;
}

void ResetSiteQueries()
{
    identSearch = IdentSearch();
    loopAddressSearch = LoopAddressSearch();
}

} // namespace model
