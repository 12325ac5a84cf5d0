// The port list and the serial control on pseudo-terminals.
#include "platform/Ports.h"
#include "platform/SerialControl.h"
#include "support/SimulatedPort.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Test programs point every port number away from the machine's real ports;
// this lifts that for the numbers a test looks at, and puts it back after.
struct RealPortNames
{
    explicit RealPortNames(std::initializer_list<int> numbers)
    {
        for (int n : numbers) {
            const std::string name = "QVS_COM" + std::to_string(n);
            const char* value = std::getenv(name.c_str());
            saved.emplace_back(name, value != nullptr ? value : "");
            unsetenv(name.c_str());
        }
    }
    ~RealPortNames()
    {
        for (const auto& [name, value] : saved)
            if (!value.empty())
                setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST(Ports, NumbersMapToFixedDevicesAndCanBePointedElsewhere)
{
    platform::ResetPortList();
    const RealPortNames real{1, 4, 5, 7, 20, 21, 32};
    const std::pair<int, const char*> fixed[] = {
        {1, "/dev/ttyS0"},    {4, "/dev/ttyS3"},    {5, "/dev/ttyUSB0"}, {20, "/dev/ttyUSB15"},
        {21, "/dev/ttyACM0"}, {32, "/dev/ttyACM11"}, {0, ""},            {33, ""}};
    for (const auto& [number, path] : fixed)
        EXPECT_EQ(platform::ComPortPath(number), path) << number;
    setenv("QVS_COM7", "/dev/serial/by-id/adapter", 1);
    EXPECT_EQ(platform::ComPortPath(7), "/dev/serial/by-id/adapter");
    unsetenv("QVS_COM7");
    platform::SetComPortPath(7, "/tmp/x");
    EXPECT_EQ(platform::ComPortPath(7), "/tmp/x");
    platform::SetComPortPath(7, "");
    EXPECT_EQ(platform::ComPortPath(7), "/dev/ttyUSB2");
}

TEST(Ports, PresenceIsEnumeratedOnceWhileAPortWasFound)
{
    SimulatedUnit unitA, unitB;
    SimulatedPort a(unitA), b(unitB);
    platform::ResetPortList();
    for (int n = 5; n <= 32; ++n)
        platform::SetComPortPath(n, "/nonexistent/port" + std::to_string(n));
    platform::SetComPortPath(12, a.SlavePath());
    EXPECT_TRUE(platform::IsComPortPresent(12));
    for (int n : {13, 0, 33})
        EXPECT_FALSE(platform::IsComPortPresent(n)) << n;
    const int found = platform::ComPortCount();
    EXPECT_GE(found, 1);
    platform::SetComPortPath(13, b.SlavePath());
    EXPECT_FALSE(platform::IsComPortPresent(13)) << "the list is built once per run";
    EXPECT_EQ(platform::ComPortCount(), found);
    platform::EnumerateComPorts();
    EXPECT_TRUE(platform::IsComPortPresent(13));
    platform::ResetPortList();
}

TEST(SerialControl, OpensAPseudoTerminalAndSaysWhyAPortCannotBeOpened)
{
    SimulatedUnit unit;
    SimulatedPort port(unit);
    platform::ResetPortList();
    platform::SetComPortPath(3, "/nonexistent/ttyUSB9");
    platform::SerialControl comm, first;
    for (const char* bad : {"19200,X,8,1", "19200,N,9,1", "19200,N,8"})
        EXPECT_FALSE(comm.SetSettings(bad)) << bad;
    EXPECT_FALSE(comm.SetCommPort(33));
    ASSERT_TRUE(comm.SetCommPort(3));
    EXPECT_FALSE(comm.SetPortOpen(true));
    EXPECT_EQ(comm.LastError().Number, ENOENT);
    EXPECT_NE(comm.LastError().Description.find("Com3 (/nonexistent/ttyUSB9) is not present"),
              std::string::npos);

    platform::SetComPortPath(3, port.SlavePath());
    comm.SetDTREnable(true);
    comm.SetRTSEnable(true);
    ASSERT_TRUE(comm.SetSettings("19200,N,8,2"));
    EXPECT_FALSE(comm.Output("X")) << "not open yet";
    EXPECT_EQ(comm.LastError().Number, EBADF);
    ASSERT_TRUE(comm.SetPortOpen(true)) << comm.LastError().Description;
    EXPECT_TRUE(comm.ModemLinesRefused());
    EXPECT_FALSE(comm.SetCommPort(4)) << "the number cannot change while open";
    EXPECT_TRUE(port.LineSettings().TwoStopBits);

    ASSERT_TRUE(first.SetCommPort(3));
    EXPECT_FALSE(first.SetPortOpen(true));
    EXPECT_EQ(first.LastError().Number, EBUSY);
    EXPECT_NE(first.LastError().Description.find("is in use by another program"), std::string::npos)
        << first.LastError().Description;
    comm.SetPortOpen(false);
    platform::ResetPortList();
}

// The simulated unit's end goes at once when a test ends, even while the
// unit still has much to say that nobody reads: a test's end never waits for
// it.
TEST(SimulatedPort, AUnitStillTalkingStopsAsSoonAsThePortIsTakenDown)
{
    SimulatedUnit unit;
    unit.SetDebugStream(0, 5000);
    unit.SetFailure(FailureMode::EndlessDebug, "GET SYSCONFIG", 1);
    auto port = std::make_unique<SimulatedPort>(unit);
    const int program = ::open(port->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(program, 0);
    ASSERT_EQ(::write(program, "GET SYSCONFIG\r", 14), 14);
    // The unit talks until nothing reads it any more: then its lines wait.
    for (int i = 0; i < 60000 && port->Pending() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::close(program);
    ASSERT_GT(port->Pending(), 1000u) << "the unit has most of its lines still to say";
    const auto start = std::chrono::steady_clock::now();
    port.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "each line left waits for room that never comes";
}

} // namespace
