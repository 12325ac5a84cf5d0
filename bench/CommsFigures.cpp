// The communications window's figures on the full site, against the
// simulated hub on a pseudo-terminal that answers at once: programming it
// into an empty hub, and reading it back into a new site. Each is the tool's
// own time for the whole command against the time its bytes, both ways,
// take on the wire at 115200 baud; the tool may add at most 5% to the wire.
#include "Figure.h"
#include "WindowBench.h"
#include "hublink/core/LinkState.h"
#include "hublink/frmComms.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Ports.h"
#include "support/SimulatedPort.h"

#include <QApplication>
#include <stdexcept>

namespace {

constexpr int kRuns = 3;
constexpr double kAimShare = 0.05;
const std::string kReference = "the same bytes on the wire at 115200 baud";

// The full site's hub as the unit answers its queries.
void AsTheFullSitesHub(SimulatedUnit& unit)
{
    unit.SetIdent(model::Nodes[0].NodeIdent());
    unit.SetLoopCountText(std::to_string(LoopCount));
}

// The bytes of the recorded exchange: what the unit received and what a unit
// in the state given by start answers to those commands.
std::size_t ExchangedBytes(const SimulatedUnit& unit, const SimulatedUnit::Lines& start)
{
    SimulatedUnit replay;
    AsTheFullSitesHub(replay);
    replay.SetConfiguration(start);
    std::size_t bytes = unit.Wire().size();
    for (const ReceivedCommand& command : unit.Commands())
        for (const UnitOutput& out : replay.Receive(command.Line + "\r", 0))
            bytes += out.Bytes.size();
    return bytes;
}

// The communications window opened on the hub of the full site.
frmComms* OpenOnTheHub(SimulatedUnit& unit, SimulatedPort& port)
{
    ResetSettings();
    ResetLinkState();
    platform::ResetPortList();
    platform::SetComPortPath(9, port.SlavePath());
    PortNumber = 9;
    PortBaudIndex = 7; // 115200
    ConfirmDiffs = false;
    CommsCloseOnComplete = false;
    OpenFullSite();
    AsTheFullSitesHub(unit);
    ActiveNode = 0;
    frmComms* window = frmComms::Load();
    if (!window->PortOpen())
        throw std::runtime_error("the communications window did not open the pseudo-terminal");
    return window;
}

} // namespace

std::vector<Figure> CommsFigures()
{
    AnsweredBoxes boxes;
    SimulatedUnit unit;
    SimulatedPort port(unit);
    frmComms* window = OpenOnTheHub(unit, port);

    const auto emptyHub = [&] {
        unit.SetConfiguration({});
        unit.ClearRecord();
    };
    const double programMs = MedianMs(kRuns, emptyHub, [&] { window->cmdUpdate_Click(); },
                                      [&] { boxes.Expect({"Programming Completed Successfully"}); });
    const double programWireMs = WireMs(ExchangedBytes(unit, {}));

    const SimulatedUnit::Lines fullHub = unit.Configuration();
    const double readMs = MedianMs(kRuns, [&] { unit.ClearRecord(); }, [&] { window->ReadConfig_Click(); },
                                   [&] { boxes.Expect({"Config Successfully Read"}); });
    const double readWireMs = WireMs(ExchangedBytes(unit, fullHub));
    if (!model::Nodes[31].InUse())
        throw std::runtime_error("the read did not give back the full site");

    frmComms::Unload();
    DeleteClosedWindows();
    return {TimeFigure("Program, full site into an empty hub, the tool's part", programMs, kReference, programWireMs, programWireMs * kAimShare),
            TimeFigure("Read Config, full hub into a new site, the tool's part", readMs, kReference, readWireMs,
                       readWireMs * kAimShare)};
}
