// The comparison figures on the full site: the site loaded into Nodes and
// copied into HubNodes as a full hub's download would leave it, then Compare
// Config and the change list, each with its address maps, against the wire
// time of that download from the simulated unit at 115200 baud.
#include "Figure.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/ChangeList.h"
#include "hublink/core/ConfigCompare.h"
#include "hublink/core/ProgrammingList.h"
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "support/SimulatedUnit.h"

#include <stdexcept>

using namespace hublink;

namespace {

constexpr int kRuns = 21;
constexpr double kAimMs = 50;

// The bytes of the hub's "GET SYSCONFIG" answer once the full site is
// programmed into it.
std::size_t DownloadBytes()
{
    SimulatedUnit unit;
    const ProgrammingList list = BuildFullProgrammingList(model::Nodes, false);
    for (const ProgrammingCommand& c : list.Commands())
        unit.Receive(c.Command + "\r", 0);
    std::size_t bytes = 0;
    for (const UnitOutput& out : unit.Receive("GET SYSCONFIG\r", 0))
        bytes += out.Bytes.size();
    return bytes;
}

// Every device of every RCC in the hub with another ident: a difference
// line and a delete and add per device.
void ChangeEveryHubIdent()
{
    for (int n = 1; n < model::kNodeCount; ++n)
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (model::HubNodes[static_cast<std::size_t>(n)].DeviceType(s) != 0)
                model::HubNodes[static_cast<std::size_t>(n)].SetDeviceIdent(
                    s, "F" + std::to_string(1000 + n * 32 + s).substr(0, 4));
}

} // namespace

std::vector<Figure> CompareFigures()
{
    OpenFullSite();
    const double wireMs = WireMs(DownloadBytes());
    const std::string reference = "download of the full hub's configuration at 115200 baud";
    CopyNodeArray(model::Nodes, model::HubNodes, 100);
    ActiveNode = 0;
    int differences = -1;
    const auto compare = [&] {
        model::MessageList.clear();
        BuildAddressMap();
        BuildHubAddressMap();
        differences = CompareHubWithConfiguration();
    };
    const double compareMs = MedianMs(kRuns, compare);
    if (differences != 0)
        throw std::runtime_error("the hub copied from the site compares with differences");
    int changes = -3;
    const auto changeList = [&] {
        BuildAddressMap();
        BuildHubAddressMap();
        changes = BuildChangeList();
    };
    const double changeListMs = MedianMs(kRuns, changeList);
    if (changes != kChangeListNoDifference)
        throw std::runtime_error("the hub copied from the site has a change list");

    ChangeEveryHubIdent();
    const double changedMs = MedianMs(kRuns, [&] {
        compare();
        changeList();
    });
    if (differences < 961 || changes < 961)
        throw std::runtime_error("the changed idents were not all listed");
    return {TimeFigure("Compare Config, full site with an equal full hub", compareMs, reference, wireMs, kAimMs),
            TimeFigure("change list, full site with an equal full hub", changeListMs, reference, wireMs, kAimMs),
            TimeFigure("Compare Config + change list, every one of 961 device idents differs", changedMs, reference,
                       wireMs, kAimMs)};
}
