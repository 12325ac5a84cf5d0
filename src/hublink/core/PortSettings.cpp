#include "hublink/core/PortSettings.h"

#include "model/Settings.h"

#include <array>

namespace hublink {

std::string PortSettingsText(int baudIndex, int parity, int dataBits, int stopBits)
{
    static const std::array<const char*, 8> baud = {"1200,",  "2400,",  "4800,",  "9600,",
                                                    "19200,", "38400,", "57600,", "115200,"};
    static const std::array<const char*, 3> parityPiece = {"N,", "E,", "O,"};
    std::string text;
    if (baudIndex >= 0 && baudIndex < 8)
        text += baud[static_cast<size_t>(baudIndex)];
    if (parity >= 0 && parity < 3)
        text += parityPiece[static_cast<size_t>(parity)];
    text += std::to_string(dataBits) + "," + std::to_string(stopBits);
    return text;
}

std::string PortSettingsText()
{
    return PortSettingsText(PortBaudIndex, PortParity, PortDataBits, PortStopBits);
}

} // namespace hublink
