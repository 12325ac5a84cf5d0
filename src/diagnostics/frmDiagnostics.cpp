// The diagnostics window: its life from load to unload, the opening
// handshake and unit check, the pending close, and what the link tells it.
#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/DeviceMapWidget.h"
#include "diagnostics/frmDiagnosticsInternal.h"
#include "hublink/PortPanel.h"
#include "hublink/SerialLink.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ModalWindows.h"
#include "platform/PlainMessageBox.h"
#include "platform/ProgramMessage.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/base/MessageStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>
#include <utility>

using namespace hublink;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

frmDiagnostics::frmDiagnostics()
{
    setObjectName(QStringLiteral("frmDiagnostics"));
    setWindowTitle(QStringLiteral("Radio Diagnostics"));
    serial_ = std::make_unique<SerialLink>(*this, site_);
    diags_ = std::make_unique<DiagsLink>(serial_->Link(), *serial_, *this);
    BuildControls();
    diags_->SetChannelRuns(&scanPage->Scan, &monitorPage->Monitor);
    Form_Load();
}

frmDiagnostics::~frmDiagnostics()
{
    Form_Unload();
    diags_.reset();
}

void frmDiagnostics::Form_Load()
{
    mainWindow_ = platform::FindForm(QStringLiteral("frmMain"));
    if (mainWindow_ != nullptr)
        mainWindow_->setEnabled(false);
    platform::ShowInFrontOfPinnedWindows(*this);
    setWindowIcon(platform::LoadIconResource(QStringLiteral("AA_ICON")));
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));
    // The window keeps its size; it opens over the main window.
    platform::OpenOnStoredRectangle(*this, {nullptr, nullptr, &DiagsWindowWidth, &DiagsWindowHeight},
                                    mainWindow_);

    for (const std::string& caption : Session.SetTabs(IsLoopInterface))
        TabStrip->addTab(Q(caption));
    Session.ControlMode = ControlIdle;
    SetBack(lblStatus, 200, 255, 200);
    Comms().CommsState = Idle;
    Session.AllDevicesFound = true;
    TabFrame[static_cast<size_t>(Session.TabPageCode[1])]->show();
    UpdateControlStates();
    cmdSoft1->setText(QStringLiteral("Scan"));
    SetSoft2(Soft2Action::Print);

    // No live status is known until the unit is asked.
    for (model::clsNode& node : model::Nodes)
        node.ClearStatus();
    DeviceTabStrip->blockSignals(true);
    for (const std::string& caption : diagnostics::DeviceTabCaptions(model::Nodes))
        DeviceTabStrip->addTab(Q(caption));
    DeviceTabStrip->setCurrentIndex(0);
    DeviceTabStrip->blockSignals(false);
    DeviceTabStrip->setVisible(!IsLoopInterface);
    optKey_Click();
    ApplyShowFilter();
    DeviceTabStrip_Click();

    SetupSignalGrid();
    FillSignalGrid(true);
    SetupLiveGrid();
    FillLiveGrid(true);

    PortControls->Fill();
    chkLogging->setChecked(LogDiags);
    chkLogging_Click();
}

void frmDiagnostics::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!opened_) {
        opened_ = true;
        // The handshake runs once the window is on the screen, so the user
        // sees it, and after the caller that showed it has returned.
        QTimer::singleShot(0, this, &frmDiagnostics::OpenLink);
    }
}

void frmDiagnostics::OpenLink()
{
    // Closed before the handshake began: the port is never opened.
    if (closePending_) {
        loading_ = false;
        CloseIfPending();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool refresh = false;
    linkBusy_ = true;
    PortEnabled = true;
    if (ApplyPortSettings() == PortStatus::Ready) {
        setEnabled(false);
        Session.DebugOutputStopped = StopHubDebugOutput();
        if (Session.DebugOutputStopped)
            refresh = ApplyUnitGate();
    }
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    linkBusy_ = false;
    loading_ = false;
    if (refresh)
        cmdRefresh_Click();
    CloseIfPending();
}

bool frmDiagnostics::StopHubDebugOutput()
{
    Session.ControlMode = ControlBusy;
    UpdateControlStates();
    const bool stopped = diags_->StopHubDebugOutput();
    Session.ControlMode = ControlIdle;
    return stopped;
}

bool frmDiagnostics::ApplyUnitGate()
{
    using diagnostics::UnitGate;
    const UnitGate gate = Session.CheckUnit(*diags_, ActiveNode, model::Nodes[0].NodeIdent());
    if (gate == UnitGate::PortLost)
        return false;
    if (gate == UnitGate::Refused) {
        platform::ShowProgramMessage(this, "Diagnostics can only be done at the Radio Hub", MessageStyle::Critical,
                                     windowTitle().toStdString());
        closeTimer_.start();
    }
    const int unsupported = Session.UnsupportedTab(IsLoopInterface);
    if (unsupported >= 0) {
        TabStrip->removeTab(unsupported);
        Session.RemoveTab(unsupported);
    }
    liveRows_.SetUnitVersion(Session.UnitVersion);
    ShowLiveRow(1);
    Comms().CommsState = Idle;
    Session.ControlMode = ControlIdle;
    return gate == UnitGate::Accepted && SelectedPage() == PageDeviceStatus;
}

void frmDiagnostics::CloseIfPending()
{
    if (closePending_ && !linkBusy_ && !loading_ && !Session.DiagBusy) {
        closePending_ = false;
        QTimer::singleShot(0, this, [this] {
            programClose_ = true;
            close();
        });
    }
}

void frmDiagnostics::cmdExit_Click()
{
    // Exit stops a running scan and leaves the window open.
    if (Comms().CommsState == Scanning) {
        StopChannelRun();
        return;
    }
    // The port stays switched off for the next opening only when the window
    // goes, now or once its wait has ended; a refused close changes nothing.
    const bool enabled = PortEnabled;
    PortEnabled = false;
    if (!close() && !closePending_)
        PortEnabled = enabled;
}

void frmDiagnostics::closeEvent(QCloseEvent* event)
{
    // The user's close is refused while a refresh runs, from its first
    // exchange (the debug output switched off) to the end of its reading,
    // and while any other reading runs; the window's own close (a refused
    // unit) waits for its end. The window manager's close is refused as well
    // while a box keeps the window waiting.
    const bool programClose = std::exchange(programClose_, false);
    if (((RefreshBusy || Session.DiagBusy) && !programClose) ||
        (event->spontaneous() && platform::WaitsOnAModalWindow())) {
        event->ignore();
        return;
    }
    // Another wait of the window is running: the window closes when it ends.
    // A scan or monitor would run on for minutes or without end: it is
    // stopped.
    if (loading_ || linkBusy_ || Session.DiagBusy) {
        closePending_ = true;
        StopChannelRun();
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    platform::UnloadForm(this);
}

void frmDiagnostics::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    tmrRefresh.stop();
    closeTimer_.stop();
    ReleaseStimulusFile();
    if (isVisible())
        platform::StoreNormalRectangle(*this, {nullptr, nullptr, &DiagsWindowWidth, &DiagsWindowHeight});
    platform::RestoreWindowProc(*this);
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
    }
}

void frmDiagnostics::SetLamp(bool busy)
{
    const int others = busy ? 0 : 255; // red while a list is read, else white
    SetBack(CommsLED, 255, others, others);
}

// IDiagsWindow

void frmDiagnostics::AppendToLogBox(const std::string& text)
{
    QTextCursor end = StatusRTF->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(Q(text) + QLatin1Char('\n'));
}

void frmDiagnostics::SetControlsBusy(bool busy)
{
    setEnabled(!busy);
}

int frmDiagnostics::ProgressValue() const
{
    return CommsProgress->value();
}

int frmDiagnostics::ProgressMax() const
{
    return CommsProgress->maximum();
}

void frmDiagnostics::SetProgressValue(int value)
{
    CommsProgress->setValue(value);
}

void frmDiagnostics::HideProgress()
{
    CommsProgress->hide();
}

int32_t frmDiagnostics::ShowMessage(const std::string& text, int32_t style)
{
    return platform::ShowProgramMessage(this, text, style, windowTitle().toStdString());
}

void frmDiagnostics::ShowCommsError(const std::string& text)
{
    platform::ShowPlainMessage(this, text, MessageStyle::Critical, "Communications Error");
}

void frmDiagnostics::ReportLinkFailure(const std::string& text)
{
    Session.ControlMode = ControlIdle;
    UpdateControlStates();
    lblStatus->setText(Q(text));
    SetBack(lblStatus, 255, 200, 200);
    // The first tab shows its page; a refresh waiting for this command ends
    // when the state moves on.
    TabStrip->setCurrentIndex(0);
}

void frmDiagnostics::EnableWindow()
{
    setEnabled(true);
}

void frmDiagnostics::LogWriteFailed(const std::string& path)
{
    // Told once, after the command that met it, which goes on regardless.
    QTimer::singleShot(0, this, [this, path] {
        platform::ShowProgramMessage(this,
                                     "The diagnostics log " + path +
                                         " could not be written; the traffic is not being logged.",
                                     MessageStyle::Exclamation, windowTitle().toStdString());
    });
}
