#include "editors/frmDevices.h"

#include "model/SiteState.h"

#include <QVBoxLayout>

bool DevicesPinned = false;

frmDevices::frmDevices()
{
    setObjectName("frmDevices");
    setWindowTitle("Device Details");
    info_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info_);
}

void frmDevices::NodeSelected()
{
    info_->clear();
}

void frmDevices::NoNodeSelected()
{
    setWindowTitle("Device Details");
    info_->setText("Nothing Selected");
}

void frmDevices::RefreshData(int)
{
    if (ActiveNode < 0)
        NoNodeSelected();
    else if (ActiveNode == 0 && !IsLoopInterface)
        info_->setText("Radio Hub has No Devices");
    else
        info_->setText(QString("Node %1").arg(ActiveNode));
}

void frmDevices::SelectDevice(int slot)
{
    if (slot >= 1 && slot <= 31)
        info_->setText(QString("Node %1, slot %2").arg(ActiveNode).arg(slot));
}

void frmDevices::closeEvent(QCloseEvent* event)
{
    DevicesPinned = false;
    QWidget::closeEvent(event);
}
