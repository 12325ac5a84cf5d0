#pragma once
// Byte scans shared by the INI reader and writer, eight bytes at a time.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace model::ini_bytes {

// The bytes of word equal to byte: the lowest set bit (0x80 of a byte)
// marks the first such byte exactly; bits above it may be false.
inline uint64_t BytesEqual(uint64_t word, unsigned char byte)
{
    const uint64_t x = word ^ (0x0101010101010101ULL * byte);
    return (x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL;
}

// Whether text holds a CR or LF, or (withHigh) a byte above 0x7F.
inline bool HasAny(std::string_view text, bool withHigh)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    const uint64_t highMask = withHigh ? 0x8080808080808080ULL : 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, data + i, 8);
        if (((word & highMask) | BytesEqual(word, '\r') | BytesEqual(word, '\n')) != 0)
            return true;
    }
    for (; i < size; ++i)
        if ((withHigh && (data[i] & 0x80) != 0) || data[i] == '\r' || data[i] == '\n')
            return true;
    return false;
}

// A text written as it stands: no CR, no LF, nothing above 0x7F.
inline bool Plain(std::string_view text)
{
    return !HasAny(text, true);
}

} // namespace model::ini_bytes
