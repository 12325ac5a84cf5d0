// The port list and the serial control on pseudo-terminals.
#include "platform/Ports.h"
#include "platform/SerialControl.h"
#include "support/SimulatedPort.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(Ports, NumbersMapToFixedDevicesAndCanBePointedElsewhere)
{
    platform::ResetPortList();
    EXPECT_EQ(platform::ComPortPath(1), "/dev/ttyS0");
    EXPECT_EQ(platform::ComPortPath(4), "/dev/ttyS3");
    EXPECT_EQ(platform::ComPortPath(5), "/dev/ttyUSB0");
    EXPECT_EQ(platform::ComPortPath(20), "/dev/ttyUSB15");
    EXPECT_EQ(platform::ComPortPath(21), "/dev/ttyACM0");
    EXPECT_EQ(platform::ComPortPath(32), "/dev/ttyACM11");
    EXPECT_EQ(platform::ComPortPath(0), "");
    EXPECT_EQ(platform::ComPortPath(33), "");
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
    EXPECT_FALSE(platform::IsComPortPresent(13));
    EXPECT_FALSE(platform::IsComPortPresent(0));
    EXPECT_FALSE(platform::IsComPortPresent(33));
    const int found = platform::ComPortCount();
    EXPECT_GE(found, 1);
    platform::SetComPortPath(13, b.SlavePath());
    EXPECT_FALSE(platform::IsComPortPresent(13)) << "the list is built once per run";
    EXPECT_EQ(platform::ComPortCount(), found);
    platform::EnumerateComPorts();
    EXPECT_TRUE(platform::IsComPortPresent(13));
    platform::ResetPortList();
}

TEST(SerialControl, OpensAPseudoTerminalAndSurvivesRefusedModemLines)
{
    SimulatedUnit unit;
    SimulatedPort port(unit);
    platform::ResetPortList();
    platform::SetComPortPath(3, port.SlavePath());
    platform::SerialControl comm;
    EXPECT_FALSE(comm.SetSettings("19200,X,8,1"));
    EXPECT_FALSE(comm.SetSettings("19200,N,9,1"));
    EXPECT_FALSE(comm.SetSettings("19200,N,8"));
    EXPECT_FALSE(comm.SetCommPort(33));
    ASSERT_TRUE(comm.SetCommPort(3));
    comm.SetDTREnable(true);
    comm.SetRTSEnable(true);
    // A pseudo-terminal has no parity and no 7-bit characters: the control
    // says so and stays closed.
    ASSERT_TRUE(comm.SetSettings("19200,E,7,2"));
    EXPECT_FALSE(comm.SetPortOpen(true));
    EXPECT_EQ(comm.LastError().Number, EINVAL);
    EXPECT_FALSE(comm.PortOpen());
    ASSERT_TRUE(comm.SetSettings("19200,N,8,2"));
    EXPECT_FALSE(comm.Output("X")) << "not open yet";
    EXPECT_EQ(comm.LastError().Number, EBADF);
    ASSERT_TRUE(comm.SetPortOpen(true)) << comm.LastError().Description;
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_TRUE(comm.ModemLinesRefused());
    EXPECT_FALSE(comm.SetCommPort(4)) << "the number cannot change while open";
    const termios t = port.LineSettings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_TRUE(comm.SetSettings("115200,N,8,1"));
    const termios t2 = port.LineSettings();
    EXPECT_EQ(cfgetospeed(&t2), static_cast<speed_t>(B115200));
    comm.SetPortOpen(false);
    platform::ResetPortList();
}

TEST(SerialControl, ReportsWhyAPortCannotBeOpened)
{
    platform::ResetPortList();
    platform::SetComPortPath(3, "/nonexistent/ttyUSB9");
    platform::SerialControl comm;
    ASSERT_TRUE(comm.SetCommPort(3));
    EXPECT_FALSE(comm.SetPortOpen(true));
    EXPECT_EQ(comm.LastError().Number, ENOENT);
    EXPECT_NE(comm.LastError().Description.find("Com3 (/nonexistent/ttyUSB9) is not present"),
              std::string::npos);

    SimulatedUnit unit;
    SimulatedPort port(unit);
    platform::SetComPortPath(3, port.SlavePath());
    platform::SerialControl first;
    ASSERT_TRUE(first.SetCommPort(3));
    ASSERT_TRUE(first.SetPortOpen(true));
    EXPECT_FALSE(comm.SetPortOpen(true));
    EXPECT_EQ(comm.LastError().Number, EBUSY);
    EXPECT_NE(comm.LastError().Description.find("is in use by another program"), std::string::npos)
        << comm.LastError().Description;
    first.SetPortOpen(false);

    const std::string folder = ::testing::TempDir();
    platform::SetComPortPath(3, folder);
    EXPECT_FALSE(comm.SetPortOpen(true));
    EXPECT_NE(comm.LastError().Number, 0);
    EXPECT_FALSE(comm.LastError().Description.empty());
    platform::ResetPortList();
}

} // namespace
