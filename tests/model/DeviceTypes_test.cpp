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
    const std::pair<const char*, int> words[] = {{"SOUNDER", 6},    {"COMBOMULTISENSOR", 18}, {"Combo", 13},
                                                 {"callpoint", -1}, {"Optical", -1},          {"", -1}};
    for (const auto& [word, code] : words)
        EXPECT_EQ(DeviceTypeFromName(word), code) << word;
    // Plain combination bases are not heads.
    for (const auto& [type, head] : {std::pair{13, false}, {20, false}, {10, true}, {19, true}})
        EXPECT_EQ(IsComboHeadType(type), head) << type;
}
