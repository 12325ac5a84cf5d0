#include "model/Convert.h"

#include <charconv>
#include <utility>

namespace model {
namespace {

// Value of one character, without changing it.
int16_t DigitOf(char c)
{
    const char u = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (u >= '0' && u <= '9') {
        return static_cast<int16_t>(u - '0');
    }
    if (u >= 'A' && u <= 'F') {
        return static_cast<int16_t>(u - 'A' + 10);
    }
    return 0;
}

} // namespace

std::optional<int> WholeNumber(std::string_view text)
{
    // from_chars takes a minus but no plus, and refuses what int cannot hold.
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

int16_t HexDigitValue(std::string& digit)
{
    digit = Upper(std::move(digit));
    return digit.empty() ? int16_t{0} : DigitOf(digit[0]);
}

int16_t HexToByte(const std::string& text)
{
    if (text.size() == 1) {
        return DigitOf(text[0]);
    }
    if (text.size() == 2) {
        return static_cast<int16_t>(DigitOf(text[0]) * 16 + DigitOf(text[1]));
    }
    return 0;
}

int32_t HexToWord(const std::string& text)
{
    int32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value * 16 + (i < text.size() ? DigitOf(text[i]) : 0);
    }
    return value;
}

bool IsHexString(std::string& text)
{
    text = Upper(std::move(text));
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

std::string PadWithLeadingZeros(std::string& text, int16_t width)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    }
    return text;
}

std::string PadString(std::string& text, int16_t width, int mode)
{
    if (width <= 0 || text.size() >= static_cast<std::size_t>(width)) {
        return text;
    }
    const std::size_t blanks = static_cast<std::size_t>(width) - text.size();
    switch (mode) {
    case 0:
        // Alternating from the front puts the odd blank in front.
        text = std::string((blanks + 1) / 2, ' ') + text + std::string(blanks / 2, ' ');
        break;
    case 1:
        text.append(blanks, ' ');
        break;
    case 2:
        text.insert(0, blanks, ' ');
        break;
    default:
        break;
    }
    return text;
}

std::string Upper(std::string text)
{
    // a to z only: the bytes of a UTF-8 character are never changed, whatever
    // the locale.
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

} // namespace model
