#include "diagnostics/ChannelScanPage.h"

#include "diagnostics/ChannelChart.h"
#include "diagnostics/ChannelPageParts.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/LinkTiming.h"
#include "platform/UpDown.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace diagnostics;
using enum DiagsStateCode;

namespace {

constexpr int kTickMs = 1000;

} // namespace

ChannelScanPage::ChannelScanPage(IChannelLink& link, QWidget* parent)
    : QWidget(parent), Scan(link), fraScan(new QGroupBox(this)), txtDuration(NumberBox("1", this)),
      UpDnDuration(new UpDown(this)), cmdFScan(new QPushButton("Channel Scan", this)), lblStatus(new QLabel(this)),
      MSChart(new ChannelChart(this)), cmdSoft1(new QPushButton("Scan", this)), cmdSoft2(new QPushButton(this)),
      lblProgress(new QLabel(this)), CommsProgress(new QProgressBar(this)), ProcessTimer(new QTimer(this)),
      link_(link)
{
    setObjectName("ChannelScanPage");
    UpDnDuration->SetMin(1);
    UpDnDuration->SetMax(255);
    UpDnDuration->SetValue(1);
    auto* inputs = new QHBoxLayout(fraScan);
    inputs->addWidget(new QLabel("Scan Time in Minutes", fraScan));
    inputs->addWidget(txtDuration);
    inputs->addWidget(UpDnDuration);
    inputs->addWidget(cmdFScan);
    ShowStatus(lblStatus, " Idle ", kStatusIdle);
    lblStatus->setMinimumHeight(txtDuration->sizeHint().height());

    MSChart->SetTitle("Channel Scan");
    MSChart->SetSeriesColour(QColor(200, 0, 0));
    CommsProgress->setTextVisible(false);
    CommsProgress->hide();
    ProcessTimer->setInterval(hublink::ScaledInterval(kTickMs));

    auto* top = new QHBoxLayout;
    top->addWidget(fraScan);
    top->addWidget(lblStatus, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(MSChart, 1);
    fraSoftKeys = SoftKeyRow(cmdSoft1, cmdSoft2, lblProgress, CommsProgress, this);
    page->addWidget(fraSoftKeys);

    txtDuration->installEventFilter(this);
    connect(txtDuration, &QLineEdit::textChanged, this, &ChannelScanPage::txtDuration_Change);
    connect(UpDnDuration, &UpDown::Change, this, [this] {
        if (txtDuration->text() != QString::number(UpDnDuration->Value()))
            txtDuration->setText(QString::number(UpDnDuration->Value()));
    });
    connect(cmdFScan, &QPushButton::clicked, this, &ChannelScanPage::cmdFScan_Click);
    connect(cmdSoft1, &QPushButton::clicked, this, &ChannelScanPage::cmdSoft1_Click);
    connect(cmdSoft2, &QPushButton::clicked, this, &ChannelScanPage::cmdSoft2_Click);
    connect(ProcessTimer, &QTimer::timeout, this, &ChannelScanPage::ProcessTimer_Timer);
    connect(MSChart, &ChannelChart::ToggleChartType, this, &ChannelScanPage::MSChart_ToggleChartType);
    connect(MSChart, &ChannelChart::ShowPointValue, this, &ChannelScanPage::MSChart_ShowPointValue);
    Scan.Changed = [this] { ScanChanged(); };
}

void ChannelScanPage::cmdFScan_Click()
{
    cmdSoft1_Click();
}

void ChannelScanPage::cmdSoft1_Click()
{
    if (running_)
        return;
    running_ = true;
    const int minutes = UpDnDuration->Value();
    const int typed = txtDuration->text().toInt();
    if (typed < 1 || typed > 255)
        txtDuration->setText(QString::number(minutes));
    CommsProgress->setRange(0, minutes * 60);
    CommsProgress->setValue(0);
    ShowStatus(lblStatus, QString(), kStatusBusy);
    fraScan->setEnabled(false);
    cmdSoft1->hide();
    cmdSoft2->setText("Cancel");
    cmdSoft2->show();
    MSChart->SetLevels(QList<int>(kChannelCount, 0));
    MSChart->show();
    emit RunStarted();

    const hublink::StateCode state = Scan.Run(minutes);

    ProcessTimer->stop();
    lblProgress->setText(" Idle ");
    lblProgress->hide();
    CommsProgress->hide();
    cmdSoft2->hide();
    cmdSoft1->show();
    fraScan->setEnabled(true);
    ShowRunEnd(lblStatus, state, ScanDone, link_);
    running_ = false;
    emit RunEnded(state.Value());
}

void ChannelScanPage::cmdSoft2_Click()
{
    if (!Scan.Cancel())
        return;
    lblProgress->setText(" Stopping Channel Scan, Please Wait... ");
    ShowStatus(lblStatus, lblProgress->text(), kStatusBusy);
    CommsProgress->hide();
    emit ProgressChanged();
}

void ChannelScanPage::ScanChanged()
{
    if (Scan.CountdownOn() && !ProcessTimer->isActive())
        ProcessTimer->start();
    else if (!Scan.CountdownOn())
        ProcessTimer->stop();
    CommsProgress->setValue(Scan.ProgressValue());
    CommsProgress->setVisible(Scan.ProgressShown());
    // Once the time is up the progress label goes until the result is in.
    const hublink::StateCode state = link_.State();
    const bool timeUp = state == Scanning && Scan.ProgressValue() >= Scan.ProgressMax();
    lblProgress->setVisible(running_ && !timeUp);
    if (state == ScanWait || state == Scanning)
        ShowScanProgress();
    if (state == ScanDone)
        MSChart->SetLevels(QList<int>(Scan.Results().begin(), Scan.Results().end()));
    emit ProgressChanged();
}

void ChannelScanPage::ProcessTimer_Timer()
{
    Scan.Tick();
}

void ChannelScanPage::ShowScanProgress()
{
    const QString separator = QLocale().decimalPoint();
    const QString text =
        QString::fromStdString(ScanProgressText(Scan.SecondsLeft(), separator.size() == 1 ? separator[0].toLatin1() : '.'));
    lblProgress->setText(text);
    lblProgress->adjustSize();
    lblStatus->setText(text);
}

void ChannelScanPage::MSChart_ToggleChartType()
{
    MSChart->SetChartType(MSChart->ChartType() == ChannelChart::kLine ? ChannelChart::kBar : ChannelChart::kLine);
}

void ChannelScanPage::MSChart_ShowPointValue(int row)
{
    if (row >= 0 && row < kChannelCount)
        MSChart->setToolTip(QString::number(Scan.Results()[static_cast<std::size_t>(row)]));
}

void ChannelScanPage::txtDuration_Change()
{
    if (!txtDuration->text().isEmpty())
        UpDnDuration->SetValue(txtDuration->text().toInt());
}

bool ChannelScanPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtDuration && RefuseKey(event, txtDuration, AcceptDurationKey))
        return true;
    return QWidget::eventFilter(watched, event);
}
