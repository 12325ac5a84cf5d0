#include "diagnostics/core/StatusTexts.h"

#include "DiagsSite.h"

#include <gtest/gtest.h>

using namespace diagnostics;

namespace {

ShowBoxes Only(ShowBox box)
{
    ShowBoxes boxes{};
    boxes[box] = true;
    return boxes;
}

} // namespace

TEST(StatusTexts, EachClassHasItsTextColoursAndFilterBox)
{
    constexpr uint32_t kNone = 0xDEAD;
    const struct
    {
        const char* tokens;
        const char* text;
        uint32_t fill;
        uint32_t number;
        uint32_t outline;
        unsigned boxes; // the class boxes that show it, as bits 1 << box
    } cases[] = {
        {"", "", kNone, kNone, kNone, 0u},
        {"UCF", ", Fault", 0x11FFFF, kNone, kNone, 1u << FaultBox},
        {"ASA BL0", ", FIRE", 0x1111CF, 0xFFFFFF, kNone, 1u << FireAlarmBox},
        {"ASP", ", PRE-ALARM", 0x1111CF, 0xFFFFFF, kNone, 1u << PreAlarmBox},
        {"TA SSG", ", TAMPER", 0x11FFFF, kNone, kNone, 1u << FaultBox},
        {"BL1", ", Low Battery 2", 0xFF8080, 0xFFFFFF, kNone, 1u << LowBattFaultBox},
        {"SSF", ", Signal Fault", 0x1180FF, kNone, kNone, 1u << FaultBox},
        {"SSP", ", Signal Caution", 0x11C0F0, kNone, kNone, 1u << CautionSignalBox},
        {"SSL", ", Low Signal", 0x11809F, kNone, kNone, 1u << LowSignalBox},
        {"SSM", ", Medium Signal", 0x11A000, 0xFFFFFF, kNone, 1u << MediumSignalBox},
        {"SSG RF", ", Good Signal, Radio Fault", 0x1180FF, 0xFFFFFF, 0x00FFFF, 1u << FaultBox | 1u << DisconnectBox},
        {"SSL BG RF", ", Low Signal, High Background, Radio Fault", 0x11809F, kNone, 0x00FFFF, 1u << LowSignalBox},
    };
    for (const auto& c : cases) {
        model::clsNode node;
        node.SetDeviceType(5, 2);
        node.SetDeviceStatusString(5, c.tokens);
        const StatusLook look = DescribeDeviceStatus(node, 5);
        EXPECT_EQ(look.text, c.text) << c.tokens;
        EXPECT_EQ(look.fill.value_or(kNone), c.fill) << c.tokens;
        EXPECT_EQ(look.numberColour.value_or(kNone), c.number) << c.tokens;
        EXPECT_EQ(look.outline.value_or(kNone), c.outline) << c.tokens;
        EXPECT_TRUE(look.shown) << c.tokens;
        for (int box = 1; box < kShowBoxCount; ++box)
            EXPECT_EQ(DescribeDeviceStatus(node, 5, Only(static_cast<ShowBox>(box))).shown, ((c.boxes >> box) & 1u) != 0)
                << c.tokens << " box " << box;
    }
}

TEST(StatusTexts, TheStatusReplyReachesTheUnitsThroughTheLoopMap)
{
    BuildDiagsSite();
    SimulatedUnit unit;
    ConfigureUnit(unit);
    unit.SetStatus("20011", "SSG BG");
    unit.SetStatus("0000A", "ASA");
    const std::vector<std::string> lines = UnitList(unit, kGetAllStatusCommand);
    model::Nodes[2].SetDeviceStatusString(1, "ASA"); // from an earlier reading

    EXPECT_EQ(ClearAllDeviceStatus(model::Nodes), 6); // 3 nodes, 3 devices
    EXPECT_EQ(ApplyDeviceStatusReply(lines, static_cast<int>(lines.size()) - 1, model::Nodes), 5);
    EXPECT_EQ(model::Nodes[1].DeviceStatusString(2), "SSG BG");
    EXPECT_TRUE(model::Nodes[1].AlarmState(0));
    EXPECT_FALSE(model::Nodes[2].AlarmState(1)); // the earlier reading is gone

    // Lines that name no unit of the site, or carry no status, change nothing.
    for (const char* line : {"DS LOOP0 11 ASA", "DS LOOP1 0 ASA", "DS LOOP7 11 ASA", "DS LOOP1 400 ASA",
                             "DS LOOP1 99 ASA", "DS LOOP1 11", "DS LOOPX 11 ASA", "GET DS ALL", "SS LOOP1 11 ASA", ""})
        EXPECT_FALSE(ApplyDeviceStatusLine(line, model::Nodes)) << line;
    EXPECT_FALSE(model::Nodes[1].AlarmState(1));
    EXPECT_TRUE(ApplyDeviceStatusLine("DS LOOP2 18 ASA  IN1", model::Nodes)); // the combination head's second address
    EXPECT_EQ(model::Nodes[1].DeviceStatusString(2), "ASA  IN1");
}

TEST(StatusTexts, SingleUnitRequestTakesOnlyItsOwnAnswer)
{
    EXPECT_EQ(DeviceStatusAtCommand(2, 7), "GET DS LOOP2 7");
    EXPECT_EQ(DeviceStatusAtText(2, 7, "DS LOOP2 7 SSG BG"), "SSG BG");
    EXPECT_EQ(DeviceStatusAtText(2, 7, "DS LOOP2 71 SSG"), "");
}
