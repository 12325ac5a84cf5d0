// The diagnostics figures on the full site (992 units): the "GET DS ALL"
// reply into the status texts and the device map of every tab, and the
// "GET SS ALL" and "GET DM ALL" replies into the signal grid with its sort,
// each against the wire time of its replies at 115200 baud. The reply lines
// are made here, one per unit, in the shape the unit sends them.
#include "Figure.h"
#include "diagnostics/core/DeviceMap.h"
#include "diagnostics/core/SignalGrid.h"
#include "diagnostics/core/StatusTexts.h"
#include "model/Site.h"

#include <stdexcept>

namespace {

constexpr int kRuns = 21;
constexpr double kAimMs = 100;
constexpr int kUnits = 31 + 31 * 31;

// A list reply as the link collects it: index 0 the command's echo (not
// read), then one line per unit; wireBytes counts the command, the echo,
// the lines and "END OF DATA", each with its carriage return.
struct ListReply
{
    std::vector<std::string> lines{""};
    std::size_t wireBytes = 0;
};

struct Unit
{
    int loop, address;
    std::string ident;
};

std::vector<Unit> SiteUnits()
{
    std::vector<Unit> units;
    for (int n = 1; n < model::kNodeCount; ++n) {
        const model::clsNode& node = model::Nodes[static_cast<std::size_t>(n)];
        if (!node.InUse())
            continue;
        units.push_back({node.NodeLoop(), node.NodeAddress(), node.NodeIdent()});
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0)
                units.push_back({node.DeviceLoop(s), node.DeviceAddress(s), node.DeviceIdent(s)});
    }
    if (units.size() != kUnits)
        throw std::runtime_error("the full site holds " + std::to_string(units.size()) + " units");
    return units;
}

ListReply MakeReply(const std::string& command, const std::string& echo, const std::vector<Unit>& units,
                    const std::function<std::string(const Unit&, int)>& line)
{
    ListReply reply;
    reply.wireBytes = command.size() + 1 + echo.size() + 1 + std::string("END OF DATA").size() + 1;
    int k = 0;
    for (const Unit& u : units) {
        reply.lines.push_back(line(u, k++));
        reply.wireBytes += reply.lines.back().size() + 1;
    }
    return reply;
}

std::string At(const Unit& u)
{
    return "LOOP" + std::to_string(u.loop) + " " + std::to_string(u.address);
}

void Expect(int stored, const std::string& what)
{
    if (stored != kUnits)
        throw std::runtime_error(what + ": " + std::to_string(stored) + " of " + std::to_string(kUnits) +
                                 " lines stored");
}

} // namespace

std::vector<Figure> DiagnosticsFigures()
{
    using namespace diagnostics;
    OpenFullSite();
    const std::vector<Unit> units = SiteUnits();
    // Every status class turns up somewhere on the map.
    const char* const statuses[] = {"ASA SSG", "ASA SSM BG", "ASA SSL", "ASA SSG BL1", "ASP SSF",
                                    "ASA SSG IN1", "ASA SSP TA", "ASN", "ASA SSG HF"};
    const ListReply ds = MakeReply(kGetAllStatusCommand, kGetAllStatusCommand, units, [&](const Unit& u, int k) {
        return "DS " + At(u) + " " + statuses[k % std::size(statuses)];
    });
    const ListReply ss = MakeReply(kGetSignalStrengthsCommand, kGetSignalStrengthsCommand, units,
                                   [](const Unit& u, int k) {
                                       return "SS " + At(u) + " " + u.ident + " 0 " + std::to_string(20 + k % 30) +
                                              " " + std::to_string(25 + k % 20) + " " + std::to_string(30 + k % 9) +
                                              " " + std::to_string(18 + k % 27);
                                   });
    const ListReply dm = MakeReply(kGetDailyMaximaCommand, "EXPORT DM ALL", units, [](const Unit& u, int k) {
        return "IDENT=" + u.ident + " " + At(u) + " " + std::to_string(15 + k % 40) + "dBm";
    });

    const std::vector<std::string> captions = DeviceTabCaptions(model::Nodes);
    std::size_t mapSlots = 0;
    const double mapMs = MedianMs(kRuns, [&] {
        ClearAllDeviceStatus(model::Nodes);
        Expect(ApplyDeviceStatusReply(ds.lines, kUnits, model::Nodes), "GET DS ALL");
        mapSlots = 0;
        for (const std::string& caption : captions)
            mapSlots += BuildDeviceMap(ParseTabCaption(caption).value(), model::Nodes, kShowAllOnly).places.size();
    });

    SignalGrid grid;
    grid.Setup();
    grid.SortByColumn(9); // by daily maximum, as a user sorts before a refresh
    const double gridMs = MedianMs(kRuns, [&] {
        ClearSignalStrengths(model::Nodes);
        Expect(ApplySignalStrengthReply(ss.lines, kUnits, model::Nodes), "GET SS ALL");
        ClearDailyMaxima(model::Nodes);
        Expect(ApplyDailyMaximumReply(dm.lines, kUnits, model::Nodes), "GET DM ALL");
        grid.Fill(model::Nodes, false, true);
        grid.Resort();
    });
    if (grid.Rows().size() != 3 + kUnits)
        throw std::runtime_error("the signal grid does not list every unit");

    return {TimeFigure("GET DS ALL of 992 units applied, device map of " + std::to_string(captions.size()) +
                           " tabs (" + std::to_string(mapSlots) + " slots) built",
                       mapMs, "wire time of its reply at 115200 baud", WireMs(ds.wireBytes), kAimMs),
            TimeFigure("GET SS ALL + GET DM ALL of 992 units applied, signal grid filled and re-sorted", gridMs,
                       "wire time of the two replies at 115200 baud", WireMs(ss.wireBytes + dm.wireBytes),
                       kAimMs)};
}
