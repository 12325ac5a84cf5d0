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
    EXPECT_EQ(DeviceTypeWord(7), "SOUNDER");
    EXPECT_EQ(DeviceTypeWord(13), "");
    EXPECT_EQ(StringTableText(100) + StringTableText(163), "");
    for (DeviceTypeCode code = 2; code <= 20; ++code)
        EXPECT_EQ(DeviceTypeFromName(DeviceTypeName(code)), code) << DeviceTypeName(code);
    const std::pair<const char*, int> words[] = {{"SOUNDER", 6}, {"Combo", 13}, {"Optical", -1}, {"", -1}};
    for (const auto& [word, code] : words)
        EXPECT_EQ(DeviceTypeFromName(word), code) << word;
    // Plain combination bases are not heads.
    for (const auto& [type, head] : {std::pair{13, false}, {14, false}, {20, false}, {10, true}, {19, true}})
        EXPECT_EQ(IsComboHeadType(type), head) << type;
}
