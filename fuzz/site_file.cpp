// The site file loader on arbitrary bytes: a file that opens is checked and
// saved; the saved file, opened afresh, must give the same check lines and
// save to the same bytes.
#include "FuzzFiles.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"

using namespace model;

namespace {

// Opens the file as File > Open does, in a program that has not loaded
// anything yet; false when it is not a site file.
bool OpenAfresh(const std::string& path)
{
    ResetSite();
    ResetSiteState();
    ResetSiteFile();
    ResetConfigurationCheck();
    DisplayMode = -2;
    LoadSiteFile(path);
    return DisplayMode != -2;
}

// The check's lines, then the site saved to path.
std::vector<std::string> CheckAndSave(const std::string& path)
{
    CheckConfiguration();
    std::vector<std::string> lines = MessageList;
    std::string error;
    if (!SaveSiteFile(path, &error))
        fuzz::Finding("a site that was opened could not be saved");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = fuzz::FuzzFile("input.qvs");
    static const std::string first = fuzz::FuzzFile("first.qvs");
    static const std::string second = fuzz::FuzzFile("second.qvs");
    fuzz::WriteFile(input, std::string(reinterpret_cast<const char*>(data), size));
    if (!OpenAfresh(input))
        return 0;
    const std::vector<std::string> lines = CheckAndSave(first);
    if (!OpenAfresh(first))
        fuzz::Finding("a saved site file does not open");
    if (CheckAndSave(second) != lines)
        fuzz::Finding("a saved site file checks with other lines");
    if (fuzz::ReadFile(second) != fuzz::ReadFile(first))
        fuzz::Finding("a saved site file saves again to other bytes");
    return 0;
}
