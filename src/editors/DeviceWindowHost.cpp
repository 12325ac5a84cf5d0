#include "editors/DeviceWindowHost.h"

DeviceWindowHost& DevicesHost()
{
    static DeviceWindowHost host;
    return host;
}
