#include "diagnostics/ChannelMonitorPage.h"

#include "diagnostics/ChannelChart.h"
#include "diagnostics/ChannelPageParts.h"
#include "platform/UpDown.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace diagnostics;
using enum DiagsStateCode;

namespace {

constexpr int kMinorDivisions = 5;

} // namespace

ChannelMonitorPage::ChannelMonitorPage(IChannelLink& link, QWidget* parent)
    : QWidget(parent), Monitor(link), fraMonitor(new QGroupBox(this)), txtStartMonitor(NumberBox("1", this)),
      UpDnStartCh(new UpDown(this)), txtEndMonitor(NumberBox("32", this)), UpDnEndCh(new UpDown(this)),
      cmdMonitor(new QPushButton("Channel Monitor", this)), lblStatus(new QLabel(this)),
      MSChart(new ChannelChart(this)), MSChart1(new ChannelChart(this)), cmdSoft1(new QPushButton("Monitor", this)),
      cmdSoft2(new QPushButton(this)), lblProgress(new QLabel(this)), link_(link)
{
    setObjectName("ChannelMonitorPage");
    for (UpDown* upDown : {UpDnStartCh, UpDnEndCh}) {
        upDown->SetMin(1);
        upDown->SetMax(kChannelCount);
    }
    UpDnStartCh->SetValue(1);
    UpDnEndCh->SetValue(kChannelCount);
    auto* inputs = new QHBoxLayout(fraMonitor);
    inputs->addWidget(new QLabel("Start Channel", fraMonitor));
    inputs->addWidget(txtStartMonitor);
    inputs->addWidget(UpDnStartCh);
    inputs->addWidget(new QLabel("End Channel", fraMonitor));
    inputs->addWidget(txtEndMonitor);
    inputs->addWidget(UpDnEndCh);
    inputs->addWidget(cmdMonitor);
    ShowStatus(lblStatus, " Idle ", kStatusIdle);

    for (ChannelChart* chart : {MSChart, MSChart1}) {
        chart->SetTitle("Channel Monitor");
        chart->SetSeriesColour(QColor(0, 0, 200));
        chart->SetMinorDivisions(kMinorDivisions);
        connect(chart, &ChannelChart::ToggleChartType, this, &ChannelMonitorPage::MSChart_ToggleChartType);
        connect(chart, &ChannelChart::ShowPointValue, this, &ChannelMonitorPage::MSChart_ShowPointValue);
    }
    MSChart1->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(fraMonitor);
    top->addWidget(lblStatus, 1);
    auto* charts = new QGridLayout;
    charts->addWidget(MSChart, 0, 0);
    charts->addWidget(MSChart1, 0, 0);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addLayout(charts, 1);
    fraSoftKeys = SoftKeyRow(cmdSoft1, cmdSoft2, lblProgress, nullptr, this);
    page->addWidget(fraSoftKeys);

    for (QLineEdit* box : {txtStartMonitor, txtEndMonitor})
        box->installEventFilter(this);
    connect(txtStartMonitor, &QLineEdit::textChanged, this, &ChannelMonitorPage::txtStartMonitor_Change);
    connect(txtEndMonitor, &QLineEdit::textChanged, this, &ChannelMonitorPage::txtEndMonitor_Change);
    connect(UpDnStartCh, &UpDown::Change, this, &ChannelMonitorPage::UpDnStartCh_Change);
    connect(UpDnEndCh, &UpDown::Change, this, &ChannelMonitorPage::UpDnEndCh_Change);
    connect(cmdMonitor, &QPushButton::clicked, this, &ChannelMonitorPage::cmdMonitor_Click);
    connect(cmdSoft1, &QPushButton::clicked, this, &ChannelMonitorPage::cmdSoft1_Click);
    connect(cmdSoft2, &QPushButton::clicked, this, &ChannelMonitorPage::cmdSoft2_Click);
    Monitor.LevelsRead = [this] { LevelsRead(); };
}

void ChannelMonitorPage::cmdMonitor_Click()
{
    cmdSoft1_Click();
}

void ChannelMonitorPage::cmdSoft1_Click()
{
    if (running_)
        return;
    running_ = true;
    cmdSoft1->hide();
    fraMonitor->setEnabled(false);
    lblProgress->setText(" Channel Monitoring Running... ");
    lblProgress->show();
    ShowStatus(lblStatus, lblProgress->text(), kStatusBusy);
    cmdSoft2->setText("Cancel");
    cmdSoft2->show();
    for (ChannelChart* chart : {MSChart, MSChart1})
        chart->SetLevels(QList<int>(kChannelCount, 0));
    ShowChart(MSChart);
    emit RunStarted();

    // The range is read once: the run keeps it however the inputs change.
    const hublink::StateCode state = Monitor.Run(UpDnStartCh->Value(), UpDnEndCh->Value());

    lblProgress->hide();
    cmdSoft2->hide();
    cmdSoft1->show();
    fraMonitor->setEnabled(true);
    ShowRunEnd(lblStatus, state, MonitorDone, link_);
    lblProgress->setText(lblStatus->text());
    running_ = false;
    emit RunEnded(state.Value());
}

void ChannelMonitorPage::cmdSoft2_Click()
{
    if (!Monitor.Cancel())
        return;
    lblProgress->setText(" Stopping Channel Monitoring... ");
    ShowStatus(lblStatus, lblProgress->text(), kStatusBusy);
}

void ChannelMonitorPage::LevelsRead()
{
    // Drawn on the hidden chart, which then replaces the shown one.
    ChannelChart* chart = Monitor.ChartToggle() ? MSChart1 : MSChart;
    chart->SetLevels(QList<int>(Monitor.Results().begin(), Monitor.Results().end()));
    ShowChart(chart);
}

void ChannelMonitorPage::ShowChart(ChannelChart* chart)
{
    chart->show();
    (chart == MSChart ? MSChart1 : MSChart)->hide();
}

void ChannelMonitorPage::MSChart_ToggleChartType()
{
    const int type = MSChart->ChartType() == ChannelChart::kLine ? ChannelChart::kBar : ChannelChart::kLine;
    for (ChannelChart* chart : {MSChart, MSChart1})
        chart->SetChartType(type);
}

void ChannelMonitorPage::MSChart_ShowPointValue(int row)
{
    if (row < 0 || row >= kChannelCount)
        return;
    const QString level = QString::number(Monitor.Results()[static_cast<std::size_t>(row)]);
    for (ChannelChart* chart : {MSChart, MSChart1})
        chart->setToolTip(level);
}

void ChannelMonitorPage::BoxChanged(QLineEdit* box, UpDown* upDown)
{
    if (box->text().isEmpty())
        return;
    const int number = box->text().toInt();
    if (number >= upDown->Min() && number <= upDown->Max())
        upDown->SetValue(number);
    else
        box->setText(QString::number(upDown->Value()));
}

void ChannelMonitorPage::txtStartMonitor_Change()
{
    BoxChanged(txtStartMonitor, UpDnStartCh);
}

void ChannelMonitorPage::txtEndMonitor_Change()
{
    BoxChanged(txtEndMonitor, UpDnEndCh);
}

void ChannelMonitorPage::UpDnStartCh_Change()
{
    UpDnStartCh->SetMax(UpDnEndCh->Value());
    if (txtStartMonitor->text() != QString::number(UpDnStartCh->Value()))
        txtStartMonitor->setText(QString::number(UpDnStartCh->Value()));
}

void ChannelMonitorPage::UpDnEndCh_Change()
{
    // The start follows the end down, and may go up to it again.
    if (UpDnEndCh->Value() < UpDnStartCh->Value())
        UpDnStartCh->SetValue(UpDnEndCh->Value());
    UpDnStartCh->SetMax(UpDnEndCh->Value());
    if (txtEndMonitor->text() != QString::number(UpDnEndCh->Value()))
        txtEndMonitor->setText(QString::number(UpDnEndCh->Value()));
}

bool ChannelMonitorPage::eventFilter(QObject* watched, QEvent* event)
{
    for (QLineEdit* box : {txtStartMonitor, txtEndMonitor})
        if (watched == box && RefuseKey(event, box, AcceptChannelKey))
            return true;
    return QWidget::eventFilter(watched, event);
}
