#pragma once
// "Port Properties": the user chooses the serial port and its line settings.
// Every change takes effect at once on the shared port settings and on the
// window's own serial control, which only opens the chosen port so that a
// port that cannot be opened is reported while the user chooses it.
#include "platform/SerialControl.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSlider;
class QPushButton;

class frmPortForm : public QWidget
{
    Q_OBJECT
public:
    explicit frmPortForm(QWidget* parent = nullptr);

    // Creates the window (deleted when closed) unless it is open already,
    // centres it on `over` and shows it without making it modal.
    static frmPortForm* ShowCentredOn(QWidget* over);

    // Applies the port settings to the window's own control (PortSetup.h);
    // after an error "  Port Enabled" is cleared with PortEnabled.
    bool ApplyPortSettings();

    platform::SerialControl& Comm() { return Comm_; }

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
    void P_OK_Click();
    // The window's port went away: it is closed and disabled, and the user
    // is told.
    void Comm_PortLost();

private:
    void BuildControls();
    void Form_Load();
    void SelectListIndex(int index);

    QCheckBox* P_OnOff = nullptr;
    QComboBox* PortSelect = nullptr;
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
    QPushButton* P_OK = nullptr;
    platform::SerialControl Comm_;

    bool loading_ = false;   // handlers do nothing while the window sets its own controls
    int lastGoodIndex_ = -1; // list index of the last port selected successfully
};
