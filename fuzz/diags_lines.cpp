// The diagnostics reply-line parsers on arbitrary lines, each line also
// stored into the full test site as the window stores it. The first byte
// picks the reply (its value modulo 4): 0 "GET DS ALL" status lines, 1 "GET
// SS ALL" signal strengths, 2 "GET DM ALL" daily maxima, 3 the manual update
// of the live link budgets. The rest is the reply, one line per line feed,
// collected as the link collects a list (index 0 the echo, not read).
#include "FuzzFiles.h"
#include "diagnostics/core/DeviceMap.h"
#include "diagnostics/core/LinkBudgetRun.h"
#include "diagnostics/core/SignalGrid.h"
#include "diagnostics/core/StatusTexts.h"
#include "hublink/core/AddressMaps.h"

using namespace hublink;

using namespace diagnostics;

namespace {

std::vector<std::string> Collected(const std::string& text)
{
    std::vector<std::string> lines{"", ""};
    for (char c : text)
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    return lines;
}

// A parsed field that is a view must lie inside its line.
void WithinLine(std::string_view part, std::string_view line)
{
    if (part.data() < line.data() || part.data() + part.size() > line.data() + line.size())
        fuzz::Finding("a parsed field points outside its line");
}

// The unit a stored line names, as the device map and its status line show it.
void Describe(int loop, int address)
{
    if (const std::optional<UnitRef> unit = UnitAtLoopAddress(loop, address)) {
        if (unit->node < 0 || unit->node >= model::kNodeCount || unit->slot < 0 || unit->slot > model::kLastSlot)
            fuzz::Finding("a loop address names a unit outside the site");
        DescribeDeviceStatus(model::Nodes[static_cast<std::size_t>(unit->node)], unit->slot);
    }
}

void StatusLine(const std::string& line)
{
    const std::optional<DeviceStatusLine> parsed = ParseDeviceStatusLine(line);
    if (parsed)
        WithinLine(parsed->tokens, line);
    if (ApplyDeviceStatusLine(line, model::Nodes)) {
        if (!parsed)
            fuzz::Finding("a status line that does not parse was stored");
        Describe(parsed->loop, parsed->address);
    }
}

void SignalLine(const std::string& line)
{
    const std::optional<SignalStrengthLine> parsed = ParseSignalStrengthLine(line);
    if (ApplySignalStrengthLine(line, model::Nodes) && !parsed)
        fuzz::Finding("a signal-strength line that does not parse was stored");
}

void MaximumLine(const std::string& line)
{
    const std::optional<DailyMaximumLine> parsed = ParseDailyMaximumLine(line);
    if (ApplyDailyMaximumLine(line, model::Nodes) && !parsed)
        fuzz::Finding("a daily-maximum line that does not parse was stored");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    model::LoadSiteFile(QVS_TEST_DATA "/full-site.qvs");
    BuildAddressMap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    ClearAllDeviceStatus(model::Nodes);
    ClearSignalStrengths(model::Nodes);
    ClearDailyMaxima(model::Nodes);
    const std::vector<std::string> lines = Collected(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    // A count past the lines collected, as a reply cut short leaves it.
    const int count = static_cast<int>(lines.size()) + 1;
    switch (data[0] % 4) {
    case 0:
        for (const std::string& line : lines)
            StatusLine(line);
        ApplyDeviceStatusReply(lines, count, model::Nodes);
        {
            // One tab of the map a run, the rest of the first byte picking it.
            const std::vector<std::string> captions = DeviceTabCaptions(model::Nodes);
            const std::string& caption = captions[data[0] / 4 % captions.size()];
            BuildDeviceMap(ParseTabCaption(caption).value(), model::Nodes, kShowAllOnly);
        }
        break;
    case 1:
    case 2: {
        for (const std::string& line : lines)
            data[0] % 4 == 1 ? SignalLine(line) : MaximumLine(line);
        ApplySignalStrengthReply(lines, count, model::Nodes);
        ApplyDailyMaximumReply(lines, count, model::Nodes);
        SignalGrid grid;
        grid.Setup();
        grid.Fill(model::Nodes, false, true);
        grid.SortByColumn(data[0] / 4 % kDiagsGridColumns);
        grid.Resort();
        break;
    }
    default:
        for (const std::string& line : lines)
            if (const std::optional<ManualUpdateReply> reply = ParseManualUpdateReply(line))
                ManualUpdateCommand(reply->loop, reply->address);
        break;
    }
    return 0;
}
