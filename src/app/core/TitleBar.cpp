#include "app/core/TitleBar.h"

#include "model/Convert.h"
#include "model/FileNames.h"
#include "model/General.h"

namespace app {

std::string TitleBarText(const std::string& appTitle, int major, int minor, const std::string& siteFileName,
                         bool fullPath, bool fileChanged)
{
    std::string minorText = std::to_string(minor);
    model::PadWithLeadingZeros(minorText, 2);
    std::string title = appTitle + " Version " + std::to_string(major) + "." + minorText;
    if (siteFileName.empty())
        return title;
    title += " --  [";
    title += fullPath ? model::TrimBlanks(siteFileName) : model::FileNameFromPath(siteFileName);
    title += "]";
    if (fileChanged)
        title += " * ";
    return title;
}

} // namespace app
