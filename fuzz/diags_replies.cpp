// The readers of the diagnostics' list replies on arbitrary lines: device
// status ("DS LOOP<n> <address> <tokens>"), signal strengths ("SS ..."),
// daily maxima ("IDENT=...") and manual updates, stored into the full test
// site as a refresh stores them. A line a reader takes must name what the
// site owns, and storing must keep every value in its range.
#include "FuzzFiles.h"
#include "diagnostics/core/LinkBudgetRun.h"
#include "diagnostics/core/SignalGrid.h"
#include "diagnostics/core/StatusTexts.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const uint8_t* data, size_t size)
{
    // Index 0 is not read, as in a collected reply.
    std::vector<std::string> lines{""};
    std::string line;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(data[i]);
        }
    }
    lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> lines = Lines(data, size);
    const int count = static_cast<int>(lines.size()) - 1;
    for (int k = 1; k <= count; ++k) {
        const std::string& line = lines[static_cast<size_t>(k)];
        if (const auto status = diagnostics::ParseDeviceStatusLine(line)) {
            if (status->tokens.empty())
                fuzz::Finding("a status line was read without a status token");
            if (diagnostics::ApplyDeviceStatusLine(line, model::Nodes) &&
                !diagnostics::UnitAtLoopAddress(status->loop, status->address))
                fuzz::Finding("a status line was stored for an address the site does not own");
        }
        if (const auto reading = diagnostics::ParseSignalStrengthLine(line)) {
            if (diagnostics::ApplySignalStrengthLine(line, model::Nodes) &&
                !diagnostics::UnitAtLoopAddress(reading->loop, reading->address))
                fuzz::Finding("a signal line was stored for an address the site does not own");
        }
        if (const auto update = diagnostics::ParseManualUpdateReply(line)) {
            if (diagnostics::ManualUpdateCommand(update->loop, update->address).rfind("GET_MANUAL_UPDATE_", 0) != 0)
                fuzz::Finding("a manual-update reply gave a command of another shape");
        }
    }
    diagnostics::ApplyDeviceStatusReply(lines, count, model::Nodes);
    diagnostics::ApplySignalStrengthReply(lines, count, model::Nodes);
    diagnostics::ApplyDailyMaximumReply(lines, count, model::Nodes);
    for (const model::clsNode& node : model::Nodes) {
        if (node.NodeDailyMax() < 0 || node.NodeDailyMax() > 125)
            fuzz::Finding("a node's daily maximum left 0..125");
        diagnostics::DescribeDeviceStatus(node, 0);
    }
    // The grid lists whatever was stored.
    diagnostics::SignalGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, false, true);
    grid.SortByColumn(2);
    diagnostics::ClearAllDeviceStatus(model::Nodes);
    diagnostics::ClearSignalStrengths(model::Nodes);
    diagnostics::ClearDailyMaxima(model::Nodes);
    return 0;
}
