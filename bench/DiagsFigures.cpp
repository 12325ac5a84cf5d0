// The diagnostics figures: how long the tool takes, beyond the wire time, to
// take the full test site's (992 units) status reply into the device map of
// every tab, and its signal-strength and daily-maximum replies into the
// signal grid.
#include "Figure.h"
#include "diagnostics/core/DeviceMap.h"
#include "diagnostics/core/SignalGrid.h"
#include "diagnostics/core/StatusTexts.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"

#include <functional>

namespace {

constexpr int kRuns = 15;
constexpr double kAimMs = 100;

// One reply line per unit of the site, as the unit lists them (index 0 empty,
// as the link collects a list).
std::vector<std::string> ReplyLines(const std::function<std::string(int loop, int address, const std::string& ident)>& line)
{
    std::vector<std::string> lines{""};
    for (const model::clsNode& node : model::Nodes) {
        if (!node.InUse())
            continue;
        lines.push_back(line(node.NodeLoop(), node.NodeAddress(), node.NodeIdent()));
        for (int s = 1; s <= model::kLastSlot; ++s)
            if (node.DeviceType(s) != 0)
                lines.push_back(line(node.DeviceLoop(s), node.DeviceAddress(s), node.DeviceIdent(s)));
    }
    return lines;
}

Figure Fill(const std::string& name, int units, const std::function<void()>& work)
{
    const double ms = MedianMs(kRuns, work);
    return Figure{name, ms, " ms", std::to_string(units) + " units, beyond the wire time", kAimMs,
                  "<= " + Decimal(kAimMs) + " ms"};
}

} // namespace

std::vector<Figure> DiagsFigures()
{
    ResetSiteState();
    model::ResetSite();
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    const std::vector<std::string> status = ReplyLines([](int loop, int address, const std::string&) {
        return "DS LOOP" + std::to_string(loop) + " " + std::to_string(address) + " SSG BG";
    });
    const std::vector<std::string> strengths = ReplyLines([](int loop, int address, const std::string& ident) {
        return "SS LOOP" + std::to_string(loop) + " " + std::to_string(address) + " " + ident + " 0 40 41 42 43";
    });
    const std::vector<std::string> maxima = ReplyLines([](int loop, int address, const std::string& ident) {
        return "IDENT=" + ident + " LOOP" + std::to_string(loop) + " " + std::to_string(address) + " 45dBm";
    });
    const int units = static_cast<int>(status.size()) - 1;
    std::vector<Figure> figures;
    figures.push_back(Fill("device map of every tab from a full GET DS ALL reply", units, [&] {
        diagnostics::ClearAllDeviceStatus(model::Nodes);
        diagnostics::ApplyDeviceStatusReply(status, units, model::Nodes);
        for (const std::string& caption : diagnostics::DeviceTabCaptions(model::Nodes))
            diagnostics::BuildDeviceMap(*diagnostics::ParseTabCaption(caption), model::Nodes, diagnostics::kShowAllOnly);
    }));
    figures.push_back(Fill("signal grid, sorted, from full GET SS ALL and GET DM ALL replies", units, [&] {
        diagnostics::ClearSignalStrengths(model::Nodes);
        diagnostics::ApplySignalStrengthReply(strengths, units, model::Nodes);
        diagnostics::ClearDailyMaxima(model::Nodes);
        diagnostics::ApplyDailyMaximumReply(maxima, units, model::Nodes);
        diagnostics::SignalGrid grid;
        grid.Setup();
        grid.Fill(model::Nodes, false, true);
        grid.SortByColumn(2);
    }));
    return figures;
}
