#include "model/DeviceTypes.h"

#include <gtest/gtest.h>

using namespace model;

TEST(DeviceTypes, NamesCoverExactlyTheTypeCodes)
{
    EXPECT_EQ(DeviceTypeName(0), "No Device");
    EXPECT_EQ(DeviceTypeName(1), "");
    EXPECT_EQ(DeviceTypeName(21), "");
    EXPECT_EQ(DeviceTypeName(-1), "");
    EXPECT_EQ(DeviceTypeName(2), "Callpoint");
    EXPECT_EQ(DeviceTypeName(10), "Optical Smoke Combo");
    EXPECT_EQ(DeviceTypeName(17), "Heat CS Combo/Beacon");
    EXPECT_EQ(DeviceTypeName(20), "ZM I/O Unit");

    EXPECT_EQ(DeviceTypeShortName(0), "");
    EXPECT_EQ(DeviceTypeShortName(7), "SnderBcn");
    EXPECT_EQ(DeviceTypeShortName(14), "CmbBcn");
    EXPECT_EQ(DeviceTypeShortName(20), "ZM I/O Unit");
    EXPECT_EQ(DeviceTypeShortName(21), "");
}

TEST(DeviceTypes, WireWordsShareTheirPlainTwinsWord)
{
    EXPECT_EQ(DeviceTypeWord(6), "SOUNDER");
    EXPECT_EQ(DeviceTypeWord(7), "SOUNDER");
    EXPECT_EQ(DeviceTypeWord(5), "HIGHHEAT");
    EXPECT_EQ(DeviceTypeWord(15), "COMBOOPTICAL");
    EXPECT_EQ(DeviceTypeWord(19), "COMBOMULTISENSOR");
    EXPECT_EQ(DeviceTypeWord(20), "ZMIO");
    EXPECT_EQ(DeviceTypeWord(13), "");
    EXPECT_EQ(DeviceTypeWord(14), "");
    EXPECT_EQ(DeviceTypeWord(0), "");
    EXPECT_EQ(StringTableText(kStrNodeWord), "NODE");
    EXPECT_EQ(StringTableText(kStrComboBeaconCaption), "Cmbo/Bcon");
    EXPECT_EQ(StringTableText(kStrSounderBeaconCaption), "Sndr/Bcon");
    EXPECT_EQ(StringTableText(100), "");
    EXPECT_EQ(StringTableText(163), "");
}

TEST(DeviceTypes, EveryTypeReadsBackFromItsLongName)
{
    for (DeviceTypeCode code = 2; code <= 20; ++code) {
        EXPECT_EQ(DeviceTypeFromName(DeviceTypeName(code)), code) << DeviceTypeName(code);
    }
}

TEST(DeviceTypes, ReverseLookupTakesTheLowestId)
{
    EXPECT_EQ(DeviceTypeFromName("SOUNDER"), 6);
    EXPECT_EQ(DeviceTypeFromName("COMBOOPTICAL"), 10);
    EXPECT_EQ(DeviceTypeFromName("COMBOMULTISENSOR"), 18);
    EXPECT_EQ(DeviceTypeFromName("ZMIO"), 20);
    EXPECT_EQ(DeviceTypeFromName("COMBO"), 13);
    EXPECT_EQ(DeviceTypeFromName("Combo"), 13);
    EXPECT_EQ(DeviceTypeFromName("callpoint"), -1);
    EXPECT_EQ(DeviceTypeFromName("NODE"), -1);
    EXPECT_EQ(DeviceTypeFromName("Multi"), -1);
    EXPECT_EQ(DeviceTypeFromName("Optical"), -1);
    EXPECT_EQ(DeviceTypeFromName("Radio Hub"), -1);
    EXPECT_EQ(DeviceTypeFromName(""), -1);
}

TEST(DeviceTypes, PlainCombinationBasesAreNotHeads)
{
    EXPECT_FALSE(IsComboHeadType(13));
    EXPECT_FALSE(IsComboHeadType(14));
    EXPECT_FALSE(IsComboHeadType(9));
    EXPECT_FALSE(IsComboHeadType(20));
    EXPECT_TRUE(IsComboHeadType(10));
    EXPECT_TRUE(IsComboHeadType(12));
    EXPECT_TRUE(IsComboHeadType(15));
    EXPECT_TRUE(IsComboHeadType(19));
}
