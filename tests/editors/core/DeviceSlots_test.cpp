// The device window's slot tables: free addresses, placing new devices,
// retyping, the address list, moving and the merge into the site.
#include "editors/core/DeviceIdentClash.h"
#include "editors/core/DeviceSlots.h"
#include "editors/core/SlotRules.h"
#include "model/Site.h"
#include "model/SiteQueries.h"

#include <gtest/gtest.h>

using editors::DeviceSlots;
using editors::PlaceResult;

namespace {

class SlotsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model::ResetSite();
        model::ResetSiteQueries();
        for (auto& row : site)
            row.fill(-1);
        Reload();
    }
    void Reload()
    {
        slots.LoadOwners(site, 2, 126);
        slots.LoadSlots(model::Nodes[3], 3);
    }
    // A device of RCC 3 in the window's tables with its cells claimed.
    void Put(int slot, int type, int loop, int address)
    {
        slots.Slot(slot) = {type, "", "", loop, address};
        slots.SetOwner(loop, address, static_cast<int16_t>(300 + slot));
        if (model::IsComboHeadType(type))
            slots.SetOwner(loop, address + 1, static_cast<int16_t>(300 + slot));
    }
    OwnerTable site{};
    DeviceSlots slots;
};

TEST_F(SlotsTest, NewDevicesInheritALoopAndTakeTheNextFreeAddress)
{
    // The first device of an empty RCC has nothing to inherit.
    slots.Slot(1).type = 2;
    EXPECT_EQ(slots.Place(1), PlaceResult::NoLoop);
    EXPECT_EQ(slots.Slot(1).loop, -1);

    Put(1, 2, 1, 10);
    slots.Slot(3).type = 3; // slot 2 has no loop: slot 1's is taken
    EXPECT_EQ(slots.Place(3), PlaceResult::Placed);
    EXPECT_EQ(slots.Slot(3).address, 11);
    EXPECT_EQ(slots.Owner(1, 11), 303);

    // A combination head needs two free addresses and never the highest.
    for (int a = 2; a <= 126; a += 2)
        if (slots.IsFree(1, a))
            slots.SetOwner(1, a, 500);
    slots.Slot(4).type = 10;
    EXPECT_EQ(slots.Place(4), PlaceResult::Placed);
    EXPECT_EQ(slots.Slot(4).loop, 2);
    EXPECT_EQ(slots.Slot(4).address, 1);
    EXPECT_EQ(slots.Owner(2, 2), 304);
    EXPECT_EQ(slots.FindFreeLoopAddress(1, 120, 10), -1);
    EXPECT_EQ(slots.FindFreeLoopAddress(1, 120, 2), 121);

    for (int a = 1; a <= 126; ++a)
        if (slots.IsFree(2, a))
            slots.SetOwner(2, a, 500);
    slots.Slot(5).type = 10;
    EXPECT_EQ(slots.Place(5), PlaceResult::NoRoom);
    EXPECT_EQ(slots.Slot(5).loop, -1);
}

TEST_F(SlotsTest, TheOnlyFreeAddressIsFoundFromAnyStart)
{
    for (int free : {1, 64, 126}) {
        for (int a = 1; a <= 126; ++a)
            slots.SetOwner(1, a, static_cast<int16_t>(a == free ? -1 : 500));
        for (int start : {-1, 1, 64, 126})
            EXPECT_EQ(slots.FindFreeLoopAddress(1, start, 2), free) << free << " from " << start;
    }
}

TEST_F(SlotsTest, CellsFollowTypeLoopAndAddressChanges)
{
    Put(1, 13, 1, 20); // a plain combination base takes one address
    EXPECT_FALSE(slots.Retype(1, 11));
    EXPECT_EQ(slots.Owner(1, 21), 301);
    EXPECT_FALSE(slots.Retype(1, 6));
    EXPECT_EQ(slots.Owner(1, 21), -1);
    slots.SetOwner(1, 21, 500); // the next address taken: the head gives up its place
    EXPECT_TRUE(slots.Retype(1, 18));
    EXPECT_EQ(slots.Owner(1, 20), -1);
    EXPECT_EQ(slots.Slot(1).address, -1);

    Put(2, 10, 1, 40);
    EXPECT_FALSE(slots.ChooseLoop(2, 1));
    EXPECT_TRUE(slots.ChooseLoop(2, 2));
    EXPECT_EQ(slots.Owner(1, 40), -1);
    EXPECT_EQ(slots.Owner(1, 41), -1);
    EXPECT_EQ(slots.Slot(2).address, -1);
    EXPECT_TRUE(slots.ChooseAddress(2, 30, true));
    EXPECT_EQ(slots.Owner(2, 31), 302);
    EXPECT_FALSE(slots.ChooseAddress(2, 30, true));
    slots.Empty(2);
    EXPECT_TRUE(slots.IsFree(2, 30));
    EXPECT_TRUE(slots.IsFree(2, 31));
}

TEST_F(SlotsTest, AddressListOffersFreeAddressesAndTheSlotsOwn)
{
    Put(1, 10, 2, 10);
    slots.SetOwner(2, 31, 500);
    slots.SetOwner(2, 12, 500);
    const editors::AddressChoices head = slots.AddressChoicesFor(1);
    EXPECT_EQ(head.selected, 10);
    const auto listed = [&](int a) {
        return std::find(head.addresses.begin(), head.addresses.end(), a) != head.addresses.end();
    };
    EXPECT_TRUE(listed(9));   // its next address is the head's own
    EXPECT_FALSE(listed(11)); // the head's second address
    EXPECT_FALSE(listed(12));
    EXPECT_FALSE(listed(30)); // 31 is taken
    EXPECT_TRUE(listed(32));
    EXPECT_FALSE(listed(126));
    // A device whose cell another unit holds still sees its own address.
    Put(2, 3, 2, 50);
    slots.SetOwner(2, 50, 500);
    EXPECT_EQ(slots.AddressChoicesFor(2).selected, 50);
}

TEST_F(SlotsTest, MoveAndApplyChangeOnlyWhatTheWindowChanged)
{
    model::Nodes[5].SetDeviceType(1, 2);
    model::Nodes[5].SetDeviceType(2, 2);
    Put(4, 10, 2, 17);
    EXPECT_EQ(slots.MoveTo(4, model::Nodes[5], 5, site), 3);
    EXPECT_EQ(model::Nodes[5].DeviceAddress(3), 17);
    EXPECT_EQ(site[2][18], 503);
    EXPECT_EQ(slots.Owner(2, 17), 503);
    EXPECT_EQ(slots.Slot(4).type, 0);

    Put(1, 2, 1, 5);
    site[1][90] = 700; // changed elsewhere after the window loaded
    slots.ApplyTo(model::Nodes[3], site);
    EXPECT_EQ(model::Nodes[3].DeviceType(1), 2);
    EXPECT_EQ(site[1][5], 301);
    EXPECT_EQ(site[1][90], 700);
    EXPECT_EQ(slots.EmptyAll(), true);
    EXPECT_EQ(slots.EmptyAll(), false);
}

TEST_F(SlotsTest, AMoveGoesToAnotherRccInUseWithAFreeSlot)
{
    for (int n : {0, 1, 3, 5, 7})
        model::Nodes[n].SetInUse(true);
    for (int s = 1; s <= model::kLastSlot; ++s)
        model::Nodes[7].SetDeviceType(s, 2);
    EXPECT_EQ(editors::RccsWithRoom(model::Nodes, 3), (std::vector<int>{1, 5})); // not the hub, nor full RCC 7
}

TEST_F(SlotsTest, IdentClashNamesTheOtherDeviceInBothWordings)
{
    model::Nodes[3].SetInUse(true);
    model::Nodes[3].SetDeviceIdent(9, "0ABCD"); // the stored copy of the node shown
    model::Nodes[4].SetInUse(true);
    model::Nodes[4].SetDeviceType(4, 2);
    model::Nodes[4].SetDeviceLoop(4, 1);
    model::Nodes[4].SetDeviceAddress(4, 5);
    model::Nodes[4].SetDeviceIdent(4, "12345");
    Reload();
    Put(1, 2, 2, 17);
    slots.Slot(1).ident = "0ABCD";
    slots.Slot(9) = {};
    Put(31, 3, 2, 30);
    slots.Slot(31).ident = "0FFFF"; // the last slot is looked at too
    using editors::ClashWording;
    const struct { std::string ident; ClashWording wording; int slot; std::string message; } cases[] = {
        {"0ABCD", ClashWording::WhileTyping, 2, "Ident 0ABCD\r\nAlready in Use by Device at L2/017"},
        {"0ABCD", ClashWording::OnCommit, 2, "Ident 0ABCD\r\nAlready in Use by Device 1"},
        {"0ABCD", ClashWording::OnCommit, 1, ""},
        {"0FFFF", ClashWording::OnCommit, 1, "Ident 0FFFF\r\nAlready in Use by Device 31"},
        {"12345", ClashWording::WhileTyping, 2, "Ident 12345\r\nAlready in Use by Device at L1/005 on RCC4"},
        {"12345", ClashWording::OnCommit, 2, "Ident 12345\r\nAlready in Use by Device 4 on RCC 4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editors::DeviceIdentClash(slots, c.slot, c.ident, c.wording), c.message) << c.ident;
}

TEST(SlotRules, ATypedIdentIsUpperCasedAndPaddedToFiveDigits)
{
    EXPECT_EQ(editors::PaddedIdent("a1b"), "00A1B");
    EXPECT_EQ(editors::PaddedIdent(""), "");
}

TEST(SlotRules, QuickInfoByMode)
{
    EXPECT_EQ(editors::QuickInfoText(3, "0A1B2", 2, 7, 1), "L2/007");
    EXPECT_EQ(editors::QuickInfoText(3, "0A1B2", -1, 7, 1), std::nullopt);
    EXPECT_EQ(editors::QuickInfoText(3, "0A1B2", 2, 7, 2), "0A1B2");
    EXPECT_EQ(editors::QuickInfoText(3, "0A1B2", 2, 7, 4), model::DeviceTypeShortName(3));
    EXPECT_EQ(editors::QuickInfoText(3, "0A1B2", 2, 7, 0), std::nullopt);
    EXPECT_EQ(editors::QuickInfoText(0, "", 2, 7, 2), std::nullopt);
    EXPECT_EQ(editors::ComboTypeFromChoice(editors::kComboBeaconItem, -1), 19);
    EXPECT_EQ(editors::PaletteItemOfType(20), 9);
}

TEST(SlotRules, EachPaletteItemPlacesItsDeviceType)
{
    // Items 5 and 7 place the combination head the detector prompt chooses.
    const char* const placed[editors::kPaletteItems] = {
        "Callpoint", "Sounder",           "Optical Smoke Detector", "Sounder/Beacon",   "Multisensor",
        "",          "Heat A1R Detector", "",                       "Heat CS Detector", "Input/Output Unit"};
    for (int item = 0; item < editors::kPaletteItems; ++item)
        EXPECT_EQ(model::DeviceTypeName(editors::PaletteItemType(item)), placed[item]) << item;
    for (int item : {editors::kComboItem, editors::kComboBeaconItem, -1, editors::kPaletteItems})
        EXPECT_EQ(editors::PaletteItemType(item), -1) << item;
}

} // namespace
