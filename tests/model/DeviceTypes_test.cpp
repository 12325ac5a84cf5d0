#include "model/DeviceTypes.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

void ExpectTexts(std::string (*text)(int), const Texts& rows)
{
    for (const auto& [code, expected] : rows)
        EXPECT_EQ(text(code), expected) << code;
}

} // namespace

TEST(DeviceTypes, TextsEndAtTheTableAndTwinsShareTheirWord)
{
    // Codes outside 2..20 have no name; a twin with a beacon shares its plain
    // type's word; plain combination bases have none.
    ExpectTexts(DeviceTypeName, {{0, "No Device"}, {1, ""}, {21, ""}, {-1, ""}, {20, "ZM I/O Unit"}});
    ExpectTexts(DeviceTypeShortName, {{0, ""}, {7, "SnderBcn"}, {21, ""}});
    ExpectTexts(DeviceTypeWord, {{6, "SOUNDER"}, {7, "SOUNDER"}, {13, ""}, {14, ""}, {0, ""}});
    ExpectTexts(StringTableText, {{kStrComboBeaconCaption, "Cmbo/Bcon"}, {100, ""}, {163, ""}});
}

TEST(DeviceTypes, ReverseLookupTakesTheLowestIdAndEveryLongNameReadsBack)
{
    for (DeviceTypeCode code = 2; code <= 20; ++code)
        EXPECT_EQ(DeviceTypeFromName(DeviceTypeName(code)), code) << DeviceTypeName(code);
    const std::pair<const char*, int> words[] = {
        {"SOUNDER", 6}, {"COMBOOPTICAL", 10}, {"COMBOMULTISENSOR", 18}, {"ZMIO", 20},
        {"COMBO", 13},  {"Combo", 13},        {"callpoint", -1},        {"NODE", -1},
        {"Multi", -1},  {"Optical", -1},      {"Radio Hub", -1},        {"", -1}};
    for (const auto& [word, code] : words)
        EXPECT_EQ(DeviceTypeFromName(word), code) << word;
}

TEST(DeviceTypes, PlainCombinationBasesAreNotHeads)
{
    for (int type : {13, 14, 9, 20})
        EXPECT_FALSE(IsComboHeadType(type)) << type;
    for (int type : {10, 12, 15, 19})
        EXPECT_TRUE(IsComboHeadType(type)) << type;
}
