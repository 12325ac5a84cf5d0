#pragma once
// The device window's own copy of one node's 31 device slots and of the
// site's loop-address owner table. Every edit of the window changes only
// this copy; Apply merges it into the node and the site's table.
//
// Owner codes are node x 100 + slot (-1 free). A combination head (types
// 10..12, 15..19) owns its address and the next one. Only loops
// 1..loopCount and addresses 1..maxAddress are ever free; every other cell
// counts as taken.
#include "model/SiteState.h"
#include "model/clsNode.h"

#include <array>
#include <string>
#include <vector>

namespace editors {

struct DeviceSlot
{
    model::DeviceTypeCode type = 0;
    std::string name;
    std::string ident;
    int loop = -1;
    int address = -1;

    bool HasPosition() const { return loop != -1 && address != -1; }
};

// The address list of a slot: the free addresses of its loop (for a
// combination head those whose next address is free too) and its own.
struct AddressChoices
{
    int loop = 1;             // the loop listed (1 when the slot has none)
    std::vector<int> addresses;
    int selected = -1;        // the slot's own address when listed
};

enum class PlaceResult { Placed, NoLoop, NoRoom };

// The RCCs in use other than except that have an empty device slot, in
// number order: where a device can be moved to.
std::vector<int> RccsWithRoom(const model::NodeArray& nodes, int except);

class DeviceSlots
{
public:
    DeviceSlots();

    // Takes the site's owner cells of loops 1..loopCount, addresses
    // 1..maxAddress; the merge of ApplyTo starts from this copy.
    void LoadOwners(const OwnerTable& site, int loopCount, int maxAddress);
    // Takes the node's 31 slots; node is the number whose owner codes the
    // slots carry.
    void LoadSlots(const model::clsNode& node, int nodeNumber);
    // Lets go of the node: every slot empty and Node() -1 (no node).
    void Forget();

    int Node() const { return node_; }
    int LoopCount() const { return loopCount_; }
    int MaxAddress() const { return maxAddress_; }
    int OwnerCode(int slot) const { return node_ * 100 + slot; }

    // Slot 1..31 (std::out_of_range otherwise).
    DeviceSlot& Slot(int slot);
    const DeviceSlot& Slot(int slot) const;
    // The first empty slot, -1 when all 31 hold a device.
    int FirstEmpty() const;

    int16_t Owner(int loop, int address) const;
    bool IsFree(int loop, int address) const;
    void SetOwner(int loop, int address, int16_t owner);

    // The first free address for a device of type on loop from start (-1
    // counts as 1) up to the highest, then from 1; a combination head needs
    // the next address free too and never takes the highest. -1 when none.
    int FindFreeLoopAddress(int loop, int start, model::DeviceTypeCode type) const;

    // Empties the slot and frees the cells it owns.
    void Empty(int slot);
    // Empties all 31 slots; true when one of them held a device.
    bool EmptyAll();

    // Gives the new device in slot k the loop of the slot before it (else of
    // slot 1) and the next free address after that slot's address, wrapping
    // round, else the first free address of any loop. NoLoop: no slot to
    // inherit from, the device stays without position. NoRoom: nothing free
    // anywhere, the device is left without position for the caller to remove.
    PlaceResult Place(int slot);

    // Gives the slot a new type. A device that becomes a combination head
    // claims its next address, or gives up its position when that is taken
    // (true: the caller places it anew); one that stops being a head gives
    // its second address back.
    bool Retype(int slot, model::DeviceTypeCode type);

    // A loop chosen for the slot: frees its cells and leaves it without an
    // address. False when the loop is its own already.
    bool ChooseLoop(int slot, int loop);
    // An address chosen for the slot: frees the old cells and claims the new
    // ones on the slot's loop (only the address is set while loopListed is
    // false). False when the address is its own already.
    bool ChooseAddress(int slot, int address, bool loopListed);

    AddressChoices AddressChoicesFor(int slot) const;

    // Puts the device of slot into the destination node's first empty slot
    // (returned) with its loop, address, ident and name, gives its cells in
    // this copy and in site to the new owner, and empties the slot here
    // without freeing them. -1 (nothing moved) when the destination is full.
    int MoveTo(int slot, model::clsNode& destination, int destinationNumber, OwnerTable& site);

    // Writes the 31 slots into the node and every owner cell this copy
    // changed since it was loaded or last applied into site; cells the
    // window did not touch keep what the site holds now.
    void ApplyTo(model::clsNode& node, OwnerTable& site);

private:
    void Release(int slot);
    void Claim(int slot);
    bool InRange(int loop, int address) const;

    std::array<DeviceSlot, model::kLastSlot + 1> slots_;
    OwnerTable owners_{};
    OwnerTable loaded_{};
    int node_ = -1;
    int loopCount_ = 0;
    int maxAddress_ = 0;
};

} // namespace editors
