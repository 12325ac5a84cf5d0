#include "hublink/core/ChangeList.h"

#include "hublink/core/AddressMaps.h"
#include "hublink/core/ConfigCompare.h"
#include "hublink/core/HubUnits.h"
#include "model/ConfigurationCheck.h"
#include "model/Convert.h"
#include "model/Site.h"
#include "model/SiteState.h"

#include <array>
#include <string>

namespace hublink {

namespace {

using model::clsNode;
using model::DeviceTypeCode;
using model::HubNodes;
using model::kLastSlot;
using model::kNodeCount;
using model::Nodes;

constexpr int kHopDepth = 10;
const std::string kSubject = "the Radio Hub";

std::string N(int value)
{
    return std::to_string(value);
}

std::string ParentText(int parent)
{
    if (parent == -1)
        return "Undefined";
    return parent == 0 ? "Radio Hub" : "RCC " + N(parent);
}

std::string DeviceText(DeviceTypeCode type, const std::string& ident)
{
    return model::DeviceTypeName(type) + " with Ident " + ident;
}

// An address as three digits with leading zeros ("-001" for -1).
std::string ThreeDigits(int value)
{
    std::string digits = N(value < 0 ? -value : value);
    model::PadWithLeadingZeros(digits, 3);
    return value < 0 ? "-" + digits : digits;
}

std::string PositionText(int loop, int address)
{
    return "Device L" + N(loop) + "/" + ThreeDigits(address) + " ";
}

// Types whose download may stand for another site type (one type word for
// both); the first pass leaves a type difference of these to the address pass.
bool SharesTypeWord(DeviceTypeCode type)
{
    return (type >= 6 && type <= 7) || (type >= 10 && type <= 19);
}

void AddDeviceDelete(int n, int s)
{
    HubNodes[n].SetDeviceDelete(s, true);
    model::AddErrorLine(HeldTypeName(HubNodes[n], s) + " with Ident " + HubNodes[n].DeviceIdent(s) +
                        " will be deleted from RCC " + N(n));
}

void AddDeviceAdd(int n, int s)
{
    Nodes[n].SetDeviceAdd(s, true);
    model::AddErrorLine(DeviceText(Nodes[n].DeviceType(s), Nodes[n].DeviceIdent(s)) +
                        " will be added to RCC " + N(n));
}

void CompareSlots(int n, const SiteUnits& site)
{
    for (int s = 1; s <= kLastSlot; ++s) {
        const DeviceTypeCode t = Nodes[n].DeviceType(s);
        const DeviceTypeCode h = HubNodes[n].DeviceType(s);
        // A downloaded unit of a type this program does not know still holds
        // its address and ident in the hub: it goes, unless the site holds it
        // as it stands. The site's own slots without a type hold no device,
        // whatever ident and loop address they keep: nothing is programmed
        // for them.
        if (HoldsUnknownUnit(HubNodes[n], s)) {
            if (SiteKeepsUnknownUnit(Nodes, HubNodes, n, s, site))
                continue;
            AddDeviceDelete(n, s);
            if (t != 0)
                AddDeviceAdd(n, s);
            continue;
        }
        if (h == 0 && t == 0)
            continue;
        if (h != 0 && t == 0) {
            AddDeviceDelete(n, s);
        } else if (h == 0 && t != 0) {
            AddDeviceAdd(n, s);
        } else if (Nodes[n].DeviceIdent(s) != HubNodes[n].DeviceIdent(s)) {
            AddDeviceDelete(n, s);
            AddDeviceAdd(n, s);
        } else if (t != h && !SharesTypeWord(t) && !SharesTypeWord(h)) {
            AddDeviceDelete(n, s);
            AddDeviceAdd(n, s);
        }
    }
}

// An RCC of the site that the hub does not hold and that is not to be added,
// as its parent chain does not lead to the hub: no pass lists or flags it.
bool LeftOut(int n)
{
    return n != 0 && Nodes[n].InUse() && !HubNodes[n].InUse() && !Nodes[n].NodeAdd();
}

// RCCs added, deleted or replaced, and their device slots.
void FirstPass()
{
    const SiteUnits site(Nodes);
    for (int n = 0; n < kNodeCount; ++n) {
        Nodes[n].ResetNodeFlags();
        HubNodes[n].ResetNodeFlags();
        if (n == 0)
            continue;
        const bool inSite = Nodes[n].InUse();
        const bool inHub = HubNodes[n].InUse();
        if (inSite && !inHub) {
            // An RCC cut off from the hub is not programmed, nor are its devices.
            if (!Nodes[n].IsRelated(0, Nodes))
                continue;
            Nodes[n].SetNodeAdd(true);
            model::AddErrorLine("RCC " + N(n) + " will be added to " + kSubject);
        } else if (!inSite && inHub) {
            HubNodes[n].SetNodeDelete(true);
            model::AddErrorLine("RCC " + N(n) + " will be deleted from " + kSubject);
        } else if (!inSite && !inHub) {
            // Devices the hub still holds for an RCC it no longer has go; the
            // old values of an RCC deleted from the site are none to add.
            for (int s = 1; s <= kLastSlot; ++s)
                if (HoldsUnit(HubNodes[n], s))
                    AddDeviceDelete(n, s);
            continue;
        } else if (Nodes[n].NodeIdent() != HubNodes[n].NodeIdent()) {
            HubNodes[n].SetNodeDelete(true);
            Nodes[n].SetNodeAdd(true);
            model::AddErrorLine("RCC " + N(n) + " will be updated");
        }
        CompareSlots(n, site);
    }
}

// Channels the hub holds for an RCC it has no node line for and that is not
// to be added: no command deletes them.
bool HoldsStrayChannels(int n)
{
    return !HubNodes[n].InUse() && !Nodes[n].NodeAdd() &&
           (HubNodes[n].X_ChannelA() != -1 || HubNodes[n].X_ChannelB() != -1);
}

// Returns whether a line was written.
bool CompareChannel(clsNode& node, int hub, int site, const std::string& text, bool listed)
{
    if (hub == site)
        return false;
    node.SetChannelChange(true);
    Nodes[0].SetChannelChange(true);
    if (listed)
        model::AddErrorLine(text + ChannelText(hub) + " to " + ChannelText(site));
    return listed;
}

bool ChannelPass()
{
    bool written = false;
    written |= CompareChannel(Nodes[0], HubNodes[0].Y_ChannelA(), Nodes[0].Y_ChannelA(),
                              "Y-Protocol Channel A changed from ", true);
    written |= CompareChannel(Nodes[0], HubNodes[0].Y_ChannelB(), Nodes[0].Y_ChannelB(),
                              "Y-Protocol Channel B changed from ", true);
    for (int n = 1; n < kNodeCount; ++n) {
        if (HoldsStrayChannels(n)) {
            model::AddErrorLine("RCC " + N(n) + " X-Protocol Channels " + ChannelText(HubNodes[n].X_ChannelA()) +
                                " and " + ChannelText(HubNodes[n].X_ChannelB()) +
                                " are held without the RCC; only clearing the Radio Hub removes them");
            continue;
        }
        // A new RCC gets its channels with its node; one the hub does not
        // hold and is not to get has none to change.
        if (Nodes[n].NodeAdd() || !HubNodes[n].InUse())
            continue;
        const std::string rcc = "RCC " + N(n);
        const bool listed = Nodes[n].InUse();
        written |= CompareChannel(Nodes[n], HubNodes[n].X_ChannelA(), Nodes[n].X_ChannelA(),
                                  rcc + " X-Protocol Channel A changed from ", listed);
        written |= CompareChannel(Nodes[n], HubNodes[n].X_ChannelB(), Nodes[n].X_ChannelB(),
                                  rcc + " X-Protocol Channel B changed from ", listed);
    }
    return written;
}

void ParentPass()
{
    bool written = false;
    for (int n = 1; n < kNodeCount; ++n) {
        // The parent an RCC deleted from the site keeps is none.
        const int site = Nodes[n].InUse() ? Nodes[n].Parent() : -1;
        const int hub = HubNodes[n].Parent();
        if (LeftOut(n))
            continue;
        if (site != hub) {
            // A relation the hub holds without either side's RCC is deleted.
            if (site == -1 && (Nodes[n].InUse() || HubNodes[n].InUse()))
                continue;
            Nodes[n].SetParentChange(true);
            model::AddErrorLine("Parent of RCC " + N(n) + " Changed from " + ParentText(hub) + " to " +
                                ParentText(site));
            written = true;
        } else if (Nodes[n].InUse() && Nodes[n].Hop(Nodes, kHopDepth) != HubNodes[n].Hop(HubNodes, kHopDepth)) {
            Nodes[n].SetParentChange(true);
        }
    }
    if (written)
        model::AddErrorLine(" ");
}

std::string NodeWord(int n)
{
    return n == 0 ? " the Radio Hub" : " RCC " + N(n);
}

// Changes the account leaves out as repeats but that count all the same:
// a combination head's change met again at its second address, and a unit
// that "moved" to where it already stands (a head that became a plain
// detector, or the reverse, frees or takes its second address only).
class Repeats
{
public:
    void Add() { ++count_; }
    // A unit met at an address it left or came to without moving counts
    // once, as the move it would be.
    void Stayed(int n, int s)
    {
        if (!stayed_[n][s]) {
            stayed_[n][s] = true;
            ++count_;
        }
    }
    int Count() const { return count_; }

private:
    int count_ = 0;
    std::array<std::array<bool, kLastSlot + 1>, kNodeCount> stayed_{};
};

void AddNodeMove(int n, int newLoop, int newAddress)
{
    Nodes[n].SetAddressChange(true);
    model::AddErrorLine(PositionText(HubNodes[n].NodeLoop(), HubNodes[n].NodeAddress()) + NodeWord(n) +
                        " with Ident " + Nodes[n].NodeIdent() + " will be moved to L" + N(newLoop) + "/" +
                        ThreeDigits(newAddress) + " ");
}

void AddDeviceMove(int n, int s)
{
    Nodes[n].SetDeviceAddressChange(s, true);
    model::AddErrorLine(PositionText(HubNodes[n].DeviceLoop(s), HubNodes[n].DeviceAddress(s)) + " " +
                        model::DeviceTypeShortName(HubNodes[n].DeviceType(s)) + " with Ident " +
                        Nodes[n].DeviceIdent(s) + " will be moved to L" + N(Nodes[n].DeviceLoop(s)) + "/" +
                        ThreeDigits(Nodes[n].DeviceAddress(s)) + " ");
}

// A head that became a plain detector (or the reverse) loses (or gains) its
// second address without moving.
bool DeviceStayed(int n, int s)
{
    return Nodes[n].DeviceLoop(s) == HubNodes[n].DeviceLoop(s) &&
           Nodes[n].DeviceAddress(s) == HubNodes[n].DeviceAddress(s);
}

// A downloaded unit that has left this address. A unit that has not moved
// is counted as a repeat where the address is free in the site (repeats),
// and not at all where another unit has taken it (nullptr).
void LeftAddress(int n, int s, Repeats* repeats)
{
    if (s == 0) {
        if (!HubNodes[n].NodeDelete() && !Nodes[n].AddressChange())
            AddNodeMove(n, Nodes[n].NodeLoop(), Nodes[n].NodeAddress());
        return;
    }
    if (HubNodes[n].DeviceDelete(s) || Nodes[n].DeviceAddressChange(s))
        return;
    if (!DeviceStayed(n, s))
        AddDeviceMove(n, s);
    else if (repeats != nullptr)
        repeats->Stayed(n, s);
}

// The same unit code at one address in both tables.
void CompareSameOwner(int loop, int address, int n, int s, Repeats& repeats)
{
    const std::string at = PositionText(loop, address);
    if (s == 0) {
        if (Nodes[n].NodeIdent() == HubNodes[n].NodeIdent())
            return;
        Nodes[n].SetNodeDelete(true);
        Nodes[n].SetNodeAdd(true);
        model::AddErrorLine(at + (n == 0 ? "Radio Hub" : "RCC " + N(n)) + " has changed Ident from " +
                            HubNodes[n].NodeIdent() + " to Ident " + Nodes[n].NodeIdent());
        return;
    }
    // A unit whose old and new addresses overlap (a head moved by one
    // address, a detector that became a head one address lower) meets
    // itself here: it has moved, and its move programs it with its type.
    if (!DeviceStayed(n, s)) {
        LeftAddress(n, s, nullptr);
        return;
    }
    const DeviceTypeCode t = Nodes[n].DeviceType(s);
    if (SameTypeOnHub(t, HubNodes[n].DeviceType(s)))
        HubNodes[n].SetDeviceType(s, t);
    const DeviceTypeCode h = HubNodes[n].DeviceType(s);
    const std::string hubIdent = HubNodes[n].DeviceIdent(s);
    const std::string siteIdent = Nodes[n].DeviceIdent(s);
    if (t == h && hubIdent == siteIdent)
        return;
    // A head met at its second address has its line already.
    const bool listed = Nodes[n].DeviceDelete(s);
    Nodes[n].SetDeviceDelete(s, true);
    Nodes[n].SetDeviceAdd(s, true);
    if (listed) {
        repeats.Add();
        return;
    }
    if (t != h)
        model::AddErrorLine(at + DeviceText(h, hubIdent) + " on RCC " + N(n) + " has changed to " +
                            DeviceText(t, siteIdent));
    else
        model::AddErrorLine(at + model::DeviceTypeName(h) + " on RCC " + N(n) + " has changed Ident from " +
                            hubIdent + " to " + siteIdent);
}

// A site unit that has come to this address; repeats as for LeftAddress.
void CameToAddress(int loop, int address, int n, int s, Repeats* repeats)
{
    if (s == 0) {
        if (!Nodes[n].AddressChange() && !Nodes[n].NodeAdd())
            AddNodeMove(n, loop, address);
        return;
    }
    if (Nodes[n].DeviceAdd(s) || Nodes[n].DeviceDelete(s) || Nodes[n].DeviceAddressChange(s))
        return;
    if (!DeviceStayed(n, s))
        AddDeviceMove(n, s);
    else if (repeats != nullptr)
        repeats->Stayed(n, s);
}

// A type difference the first pass leaves to the address pass that the
// address pass could not meet (a place outside the loops, or one a later
// unit on the same address hides) is taken as the first pass takes others.
void MissedTypeChanges()
{
    for (int n = 1; n < kNodeCount; ++n) {
        if (!Nodes[n].InUse() || !HubNodes[n].InUse() || HubNodes[n].NodeDelete() || Nodes[n].NodeAdd())
            continue;
        for (int s = 1; s <= kLastSlot; ++s) {
            const DeviceTypeCode t = Nodes[n].DeviceType(s);
            const DeviceTypeCode h = HubNodes[n].DeviceType(s);
            if (t == 0 || h == 0 || SameTypeOnHub(t, h) || Nodes[n].DeviceAdd(s) || Nodes[n].DeviceDelete(s) ||
                HubNodes[n].DeviceDelete(s) || Nodes[n].DeviceAddressChange(s))
                continue;
            AddDeviceDelete(n, s);
            AddDeviceAdd(n, s);
        }
    }
}

// Returns the repeats left out of the list.
int AddressPass()
{
    // The addresses of what programming holds, on both sides.
    OwnerTable siteOwners{};
    OwnerTable hubOwners{};
    BuildProgrammedOwnerTable(siteOwners, Nodes);
    BuildProgrammedOwnerTable(hubOwners, HubNodes);
    Repeats repeats;
    for (int loop = 1; loop < kOwnerLoops; ++loop) {
        for (int address = 1; address < kOwnerAddresses; ++address) {
            int site = siteOwners[loop][address];
            const int hub = hubOwners[loop][address];
            if (site != -1 && LeftOut(site / 100))
                site = -1;
            if (site == hub) {
                if (site != -1)
                    CompareSameOwner(loop, address, site / 100, site % 100, repeats);
            } else if (site == -1) {
                LeftAddress(hub / 100, hub % 100, &repeats);
            } else if (hub == -1) {
                CameToAddress(loop, address, site / 100, site % 100, &repeats);
            } else {
                // Two units at one address, one in the hub and another in
                // the site: units that swapped or rotated their addresses
                // meet only like this, so each is one that has moved.
                LeftAddress(hub / 100, hub % 100, nullptr);
                CameToAddress(loop, address, site / 100, site % 100, nullptr);
            }
        }
    }
    return repeats.Count();
}

bool HubHoldsAnRcc()
{
    for (int n = 1; n < kNodeCount; ++n) {
        if (HubNodes[n].InUse())
            return true;
    }
    return false;
}

bool AnRccToAdd()
{
    for (int n = 1; n < kNodeCount; ++n) {
        if (Nodes[n].NodeAdd())
            return true;
    }
    return false;
}

} // namespace

int16_t BuildChangeList()
{
    model::MessageList.clear();
    model::AddErrorLine("Changes between data in " + kSubject + " and the Current Configuration are\r\n\r\n");
    FirstPass();
    // A hub without RCCs that is to get none (a site of the hub alone) is
    // compared like any other: it may match already.
    if (!HubHoldsAnRcc() && (AnRccToAdd() || Nodes[0].InUse() != HubNodes[0].InUse())) {
        Nodes[0].SetNodeAdd(true);
        return kChangeListHubNotProgrammed;
    }
    if (ChannelPass()) {
        model::AddErrorLine(
            "Parent and loop address changes are listed once the new channels are programmed");
        model::AddErrorLine(" ");
        return kChangeListChannelsFirst;
    }
    ParentPass();
    const int repeats = AddressPass();
    MissedTypeChanges();
    return static_cast<int16_t>(model::MessageCount() - 1 + repeats);
}

bool HubHoldsStrayChannels()
{
    for (int n = 1; n < kNodeCount; ++n)
        if (HoldsStrayChannels(n))
            return true;
    return false;
}

} // namespace hublink
