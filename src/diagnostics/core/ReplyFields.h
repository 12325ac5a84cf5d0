#pragma once
// Reading the fields of a diagnostics reply line: the unit separates its
// fields by single blanks, so two blanks in a row make an empty field.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace diagnostics {

// The line split at every blank; "" gives one empty field.
std::vector<std::string_view> SplitFields(std::string_view line);

// A whole field read as a decimal number (optional sign, digits, optional
// fraction), rounded to the nearest whole number, a half to the even one.
// Nothing for an empty field, any other character, or a value outside
// -32768..32767.
std::optional<int> ParseDecimal(std::string_view field);

// Fields first..first+3 read with ParseDecimal; False when one is not a number.
bool ParseFourNumbers(const std::vector<std::string_view>& fields, std::size_t first, std::array<int, 4>& values);

// The unit's loop from a field "LOOP<n>": the number after "LOOP". Nothing
// when the field does not begin "LOOP" or the rest is not a number.
std::optional<int> ParseLoopField(std::string_view field);

// Hands every collected line at 1..count of lines (index 0 is not read) to
// apply, which tells whether it used the line; returns how many it used.
template <typename Apply> int ApplyReplyLines(const std::vector<std::string>& lines, int count, Apply apply)
{
    int used = 0;
    const int last = std::min(count, static_cast<int>(lines.size()) - 1);
    for (int k = 1; k <= last; ++k)
        used += apply(std::string_view(lines[static_cast<std::size_t>(k)])) ? 1 : 0;
    return used;
}

} // namespace diagnostics
