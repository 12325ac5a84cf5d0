#include "diagnostics/core/StatusTexts.h"

#include "DiagsSite.h"
#include "model/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace diagnostics;

namespace {

ShowBoxes Only(ShowBox box)
{
    ShowBoxes boxes{};
    boxes[box] = true;
    return boxes;
}

} // namespace

TEST(StatusTexts, EveryStatusHasItsTextColoursAndFilterBoxes)
{
    // Each line: the tokens | the text | fill, number and outline colours |
    // the class boxes (1..8) that show it.
    const char* const kTokens[] = {
        "",        "UCF",    "ASA BL0", "ASP",    "ASN",    "IN1",    "IN2",     "IN1 IN2", "TA SSG", "AT",
        "HF",      "HM",     "SM",      "SA",     "MF",     "IF",     "CF",      "UC",      "BL0",    "BL1",
        "BL2",     "BL3",    "BF0",     "BF1",    "BF2",    "BF3",    "BM0",     "BM1",     "BM2",    "BM3",
        "SSG",     "SSM",    "SSL",     "SSP",    "SSF",    "SSG SSM", "SSG BG", "SSG RF",  "SSL BG RF", "BG",
        "RF",      "HM SM",  "BL3 BF0", "SSM BG", "MF SSF"};
    auto colour = [](const std::optional<uint32_t>& c) {
        char text[8];
        std::snprintf(text, sizeof text, "%06X", c.value_or(0) & 0xFFFFFFu);
        return c ? std::string(text) : std::string("-");
    };
    std::string table;
    for (const char* tokens : kTokens) {
        model::clsNode node;
        node.SetDeviceType(5, 2);
        node.SetDeviceStatusString(5, tokens);
        const StatusLook look = DescribeDeviceStatus(node, 5);
        std::string boxes;
        for (int box = 1; box < kShowBoxCount; ++box)
            boxes += DescribeDeviceStatus(node, 5, Only(static_cast<ShowBox>(box))).shown ? 'x' : '.';
        table += std::string(tokens) + " |" + look.text + " | " + colour(look.fill) + " " + colour(look.numberColour) +
                 " " + colour(look.outline) + " | " + boxes + (look.shown ? "" : " hidden") + "\n";
    }
    EXPECT_EQ(table, testfiles::ReadBytes(testfiles::Golden("diags-status.txt")));
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
    for (const char* line : {"DS LOOP0 11 ASA", "DS LOOP1 0 ASA", "DS LOOP5 11 ASA", "DS LOOP7 11 ASA",
                             "DS LOOP1 400 ASA", "DS LOOP1 99 ASA", "DS LOOP1 11", "DS LOOPX 11 ASA",
                             "GET DS ALL", "SS LOOP1 11 ASA", ""})
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
