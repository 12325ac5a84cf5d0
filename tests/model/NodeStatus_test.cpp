#include "model/clsNode.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace model;

namespace {

// Positions (1-based) that are "T" in a flag string.
std::string SetPositions(const std::string& flags)
{
    std::string out;
    for (std::size_t k = 0; k < flags.size(); ++k) {
        if (flags[k] == 'T') {
            out += (out.empty() ? "" : ",") + std::to_string(k + 1);
        } else {
            EXPECT_EQ(flags[k], 'F');
        }
    }
    return out;
}

} // namespace

TEST(NodeStatus, TokensSetTheirPositions)
{
    clsNode node;
    node.SetNodeStatusString("BL2 TA SSM");
    EXPECT_EQ(SetPositions(node.NodeStatus()), "3,13,25");
    EXPECT_EQ(node.SignalState(0), 25);
    EXPECT_TRUE(node.Assigned());

    node.SetDeviceStatusString(7, "BF3 BM0 AT HF HM SM SA MF IF ASA ASP ASN SSF BG RF CF IN1 IN2");
    EXPECT_EQ(SetPositions(node.DeviceStatus(7)), "8,9,14,15,16,17,18,19,20,21,22,23,28,29,30,31,33,34");
    EXPECT_TRUE(node.AlarmState(7) && node.PreAlarm(7));
    EXPECT_EQ(node.InputState(7), 3);
    EXPECT_EQ(node.FaultStatus(7), 1 + 2 + 4 + 8 + 16 + 32 + 64);
    EXPECT_EQ(node.TamperState(7), 14);
    EXPECT_EQ(node.BatteryState(7), 128 + 256);
    EXPECT_EQ(node.SignalState(7), 28 + 5900);
    EXPECT_EQ(SetPositions(node.NodeStatus()), "3,13,25"); // each index keeps its own flags
}

TEST(NodeStatus, MalformedAndUnknownTokensAreIgnoredAndUCFAloneLeavesASlotUnassigned)
{
    clsNode node;
    node.SetDeviceStatusString(1, "BL7 IN0 IN3 bl1 ta AS ASX SS SSZ XX B  UCF");
    EXPECT_EQ(SetPositions(node.DeviceStatus(1)), "32");
    EXPECT_EQ(node.FaultStatus(1), 128);
    EXPECT_FALSE(node.DeviceAssigned(1));
    node.SetDeviceStatusString(2, "BL BLX IN2 UC");
    EXPECT_EQ(SetPositions(node.DeviceStatus(2)), "1,32,34");
    EXPECT_EQ(node.InputState(2), 2);
    EXPECT_TRUE(node.DeviceAssigned(2));
    node.SetDeviceStatusString(2, "UCF"); // the decoder never clears the assigned flag
    EXPECT_TRUE(node.DeviceAssigned(2));
}

TEST(NodeStatus, SignalNeedsExactlyOneLevel)
{
    clsNode node;
    for (const auto& [text, signal] : {std::pair{"SSG SSL", 0}, {"BG RF", 5900}, {"SSG BG", 2924}}) {
        node.SetNodeStatusString("");
        node.SetNodeStatusString(text);
        EXPECT_EQ(node.SignalState(0), signal) << text;
    }
    EXPECT_EQ(node.SignalState(40), 32);
}

TEST(NodeStatus, FlagsGatherUntilTheTextIsEmptied)
{
    clsNode node;
    node.SetDeviceStatusString(9, "HF");
    node.SetDeviceStatusString(9, "TA");
    EXPECT_EQ(SetPositions(node.DeviceStatus(9)), "13,15");
    node.SetDeviceStatusString(9, "");
    EXPECT_EQ(SetPositions(node.DeviceStatus(9)), "");

    node.SetDeviceStatusString(9, "ASA");
    node.SetNodeStatusString("MF");
    node.ClearStatus();
    EXPECT_EQ(SetPositions(node.DeviceStatus(9)), "");
    EXPECT_EQ(node.DeviceStatusString(9), "ASA");
    node.UpdateAllStatus();
    EXPECT_TRUE(node.AlarmState(9));
    EXPECT_EQ(node.FaultStatus(0), 16);
}

TEST(NodeStatus, IndicesOutsideTheSlotsAreRefusedAndSlotZeroIsSetApart)
{
    clsNode node;
    node.SetNodeStatusString("MF");
    node.SetDeviceStatusString(0, "ASA"); // slot 0 is the node's own text, set apart
    EXPECT_EQ(node.NodeStatusString(), "MF");
    EXPECT_THROW(node.AlarmState(-1), std::out_of_range);
    node.UpdateSingleStatus(-1);
    node.UpdateSingleStatus(32);
    node.SetGotDeviceLiveStatus(5, true);
    node.SetGotDeviceLiveStatus(0, true);
    node.ClearLiveStatusFlags();
    EXPECT_FALSE(node.GotDeviceLiveStatus(5));
    EXPECT_TRUE(node.GotDeviceLiveStatus(0));
}
