// The communications window's figures against the simulated hub on a
// pseudo-terminal that answers at once, on the fullest site a hub can hold:
// programming it into an empty hub, and reading it back into a new site.
// Each is the tool's own time for the whole command, the least processor
// time of its thread over its runs (the simulated hub answers from a thread
// of its own), against the time its bytes, both ways, take on the wire at
// 115200 baud; the tool may add at most 5% to the wire time. Its time on the
// clock, which also holds each answer's wait for the machine to run the hub
// and then the tool again, is shown beside it. And what the same
// programming costs when the hub takes one statement late and refuses its
// resend: the link waits for the answers it is owed and reads the hub back;
// and what a read costs when a byte of its download comes corrupted: the
// hub is read again.
#include "Figure.h"
#include "WindowBench.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgrammingList.h"
#include "hublink/frmComms.h"
#include "model/DeviceTypes.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Ports.h"
#include "support/SimulatedPort.h"

#include <QApplication>
#include <algorithm>
#include <stdexcept>
#include <utility>

using namespace hublink;

namespace {

constexpr int kRuns = 3;
// The clean runs, whose least processor time is taken.
constexpr int kCleanRuns = 7;
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

// The site's programming statements as the hub lists them once it holds it.
SimulatedUnit::Lines HubHolding(const model::NodeArray& nodes)
{
    SimulatedUnit hub;
    AsTheFullSitesHub(hub);
    const ProgrammingList list = BuildFullProgrammingList(nodes, false);
    for (const ProgrammingCommand& c : list.Commands())
        hub.Receive(c.Command + "\r", 0);
    return hub.Configuration();
}

// The full site has more units than its four loops have addresses, so the
// site check refuses to program it. The fullest site that can be programmed
// keeps the hub, the RCCs and, slot by slot across the RCCs, the devices
// that still find an address, each on the next one (a combination head on
// the next two of one loop).
void KeepWhatTheLoopsAddress()
{
    int loop = 1;
    int address = 1;
    const auto next = [&](int width, auto place) {
        if (address + width - 1 > MaxLoopAddress) {
            address = 1;
            ++loop;
        }
        if (loop > LoopCount)
            return false;
        place(loop, address);
        address += width;
        return true;
    };
    for (model::clsNode& node : model::Nodes)
        if (node.InUse())
            next(1, [&](int l, int a) { node.SetNodeLoop(l), node.SetNodeAddress(a); });
    for (int slot = 1; slot <= model::kLastSlot; ++slot) {
        for (int n = 1; n < model::kNodeCount; ++n) {
            model::clsNode& node = model::Nodes[static_cast<std::size_t>(n)];
            if (node.DeviceType(slot) == 0)
                continue;
            const int width = model::IsComboHeadType(node.DeviceType(slot)) ? 2 : 1;
            if (!next(width, [&](int l, int a) { node.SetDeviceLoop(slot, l), node.SetDeviceAddress(slot, a); })) {
                node.SetDeviceType(slot, 0);
                node.SetDeviceIdent(slot, "");
                node.SetDeviceLoop(slot, -1);
                node.SetDeviceAddress(slot, -1);
            }
        }
    }
    BuildAddressMap();
}

// A command's time on the clock, shown beside its processor time.
Figure OnTheClock(const std::string& command, const Timings& timings, double wireMs)
{
    Figure clock = TimeFigure(command + ", the same on the clock, the machine's waits held", timings.WallMs,
                              kReference, wireMs, 0);
    clock.AimText = "none: the machine's load lengthens it";
    clock.Informative = true;
    return clock;
}

// A figure that shows what a disturbed run costs beside a clean one.
Figure Disturbed(const std::string& name, double ms, const std::string& reference, const std::string& aim)
{
    Figure figure;
    figure.Name = name;
    figure.Value = ms;
    figure.Unit = " ms";
    figure.Reference = reference;
    figure.AimText = aim;
    figure.Informative = true;
    return figure;
}

size_t Reads(const SimulatedUnit& unit)
{
    const SimulatedUnit::Lines sent = unit.CommandLines();
    return static_cast<size_t>(std::count(sent.begin(), sent.end(), "GET SYSCONFIG"));
}

int DeviceCount()
{
    int count = 0;
    for (const model::clsNode& node : model::Nodes)
        for (int slot = 1; slot <= model::kLastSlot; ++slot)
            count += node.DeviceType(slot) != 0 ? 1 : 0;
    return count;
}

} // namespace

std::vector<Figure> CommsFigures()
{
    AnsweredBoxes boxes;
    SimulatedUnit unit;
    SimulatedPort port(unit);
    frmComms* window = OpenOnTheHub(unit, port);
    KeepWhatTheLoopsAddress();
    const int devices = DeviceCount();
    const SimulatedUnit::Lines fullHub = HubHolding(model::Nodes);

    const auto emptyHub = [&] {
        unit.SetConfiguration({});
        unit.ClearRecord();
    };
    const Timings program = TimeRuns(
        kCleanRuns, emptyHub, [&] { window->cmdUpdate_Click(); },
        [&] { boxes.Expect({"Programming Completed Successfully"}); });
    const double programWireMs = WireMs(ExchangedBytes(unit, {}));
    if (unit.Configuration() != fullHub)
        throw std::runtime_error("the hub does not hold the programmed site");
    if (Reads(unit) != 1)
        throw std::runtime_error("a clean programming read the hub more than once");

    // The hub answers in turn, takes the Y channels 900 ms late and refuses
    // their resend: the refusal comes while the next statement waits.
    const std::string late = "YPROTRADIOCHANNELS";
    const auto disturbedHub = [&] {
        emptyHub();
        unit.SetAnswersInTurn(true);
        unit.SetAnswerDelayMs(late, 900);
        unit.RefuseResends(late);
    };
    size_t disturbedReads = 0;
    const double disturbedMs = MedianMs(
        kRuns, disturbedHub, [&] { window->cmdUpdate_Click(); },
        [&] {
            boxes.Expect({"Programming Completed Successfully"});
            disturbedReads = Reads(unit);
            unit.ClearFailure();
            unit.SetAnswersInTurn(false);
            unit.SetAnswerDelayMs(late, 0);
        });
    if (unit.Configuration() != fullHub)
        throw std::runtime_error("the disturbed hub does not hold the programmed site");

    const Timings read = TimeRuns(
        kCleanRuns, [&] { unit.ClearRecord(); }, [&] { window->ReadConfig_Click(); },
        [&] { boxes.Expect({"Config Successfully Read"}); });
    const double readWireMs = WireMs(ExchangedBytes(unit, fullHub));
    if (DeviceCount() != devices)
        throw std::runtime_error("the read did not give back the whole site");

    // A byte of one statement corrupted on the line in the first download:
    // the read reads the hub again.
    size_t garbledReads = 0;
    const double garbledMs = MedianMs(
        kRuns,
        [&] {
            unit.ClearRecord();
            unit.DrawAnswerFaults([first = true](const FaultContext& c) mutable {
                AnswerFault fault;
                if (c.Command == "GET SYSCONFIG" && std::exchange(first, false))
                    fault.Bytes = {{ByteFault::Kind::Replaced, 5, 1, '#'}};
                return fault;
            });
        },
        [&] { window->ReadConfig_Click(); },
        [&] {
            boxes.Expect({"Config Successfully Read"});
            garbledReads = Reads(unit);
            unit.ClearFailure();
        });
    if (DeviceCount() != devices)
        throw std::runtime_error("the read of a garbled download did not give back the whole site");

    frmComms::Unload();
    DeleteClosedWindows();
    const std::string site = "the fullest site (31 RCCs, " + std::to_string(devices) + " devices)";
    const Figure disturbed = Disturbed(
        "Program, the same, one statement 900 ms late and its resend refused, " + std::to_string(disturbedReads) +
            " reads (" + Decimal(disturbedMs / program.WallMs) + "x)",
        disturbedMs, "the clean programming on the clock (" + Decimal(program.WallMs) + " ms, 1 read)",
        "none: it waits out the hub's delay and a time-out");
    const Figure garbled = Disturbed(
        "Read Config, the same, a byte of one statement garbled in the first download, " +
            std::to_string(garbledReads) + " reads (" + Decimal(garbledMs / read.WallMs) + "x)",
        garbledMs, "the clean read on the clock (" + Decimal(read.WallMs) + " ms, 1 read)",
        "none: it reads the hub again");
    return {TimeFigure("Program, " + site + " into an empty hub, its processor time", program.CpuMs,
                       kReference, programWireMs, programWireMs * kAimShare),
            OnTheClock("Program", program, programWireMs), disturbed,
            TimeFigure("Read Config, " + site + " into a new site, its processor time", read.CpuMs,
                       kReference, readWireMs, readWireMs * kAimShare),
            OnTheClock("Read Config", read, readWireMs), garbled};
}
