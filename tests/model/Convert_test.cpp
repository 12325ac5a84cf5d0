#include "model/Convert.h"
#include "model/General.h"

#include <gtest/gtest.h>

using namespace model;

TEST(Convert, HexParsingCountsForeignCharactersAsZero)
{
    const std::pair<const char*, int> bytes[] = {{"ff", 255}, {"F", 15}, {"G7", 7}, {"", 0}, {"123", 0}};
    for (const auto& [text, value] : bytes)
        EXPECT_EQ(HexToByte(text), value) << text;
    // Missing low digits count as 0.
    const std::pair<const char*, int> words[] = {
        {"1A2B", 6699}, {"FFFFF", 65535}, {"1a2b", 6699}, {"AB", 0xAB00}, {"", 0}};
    for (const auto& [text, value] : words)
        EXPECT_EQ(HexToWord(text), value) << text;

    std::string digit = "c";
    EXPECT_EQ(HexDigitValue(digit), 12);
    std::string text = "12g4";
    EXPECT_FALSE(IsHexString(text));
    EXPECT_EQ(text, "12G4"); // the caller's text is upper-cased
    text.clear();
    EXPECT_TRUE(IsHexString(text));
}

TEST(Convert, PathsSplitAtEitherSeparatorAndExtensionsAreInTheFileName)
{
    EXPECT_EQ(FileNameFromPath("C:\\Sites\\Plant.qvs"), "Plant.qvs");
    EXPECT_EQ(FileNameFromPath("/home/eng/sites/Plant.qvs"), "Plant.qvs");
    EXPECT_EQ(FileExtension("/out/backup.tar.gz"), "tar.gz");
    EXPECT_EQ(FileExtension("C:\\v1.2\\README"), ""); // a dot in a folder name is no extension
}

TEST(Convert, PaddingChangesTheArgumentAndNeverCuts)
{
    std::string version = "7";
    EXPECT_EQ(PadWithLeadingZeros(version, 3), "007");
    EXPECT_EQ(version, "007");

    struct Row
    {
        std::string text;
        int width, side;
        const char* padded;
    } rows[] = {
        {"ab", 5, 1, "ab   "}, {"ab", 5, 2, "   ab"}, {"ab", 5, 0, "  ab "}, {"abcdef", 3, 1, "abcdef"}};
    for (Row& row : rows) {
        EXPECT_EQ(PadString(row.text, row.width, row.side), row.padded) << row.width << row.side;
        EXPECT_EQ(row.text, row.padded);
    }
}

TEST(Convert, WholeNumbersBeyondIntAreRefusedNeverWrapped)
{
    // The downloaded configuration, the status lines of the assignment and
    // the diagnostics' update replies read their numbers here.
    EXPECT_EQ(WholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(WholeNumber("-12"), -12);
    for (const char* text : {"99999999999999999999", "4294967297", "2147483648", "-2147483649", "", "-", "+1", "1a", " 1"})
        EXPECT_EQ(WholeNumber(text), std::nullopt) << text;
}
