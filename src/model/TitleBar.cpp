#include "model/TitleBar.h"

#include "model/FileNames.h"
#include "model/General.h"

namespace model {

std::string TitleBarText(const std::string& appTitle, int major, int minor, const std::string& siteFileName,
                         bool fullPath, bool fileChanged)
{
    std::string minorText = std::to_string(minor);
    if (minorText.size() < 2)
        minorText.insert(0, 2 - minorText.size(), '0');
    std::string title = appTitle + " Version " + std::to_string(major) + "." + minorText;
    if (siteFileName.empty())
        return title;
    title += " --  [";
    title += fullPath ? TrimBlanks(siteFileName) : FileNameFromPath(siteFileName);
    title += "]";
    if (fileChanged)
        title += " * ";
    return title;
}

} // namespace model
