#include "hublink/PortPanel.h"

#include "hublink/PortSetup.h"
#include "hublink/core/PortSettings.h"
#include "model/Settings.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "platform/SerialControl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

using namespace hublink;

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QGroupBox* Frame(const char* title, QRadioButton* a, QRadioButton* b, QRadioButton* c = nullptr)
{
    auto* box = new QGroupBox(QString::fromLatin1(title));
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (QRadioButton* button : {a, b, c}) {
        if (button == nullptr)
            continue;
        layout->addWidget(button);
        group->addButton(button);
    }
    return box;
}

} // namespace

PortPanel::PortPanel(platform::SerialControl& comm, QWidget* parent) : QWidget(parent), Comm_(comm)
{
    setObjectName(QStringLiteral("PortPanel"));
    BuildControls();
}

void PortPanel::BuildControls()
{
    P_OnOff = Named(new QCheckBox(QStringLiteral("  Port Enabled")), "P_OnOff");
    PortSelect = Named(new QComboBox, "PortSelect");
    SPBaud = Named(new QSlider(Qt::Vertical), "SPBaud");
    SPBaud->setRange(0, 7);
    SPBaud->setPageStep(1);
    // A drag applies the rate it ends on, not every rate it passes (each
    // one reopens the port, and a refused one shows a message).
    SPBaud->setTracking(false);
    SPBaud->setInvertedAppearance(true); // value 0 (115200) at the top
    SPBaud->setTickPosition(QSlider::TicksRight);
    P_Bits7 = Named(new QRadioButton(QStringLiteral("7 Bits")), "P_Bits7");
    P_Bits8 = Named(new QRadioButton(QStringLiteral("8 Bits")), "P_Bits8");
    P_Stop1 = Named(new QRadioButton(QStringLiteral("1 Bit")), "P_Stop1");
    P_Stop2 = Named(new QRadioButton(QStringLiteral("2 Bits")), "P_Stop2");
    P_NoParity = Named(new QRadioButton(QStringLiteral("None")), "P_NoParity");
    P_EvenParity = Named(new QRadioButton(QStringLiteral("Even")), "P_EvenParity");
    P_OddParity = Named(new QRadioButton(QStringLiteral("Odd")), "P_OddParity");
    P_DTR = Named(new QCheckBox(QStringLiteral("DTR")), "P_DTR");
    P_RTS = Named(new QCheckBox(QStringLiteral("RTS")), "P_RTS");

    auto* baudLabels = new QVBoxLayout;
    for (const char* rate : {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200"})
        baudLabels->addWidget(new QLabel(QString::fromLatin1(rate)));
    auto* baudRow = new QHBoxLayout;
    baudRow->addWidget(SPBaud);
    baudRow->addLayout(baudLabels);
    auto* baud = new QGroupBox(QStringLiteral("Baud Rate"));
    baud->setLayout(baudRow);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(new QLabel(QStringLiteral("Port")));
    portRow->addWidget(PortSelect);

    auto* lines = new QHBoxLayout;
    lines->addWidget(P_DTR);
    lines->addWidget(P_RTS);

    auto* grid = new QGridLayout(this);
    grid->addWidget(P_OnOff, 0, 0);
    grid->addLayout(portRow, 0, 1);
    grid->addWidget(baud, 1, 0, 3, 1);
    grid->addWidget(Frame("Data Bits", P_Bits7, P_Bits8), 1, 1);
    grid->addWidget(Frame("Stop Bits", P_Stop1, P_Stop2), 2, 1);
    grid->addWidget(Frame("Parity", P_NoParity, P_EvenParity, P_OddParity), 3, 1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addLayout(lines, 4, 0);

    connect(P_OnOff, &QCheckBox::clicked, this, &PortPanel::P_OnOff_Click);
    connect(PortSelect, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            PortSelect_Click();
    });
    connect(SPBaud, &QSlider::valueChanged, this, [this] {
        if (!loading_)
            SPBaud_Change();
    });
    connect(P_Bits7, &QRadioButton::clicked, this, &PortPanel::P_Bits7_Click);
    connect(P_Bits8, &QRadioButton::clicked, this, &PortPanel::P_Bits8_Click);
    connect(P_Stop1, &QRadioButton::clicked, this, &PortPanel::P_Stop1_Click);
    connect(P_Stop2, &QRadioButton::clicked, this, &PortPanel::P_Stop2_Click);
    connect(P_NoParity, &QRadioButton::clicked, this, &PortPanel::P_NoParity_Click);
    connect(P_EvenParity, &QRadioButton::clicked, this, &PortPanel::P_EvenParity_Click);
    connect(P_OddParity, &QRadioButton::clicked, this, &PortPanel::P_OddParity_Click);
    connect(P_DTR, &QCheckBox::clicked, this, &PortPanel::P_DTR_Click);
    connect(P_RTS, &QCheckBox::clicked, this, &PortPanel::P_RTS_Click);
}

int PortPanel::Fill()
{
    loading_ = true;
    P_OnOff->setChecked(PortEnabled);
    SPBaud->setValue(7 - PortBaudIndex);
    (PortDataBits == 8 ? P_Bits8 : P_Bits7)->setChecked(true);
    (PortStopBits == 1 ? P_Stop1 : P_Stop2)->setChecked(true);
    if (PortParity == 0)
        P_NoParity->setChecked(true);
    else if (PortParity == 1)
        P_EvenParity->setChecked(true);
    else if (PortParity == 2)
        P_OddParity->setChecked(true);
    P_DTR->setChecked(PortDTR);
    P_RTS->setChecked(PortRTS);
    // The control carries the current line settings before it opens a port.
    Comm_.SetSettings(PortSettingsText());
    Comm_.SetDTREnable(PortDTR);
    Comm_.SetRTSEnable(PortRTS);

    platform::ComPortCount();
    PortSelect->clear();
    int selected = -1;
    for (int n = 1; n <= platform::kMaxComPorts; ++n) {
        if (!platform::IsComPortPresent(n))
            continue;
        PortSelect->addItem(QStringLiteral("Com%1").arg(n), n);
        if (n == PortNumber)
            selected = PortSelect->count() - 1;
    }
    PortSelect->setCurrentIndex(selected);
    lastGoodIndex_ = selected;
    loading_ = false;
    return selected;
}

void PortPanel::ShowPortOpen(bool open)
{
    P_OnOff->setChecked(open);
}

PortStatus PortPanel::ApplyPortSettings()
{
    if (ApplyPortSettingsTo(Comm_, window()) == PortStatus::Ready)
        return PortStatus::Ready;
    // The port is disabled now; the box must not go on saying it is enabled.
    P_OnOff->setChecked(false);
    return PortStatus::Failed;
}

void PortPanel::P_OnOff_Click()
{
    PortEnabled = P_OnOff->isChecked();
    if (!PortEnabled) {
        Comm_.SetPortOpen(false);
        return;
    }
    if (Comm_.PortOpen() || (Comm_.SetCommPort(PortNumber) && Comm_.SetPortOpen(true)))
        return;
    ReportPortError(window(), PortNumber, Comm_.LastError().Number, Comm_.LastError().Description);
    PortEnabled = false;
    P_OnOff->setChecked(false);
}

void PortPanel::SelectListIndex(int index)
{
    loading_ = true;
    PortSelect->setCurrentIndex(index);
    loading_ = false;
}

void PortPanel::PortSelect_Click()
{
    const int index = PortSelect->currentIndex();
    if (index < 0)
        return;
    Comm_.SetPortOpen(false);
    const int n = PortSelect->currentText().mid(3).toInt();
    if (Comm_.SetCommPort(n) && (!PortEnabled || Comm_.SetPortOpen(true))) {
        PortNumber = static_cast<int16_t>(n);
        lastGoodIndex_ = index;
        return;
    }
    const platform::SerialError failure = Comm_.LastError();
    platform::ShowProgramMessage(window(),
                                 "Error Opening Port " + std::to_string(n) + ", \r\nCode " +
                                     std::to_string(failure.Number) + ", " + failure.Description,
                                 16, "Open Port " + std::to_string(n));
    // Back to the previous port, which stays selected and open.
    Comm_.SetCommPort(PortNumber);
    if (PortEnabled && !Comm_.SetPortOpen(true)) {
        ReportPortError(window(), PortNumber, Comm_.LastError().Number, Comm_.LastError().Description);
        PortEnabled = false;
        P_OnOff->setChecked(false);
    }
    SelectListIndex(lastGoodIndex_);
}

void PortPanel::SPBaud_Change()
{
    PortBaudIndex = static_cast<int16_t>(7 - SPBaud->value());
    ApplyPortSettings();
}

void PortPanel::P_Bits7_Click()
{
    PortDataBits = 7;
    ApplyPortSettings();
}

void PortPanel::P_Bits8_Click()
{
    PortDataBits = 8;
    ApplyPortSettings();
}

void PortPanel::P_Stop1_Click()
{
    PortStopBits = 1;
    ApplyPortSettings();
}

void PortPanel::P_Stop2_Click()
{
    PortStopBits = 2;
    ApplyPortSettings();
}

void PortPanel::P_NoParity_Click()
{
    PortParity = 0;
    ApplyPortSettings();
}

void PortPanel::P_EvenParity_Click()
{
    PortParity = 1;
    ApplyPortSettings();
}

void PortPanel::P_OddParity_Click()
{
    PortParity = 2;
    ApplyPortSettings();
}

void PortPanel::P_DTR_Click()
{
    PortDTR = P_DTR->isChecked();
    ApplyPortSettings();
}

void PortPanel::P_RTS_Click()
{
    PortRTS = P_RTS->isChecked();
    ApplyPortSettings();
}

void PortPanel::Comm_PortLost()
{
    // The control has closed the port; the box must not go on saying it is
    // enabled.
    PortEnabled = false;
    P_OnOff->setChecked(false);
    platform::ShowProgramMessage(window(),
                                 "Port " + std::to_string(PortNumber) + " Lost, " +
                                     std::to_string(Comm_.LastError().Number) + "\r\n" +
                                     Comm_.LastError().Description,
                                 16, "Open Port " + std::to_string(PortNumber));
}
