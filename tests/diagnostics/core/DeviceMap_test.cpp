#include "diagnostics/core/DeviceMap.h"

#include "DiagsSite.h"

#include <gtest/gtest.h>

using namespace diagnostics;

TEST(DeviceMap, TabsNameTheLoopsAndTheRccsInUse)
{
    BuildDiagsSite();
    EXPECT_EQ(DeviceTabCaptions(model::Nodes), (std::vector<std::string>{"Loop 1", "Loop 2", "RCC 1", "RCC 2"}));
    EXPECT_EQ(ParseTabCaption("RCC 2")->number, 2);
    EXPECT_EQ(ParseTabCaption("Loop 2")->kind, MapTab::Kind::Loop);
    for (const char* caption : {"Loop 5", "RCC 32", "RCC", "Key"})
        EXPECT_FALSE(ParseTabCaption(caption)) << caption;
}

TEST(DeviceMap, LoopTabShowsEveryAddressWithItsOwnerAndStatus)
{
    BuildDiagsSite();
    model::Nodes[1].SetNodeStatusString("SSL");
    model::Nodes[1].SetDeviceStatusString(1, "ASA");
    const DeviceMapView map = BuildDeviceMap({MapTab::Kind::Loop, 1}, model::Nodes, kShowAllOnly);
    ASSERT_EQ(map.places.size(), 126u);
    const MapSlot& rcc = map.places[9];
    EXPECT_EQ(rcc.shape, SlotShape::Rectangle);
    EXPECT_EQ(rcc.tooltip, "Status for RCC 1");
    EXPECT_EQ(rcc.fill, 0x11809Fu);
    EXPECT_EQ(map.places[10].tooltip, "Status for RCC 1.1");
    EXPECT_EQ(map.places[0].tooltip, "Status for Hub");
    const MapSlot& free = map.places[16];
    EXPECT_EQ(std::pair(free.row, free.column), std::pair(1, 0));
    EXPECT_FALSE(free.occupied || free.clickable);

    // Only "Low Signal": the RCC keeps its colour, the alarm is dimmed.
    ShowBoxes lowSignal{};
    lowSignal[LowSignalBox] = true;
    const DeviceMapView filtered = BuildDeviceMap({MapTab::Kind::Loop, 1}, model::Nodes, lowSignal);
    EXPECT_EQ(filtered.places[9].fill, 0x11809Fu);
    EXPECT_FALSE(filtered.places[10].clickable);
    EXPECT_EQ(filtered.places[10].fill, 0xEFEFEFu);
}

TEST(DeviceMap, RccTabShowsItsSlotsAndItselfAsSlot32)
{
    BuildDiagsSite();
    const DeviceMapView map = BuildDeviceMap({MapTab::Kind::Rcc, 1}, model::Nodes, kShowAllOnly);
    ASSERT_EQ(map.places.size(), 32u);
    EXPECT_EQ(map.places[1].tooltip, "Status for Loop 2.17");
    EXPECT_FALSE(map.places[2].occupied);
    EXPECT_EQ(map.places[31].number, "RCC");
    EXPECT_EQ(map.places[31].tooltip, "Status for Loop 1.10");
}

TEST(DeviceMap, StatusLineNamesPositionOwnerTypeAndStatus)
{
    BuildDiagsSite();
    model::Nodes[1].SetDeviceStatusString(2, "SSG BG");
    const std::string device = " Loop 2 Address 17,  RCC 1 Device 2, Optical Smoke Combo, Good Signal, High Background";
    EXPECT_EQ(SlotStatusLine({MapTab::Kind::Loop, 2}, 17, model::Nodes, kShowAllOnly), device);
    EXPECT_EQ(SlotStatusLine({MapTab::Kind::Rcc, 1}, 2, model::Nodes, kShowAllOnly), device);
    EXPECT_EQ(SlotStatusLine({MapTab::Kind::Loop, 1}, 1, model::Nodes, kShowAllOnly), " Loop 1 Address 1,  Radio Hub");
    EXPECT_EQ(SlotStatusLine({MapTab::Kind::Loop, 1}, 50, model::Nodes, kShowAllOnly), "");
    IsLoopInterface = true;
    EXPECT_EQ(SlotStatusLine({MapTab::Kind::Loop, 1}, 11, model::Nodes, kShowAllOnly),
              "  Address 11,  Device 1, Callpoint");
    EXPECT_EQ(BuildDeviceMap({MapTab::Kind::Loop, 1}, model::Nodes, kShowAllOnly).places[10].tooltip,
              "Status for Address 1");
}

TEST(DeviceMap, FilterBoxesSettleAndMarkTheKey)
{
    auto boxes = [](std::initializer_list<int> ticked) {
        ShowBoxes b{};
        for (int box : ticked)
            b[static_cast<std::size_t>(box)] = true;
        return b;
    };
    const struct
    {
        ShowBoxes clicked;
        int index;
        ShowBoxes settled;
    } cases[] = {
        {boxes({ShowAllBox, LowSignalBox}), LowSignalBox, boxes({LowSignalBox})},
        {boxes({ShowAllBox, FaultBox, LowSignalBox}), ShowAllBox, boxes({ShowAllBox})},
        {boxes({}), LowSignalBox, boxes({ShowAllBox})},
        {boxes({FaultBox}), LowSignalBox, boxes({FaultBox})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettleShowBoxes(c.clicked, c.index), c.settled) << c.index;

    const auto key = ColourKey(boxes({DisconnectBox, LowBattFaultBox}));
    EXPECT_EQ(key[1].caption, "Disconnect");
    EXPECT_TRUE(key[1].solid && key[7].solid && key[8].solid);
    EXPECT_FALSE(key[0].solid || key[2].solid || key[9].solid);
    EXPECT_EQ(ColourKey(boxes({DisconnectBox, FaultBox}))[1].caption, "Fault");
    EXPECT_TRUE(ColourKey(kShowAllOnly)[6].solid);
}
