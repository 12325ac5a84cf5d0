// The serial link figures: the tool's own part of a query's round trip over a
// pseudo-terminal against the simulated unit, and how soon the tool notices
// that the unit's end of the port went away.
#include "Figure.h"
#include "hublink/SerialLink.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "platform/Ports.h"
#include "platform/Yield.h"
#include "support/RecordingWindow.h"
#include "support/SimulatedPort.h"

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <thread>
#include <unistd.h>

using namespace hublink;

namespace {

constexpr double kWireBaud = 115200;
constexpr double kBitsPerByte = 10; // start, eight data bits, stop
constexpr int kRoundTrips = 200;
// How long a lost port is given to be noticed before the figure gives up.
constexpr int kLossCapMs = 2000;
constexpr double kLossAimMs = 100;

// The communications link of the program on Com9, pointed at a simulated unit.
class LinkOnPty
{
public:
    LinkOnPty()
    {
        ResetSettings();
        ResetSiteState();
        platform::ResetPortList();
        platform::SetComPortPath(9, port_->SlavePath());
        PortNumber = 9;
        PortBaudIndex = 7; // 115200
        if (serial.ResetPort(nullptr) == PortStatus::Failed || !serial.Comm().PortOpen())
            throw std::runtime_error("the link did not open the pseudo-terminal");
    }
    // The unit's end goes away, as a pulled USB adapter does.
    void Unplug() { port_.reset(); }
    bool PortOpen() { return serial.Comm().PortOpen(); }

    SimulatedUnit unit;
    RecordingWindow window;
    SerialLink serial{window, window};

private:
    std::unique_ptr<SimulatedPort> port_ = std::make_unique<SimulatedPort>(unit);
};

// The same query by a bare client: a blocking write and read on the
// pseudo-terminal, nothing else.
double BareRoundTripMs(const std::string& command)
{
    SimulatedUnit unit;
    SimulatedPort port(unit);
    const int fd = ::open(port.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + port.SlavePath());
    const double ms = MedianMs(kRoundTrips, [&] {
        if (::write(fd, command.data(), command.size()) != static_cast<ssize_t>(command.size()))
            throw std::runtime_error("write to the pseudo-terminal failed");
        std::string reply;
        char buffer[256];
        while (reply.find('\r') == std::string::npos) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                throw std::runtime_error("read from the pseudo-terminal failed");
            reply.append(buffer, static_cast<size_t>(n));
        }
    });
    ::close(fd);
    return ms;
}

Figure LossFigure(const std::string& when, double noticedMs)
{
    const bool gaveUp = noticedMs >= kLossCapMs;
    return Figure{"lost port noticed " + when + (gaveUp ? " (not within the cap)" : ""),
                  noticedMs,
                  " ms",
                  "the unit's end closed",
                  kLossAimMs,
                  "<= " + Decimal(kLossAimMs) + " ms"};
}

// Runs the event loop until the link has closed its lost port or the cap
// passed; the milliseconds since `since`.
double UntilClosed(LinkOnPty& link, double since)
{
    platform::WaitUntil([&] { return !link.PortOpen(); },
                        std::max(1, kLossCapMs - static_cast<int>(NowMs() - since)));
    return NowMs() - since;
}

} // namespace

std::vector<Figure> QueryRoundTripFigures()
{
    const std::string command = "IDENTREAD";
    const std::string reply = "IDENTREAD 01A2B";
    const double bareMs = BareRoundTripMs(command + "\r");
    LinkOnPty link;
    const double toolMs = MedianMs(kRoundTrips, [&] {
        if (ReadIdent(link.serial.Link()) != "01A2B")
            throw std::runtime_error("the link did not read the ident");
    });
    const double partMs = std::max(0.0, toolMs - bareMs);
    const double wireMs = (command.size() + 1 + reply.size() + 1) * kBitsPerByte / kWireBaud * 1000;
    return {Figure{"query round trip, tool's part " + Decimal(partMs) + " ms = " + Decimal(partMs / bareMs) +
                       "x the unit's reply to a bare client (" + Decimal(bareMs) + " ms)",
                   100 * partMs / wireMs, "%", "wire time at 115200 baud (" + Decimal(wireMs) + " ms)", 5,
                   "< 5%"}};
}

std::vector<Figure> PortLossFigures()
{
    std::vector<Figure> figures;
    {
        LinkOnPty link;
        platform::WaitUntil([] { return false; }, 50);
        link.Unplug();
        figures.push_back(LossFigure("while idle", UntilClosed(link, NowMs())));
    }
    {
        // A collection that fails at once at its time-out, so that a loss
        // not noticed shows as the time-out rather than as resends.
        LinkOnPty link;
        link.unit.SetFailure(FailureMode::Silent);
        std::atomic<double> unpluggedAt{0};
        std::thread unplug([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            link.Unplug();
            unpluggedAt = NowMs();
        });
        link.serial.Link().Transact(CommsStateCode::AllStatusCollect, "GET DS ALL", kReplyTimeoutMs);
        unplug.join();
        figures.push_back(LossFigure("while waiting for a reply", UntilClosed(link, unpluggedAt)));
    }
    return figures;
}
