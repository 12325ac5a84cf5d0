#include "app/core/ErrorListText.h"

namespace app {

long ErrorCheckMode = 0;

void ResetErrorCheckMode()
{
    ErrorCheckMode = 0;
}

ErrorListContent BuildErrorList(long mode, const std::vector<std::string>& lines,
                                const std::string& siteFileName, int activeNode)
{
    ErrorListContent content;
    if (lines.empty()) {
        if (mode == 0) {
            content.emptyNote = "There are no errors in the current configuration";
        } else if (mode == 2) {
            content.emptyNote = "The Current Configuration Matches the Connected Node";
        }
        return content;
    }
    content.beep = true;
    if (mode == 0) {
        content.text = "\r\n Error List for " + siteFileName + "\r\n\r\n";
    } else if (mode == 2) {
        content.text = std::string("\r\nDifferences Between Current Configuration and the connected ") +
                       (activeNode == 0 ? "Radio HUB" : "RCC") +
                       "\r\nValues inside brackets are from the Current Configuration\r\n\r\n";
    }
    for (const std::string& line : lines) {
        content.text += line + "\r\n";
    }
    return content;
}

} // namespace app
