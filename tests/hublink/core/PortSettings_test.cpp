// The serial control's settings text.
#include "hublink/core/PortSettings.h"
#include "model/Settings.h"

#include <gtest/gtest.h>

using hublink::PortSettingsText;

TEST(PortSettingsText, JoinsSpeedParityDataAndStopBitsAndLeavesOutPiecesOutOfRange)
{
    ResetSettings();
    EXPECT_EQ(PortSettingsText(), "19200,N,8,1");
    EXPECT_EQ(PortSettingsText(0, 1, 7, 2), "1200,E,7,2");
    EXPECT_EQ(PortSettingsText(7, 2, 8, 1), "115200,O,8,1");
    EXPECT_EQ(PortSettingsText(8, 3, 8, 1), "8,1");
    EXPECT_EQ(PortSettingsText(-1, -1, 8, 1), "8,1");
}
