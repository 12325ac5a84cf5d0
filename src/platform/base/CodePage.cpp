#include "platform/base/CodePage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace platform {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ByteForCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

// The number of bytes below 0x80 from i on: they stand for themselves in
// both encodings.
std::size_t AsciiRun(std::string_view text, std::size_t i)
{
    std::size_t end = i;
    // Eight bytes at a time while none has its top bit set.
    for (uint64_t word = 0; end + 8 <= text.size(); end += 8) {
        std::memcpy(&word, text.data() + end, 8);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
    }
    while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80)
        ++end;
    return end - i;
}

// Reads one UTF-8 character at i: its code point and length. False for a
// malformed sequence (length 1 then).
bool NextCodePoint(std::string_view text, std::size_t i, char32_t& cp, std::size_t& len)
{
    const auto b = static_cast<unsigned char>(text[i]);
    len = 1;
    if (b < 0x80) {
        cp = b;
        return true;
    }
    std::size_t n = 0;
    if ((b & 0xE0) == 0xC0) {
        n = 2;
        cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3;
        cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4;
        cp = b & 0x07;
    } else {
        return false;
    }
    if (i + n > text.size())
        return false;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    len = n;
    return true;
}

// How much of the start of the UTF-8 text is made of characters that take
// accepts (told each one's code point and length in bytes): up to the first
// it refuses or the first malformed sequence. ASCII is taken without asking.
template <class Take> std::size_t CodePointsTaken(std::string_view text, Take take)
{
    std::size_t i = 0;
    while (i < text.size()) {
        i += AsciiRun(text, i);
        if (i == text.size())
            break;
        char32_t cp = 0;
        std::size_t len = 1;
        if (!NextCodePoint(text, i, cp, len) || !take(cp, len))
            return i;
        i += len;
    }
    return i;
}

} // namespace

std::string Win1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    AppendAsUtf8(out, bytes);
    return out;
}

void AppendAsUtf8(std::string& out, std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t run = AsciiRun(bytes, i);
        out.append(bytes.substr(i, run));
        i += run;
        if (i == bytes.size())
            break;
        const auto b = static_cast<unsigned char>(bytes[i++]);
        if (b < 0xA0)
            AppendUtf8(out, kHigh[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
}

bool AppendAsWin1252(std::string& out, std::string_view text)
{
    bool exact = true;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t run = AsciiRun(text, i);
        out.append(text.substr(i, run));
        i += run;
        if (i == text.size())
            break;
        char32_t cp = 0;
        std::size_t len = 1;
        const char b = NextCodePoint(text, i, cp, len) ? ByteForCodePoint(cp) : '?';
        exact = exact && b != '?';
        out += b;
        i += len;
    }
    return exact;
}

std::string Utf8ToWin1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendAsWin1252(out, text);
    return out;
}

bool IsWin1252Representable(std::string_view utf8)
{
    return CodePointsTaken(utf8, [](char32_t cp, std::size_t) { return ByteForCodePoint(cp) != '?'; }) ==
           utf8.size();
}

std::size_t WellFormedUtf8Length(std::string_view text)
{
    // The smallest code point each length may carry.
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    return CodePointsTaken(text, [](char32_t cp, std::size_t len) {
        return cp >= kShortest[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    });
}

} // namespace platform
