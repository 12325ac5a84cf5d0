#pragma once
// Text tests of the link: exact, case-sensitive unless upper-cased first
// (model::Upper).
#include <string>
#include <string_view>

namespace hublink::linktext {

inline bool BeginsWith(std::string_view line, std::string_view text)
{
    return line.substr(0, text.size()) == text;
}

inline bool Contains(std::string_view line, std::string_view text)
{
    return line.find(text) != std::string_view::npos;
}

// The last n characters (all of a shorter text).
inline std::string Right(const std::string& text, size_t n)
{
    return text.size() <= n ? text : text.substr(text.size() - n);
}

// Up to n characters from position at (0-based); empty past the end.
inline std::string Mid(const std::string& text, size_t at, size_t n)
{
    return at >= text.size() ? std::string() : text.substr(at, n);
}

} // namespace hublink::linktext
