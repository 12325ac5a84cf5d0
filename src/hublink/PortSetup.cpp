#include "hublink/PortSetup.h"

#include "hublink/core/PortSettings.h"
#include "model/Settings.h"
#include "platform/ProgramMessage.h"
#include "platform/SerialControl.h"

void ReportPortError(QWidget* owner, int n, int number, const std::string& description)
{
    platform::ShowProgramMessage(owner,
                                 "Error Opening Port " + std::to_string(n) + ", " + std::to_string(number) +
                                     "\r\n" + description,
                                 16, "Open Port " + std::to_string(n));
}

hublink::PortStatus ApplyPortSettingsTo(platform::SerialControl& comm, QWidget* owner)
{
    comm.SetPortOpen(false);
    const bool ok = comm.SetCommPort(PortNumber) && comm.SetSettings(hublink::PortSettingsText());
    if (ok) {
        comm.SetDTREnable(PortDTR);
        comm.SetRTSEnable(PortRTS);
    }
    if (ok && (!PortEnabled || comm.SetPortOpen(true)))
        return hublink::PortStatus::Ready;
    ReportPortError(owner, PortNumber, comm.LastError().Number, comm.LastError().Description);
    PortEnabled = false;
    return hublink::PortStatus::Failed;
}
