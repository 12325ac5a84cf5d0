#include "diagnostics/core/ReplyFields.h"

#include "platform/base/Rounding.h"

#include <cstdint>

namespace diagnostics {

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = line.find(' ', start);
        if (blank == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
}

std::optional<int> ParseDecimal(std::string_view field)
{
    std::size_t i = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (!field.empty() && (field[0] == '-' || field[0] == '+'))
        i = 1;
    double value = 0;
    bool digits = false;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
        digits = true;
        if (value > 1e6)
            return std::nullopt;
    }
    if (i < field.size() && field[i] == '.') {
        double scale = 0.1;
        for (++i; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i, scale /= 10) {
            value += (field[i] - '0') * scale;
            digits = true;
        }
    }
    if (!digits || i != field.size())
        return std::nullopt;
    const int64_t rounded = platform::RoundHalfEven(negative ? -value : value);
    if (rounded < INT16_MIN || rounded > INT16_MAX)
        return std::nullopt;
    return static_cast<int>(rounded);
}

bool ParseFourNumbers(const std::vector<std::string_view>& fields, std::size_t first, std::array<int, 4>& values)
{
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto value = first + k < fields.size() ? ParseDecimal(fields[first + k]) : std::nullopt;
        if (!value)
            return false;
        values[k] = *value;
    }
    return true;
}

std::optional<int> ParseLoopField(std::string_view field)
{
    if (field.substr(0, 4) != "LOOP")
        return std::nullopt;
    return ParseDecimal(field.substr(4));
}

} // namespace diagnostics
