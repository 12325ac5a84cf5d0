#pragma once
// The main window's caption.
#include <string>

namespace app {

// AppTitle, " Version ", major, ".", minor with two digits; then, for a
// non-empty site file name, " --  [" + the trimmed path (fullPath) or its file
// name + "]", and " * " when the site has unsaved changes.
std::string TitleBarText(const std::string& appTitle, int major, int minor, const std::string& siteFileName,
                         bool fullPath, bool fileChanged);

} // namespace app
