#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/core/DiagsLog.h"
#include "hublink/PortPanel.h"
#include "hublink/SerialLink.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/PlainMessageBox.h"
#include "platform/PrinterDialog.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>

using platform::PixelsToTwips;
using platform::TwipsToPixels;

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

template <typename T> T* Named(T* widget, const char* name, QWidget* parent)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    return widget;
}

void Place(QWidget* w, long left, long top, long width, long height)
{
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

long L(const QWidget* w)
{
    return PixelsToTwips(w->x());
}
long T(const QWidget* w)
{
    return PixelsToTwips(w->y());
}
long W(const QWidget* w)
{
    return PixelsToTwips(w->width());
}
long H(const QWidget* w)
{
    return PixelsToTwips(w->height());
}

void SetBack(QWidget* w, int r, int g, int b)
{
    w->setAutoFillBackground(true);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, QColor(r, g, b));
    w->setPalette(palette);
}

void Apply(QWidget* w, const ControlChange& change)
{
    if (change.Visible)
        w->setVisible(*change.Visible);
    if (change.Enabled)
        w->setEnabled(*change.Enabled);
    if (change.Caption) {
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(Q(*change.Caption));
    }
}

QGroupBox* Group(const char* name, const char* title, QWidget* parent, long left, long top, long width, long height)
{
    auto* box = Named(new QGroupBox(QString::fromLatin1(title)), name, parent);
    Place(box, left, top, width, height);
    return box;
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent)
{
    return Named(new QPushButton(QString::fromLatin1(caption)), name, parent);
}

} // namespace

frmDiagnostics::frmDiagnostics()
{
    setObjectName(QStringLiteral("frmDiagnostics"));
    setWindowTitle(QStringLiteral("Radio Diagnostics"));
    serial_ = std::make_unique<SerialLink>(*this, site_);
    diags_ = std::make_unique<DiagsLink>(serial_->Link(), *serial_, *this);
    BuildControls();
    Form_Load();
}

frmDiagnostics::~frmDiagnostics()
{
    Form_Unload();
    diags_.reset();
}

QFrame* frmDiagnostics::BuildFunctionsPage()
{
    auto* page = new QFrame;
    auto* caption = new QLabel(QStringLiteral("Functions"), page);
    caption->move(TwipsToPixels(150), TwipsToPixels(60));
    fraSignals = Group("fraSignals", "Signal Strengths", page, 150, 360, 3000, 1500);
    auto* cmdSignals = Button("cmdSignals", "Signal Strengths", fraSignals);
    Place(cmdSignals, 150, 330, 2700, 450);
    auto* cmdLiveTest = Button("cmdLiveTest", "Live Status", fraSignals);
    Place(cmdLiveTest, 150, 900, 2700, 450);
    fraDevices = Group("fraDevices", "Devices", page, 3300, 360, 3000, 1500);
    auto* cmdDeviceStat = Button("cmdDeviceStat", "Device Status", fraDevices);
    Place(cmdDeviceStat, 150, 330, 2700, 450);
    fraMonitor = Group("fraMonitor", "Channel Monitor", page, 150, 2000, 3000, 1500);
    txtStartChannel = Named(new QSpinBox, "txtStartChannel", fraMonitor);
    txtEndChannel = Named(new QSpinBox, "txtEndChannel", fraMonitor);
    for (QSpinBox* box : {txtStartChannel, txtEndChannel})
        box->setRange(1, 32);
    txtEndChannel->setValue(32);
    Place(txtStartChannel, 150, 330, 1200, 360);
    Place(txtEndChannel, 1650, 330, 1200, 360);
    Place(Button("cmdMonitor", "Monitor", fraMonitor), 150, 900, 2700, 450);
    fraScan = Group("fraScan", "Channel Scan", page, 3300, 2000, 3000, 1500);
    txtScanTime = Named(new QSpinBox, "txtScanTime", fraScan);
    txtScanTime->setRange(1, 60);
    txtScanTime->setSuffix(QStringLiteral(" min"));
    Place(txtScanTime, 150, 330, 1200, 360);
    Place(Button("cmdFScan", "Scan", fraScan), 150, 900, 2700, 450);
    fraStatus = Group("fraStatus", "Status", page, 150, 3700, 6150, 700);
    lblStatus = Named(new QLabel, "lblStatus", fraStatus);
    Place(lblStatus, 100, 300, 5350, 300);
    connect(cmdSignals, &QPushButton::clicked, this, &frmDiagnostics::cmdSignals_Click);
    connect(cmdLiveTest, &QPushButton::clicked, this, &frmDiagnostics::cmdLiveTest_Click);
    connect(cmdDeviceStat, &QPushButton::clicked, this, &frmDiagnostics::cmdDeviceStat_Click);
    return page;
}

QFrame* frmDiagnostics::BuildDeviceStatusPage()
{
    auto* page = new QFrame;
    DeviceTabStrip = Named(new QTabBar, "DeviceTabStrip", page);
    DeviceTabStrip->setExpanding(false);
    Place(DeviceTabStrip, 75, 100, 9000, 400);
    // The device slots and their colour key are laid out by the device map.
    DeviceMap = Named(new QWidget, "DeviceMap", page);
    Place(DeviceMap, 75, 550, 9000, 3600);
    KeyFrame = Group("KeyFrame", "Key", page, 9200, 550, 2400, 3600);
    StatusFrame = Group("StatusFrame", "Device", page, 75, 4300, 9000, 900);
    StatusLabel = Named(new QLabel, "StatusLabel", StatusFrame);
    StatusLabel->setWordWrap(true);
    Place(StatusLabel, 50, 300, 8900, 500);
    return page;
}

void frmDiagnostics::BuildControls()
{
    TabStrip = Named(new QTabBar, "TabStrip", this);
    TabStrip->setExpanding(false);
    Place(TabStrip, 150, 150, 12000, 400);

    TabFrame[1] = BuildFunctionsPage();
    TabFrame[2] = new QFrame;
    MSChart = Named(new QFrame, "MSChart", TabFrame[2]);
    MSChart1 = Named(new QFrame, "MSChart1", TabFrame[2]);
    for (QFrame* chart : {MSChart, MSChart1})
        chart->setFrameShape(QFrame::Box);
    TabFrame[4] = BuildDeviceStatusPage();
    TabFrame[5] = new QFrame;
    WorkLabel = Named(new QLabel(QStringLiteral("Please Wait...")), "WorkLabel", TabFrame[5]);
    WorkLabel->adjustSize();
    TabFrame[6] = new QFrame;
    SignalGrid = Named(new QTableWidget, "SignalGrid", TabFrame[6]);
    Place(SignalGrid, 75, 150, 9000, 4000);
    TabFrame[7] = new QFrame;
    LiveGrid = Named(new QTableWidget(3, 11), "LiveGrid", TabFrame[7]);
    Place(LiveGrid, 75, 150, 9000, 4000);
    TabFrame[8] = new QFrame;
    PortControls = new PortPanel(serial_->Comm(), TabFrame[8]);
    PortControls->move(TwipsToPixels(300), TwipsToPixels(300));
    PortControls->resize(PortControls->sizeHint());
    TabFrame[9] = new QFrame;
    StatusRTF = Named(new QTextEdit, "StatusRTF", TabFrame[9]);
    StatusRTF->setReadOnly(true);
    StatusRTF->setLineWrapMode(QTextEdit::NoWrap);
    for (int i = 1; i <= 9; ++i) {
        if (TabFrame[static_cast<size_t>(i)] == nullptr)
            TabFrame[static_cast<size_t>(i)] = new QFrame; // page 3 shares the chart frame
        QFrame* frame = TabFrame[static_cast<size_t>(i)];
        frame->setParent(this);
        frame->setObjectName(QStringLiteral("TabFrame%1").arg(i));
        frame->hide();
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
    }

    cmdSoft1 = Button("cmdSoft1", "Scan", this);
    cmdSoft2 = Button("cmdSoft2", "Print", this);
    cmdExit = Button("cmdExit", "Exit", this);
    cmdClear = Button("cmdClear", "Clear Display", this);
    cmdView = Button("cmdView", "View Log", this);
    cmdClearLog = Button("cmdClearLog", "Clear Log", this);
    cmdRefresh = Button("cmdRefresh", "Refresh", this);
    cmdSave = Button("cmdSave", "Save", this);
    cmdAuto = Button("cmdAuto", "Auto", this);
    cmdAuto->setCheckable(true);
    // The bottom row keeps its fixed widths; a smaller type fits the longest
    // caption ("Clear Display").
    for (QPushButton* button : {cmdSoft2, cmdExit, cmdClear, cmdView, cmdClearLog, cmdRefresh, cmdSave, cmdAuto}) {
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        button->setFont(font);
    }
    chkLogging = Named(new QCheckBox(QStringLiteral("Enable Logging")), "chkLogging", this);
    chkLogging->adjustSize();
    CommsLED = Named(new QFrame, "CommsLED", this);
    CommsLED->setFrameShape(QFrame::Box);
    Place(CommsLED, 0, 0, 300, 300);
    SetLamp(false);
    lblProgress = Named(new QLabel, "lblProgress", this);
    lblProgress->resize(TwipsToPixels(4000), TwipsToPixels(300));
    lblProgress->setAlignment(Qt::AlignCenter);
    CommsProgress = Named(new QProgressBar, "CommsProgress", this);
    CommsProgress->setTextVisible(false);
    CommsProgress->resize(CommsProgress->width(), TwipsToPixels(250));

    tmrRefresh.setInterval(ScaledInterval(2000));
    closeTimer_.setSingleShot(true);
    closeTimer_.setInterval(ScaledInterval(100));

    connect(TabStrip, &QTabBar::currentChanged, this, [this] {
        if (!loading_ || opened_)
            TabStrip_Click();
    });
    connect(cmdSoft1, &QPushButton::clicked, this, &frmDiagnostics::cmdSoft1_Click);
    connect(cmdSoft2, &QPushButton::clicked, this, &frmDiagnostics::cmdSoft2_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmDiagnostics::cmdExit_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmDiagnostics::cmdRefresh_Click);
    connect(cmdAuto, &QPushButton::clicked, this, &frmDiagnostics::cmdAuto_Click);
    connect(chkLogging, &QCheckBox::toggled, this, &frmDiagnostics::chkLogging_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmDiagnostics::cmdView_Click);
    connect(cmdClearLog, &QPushButton::clicked, this, &frmDiagnostics::cmdClearLog_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmDiagnostics::cmdClear_Click);
    connect(&tmrRefresh, &QTimer::timeout, this, &frmDiagnostics::tmrRefresh_Timer);
    connect(&closeTimer_, &QTimer::timeout, this, [this] { close(); });
    connect(&serial_->Comm(), &platform::SerialControl::PortLost, PortControls, &PortPanel::ShowPortDisabled);
}

void frmDiagnostics::Form_Load()
{
    mainWindow_ = platform::FindForm(QStringLiteral("frmMain"));
    if (mainWindow_ != nullptr)
        mainWindow_->setEnabled(false);
    setWindowIcon(platform::LoadIconResource(QStringLiteral("AA_ICON")));
    resize(TwipsToPixels(DiagsWindowWidth), TwipsToPixels(DiagsWindowHeight));
    if (mainWindow_ != nullptr)
        platform::CentreOver(*this, *mainWindow_);
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(6000, 6000));

    TabPageCode.fill(-1);
    int index = 1;
    for (const DiagTab& tab : DiagTabs(IsLoopInterface)) {
        TabStrip->addTab(Q(tab.Caption));
        TabPageCode[static_cast<size_t>(index++)] = tab.Page;
    }
    ControlMode = ControlIdle;
    SetBack(lblStatus, 200, 255, 200);
    CommsState = Idle;
    AllDevicesFound = true;
    TabFrame[static_cast<size_t>(TabPageCode[1])]->show();
    UpdateControlStates();
    cmdSoft1->setText(QStringLiteral("Scan"));
    cmdSoft2->setText(QStringLiteral("Print"));
    MSChart1->hide();

    for (int n = 1; n <= LoopCount; ++n)
        DeviceTabStrip->addTab(QStringLiteral("Loop %1").arg(n));
    DeviceTabStrip->setVisible(!IsLoopInterface);
    // No live status is known until the unit is asked.
    model::Nodes[0].ClearStatus();
    for (int n = 1; n <= 31; ++n) {
        model::Nodes[static_cast<size_t>(n)].ClearStatus();
        if (model::Nodes[static_cast<size_t>(n)].InUse())
            DeviceTabStrip->addTab(QStringLiteral("RCC %1").arg(n));
    }
    DeviceTabStrip->setCurrentIndex(0);

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
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool refresh = false;
    linkBusy_ = true;
    PortEnabled = true;
    if (!ApplyPortSettings()) {
        setEnabled(false);
        DebugOutputStopped = StopHubDebugOutput();
        if (DebugOutputStopped)
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
    ControlMode = ControlBusy;
    UpdateControlStates();
    const bool stopped = diags_->StopHubDebugOutput();
    ControlMode = ControlIdle;
    return stopped;
}

bool frmDiagnostics::ApplyUnitGate()
{
    int32_t r = diags_->ReadSoftwareVersion(ActiveNode, UnitVersion);
    if (r == kUnitTypeNoPort)
        return false; // the port went away: the failure is shown already
    if (r == 1 || r == 3)
        r = ActiveNode == 0 ? 4 : 5;
    else if (ActiveNode == -1 && ReadIdent(serial_->Link()) != model::Nodes[0].NodeIdent())
        r = 5;
    if (r == 5) {
        platform::ShowProgramMessage(this, "Diagnostics can only be done at the Radio Hub", 16,
                                     windowTitle().toStdString());
        closeTimer_.start();
    }
    if (!IsLoopInterface && LiveStatusUnsupported(UnitVersion)) {
        for (int i = 1; i <= 9; ++i) {
            if (TabPageCode[static_cast<size_t>(i)] != PageLiveStatus)
                continue;
            TabStrip->removeTab(i - 1);
            for (int j = i; j <= 9; ++j)
                TabPageCode[static_cast<size_t>(j)] = TabPageCode[static_cast<size_t>(j) + 1];
            break;
        }
    }
    if (LiveGrid->item(1, 9) == nullptr)
        LiveGrid->setItem(1, 9, new QTableWidgetItem);
    LiveGrid->item(1, 9)->setText(Q(UnitVersion));
    CommsState = Idle;
    ControlMode = ControlIdle;
    return r == 4 && SelectedPage() == PageDeviceStatus;
}

int16_t frmDiagnostics::SelectedPage() const
{
    const int index = TabStrip->currentIndex() + 1;
    return index >= 1 && index <= 10 ? TabPageCode[static_cast<size_t>(index)] : -1;
}

bool frmDiagnostics::SelectPage(int16_t page)
{
    for (int i = 1; i <= 9 && i <= TabStrip->count(); ++i) {
        if (TabPageCode[static_cast<size_t>(i)] != page)
            continue;
        if (TabStrip->currentIndex() == i - 1)
            TabStrip_Click();
        else
            TabStrip->setCurrentIndex(i - 1);
        return true;
    }
    return false;
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
    for (int i = 1; i <= 9; ++i)
        TabFrame[static_cast<size_t>(i)]->hide();
    TabFrame[static_cast<size_t>(page == PageChannelMonitor ? int16_t{PageChannelScan} : page)]->show();
    if (page == PageChannelMonitor) {
        const bool running = CommsState == Scanning || CommsState == Monitoring;
        cmdSoft2->setText(running ? QStringLiteral("Cancel") : QStringLiteral("Print"));
        TabFrame[1]->hide();
    }
    if (page == PageChannelScan || page == PageChannelMonitor) {
        MSChart->show();
        MSChart1->hide();
    }
    const std::string caption = Soft1CaptionFor(page);
    if (!caption.empty())
        cmdSoft1->setText(Q(caption));
    UpdateControlStates();
}

void frmDiagnostics::UpdateControlStates()
{
    ControlInputs in;
    in.ControlMode = ControlMode;
    in.Page = SelectedPage();
    in.DiagBusy = DiagBusy;
    in.AllDevicesFound = AllDevicesFound;
    in.LoggingTicked = chkLogging->isChecked();
    const PageControlStates s = ControlStatesFor(in);
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
    if (SelectedPage() == PageCommsLog)
        StatusRTF->clear();
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

void frmDiagnostics::cmdSoft2_Click()
{
    const QString caption = cmdSoft2->text();
    if (caption == QLatin1String("Print")) {
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
    } else if (caption == QLatin1String("Cancel")) {
        if (CommsState == Scanning) {
            CommsState = ScanStopping;
            StopScan(" Stopping Channel Scan, Please Wait... ");
        } else if (CommsState == MonitorWait || CommsState == Monitoring) {
            CommsState = MonitorStopping;
            lblProgress->setText(QStringLiteral(" Stopping Channel Monitoring... "));
            lblStatus->setText(lblProgress->text());
            SetBack(lblStatus, 200, 200, 255);
        } else if (CommsState == ManualUpdateWait || CommsState == ManualUpdateReplyWait) {
            serial_->Stop();
            CommsState = ManualUpdateCancelled;
            serial_->StateChanged();
        }
    } else if (caption == QLatin1String("Clear")) {
        StatusRTF->clear();
    }
}

void frmDiagnostics::StopScan(const char* text)
{
    CommandText = "SF CS DIS";
    serial_->Link().SendCommand(true, kScanTimeoutMs);
    lblProgress->setText(QString::fromLatin1(text));
    lblStatus->setText(QString::fromLatin1(text));
    SetBack(lblStatus, 200, 200, 255);
    CommsProgress->hide();
}

template <typename F> bool frmDiagnostics::RunLinkOperation(F operation)
{
    if (linkBusy_)
        return false;
    linkBusy_ = true;
    QPointer<frmDiagnostics> self(this);
    operation();
    if (self.isNull())
        return true;
    linkBusy_ = false;
    CloseIfPending();
    return true;
}

void frmDiagnostics::CloseIfPending()
{
    if (closePending_ && !linkBusy_ && !loading_ && !DiagBusy) {
        closePending_ = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

void frmDiagnostics::cmdRefresh_Click()
{
    tmrRefresh.stop();
    if (RefreshBusy || loading_)
        return;
    RunLinkOperation([this] {
        RefreshBusy = true;
        PortEnabled = true;
        if (!ApplyPortSettings()) {
            DebugOutputStopped = StopHubDebugOutput();
            CommsProgress->setValue(0);
            CommsProgress->setMaximum(100);
            CommsProgress->show();
            RefreshPage(SelectedPage());
        }
        RefreshBusy = false;
        QApplication::restoreOverrideCursor();
        setEnabled(true);
    });
}

bool frmDiagnostics::CollectList(int32_t waitCode, const std::string& command)
{
    EmptyReplyLines();
    diags_->ReplyProgress = 0;
    SetLamp(true);
    DiagBusy = true;
    int32_t done = DailyMaxDone;
    if (waitCode == AllStatusCollect)
        done = AllStatusDone;
    else if (waitCode == SignalsCollect)
        done = SignalsDone;
    const bool ok = diags_->Request(waitCode, command) == done;
    DiagBusy = false;
    SetLamp(false);
    return ok;
}

void frmDiagnostics::RefreshPage(int16_t page)
{
    // The replies are collected into ReplyLines; the device map and the
    // grids take their values from there.
    if (page == PageDeviceStatus) {
        StatusLabel->clear();
        if (CollectList(AllStatusCollect, "GET DS ALL")) {
            CommsProgress->setValue(CommsProgress->maximum());
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Status", 16, "Get Device Statuses");
        }
        CommsProgress->hide();
    } else if (page == PageSignalStrengths) {
        if (CollectList(SignalsCollect, "GET SS ALL")) {
            HaveDailyMaxima = false;
            if (UnitVersion.substr(0, 4) >= "3.00") {
                HaveDailyMaxima = CollectList(DailyMaxCollect, "GET DM ALL");
                if (!HaveDailyMaxima) {
                    UntickAuto();
                    platform::ShowPlainMessage(this, "Unable To Get Global Stats", 16, "Get Global Stats");
                }
            }
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Signal Strengths", 16, "Get Signal Strengths");
        }
        CommsProgress->hide();
    }
}

void frmDiagnostics::DownloadRadioData()
{
    if (!PortEnabled) {
        PortEnabled = true;
        if (ApplyPortSettings()) {
            setEnabled(true);
            return;
        }
    }
    RunLinkOperation([this] {
        setEnabled(false);
        EmptyReplyLines();
        const int32_t state = diags_->Request(RadioDataWait, "GET RADIO ALL");
        setEnabled(true);
        if (state == RadioDataDone)
            platform::ShowProgramMessage(this, "Download Complete", 48, "Radio Data Download");
        else if (state == CommsFailed)
            platform::ShowProgramMessage(this, "Unable to Get Radio Data due to Errors", 16,
                                         windowTitle().toStdString());
    });
}

void frmDiagnostics::ShortcutToPage(int16_t page)
{
    if (!SelectPage(page))
        return;
    platform::DoEvents();
    cmdRefresh_Click();
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

bool frmDiagnostics::ApplyPortSettings()
{
    return PortControls->ApplyPortSettings();
}

void frmDiagnostics::cmdExit_Click()
{
    if (CommsState == Scanning) {
        CommsState = ScanStopping;
        StopScan(" Stopping Channel Scan, Please Wait... ");
        return;
    }
    PortEnabled = false;
    close();
}

void frmDiagnostics::closeEvent(QCloseEvent* event)
{
    if (CommsState == Scanning) {
        StopScan(" Stopping Channel Scan... ");
        event->ignore();
        return;
    }
    // A wait of the window is running: the window closes when it ends.
    if (loading_ || linkBusy_ || DiagBusy) {
        closePending_ = true;
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
    if (!isMaximized() && !isMinimized() && isVisible()) {
        DiagsWindowHeight = static_cast<int32_t>(PixelsToTwips(height()));
        DiagsWindowWidth = static_cast<int32_t>(PixelsToTwips(width()));
    }
    platform::RestoreWindowProc(*this);
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
    }
}

bool frmDiagnostics::eventFilter(QObject* watched, QEvent* event)
{
    // TabFrame_MouseMove: a device's description goes when the mouse leaves
    // the device slots.
    if (event->type() == QEvent::MouseMove && watched->objectName().startsWith(QLatin1String("TabFrame")))
        StatusLabel->clear();
    return QWidget::eventFilter(watched, event);
}

void frmDiagnostics::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDiagnostics::Form_Resize()
{
    if (isMinimized() || isMaximized())
        return;
    const long width = PixelsToTwips(frameGeometry().width());
    const long height = PixelsToTwips(frameGeometry().height());
    Place(cmdSoft1, width / 2 - 1000, height - 600 - 650, 2000, 600);
    CommsProgress->move(CommsProgress->x(), TwipsToPixels(T(cmdSoft1) - H(CommsProgress) - 100));
    Place(TabStrip, L(TabStrip), T(TabStrip), width - 600, T(cmdSoft1) - 700);
    Place(CommsProgress, L(TabStrip), T(CommsProgress), W(TabStrip), H(CommsProgress));
    lblProgress->move(TwipsToPixels(L(cmdSoft1) + W(cmdSoft1) / 2 - W(lblProgress) / 2), cmdSoft1->y());
    const long row = T(cmdSoft1);
    Place(cmdExit, L(TabStrip) + W(TabStrip) - 1125 - 50, row, 1125, 600);
    Place(cmdSoft2, L(TabStrip), row, 1125, 600);
    Place(cmdClear, L(cmdSoft2) + W(cmdSoft2) + 500, row, 1125, 600);
    chkLogging->move(TwipsToPixels(L(cmdClear) + W(cmdClear) + 200),
                     TwipsToPixels(row + 300 - H(chkLogging) / 2));
    chkLogging->setChecked(LogDiags);
    Place(cmdView, L(chkLogging) + W(chkLogging) + 200, row, 1125, 600);
    Place(cmdClearLog, L(cmdView) + W(cmdView) + 200, row, 1125, 600);
    // The tab strip's client area: below its tabs.
    const long tabsHeight = PixelsToTwips(TabStrip->sizeHint().height());
    TabStrip->resize(TabStrip->width(), TabStrip->sizeHint().height());
    const long pageTop = T(TabStrip) + tabsHeight;
    const long pageWidth = width - 600;
    const long pageHeight = T(cmdSoft1) - 700 - tabsHeight;
    for (int i = 1; i <= 9; ++i)
        Place(TabFrame[static_cast<size_t>(i)], L(TabStrip), pageTop, pageWidth, pageHeight);
    Place(cmdAuto, L(cmdSoft2), row, 1125, 600);
    Place(cmdRefresh, L(cmdAuto) + W(cmdAuto) + 200, row, 1125, 600);
    CommsLED->move(TwipsToPixels(L(cmdRefresh) + W(cmdRefresh) + 100),
                   TwipsToPixels(T(cmdRefresh) + 300 - H(CommsLED) / 2));
    Place(cmdSave, L(cmdRefresh) + W(cmdRefresh) + 500, row, 1125, 600);
    Place(StatusRTF, 75, 150, pageWidth - 150, pageHeight - 200);
    StatusRTF->show();
    for (QFrame* chart : {MSChart, MSChart1})
        Place(chart, 75, 150, pageWidth - 150, pageHeight - 200);
    DeviceTabStrip->resize(TwipsToPixels(pageWidth - 150), DeviceTabStrip->height());
    KeyFrame->move(TwipsToPixels(pageWidth - 150 - W(KeyFrame)), KeyFrame->y());
    StatusFrame->move(StatusFrame->x(), TwipsToPixels(pageHeight - 80 - H(StatusFrame)));
    const bool keyReachesStatus = T(KeyFrame) + H(KeyFrame) > T(StatusFrame);
    StatusFrame->resize(TwipsToPixels(keyReachesStatus ? L(KeyFrame) - 100 : pageWidth - 150),
                        StatusFrame->height());
    Place(StatusLabel, 50, T(StatusLabel), W(StatusFrame) - 100, H(StatusLabel));
    DeviceMap->resize(TwipsToPixels(L(KeyFrame) - 100 - L(DeviceMap)), DeviceMap->height());
    WorkLabel->move(TwipsToPixels((pageWidth - W(WorkLabel)) / 2), TwipsToPixels((pageHeight - H(WorkLabel)) / 2));
    for (QTableWidget* grid : {SignalGrid, LiveGrid})
        grid->resize(TwipsToPixels(pageWidth - 2 * L(grid)),
                     platform::PixelsFromTwips(static_cast<double>(pageHeight) - 1.5 * static_cast<double>(T(grid))));
    fraStatus->move(fraStatus->x(), TwipsToPixels(pageHeight - H(fraStatus) - 50));
    fraStatus->resize(TwipsToPixels(pageWidth - 200), fraStatus->height());
    lblStatus->resize(TwipsToPixels(W(fraStatus) - 800), lblStatus->height());
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
        platform::ShowProgramMessage(this, error, 16, "View Log File");
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
        platform::ShowProgramMessage(this, "Log File Erased", 64, "Clear Log File");
    else if (result == LogEraseResult::Failed)
        platform::ShowProgramMessage(this, error, 16, "Clear Log File");
}

void frmDiagnostics::cmdClear_Click()
{
    StatusRTF->clear();
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
    platform::ShowPlainMessage(this, text, 16, "Communications Error");
}

void frmDiagnostics::ReportLinkFailure(const std::string& text)
{
    ControlMode = ControlIdle;
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

void frmDiagnostics::ScanStarted()
{
    diags_->ReplyProgress = 0;
}

void frmDiagnostics::ScanResult(const std::string&) {}

void frmDiagnostics::MonitorLevels(const std::string&) {}

void frmDiagnostics::RunEnded()
{
    ControlMode = ControlIdle;
    UpdateControlStates();
}

void frmDiagnostics::LogWriteFailed(const std::string& path)
{
    // Told once, after the command that met it, which goes on regardless.
    QTimer::singleShot(0, this, [this, path] {
        platform::ShowProgramMessage(this,
                                     "The diagnostics log " + path +
                                         " could not be written; the traffic is not being logged.",
                                     48, windowTitle().toStdString());
    });
}
