#include "model/Convert.h"
#include "model/General.h"

#include <gtest/gtest.h>

using namespace model;

TEST(Convert, HexParsingCountsForeignCharactersAsZero)
{
    EXPECT_EQ(HexToByte("ff"), 255);
    EXPECT_EQ(HexToByte("F"), 15);
    EXPECT_EQ(HexToByte("G7"), 7);
    EXPECT_EQ(HexToByte(""), 0);
    EXPECT_EQ(HexToByte("123"), 0);

    EXPECT_EQ(HexToWord("1A2B"), 6699);
    EXPECT_EQ(HexToWord("FFFFF"), 65535);
    EXPECT_EQ(HexToWord("1a2b"), 6699);
    EXPECT_EQ(HexToWord("AB"), 0xAB00); // missing low digits count as 0
    EXPECT_EQ(HexToWord(""), 0);

    std::string digit = "c";
    EXPECT_EQ(HexDigitValue(digit), 12);
    EXPECT_EQ(digit, "C");
    std::string empty;
    EXPECT_EQ(HexDigitValue(empty), 0);
}

TEST(Convert, IsHexStringUpperCasesTheCallersText)
{
    std::string text = "0a1f";
    EXPECT_TRUE(IsHexString(text));
    EXPECT_EQ(text, "0A1F");

    text = "12g4";
    EXPECT_FALSE(IsHexString(text));
    EXPECT_EQ(text, "12G4");

    text.clear();
    EXPECT_TRUE(IsHexString(text));
}

TEST(Convert, PaddingChangesTheArgumentAndNeverCuts)
{
    std::string version = "7";
    EXPECT_EQ(PadWithLeadingZeros(version, 3), "007");
    EXPECT_EQ(version, "007");
    std::string longer = "1234";
    EXPECT_EQ(PadWithLeadingZeros(longer, 3), "1234");

    std::string left = "ab", right = "ab", centre = "ab", even = "ab";
    EXPECT_EQ(PadString(left, 5, 1), "ab   ");
    EXPECT_EQ(PadString(right, 5, 2), "   ab");
    EXPECT_EQ(PadString(centre, 5, 0), "  ab ");
    EXPECT_EQ(PadString(even, 6, 0), "  ab  ");
    EXPECT_EQ(centre, "  ab ");
    std::string full = "abcdef";
    EXPECT_EQ(PadString(full, 3, 1), "abcdef");
}

TEST(General, PathsSplitAtEitherSeparator)
{
    EXPECT_EQ(FileNameFromPath("C:\\Sites\\Plant.qvs"), "Plant.qvs");
    EXPECT_EQ(FileNameFromPath("/home/eng/sites/Plant.qvs"), "Plant.qvs");
    EXPECT_EQ(FileNameFromPath("Plant.qvs"), "Plant.qvs");
    EXPECT_EQ(FileNameFromPath("\"C:\\Sites\\Plant.qvs\""), "\"Plant.qvs\"");
    EXPECT_EQ(FileNameFromPath("\"Plant.qvs\""), "\"Plant.qvs\"");

    EXPECT_EQ(FileExtension("C:\\Out\\report.csv"), "csv");
    EXPECT_EQ(FileExtension("/out/backup.tar.gz"), "tar.gz");
    EXPECT_EQ(FileExtension("/out/.hidden"), "");
    EXPECT_EQ(FileExtension("C:\\Out\\README"), "");
    EXPECT_EQ(FileExtension("C:\\v1.2\\README"), "");
}
