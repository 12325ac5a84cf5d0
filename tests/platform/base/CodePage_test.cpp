#include "platform/base/CodePage.h"

#include <gtest/gtest.h>

using platform::Utf8ToWin1252;
using platform::Win1252ToUtf8;

TEST(CodePage, EveryByteRoundTripsAndTheHighBytesAreTheirCharacters)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToWin1252(Win1252ToUtf8(all)), all);
    // 0x80..0x9F, where the code page is not Latin-1: the five bytes it leaves
    // undefined (0x81 among them) stand for the control character of their number.
    EXPECT_EQ(Win1252ToUtf8("\x80\x81\x8A\x9F\xA0\xFF"), "\u20AC\u0081\u0160\u0178\u00A0\u00FF");
}

TEST(CodePage, UnmappableAndMalformedBecomeQuestionMarksAndAreNotRepresentable)
{
    EXPECT_EQ(Utf8ToWin1252("\xE4\xB8\xAD"), "?");     // CJK character
    EXPECT_EQ(Utf8ToWin1252("a\xC3"), "a?");           // cut sequence
    EXPECT_EQ(Utf8ToWin1252("\xF0\x9F\x94\xA5"), "?"); // outside the BMP
    for (const char* text : {"", "Site 7", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93", "\xC2\x81\xC3\xBF"})
        EXPECT_TRUE(platform::IsWin1252Representable(text)) << text;
    for (const char* text : {"\xCE\xA9", "ok \xE4\xB8\xAD", "\xF0\x9F\x94\xA5", "a\xC3", "\xFF", "?\xE2\x82"})
        EXPECT_FALSE(platform::IsWin1252Representable(text)) << text;
}
