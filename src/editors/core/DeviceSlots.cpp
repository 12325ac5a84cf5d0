#include "editors/core/DeviceSlots.h"

#include <stdexcept>

namespace editors {

namespace {

constexpr int16_t kTaken = -2; // a cell outside the loops and addresses in use

std::size_t Index(int i)
{
    return static_cast<std::size_t>(i);
}

} // namespace

std::vector<int> RccsWithRoom(const model::NodeArray& nodes, int except)
{
    std::vector<int> rccs;
    for (int n = 1; n < model::kNodeCount; ++n) {
        const model::clsNode& node = nodes[Index(n)];
        if (node.InUse() && n != except && node.DetectorCountRCC() < model::kLastSlot)
            rccs.push_back(n);
    }
    return rccs;
}

DeviceSlots::DeviceSlots()
{
    for (auto& row : owners_)
        row.fill(kTaken);
    loaded_ = owners_;
}

void DeviceSlots::LoadOwners(const OwnerTable& site, int loopCount, int maxAddress)
{
    loopCount_ = loopCount < 0 ? 0 : (loopCount >= kOwnerLoops ? kOwnerLoops - 1 : loopCount);
    maxAddress_ = maxAddress < 0 ? 0 : (maxAddress >= kOwnerAddresses ? kOwnerAddresses - 1 : maxAddress);
    for (int loop = 0; loop < kOwnerLoops; ++loop)
        for (int address = 0; address < kOwnerAddresses; ++address)
            owners_[Index(loop)][Index(address)] =
                InRange(loop, address) ? site[Index(loop)][Index(address)] : kTaken;
    loaded_ = owners_;
}

void DeviceSlots::LoadSlots(const model::clsNode& node, int nodeNumber)
{
    node_ = nodeNumber;
    for (int s = 1; s <= model::kLastSlot; ++s) {
        DeviceSlot& slot = slots_[Index(s)];
        slot.type = node.DeviceType(s);
        slot.name = node.DeviceName(s);
        slot.ident = node.DeviceIdent(s);
        slot.loop = node.DeviceLoop(s);
        slot.address = node.DeviceAddress(s);
    }
}

void DeviceSlots::Forget()
{
    node_ = -1;
    slots_.fill(DeviceSlot{});
}

DeviceSlot& DeviceSlots::Slot(int slot)
{
    if (slot < 1 || slot > model::kLastSlot)
        throw std::out_of_range("device slot");
    return slots_[Index(slot)];
}

const DeviceSlot& DeviceSlots::Slot(int slot) const
{
    return const_cast<DeviceSlots*>(this)->Slot(slot);
}

int DeviceSlots::FirstEmpty() const
{
    for (int s = 1; s <= model::kLastSlot; ++s)
        if (slots_[Index(s)].type == 0)
            return s;
    return -1;
}

bool DeviceSlots::InRange(int loop, int address) const
{
    return loop >= 1 && loop <= loopCount_ && address >= 1 && address <= maxAddress_;
}

int16_t DeviceSlots::Owner(int loop, int address) const
{
    return InRange(loop, address) ? owners_[Index(loop)][Index(address)] : kTaken;
}

bool DeviceSlots::IsFree(int loop, int address) const
{
    return Owner(loop, address) == -1;
}

void DeviceSlots::SetOwner(int loop, int address, int16_t owner)
{
    if (InRange(loop, address))
        owners_[Index(loop)][Index(address)] = owner;
}

int DeviceSlots::FindFreeLoopAddress(int loop, int start, model::DeviceTypeCode type) const
{
    if (start == -1)
        start = 1;
    const bool head = model::IsComboHeadType(type);
    auto free = [&](int a) { return IsFree(loop, a) && (!head || (a < maxAddress_ && IsFree(loop, a + 1))); };
    for (int a = start; a <= maxAddress_; ++a)
        if (free(a))
            return a;
    for (int a = 1; a < start && a <= maxAddress_; ++a)
        if (free(a))
            return a;
    return -1;
}

void DeviceSlots::Release(int slot)
{
    const DeviceSlot& s = Slot(slot);
    if (!s.HasPosition())
        return;
    SetOwner(s.loop, s.address, -1);
    if (model::IsComboHeadType(s.type))
        SetOwner(s.loop, s.address + 1, -1);
}

void DeviceSlots::Claim(int slot)
{
    const DeviceSlot& s = Slot(slot);
    const auto own = static_cast<int16_t>(OwnerCode(slot));
    SetOwner(s.loop, s.address, own);
    if (model::IsComboHeadType(s.type))
        SetOwner(s.loop, s.address + 1, own);
}

void DeviceSlots::Empty(int slot)
{
    Release(slot);
    Slot(slot) = DeviceSlot{};
}

bool DeviceSlots::EmptyAll()
{
    bool any = false;
    for (int s = 1; s <= model::kLastSlot; ++s) {
        any = any || Slot(s).type != 0;
        Empty(s);
    }
    return any;
}

PlaceResult DeviceSlots::Place(int slot)
{
    DeviceSlot& s = Slot(slot);
    auto inLoops = [&](int loop) { return loop >= 1 && loop <= loopCount_; };
    if (slot > 1) {
        const DeviceSlot& before = Slot(slot - 1);
        const DeviceSlot& first = Slot(1);
        const DeviceSlot* from = inLoops(before.loop) ? &before : inLoops(first.loop) ? &first : nullptr;
        s.loop = from != nullptr ? from->loop : -1;
        s.address = from != nullptr ? from->address : -1;
    }
    if (s.loop == -1) {
        s.address = -1;
        return PlaceResult::NoLoop;
    }
    s.address = FindFreeLoopAddress(s.loop, s.address, s.type);
    for (int loop = 1; s.address == -1 && loop <= loopCount_; ++loop) {
        const int a = FindFreeLoopAddress(loop, 1, s.type);
        if (a != -1) {
            s.loop = loop;
            s.address = a;
        }
    }
    if (s.address == -1) {
        s.loop = -1;
        return PlaceResult::NoRoom;
    }
    Claim(slot);
    return PlaceResult::Placed;
}

bool DeviceSlots::Retype(int slot, model::DeviceTypeCode type)
{
    DeviceSlot& s = Slot(slot);
    const bool wasHead = model::IsComboHeadType(s.type);
    const bool isHead = model::IsComboHeadType(type);
    const bool occupied = s.type != 0;
    s.type = type;
    if (!occupied || !s.HasPosition() || wasHead == isHead)
        return false;
    if (wasHead) {
        SetOwner(s.loop, s.address + 1, -1);
        return false;
    }
    if (s.address < maxAddress_ && IsFree(s.loop, s.address + 1)) {
        SetOwner(s.loop, s.address + 1, static_cast<int16_t>(OwnerCode(slot)));
        return false;
    }
    SetOwner(s.loop, s.address, -1);
    s.loop = -1;
    s.address = -1;
    return true;
}

bool DeviceSlots::ChooseLoop(int slot, int loop)
{
    DeviceSlot& s = Slot(slot);
    if (s.loop == loop)
        return false;
    Release(slot);
    s.loop = loop;
    s.address = -1;
    return true;
}

bool DeviceSlots::ChooseAddress(int slot, int address, bool loopListed)
{
    DeviceSlot& s = Slot(slot);
    if (s.address == address)
        return false;
    if (loopListed) {
        Release(slot);
        s.address = address;
        if (s.loop != -1)
            Claim(slot);
    } else {
        s.address = address;
    }
    return true;
}

AddressChoices DeviceSlots::AddressChoicesFor(int slot) const
{
    const DeviceSlot& s = Slot(slot);
    AddressChoices choices;
    choices.loop = s.loop >= 1 && s.loop <= loopCount_ ? s.loop : 1;
    const int own = OwnerCode(slot);
    const bool head = model::IsComboHeadType(s.type);
    for (int a = 1; a <= maxAddress_; ++a) {
        // The slot's own address is listed even where a site with duplicate
        // addresses gave its cell to another unit, so that committing the
        // fields never moves the device.
        if (s.loop == choices.loop && a == s.address) {
            choices.addresses.push_back(a);
            choices.selected = a;
            if (head)
                ++a;
            continue;
        }
        const int next = Owner(choices.loop, a + 1);
        if (Owner(choices.loop, a) == -1 && (!head || next == -1 || next == own))
            choices.addresses.push_back(a);
    }
    return choices;
}

int DeviceSlots::MoveTo(int slot, model::clsNode& destination, int destinationNumber, OwnerTable& site)
{
    int target = -1;
    for (int t = 1; t <= model::kLastSlot && target == -1; ++t)
        if (destination.DeviceType(t) == 0)
            target = t;
    if (target == -1)
        return -1;
    DeviceSlot& s = Slot(slot);
    destination.SetDeviceType(target, s.type);
    destination.SetDeviceAddress(target, s.address);
    destination.SetDeviceIdent(target, s.ident);
    destination.SetDeviceLoop(target, s.loop);
    destination.SetDeviceName(target, s.name);
    if (s.HasPosition()) {
        const auto owner = static_cast<int16_t>(destinationNumber * 100 + target);
        const int cells = model::IsComboHeadType(s.type) ? 2 : 1;
        for (int c = 0; c < cells; ++c) {
            ::SetOwner(site, s.loop, s.address + c, owner);
            SetOwner(s.loop, s.address + c, owner);
        }
    }
    s.loop = -1; // the cells now belong to the destination
    Empty(slot);
    return target;
}

void DeviceSlots::ApplyTo(model::clsNode& node, OwnerTable& site)
{
    for (int s = 1; s <= model::kLastSlot; ++s) {
        const DeviceSlot& slot = slots_[Index(s)];
        node.SetDeviceType(s, slot.type);
        node.SetDeviceName(s, slot.name);
        node.SetDeviceIdent(s, slot.ident);
        node.SetDeviceLoop(s, slot.loop);
        node.SetDeviceAddress(s, slot.address);
    }
    for (int loop = 1; loop <= loopCount_; ++loop)
        for (int address = 1; address <= maxAddress_; ++address) {
            const int16_t mine = owners_[Index(loop)][Index(address)];
            if (mine != loaded_[Index(loop)][Index(address)])
                site[Index(loop)][Index(address)] = mine;
        }
    loaded_ = owners_;
}

} // namespace editors
