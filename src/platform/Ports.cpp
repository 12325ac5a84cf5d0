#include "platform/Ports.h"

#include <QSerialPortInfo>
#include <array>
#include <cstdlib>
#include <set>
#include <sys/stat.h>

namespace platform {
namespace {

std::array<std::string, kMaxComPorts + 1> g_override;
std::array<bool, kMaxComPorts + 1> PortPresent{};
int PortsFound = 0;

std::string FixedPath(int n)
{
    if (n <= 4)
        return "/dev/ttyS" + std::to_string(n - 1);
    if (n <= 20)
        return "/dev/ttyUSB" + std::to_string(n - 5);
    return "/dev/ttyACM" + std::to_string(n - 21);
}

bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

std::string ComPortPath(int n)
{
    if (n < 1 || n > kMaxComPorts)
        return {};
    if (!g_override[static_cast<size_t>(n)].empty())
        return g_override[static_cast<size_t>(n)];
    const std::string variable = "QVS_COM" + std::to_string(n);
    if (const char* env = std::getenv(variable.c_str()); env != nullptr && *env != '\0')
        return env;
    return FixedPath(n);
}

void SetComPortPath(int n, const std::string& path)
{
    if (n >= 1 && n <= kMaxComPorts)
        g_override[static_cast<size_t>(n)] = path;
}

void EnumerateComPorts()
{
    PortPresent.fill(false);
    std::set<std::string> real;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        real.insert(info.systemLocation().toStdString());
    int count = 0;
    for (int n = 1; n <= kMaxComPorts; ++n) {
        const std::string path = ComPortPath(n);
        const bool onBoard = path == FixedPath(n) && n <= 4;
        const bool present = onBoard ? real.count(path) != 0 : Exists(path);
        PortPresent[static_cast<size_t>(n)] = present;
        count += present ? 1 : 0;
    }
    PortsFound = count;
}

int ComPortCount()
{
    if (PortsFound == 0)
        EnumerateComPorts();
    return PortsFound;
}

bool IsComPortPresent(int n)
{
    if (PortsFound == 0)
        EnumerateComPorts();
    return n >= 1 && n <= kMaxComPorts && PortPresent[static_cast<size_t>(n)];
}

void ResetPortList()
{
    for (std::string& path : g_override)
        path.clear();
    PortPresent.fill(false);
    PortsFound = 0;
}

} // namespace platform
