#include "platform/base/CodePage.h"

#include <gtest/gtest.h>

using platform::Utf8ToWin1252;
using platform::Win1252ToUtf8;

TEST(CodePage, EveryByteRoundTripsAndTheHighBytesMapToTheirCharacters)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToWin1252(Win1252ToUtf8(all)), all);
    // 0x80..0x9F, the bytes where the code page is not Latin-1; the five it
    // leaves undefined stand for the control characters of their number.
    EXPECT_EQ(Win1252ToUtf8(all.substr(0x7F, 32)),
              "\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152"
              "\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC"
              "\u2122\u0161\u203A\u0153\u009D\u017E\u0178");
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToWin1252("\xE4\xB8\xAD"), "?");     // CJK character
    EXPECT_EQ(Utf8ToWin1252("a\xC3"), "a?");           // cut sequence
    EXPECT_EQ(Utf8ToWin1252("\xF0\x9F\x94\xA5"), "?"); // outside the BMP
}

TEST(CodePage, OnlyTextTheCodePageHoldsIsRepresentable)
{
    for (const char* text : {"", "Site 7", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93", "\xC2\x81\xC3\xBF"})
        EXPECT_TRUE(platform::IsWin1252Representable(text)) << text;
    for (const char* text : {"\xCE\xA9", "ok \xE4\xB8\xAD", "\xF0\x9F\x94\xA5", "a\xC3", "\xFF", "?\xE2\x82"})
        EXPECT_FALSE(platform::IsWin1252Representable(text)) << text;
}
