#include "editors/frmNodeSettings.h"

#include "model/SiteState.h"

#include <QVBoxLayout>

bool NodeSettingsPinned = false;

frmNodeSettings::frmNodeSettings()
{
    setObjectName("frmNodeSettings");
    setWindowTitle("Hub/RCC Properties");
    info_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info_);
}

void frmNodeSettings::NodeSelected()
{
    if (IsLoopInterface && ActiveNode == 0)
        setWindowTitle("RLM Properties");
    else if (ActiveNode == 0)
        setWindowTitle("Radio Hub Properties");
    else
        setWindowTitle(QString("RCC %1 Properties").arg(ActiveNode));
}

void frmNodeSettings::NoNodeSelected()
{
    setWindowTitle("Hub/RCC Properties");
    info_->clear();
}

void frmNodeSettings::RefreshData(int)
{
    info_->setText(ActiveNode < 0 ? QString() : QString("Node %1").arg(ActiveNode));
}

void frmNodeSettings::closeEvent(QCloseEvent* event)
{
    NodeSettingsPinned = false;
    QWidget::closeEvent(event);
}
