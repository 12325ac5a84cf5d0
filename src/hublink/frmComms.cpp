#include "hublink/frmComms.h"

bool CommsFormActive = false;

frmComms::frmComms()
{
    setObjectName("frmComms");
    setWindowTitle("Communications");
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
