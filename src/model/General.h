#pragma once
// Path helpers. Paths may come from the platform's own dialogs ("/") or from
// site files and recent-file lists written on other machines ("\"), so both
// separators split a path.
#include <string>

namespace model {

// The text after the last separator (the whole path when it has none). A path
// that ends in a double quote gives a quoted file name.
std::string FileNameFromPath(const std::string& path);

// The text after the first "." of the file-name part, when that "." is not the
// name's first character; otherwise the empty text.
std::string FileExtension(const std::string& path);

} // namespace model
