#pragma once
// Hexadecimal and padding helpers shared by the node record, the channel plan,
// the exports and the windows. Several of them change their text argument in
// place (upper-casing or padding it); that change is part of what they do.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

// Upper-cases digit in place and returns the value of its first character:
// "0".."9" give 0..9, "A".."F" give 10..15, anything else (and an empty text) 0.
int16_t HexDigitValue(std::string& digit);

// One character: its digit value; two characters: 16 x first + second;
// empty or longer texts give 0. Non-hexadecimal characters count as 0.
int16_t HexToByte(const std::string& text);

// The first four characters as hexadecimal digits, most significant first;
// characters after the fourth are ignored, missing or non-hexadecimal ones
// count as 0. Result 0..65535.
int32_t HexToWord(const std::string& text);

// Upper-cases text in place (whatever the result), then tells whether every
// character is 0-9 or A-F. The empty text is a hex string.
bool IsHexString(std::string& text);

// Puts "0" in front of text until it is width characters long; pads the
// argument in place and returns it. A longer text is never cut.
std::string PadWithLeadingZeros(std::string& text, int16_t width);

// Pads text with blanks to width, in place, and returns it: mode 1 appends the
// blanks (text left), mode 2 puts them in front (text right), mode 0 centres
// it, an odd blank going in front. A longer text, or any other mode, leaves
// the text unchanged.
std::string PadString(std::string& text, int16_t width, int mode);

// A whole decimal number as the units write it: an optional minus and
// digits, nothing else. Nothing for any other text and for a number beyond
// the range of int, so a huge number never wraps into a valid one.
std::optional<int> WholeNumber(std::string_view text);

// The text with a to z upper-cased; every other byte, and so every UTF-8
// character beyond ASCII, is kept whatever the locale.
std::string Upper(std::string text);

} // namespace model
