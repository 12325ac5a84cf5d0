// The site file loader on arbitrary bytes: what it reads must be what the
// INI getters find key by key; a file that opens is checked and saved; the
// saved file, opened afresh, must give the same check lines and save to the
// same bytes.
#include "FuzzFiles.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"

using namespace model;

namespace {

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

// The values the loader takes as they stand, against the getters.
void ExpectGettersAgree(const std::string& path)
{
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("General");
    if (ini.GetString("SiteName", " Site Name ") != SiteName || ini.GetLong("SiteNameX", 100) != SiteNameX)
        fuzz::Finding("the site header is not what the getters read");
    for (int n = 0; n < kNodeCount; ++n) {
        const clsNode& node = Nodes[static_cast<std::size_t>(n)];
        ini.sSectionName("Node" + std::to_string(n));
        if (ini.GetBoolean("InUse", false) != node.InUse())
            fuzz::Finding("a node's InUse is not what the getters read");
        if (node.InUse() && (ini.GetLong("Left", 0) != node.Left() || ini.GetString("NodeName", "") != node.Name()))
            fuzz::Finding("a node's values are not what the getters read");
        if (!node.InUse() || n == 0)
            continue;
        for (int j = 1; j <= kLastSlot; ++j) {
            const std::string dev = "Dev" + std::to_string(j);
            if (ini.GetLong(dev + "Type", 0) != node.DeviceType(j) || ini.GetString(dev + "Name", "") != node.DeviceName(j))
                fuzz::Finding("a slot's values are not what the getters read");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = fuzz::FuzzFile("input.qvs");
    static const std::string first = fuzz::FuzzFile("first.qvs");
    static const std::string second = fuzz::FuzzFile("second.qvs");
    fuzz::WriteFile(input, std::string(reinterpret_cast<const char*>(data), size));
    if (!fuzz::OpenSiteAfresh(input))
        return 0;
    ExpectGettersAgree(input);
    const std::vector<std::string> lines = CheckAndSave(first);
    if (!fuzz::OpenSiteAfresh(first))
        fuzz::Finding("a saved site file does not open");
    if (CheckAndSave(second) != lines)
        fuzz::Finding("a saved site file checks with other lines");
    if (fuzz::ReadFile(second) != fuzz::ReadFile(first))
        fuzz::Finding("a saved site file saves again to other bytes");
    return 0;
}
