#pragma once
// The Channel Scan page of the diagnostics window: the scan time input with
// its launcher, the status label, the scan chart with its progress label and
// bar, and the page's two soft keys ("Scan", and "Cancel" while a scan runs).
// The scan itself is diagnostics::ChannelScan, run over the window's link.
//
// The diagnostics window hosts the page in two lines, and its link hands the
// scan its lines and time-outs in its states (ScanWait to ScanStopping):
//   scanPage = new ChannelScanPage(channelLink, TabFrame[2]);
//   TabFrame[2]->layout()->addWidget(scanPage);
//   (link: scanPage->Scan.Reply(line); if (scanPage->Scan.TimedOut()) return;)
// A window with soft keys and a progress bar of its own hides fraSoftKeys,
// drives the page through cmdSoft1_Click and cmdSoft2_Click and shows the
// progress when ProgressChanged says so.
#include "diagnostics/core/ChannelScan.h"

#include <QWidget>

class ChannelChart;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class UpDown;

class ChannelScanPage : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelScanPage(diagnostics::IChannelLink& link, QWidget* parent = nullptr);

    // The launcher: starts a scan as the soft key does.
    void cmdFScan_Click();
    // Starts a scan and returns when it has ended.
    void cmdSoft1_Click();
    // Cancel: stops a running scan.
    void cmdSoft2_Click();
    void ProcessTimer_Timer();
    void ShowScanProgress();
    void MSChart_ToggleChartType();
    void MSChart_ShowPointValue(int row);
    void txtDuration_Change();
    bool Running() const { return running_; }

    diagnostics::ChannelScan Scan;

    QGroupBox* fraScan;
    QLineEdit* txtDuration;
    UpDown* UpDnDuration;
    QPushButton* cmdFScan;
    QLabel* lblStatus;
    ChannelChart* MSChart;
    QPushButton* cmdSoft1;
    QPushButton* cmdSoft2;
    QLabel* lblProgress;
    QProgressBar* CommsProgress;
    QTimer* ProcessTimer;
    // The row of the soft keys, the progress label and the progress bar.
    QWidget* fraSoftKeys = nullptr;

signals:
    // The window's control mode follows these: scanning from the start to the end.
    void RunStarted();
    void RunEnded(int state);
    // The progress label or bar changed (text, value or visibility).
    void ProgressChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScanChanged();

    diagnostics::IChannelLink& link_;
    bool running_ = false;
};
