#pragma once
#include <string>

namespace model {

// The main window's caption: the program title and version ("3.00"), then,
// for a named site, " --  [" the file (full path or name) "]", and " * "
// while the site has unsaved changes.
std::string TitleText(const std::string& appTitle, int major, int minor, const std::string& siteFileName,
                      bool fullPaths, bool fileChanged);

} // namespace model
