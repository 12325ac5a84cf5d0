#pragma once
// The port controls shared by the port settings window and the diagnostics
// window's Comms Settings page: port list, "  Port Enabled", baud slider,
// data bits, stop bits, parity, DTR and RTS. Every change is stored in the
// shared port settings and applied at once to the serial control the panel
// is given; errors are shown owned by the panel's window.
#include "hublink/core/PortSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSlider;

namespace platform {
class SerialControl;
}

class PortPanel : public QWidget
{
    Q_OBJECT
public:
    PortPanel(platform::SerialControl& comm, QWidget* parent = nullptr);

    // Shows the shared settings and lists the present ports, the entry of
    // PortNumber selected without applying anything. Returns its index (-1
    // when the port is not present).
    int Fill();

    // Applies the port settings to the control (PortSetup.h); after an error
    // (Failed) "  Port Enabled" is cleared with PortEnabled.
    hublink::PortStatus ApplyPortSettings();

    // Handlers, named after their controls.
    void P_OnOff_Click();
    void PortSelect_Click();
    void SPBaud_Change();
    void P_Bits7_Click();
    void P_Bits8_Click();
    void P_Stop1_Click();
    void P_Stop2_Click();
    void P_NoParity_Click();
    void P_EvenParity_Click();
    void P_OddParity_Click();
    void P_DTR_Click();
    void P_RTS_Click();
    // The port went away: "  Port Enabled" is cleared with PortEnabled and
    // the user is told.
    void Comm_PortLost();
    // Ticks "  Port Enabled" exactly while the port is open, without running
    // its handler (a window whose tick follows its port).
    void ShowPortOpen(bool open);

    QComboBox* PortSelect = nullptr;

private:
    void BuildControls();
    void SelectListIndex(int index);

    platform::SerialControl& Comm_;
    QCheckBox* P_OnOff = nullptr;
    QSlider* SPBaud = nullptr;
    QRadioButton* P_Bits7 = nullptr;
    QRadioButton* P_Bits8 = nullptr;
    QRadioButton* P_Stop1 = nullptr;
    QRadioButton* P_Stop2 = nullptr;
    QRadioButton* P_NoParity = nullptr;
    QRadioButton* P_EvenParity = nullptr;
    QRadioButton* P_OddParity = nullptr;
    QCheckBox* P_DTR = nullptr;
    QCheckBox* P_RTS = nullptr;

    bool loading_ = false;   // handlers do nothing while the panel sets its own controls
    int lastGoodIndex_ = -1; // PortListIndex: the entry last selected with success
};
