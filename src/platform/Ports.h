#pragma once
// The serial ports the program offers as Com1..Com32. Each number stands for
// one device path that never changes with what else is plugged in:
//   Com1..Com4   /dev/ttyS0..ttyS3     on-board ports
//   Com5..Com20  /dev/ttyUSB0..ttyUSB15 USB serial adapters
//   Com21..Com32 /dev/ttyACM0..ttyACM11 USB modem-class adapters
// Any number can be pointed at another device (a /dev/serial/by-id link, a
// pseudo-terminal in tests) with SetComPortPath, or for a whole run with the
// environment variable QVS_COM<n>=<path>, without root.
#include <string>

namespace platform {

constexpr int kMaxComPorts = 32;

// The device path of Com<n>; "" for n outside 1..32.
std::string ComPortPath(int n);
// Points Com<n> at a path for the rest of the run; "" restores the fixed one.
void SetComPortPath(int n, const std::string& path);

// Rebuilds the list of present ports (PortPresent, PortsFound). A port is
// present when its device exists; an on-board port also needs real hardware
// behind it (Linux keeps ttyS nodes for absent ports).
void EnumerateComPorts();
// PortsFound, enumerating first while it is 0.
int ComPortCount();
// PortPresent(n), enumerating first while PortsFound is 0; False outside 1..32.
bool IsComPortPresent(int n);

// Forgets the list and every SetComPortPath (tests).
void ResetPortList();

} // namespace platform
