#pragma once
// Applying the shared port settings to a serial control, as the
// communications window's ResetPort and the port settings window's
// ApplyPortSettings both do.
#include "hublink/core/PortSettings.h"

#include <string>

class QWidget;

namespace platform {
class SerialControl;
}

// Closes the port, sets PortNumber, the settings text, DTR and RTS, and opens
// the port when PortEnabled is True. On an error it shows "Error Opening
// Port <n>, <number>" and the reason in the program's message box (stop icon,
// title "Open Port <n>"), sets PortEnabled False and returns Failed.
hublink::PortStatus ApplyPortSettingsTo(platform::SerialControl& comm, QWidget* owner);

// The message text of an opening error of port n.
void ReportPortError(QWidget* owner, int n, int number, const std::string& description);
