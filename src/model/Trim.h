#pragma once
#include <string>

namespace model {

// The text without its leading and trailing blanks (only the blank, as the
// site name label and the recent-file list pad with blanks).
std::string TrimBlanks(const std::string& text);

} // namespace model
