#pragma once
// "Port Properties": the user chooses the serial port and its line settings.
// Every change takes effect at once on the shared port settings and on the
// window's own serial control, which only opens the chosen port so that a
// port that cannot be opened is reported while the user chooses it.
#include "platform/SerialControl.h"

#include "hublink/core/PortSettings.h"

#include <QWidget>

class PortPanel;

class frmPortForm : public QWidget
{
    Q_OBJECT
public:
    explicit frmPortForm(QWidget* parent = nullptr);

    // Creates the window (deleted when closed) unless it is open already,
    // centres it on `over` and shows it without making it modal.
    static frmPortForm* ShowCentredOn(QWidget* over);

    // Applies the port settings to the window's own control (PortSetup.h);
    // after an error (Failed) "  Port Enabled" is cleared with PortEnabled.
    hublink::PortStatus ApplyPortSettings();

    platform::SerialControl& Comm() { return Comm_; }

    void P_OK_Click();

private:
    void BuildControls();
    void Form_Load();

    platform::SerialControl Comm_;
    PortPanel* Panel = nullptr; // the port controls
};
