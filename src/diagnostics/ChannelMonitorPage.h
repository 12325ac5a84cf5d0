#pragma once
// The Channel Monitor page of the diagnostics window: the start and end
// channel inputs with their launcher, the status label, the two monitor
// charts at one place (each level line is drawn on the hidden one, which
// then replaces the shown one), the progress label and the page's two soft
// keys ("Monitor", and "Cancel" while the monitor runs). The monitor itself
// is diagnostics::ChannelMonitor, run over the window's link.
//
// The diagnostics window hosts the page in two lines, and its link hands the
// monitor its lines and time-outs in its states (MonitorWait to MonitorStopping):
//   monitorPage = new ChannelMonitorPage(channelLink, TabFrame[3]);
//   TabFrame[3]->layout()->addWidget(monitorPage);
//   (link: monitorPage->Monitor.Reply(line); if (monitorPage->Monitor.TimedOut()) return;)
// A window with soft keys of its own hides fraSoftKeys and drives the page
// through cmdSoft1_Click and cmdSoft2_Click.
#include "diagnostics/core/ChannelMonitor.h"

#include <QWidget>

class ChannelChart;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

class ChannelMonitorPage : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelMonitorPage(diagnostics::IChannelLink& link, QWidget* parent = nullptr);

    // The launcher: starts the monitor as the soft key does.
    void cmdMonitor_Click();
    // Starts the monitor and returns when it has stopped.
    void cmdSoft1_Click();
    // Cancel: the monitor stops at its next level line.
    void cmdSoft2_Click();
    void MSChart_ToggleChartType();
    void MSChart_ShowPointValue(int row);
    void txtStartMonitor_Change();
    void txtEndMonitor_Change();
    void UpDnStartCh_Change();
    void UpDnEndCh_Change();
    bool Running() const { return running_; }

    diagnostics::ChannelMonitor Monitor;

    QGroupBox* fraMonitor;
    QLineEdit* txtStartMonitor;
    UpDown* UpDnStartCh;
    QLineEdit* txtEndMonitor;
    UpDown* UpDnEndCh;
    QPushButton* cmdMonitor;
    QLabel* lblStatus;
    ChannelChart* MSChart;
    ChannelChart* MSChart1;
    QPushButton* cmdSoft1;
    QPushButton* cmdSoft2;
    QLabel* lblProgress;
    // The row of the soft keys and the progress label.
    QWidget* fraSoftKeys = nullptr;

signals:
    // The window's control mode follows these: monitoring from the start to the end.
    void RunStarted();
    void RunEnded(int state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LevelsRead();
    void ShowChart(ChannelChart* chart);
    void BoxChanged(QLineEdit* box, UpDown* upDown);

    diagnostics::IChannelLink& link_;
    bool running_ = false;
};
