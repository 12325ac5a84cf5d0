#pragma once
// The port that carries the link's bytes: the serial control in the program,
// a simulated unit in tests. Received bytes are handed to
// CommsLink::Comm_OnComm by whoever owns the port.
#include <string>

namespace hublink {

// An error of the port, as the serial control reports it.
struct LinkError
{
    int Number = 0;
    std::string Description;
};

class ISerialTransport
{
public:
    virtual ~ISerialTransport() = default;
    // Writes the bytes as they are. False, with the reason, when the port is
    // not open or refuses them.
    virtual bool Output(const std::string& bytes, LinkError& error) = 0;
};

} // namespace hublink
