#include "model/DeviceTypes.h"

#include <gtest/gtest.h>

using namespace model;

TEST(DeviceTypes, NamesEndAtTheTableAndReadBackToTheLowestCode)
{
    // Codes outside 2..20 have no name; a twin with a beacon shares its plain
    // type's word; plain combination bases have none.
    for (int code : {-1, 1, 21})
        EXPECT_EQ(DeviceTypeName(code) + DeviceTypeShortName(code) + DeviceTypeWord(code), "") << code;
    EXPECT_EQ(DeviceTypeName(0), "No Device");
    EXPECT_EQ(DeviceTypeName(20), "ZM I/O Unit");
    EXPECT_EQ(DeviceTypeWord(6), "SOUNDER");
    EXPECT_EQ(DeviceTypeWord(7), "SOUNDER");
    EXPECT_EQ(DeviceTypeWord(13), "");
    EXPECT_EQ(DeviceTypeWord(14), "");
    EXPECT_EQ(StringTableText(kStrComboBeaconCaption), "Cmbo/Bcon");
    EXPECT_EQ(StringTableText(100) + StringTableText(163), "");
    for (DeviceTypeCode code = 2; code <= 20; ++code)
        EXPECT_EQ(DeviceTypeFromName(DeviceTypeName(code)), code) << DeviceTypeName(code);
    const std::pair<const char*, int> words[] = {{"SOUNDER", 6},    {"COMBOMULTISENSOR", 18}, {"Combo", 13},
                                                 {"callpoint", -1}, {"Optical", -1},          {"", -1}};
    for (const auto& [word, code] : words)
        EXPECT_EQ(DeviceTypeFromName(word), code) << word;
    // Plain combination bases are not heads.
    for (const auto& [type, head] : {std::pair{13, false}, {14, false}, {20, false}, {10, true}, {19, true}})
        EXPECT_EQ(IsComboHeadType(type), head) << type;
}

TEST(DeviceTypes, ShortNamesAreTheDeviceWindowsAndTheChangeListsWords)
{
    const std::pair<int, const char*> names[] = {
        {2, "Callpoint"},   {3, "Optical"},  {4, "Heat (A1R)"},  {5, "Heat (CS)"},   {6, "Sounder"},
        {7, "SnderBcn"},    {8, "I/O Unit"}, {9, "Multi"},       {10, "Optical"},    {11, "Heat (A1R)"},
        {12, "Heat (CS)"},  {13, "Combo"},   {14, "CmbBcn"},     {15, "Optical"},    {16, "Heat (A1R)"},
        {17, "Heat (CS)"},  {18, "Multi"},   {19, "Multi"},      {20, "ZM I/O Unit"}, {0, ""}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(DeviceTypeShortName(code), name) << code;
}
