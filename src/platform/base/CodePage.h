#pragma once
// The program's text files are stored in the Windows-1252 code page; the
// program works in UTF-8. Conversion happens only at the file boundary.
#include <string>
#include <string_view>

namespace platform {

// Every byte has a meaning: the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// value, so any file read and written again is unchanged byte for byte.
std::string Win1252ToUtf8(std::string_view bytes);
// Appends the code-page bytes to out in UTF-8, as Win1252ToUtf8 converts them.
void AppendAsUtf8(std::string& out, std::string_view bytes);

// Characters that the code page cannot hold become "?". Malformed UTF-8
// sequences become "?" as well.
std::string Utf8ToWin1252(std::string_view text);

// Appends the text in the code page to out, as Utf8ToWin1252 converts it.
// False when a character was turned into "?".
bool AppendAsWin1252(std::string& out, std::string_view text);

// True when every character of the UTF-8 text has a byte in the code page, so
// that the text is stored as it stands; false for any other character and for
// malformed UTF-8. Text fields and paths that end up in a site file or
// settings.ini are checked with it before they are kept.
bool IsWin1252Representable(std::string_view utf8);

// The length of the longest start of text that is well-formed UTF-8 (no
// overlong form, no surrogate, nothing past U+10FFFF): the part of a file
// name that the toolkit's text carries as it stands.
std::size_t WellFormedUtf8Length(std::string_view text);

} // namespace platform
