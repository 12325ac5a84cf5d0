#include "hublink/frmComms.h"

bool CommsFormActive = false;
bool frmComms::StandInPortOpens = false;
QStringList frmComms::StandInCalls;
std::function<void(frmComms&, const QString&)> frmComms::StandInOnAction;

frmComms::frmComms()
{
    setObjectName("frmComms");
    setWindowTitle("Communications");
    portOpen_ = StandInPortOpens;
}

void frmComms::ResetStandIn()
{
    StandInPortOpens = false;
    StandInCalls.clear();
    StandInOnAction = nullptr;
}

void frmComms::Record(const QString& name)
{
    StandInCalls << name;
    if (StandInOnAction)
        StandInOnAction(*this, name);
}

void frmComms::cmdProgram_Click()
{
    Record("cmdProgram_Click");
}

void frmComms::CompareConfig_Click()
{
    Record("CompareConfig_Click");
}

void frmComms::ReadConfig_Click()
{
    Record("ReadConfig_Click");
}

void frmComms::showEvent(QShowEvent* event)
{
    CommsFormActive = true;
    QWidget::showEvent(event);
}

void frmComms::closeEvent(QCloseEvent* event)
{
    CommsFormActive = false;
    QWidget::closeEvent(event);
}
