#pragma once
// File-name texts of the main window: the start file rebuilt from the
// command line, quote stripping of a handed-over path, and the filter that
// turns a site name into a file name, and whether a name is there.
#include <string>
#include <vector>

namespace model {

// Rebuilds a path that the command-line splitter cut at its blanks: the
// arguments are appended one by one; after each, a leading and a trailing
// double quote are dropped, and when the text now ends in "QVS" (any case)
// the path is complete. Otherwise one blank is appended and the next argument
// follows, so arguments that never end in "QVS" give all of them joined with
// blanks and one trailing blank.
std::string StartFileFromArguments(const std::vector<std::string>& arguments);

// Drops one leading double quote, then one trailing double quote.
std::string StripQuotes(std::string path);

// The characters of text, in order, that may stand in a file name: digits,
// "@" and capital letters, small letters, "_", "-", "+" and the blank.
std::string MakeValidFileName(const std::string& text);

// The text without leading and trailing blanks.
std::string TrimBlanks(const std::string& text);

// True when a file (or folder) is there by that name, the name's bytes as
// they stand; never for a name holding a NUL, which names no file.
bool FileExists(const std::string& path);

} // namespace model
