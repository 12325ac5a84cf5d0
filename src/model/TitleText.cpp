#include "model/TitleText.h"

#include "model/Convert.h"
#include "model/General.h"
#include "model/Trim.h"

namespace model {

std::string TitleText(const std::string& appTitle, int major, int minor, const std::string& siteFileName,
                      bool fullPaths, bool fileChanged)
{
    std::string minorText = std::to_string(minor);
    std::string title =
        appTitle + " Version " + std::to_string(major) + "." + PadWithLeadingZeros(minorText, 2);
    if (!siteFileName.empty()) {
        title += " --  [" + (fullPaths ? TrimBlanks(siteFileName) : FileNameFromPath(siteFileName)) + "]";
        if (fileChanged) {
            title += " * ";
        }
    }
    return title;
}

} // namespace model
