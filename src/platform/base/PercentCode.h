#pragma once
// Bytes written as printable text: a byte that cannot stand as itself is
// written as "%" and two upper-case hex digits.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// `plain(byte)` says which bytes stand as themselves ("%" should not).
template <class Plain> std::string PercentEncode(std::string_view bytes, Plain plain)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (plain(b)) {
            text += c;
        } else {
            text += '%';
            text += kHex[b >> 4];
            text += kHex[b & 0x0F];
        }
    }
    return text;
}

// The byte that "%" and two hex digits (either case) at text[at] stand for;
// nothing when text[at] does not start such a run.
std::optional<char> PercentByteAt(std::string_view text, std::size_t at);

} // namespace platform
