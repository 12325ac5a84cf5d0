// The diagnostics window's tabs, soft keys and page buttons, the automatic
// refresh, the channel runs as the window shows them, and the Comms Log page.
#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/frmDiagnosticsInternal.h"
#include "hublink/SerialLink.h"
#include "hublink/core/LinkTiming.h"
#include "model/Settings.h"
#include "platform/PrinterDialog.h"
#include "platform/ProgramMessage.h"
#include "platform/Yield.h"
#include "platform/base/MessageStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QPrinter>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>

using namespace hublink;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

int16_t frmDiagnostics::SelectedPage() const
{
    return Session.PageOfTab(TabStrip->currentIndex());
}

bool frmDiagnostics::SelectPage(int16_t page)
{
    const int tab = Session.TabOfPage(page, TabStrip->count());
    if (tab < 0)
        return false;
    if (TabStrip->currentIndex() == tab)
        TabStrip_Click();
    else
        TabStrip->setCurrentIndex(tab);
    return true;
}

void frmDiagnostics::UntickAuto()
{
    cmdAuto->setChecked(false);
    cmdAuto_Click();
}

void frmDiagnostics::TabStrip_Click()
{
    const int16_t page = SelectedPage();
    UntickAuto();
    if (page < 1 || page > 9)
        return;
    if (page == PageSignalStrengths)
        SetupSignalGrid();
    else if (page == PageLiveStatus && !Session.DiagBusy)
        SetupLiveGrid();
    for (int i = 1; i <= 9; ++i)
        TabFrame[static_cast<size_t>(i)]->hide();
    TabFrame[static_cast<size_t>(page)]->show();
    if (page == PageChannelMonitor) {
        const bool running = Comms().CommsState == Scanning || Comms().CommsState == Monitoring;
        SetSoft2(running ? Soft2Action::Cancel : Soft2Action::Print);
    }
    const std::string caption = Soft1CaptionFor(page);
    if (!caption.empty())
        cmdSoft1->setText(Q(caption));
    UpdateControlStates();
}

void frmDiagnostics::UpdateControlStates()
{
    const PageControlStates s = ControlStatesFor(Session.Inputs(SelectedPage(), chkLogging->isChecked()));
    if (s.Soft2)
        soft2Action_ = *s.Soft2;
    Apply(cmdSoft1, s.cmdSoft1);
    Apply(cmdSoft2, s.cmdSoft2);
    Apply(lblProgress, s.lblProgress);
    Apply(CommsProgress, s.CommsProgress);
    Apply(cmdAuto, s.cmdAuto);
    Apply(cmdRefresh, s.cmdRefresh);
    Apply(CommsLED, s.CommsLED);
    Apply(cmdSave, s.cmdSave);
    Apply(cmdClear, s.cmdClear);
    Apply(cmdView, s.cmdView);
    Apply(cmdClearLog, s.cmdClearLog);
    Apply(chkLogging, s.chkLogging);
    Apply(fraScan, s.fraScanMonitor);
    Apply(fraMonitor, s.fraScanMonitor);
}

void frmDiagnostics::cmdSoft1_Click()
{
    const int16_t page = SelectedPage();
    if (page == PageCommsLog)
        StatusRTF->clear();
    if (page == PageChannelScan || page == PageChannelMonitor) {
        // Returns when the run has ended; another operation of the link
        // cannot start meanwhile.
        RunLinkOperation([this, page] {
            if (page == PageChannelScan)
                scanPage->cmdSoft1_Click();
            else
                monitorPage->cmdSoft1_Click();
            TabStrip->setEnabled(true);
        });
    }
    if (page == PageLiveStatus) {
        // Rescan: only the units that have not answered since the last refresh.
        PortEnabled = true;
        if (ApplyPortSettings() == PortStatus::Failed)
            return;
        RunLinkOperation([this] {
            cmdSoft2->show();
            if (GetLiveSignalInformation()) {
                FillLiveGrid(false);
            } else {
                ReportLiveRunFailure();
            }
            cmdSoft2->hide();
            TabStrip->setEnabled(true);
        });
    }
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

void frmDiagnostics::SetSoft2(Soft2Action action)
{
    soft2Action_ = action;
    cmdSoft2->setText(QString::fromLatin1(Soft2Caption(action)));
}

void frmDiagnostics::cmdSoft2_Click()
{
    if (soft2Action_ == Soft2Action::Print) {
        QPrinter printer;
        const bool selection = StatusRTF->textCursor().hasSelection();
        if (!platform::ChoosePrinter(this, printer, selection))
            return;
        if (selection && printer.printRange() == QPrinter::Selection) {
            QTextEdit part;
            part.setPlainText(StatusRTF->textCursor().selectedText());
            part.print(&printer);
        } else {
            StatusRTF->print(&printer);
        }
    } else if (StopChannelRun()) {
        // The run ends at the unit's next line.
    } else if (Comms().CommsState == ManualUpdateWait || Comms().CommsState == ManualUpdateReplyWait) {
        serial_->Stop();
        Comms().CommsState = ManualUpdateCancelled;
        serial_->StateChanged();
    }
}

bool frmDiagnostics::StopChannelRun()
{
    if (Comms().CommsState == Scanning)
        scanPage->cmdSoft2_Click();
    else if (Comms().CommsState == MonitorWait || Comms().CommsState == Monitoring)
        monitorPage->cmdSoft2_Click();
    else
        return false;
    ShowChannelProgress();
    SetBack(lblStatus, 200, 200, 255);
    return true;
}

void frmDiagnostics::ShowChannelProgress()
{
    // A close asked for while the scan's start was awaited stops it now.
    if (closePending_ && Comms().CommsState == Scanning) {
        StopChannelRun();
        return;
    }
    const bool scan = scanPage->Running();
    const QLabel* progress = scan ? scanPage->lblProgress : monitorPage->lblProgress;
    lblProgress->setText(progress->text());
    lblProgress->setVisible(!progress->isHidden());
    lblStatus->setText((scan ? scanPage->lblStatus : monitorPage->lblStatus)->text());
    if (scan) {
        CommsProgress->setMaximum(scanPage->CommsProgress->maximum());
        CommsProgress->setValue(scanPage->CommsProgress->value());
        CommsProgress->setVisible(!scanPage->CommsProgress->isHidden());
    }
}

void frmDiagnostics::ChannelRunStarted(int32_t mode)
{
    Session.ControlMode = mode;
    UpdateControlStates();
    ShowChannelProgress();
    SetBack(lblStatus, 200, 200, 255);
}

void frmDiagnostics::ChannelRunEnded(StateCode state, StateCode done)
{
    Session.ControlMode = ControlIdle;
    UpdateControlStates();
    const QLabel* status = done == ScanDone ? scanPage->lblStatus : monitorPage->lblStatus;
    lblStatus->setText(status->text());
    if (state == done)
        SetBack(lblStatus, 200, 255, 200);
    else
        SetBack(lblStatus, 255, 200, 200);
}

void frmDiagnostics::ShortcutToPage(int16_t page)
{
    if (!SelectPage(page))
        return;
    platform::DoEvents();
    if (page == PageChannelScan || page == PageChannelMonitor)
        cmdSoft1_Click();
    else
        cmdRefresh_Click();
}

void frmDiagnostics::cmdFScan_Click()
{
    if (!linkBusy_)
        ShortcutToPage(PageChannelScan);
}

void frmDiagnostics::cmdMonitor_Click()
{
    if (!linkBusy_)
        ShortcutToPage(PageChannelMonitor);
}

void frmDiagnostics::cmdDeviceStat_Click()
{
    ShortcutToPage(PageDeviceStatus);
}

void frmDiagnostics::cmdSignals_Click()
{
    ShortcutToPage(PageSignalStrengths);
}

void frmDiagnostics::cmdLiveTest_Click()
{
    ShortcutToPage(PageLiveStatus);
}

void frmDiagnostics::cmdAuto_Click()
{
    if (cmdAuto->isChecked()) {
        countdown_.Start();
        tmrRefresh.setInterval(ScaledInterval(2000));
        tmrRefresh.start();
        cmdRefresh->setEnabled(false);
    } else {
        tmrRefresh.stop();
        cmdRefresh->setEnabled(true);
    }
}

void frmDiagnostics::tmrRefresh_Timer()
{
    if (RefreshBusy)
        return;
    if (countdown_.Tick()) {
        cmdRefresh_Click();
        RefreshBusy = false;
    }
    // A refresh that failed unticked the box: the timer stays off then.
    if (cmdAuto->isChecked())
        tmrRefresh.start();
    else
        tmrRefresh.stop();
}

void frmDiagnostics::chkLogging_Click()
{
    LogDiags = chkLogging->isChecked();
    cmdView->setEnabled(LogDiags);
    cmdClearLog->setEnabled(LogDiags);
}

void frmDiagnostics::ViewDiagsLog()
{
    StatusRTF->clear();
    std::string text, error;
    const LogReadResult result = ReadDiagsLog(text, error);
    if (result == LogReadResult::Failed)
        platform::ShowProgramMessage(this, error, MessageStyle::Critical, "View Log File");
    if (result != LogReadResult::Read)
        return;
    StatusRTF->setPlainText(Q(text));
    StatusRTF->verticalScrollBar()->setValue(StatusRTF->verticalScrollBar()->maximum());
}

void frmDiagnostics::cmdView_Click()
{
    ViewDiagsLog();
}

void frmDiagnostics::cmdClearLog_Click()
{
    std::string error;
    const LogEraseResult result = EraseDiagsLog(error);
    if (result == LogEraseResult::Erased)
        platform::ShowProgramMessage(this, "Log File Erased", MessageStyle::Information, "Clear Log File");
    else if (result == LogEraseResult::Failed)
        platform::ShowProgramMessage(this, error, MessageStyle::Critical, "Clear Log File");
}

void frmDiagnostics::cmdClear_Click()
{
    StatusRTF->clear();
}
