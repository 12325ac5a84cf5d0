#pragma once
// The serial control's settings text, joined from the shared port settings:
// baud rate, parity letter, data bits and stop bits, e.g. "19200,N,8,1".
#include <string>

namespace hublink {

// How applying the port settings to a serial control ended: Failed after
// the error was shown.
enum class PortStatus
{
    Ready,
    Failed,
};

// Built from PortBaudIndex, PortParity, PortDataBits and PortStopBits.
std::string PortSettingsText();

// The same from given values. A baud index outside 0..7 or a parity outside
// 0..2 gives an empty piece, which the serial control rejects as an invalid
// setting.
std::string PortSettingsText(int baudIndex, int parity, int dataBits, int stopBits);

} // namespace hublink
