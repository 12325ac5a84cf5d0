#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/DeviceMapWidget.h"
#include "diagnostics/DiagsGrid.h"
#include "diagnostics/core/DiagsExport.h"
#include "diagnostics/core/DiagsLog.h"
#include "diagnostics/core/LinkBudgetRun.h"
#include "hublink/PortPanel.h"
#include "hublink/SerialLink.h"
#include "hublink/core/LinkTiming.h"
#include "hublink/core/UnitQueries.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Beep.h"
#include "platform/FileDialogs.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/PlainMessageBox.h"
#include "platform/PrinterDialog.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"
#include "views/TableSaveDialog.h"
#include "views/TakenOnText.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <utility>

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
    diags_->SetChannelRuns(&scanPage->Scan, &monitorPage->Monitor);
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
    // The scan time and the channel range are set on the chart pages.
    fraMonitor = Group("fraMonitor", "Channel Monitor", page, 150, 2000, 3000, 1500);
    auto* cmdMonitor = Button("cmdMonitor", "Channel Monitor", fraMonitor);
    Place(cmdMonitor, 150, 330, 2700, 450);
    fraScan = Group("fraScan", "Channel Scan", page, 3300, 2000, 3000, 1500);
    auto* cmdFScan = Button("cmdFScan", "Channel Scan", fraScan);
    Place(cmdFScan, 150, 330, 2700, 450);
    fraStatus = Group("fraStatus", "Status", page, 150, 3700, 6150, 700);
    lblStatus = Named(new QLabel, "lblStatus", fraStatus);
    Place(lblStatus, 100, 300, 5350, 300);
    connect(cmdSignals, &QPushButton::clicked, this, &frmDiagnostics::cmdSignals_Click);
    connect(cmdLiveTest, &QPushButton::clicked, this, &frmDiagnostics::cmdLiveTest_Click);
    connect(cmdDeviceStat, &QPushButton::clicked, this, &frmDiagnostics::cmdDeviceStat_Click);
    connect(cmdMonitor, &QPushButton::clicked, this, &frmDiagnostics::cmdMonitor_Click);
    connect(cmdFScan, &QPushButton::clicked, this, &frmDiagnostics::cmdFScan_Click);
    return page;
}

QFrame* frmDiagnostics::BuildDeviceStatusPage()
{
    auto* page = new QFrame;
    DeviceTabStrip = Named(new QTabBar, "DeviceTabStrip", page);
    DeviceTabStrip->setExpanding(false);
    Place(DeviceTabStrip, 75, 100, 9000, 400);
    // The device slots and their colour key are laid out by the device map.
    DeviceMap = Named(new DeviceMapWidget, "DeviceMap", page);
    DeviceMap->setGeometry(TwipsToPixels(75), TwipsToPixels(550), TwipsToPixels(9000), DeviceMapWidget::FullHeight());
    DeviceMap->SlotClicked = [this](int index) { DeviceImage_Click(index); };
    KeyFrame = Group("KeyFrame", "", page, 9200, 550, 2210, 3700);
    BuildKey(KeyFrame);
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
    for (size_t i : {2, 3}) {
        TabFrame[i] = new QFrame;
        (new QVBoxLayout(TabFrame[i]))->setContentsMargins(0, 0, 0, 0);
    }
    scanPage = new ChannelScanPage(*diags_, TabFrame[2]);
    TabFrame[2]->layout()->addWidget(scanPage);
    monitorPage = new ChannelMonitorPage(*diags_, TabFrame[3]);
    TabFrame[3]->layout()->addWidget(monitorPage);
    TabFrame[4] = BuildDeviceStatusPage();
    TabFrame[5] = new QFrame;
    WorkLabel = Named(new QLabel(QStringLiteral("Please Wait...")), "WorkLabel", TabFrame[5]);
    WorkLabel->adjustSize();
    TabFrame[6] = new QFrame;
    SignalGrid = Named(new DiagsGrid, "SignalGrid", TabFrame[6]);
    Place(SignalGrid, 75, 150, 9000, 4000);
    TabFrame[7] = new QFrame;
    LiveGrid = Named(new DiagsGrid, "LiveGrid", TabFrame[7]);
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
    connect(cmdSave, &QPushButton::clicked, this, &frmDiagnostics::cmdSave_Click);
    connect(DeviceTabStrip, &QTabBar::currentChanged, this, [this] { DeviceTabStrip_Click(); });
    connect(SignalGrid, &QTableWidget::itemSelectionChanged, this, &frmDiagnostics::SignalGrid_Click);
    connect(SignalGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int, int column) { SignalGrid_DblClick(column); });
    connect(SignalGrid->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            &frmDiagnostics::SignalGrid_DblClick);
    connect(&tmrRefresh, &QTimer::timeout, this, &frmDiagnostics::tmrRefresh_Timer);
    connect(&closeTimer_, &QTimer::timeout, this, [this] {
        programClose_ = true;
        close();
    });
    connect(&serial_->Comm(), &platform::SerialControl::PortLost, PortControls, &PortPanel::ShowPortDisabled);

    // The channel pages run on the window's soft keys, progress bar and
    // launchers, so that a run is one operation of the window's link.
    for (QWidget* keys : {scanPage->fraSoftKeys, monitorPage->fraSoftKeys})
        keys->hide();
    scanPage->cmdFScan->disconnect(scanPage);
    monitorPage->cmdMonitor->disconnect(monitorPage);
    connect(scanPage->cmdFScan, &QPushButton::clicked, this, &frmDiagnostics::cmdFScan_Click);
    connect(monitorPage->cmdMonitor, &QPushButton::clicked, this, &frmDiagnostics::cmdMonitor_Click);
    connect(scanPage, &ChannelScanPage::ProgressChanged, this, &frmDiagnostics::ShowChannelProgress);
    connect(scanPage, &ChannelScanPage::RunStarted, this, [this] { ChannelRunStarted(ControlScanning); });
    connect(monitorPage, &ChannelMonitorPage::RunStarted, this, [this] { ChannelRunStarted(ControlMonitoring); });
    connect(scanPage, &ChannelScanPage::RunEnded, this, [this](int state) { ChannelRunEnded(state, ScanDone); });
    connect(monitorPage, &ChannelMonitorPage::RunEnded, this,
            [this](int state) { ChannelRunEnded(state, MonitorDone); });
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
    liveRows_.SetUnitVersion(UnitVersion);
    ShowLiveRow(1);
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
    if (page == PageSignalStrengths)
        SetupSignalGrid();
    else if (page == PageLiveStatus && !DiagBusy)
        SetupLiveGrid();
    for (int i = 1; i <= 9; ++i)
        TabFrame[static_cast<size_t>(i)]->hide();
    TabFrame[static_cast<size_t>(page)]->show();
    if (page == PageChannelMonitor) {
        const bool running = CommsState == Scanning || CommsState == Monitoring;
        cmdSoft2->setText(running ? QStringLiteral("Cancel") : QStringLiteral("Print"));
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
        if (ApplyPortSettings())
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
        if (StopChannelRun()) {
            // The run ends at the unit's next line.
        } else if (CommsState == ManualUpdateWait || CommsState == ManualUpdateReplyWait) {
            serial_->Stop();
            CommsState = ManualUpdateCancelled;
            serial_->StateChanged();
        }
    } else if (caption == QLatin1String("Clear")) {
        StatusRTF->clear();
    }
}

bool frmDiagnostics::StopChannelRun()
{
    if (CommsState == Scanning)
        scanPage->cmdSoft2_Click();
    else if (CommsState == MonitorWait || CommsState == Monitoring)
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
    if (closePending_ && CommsState == Scanning) {
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
    ControlMode = mode;
    UpdateControlStates();
    ShowChannelProgress();
    SetBack(lblStatus, 200, 200, 255);
}

void frmDiagnostics::ChannelRunEnded(int32_t state, int32_t done)
{
    ControlMode = ControlIdle;
    UpdateControlStates();
    const QLabel* status = done == ScanDone ? scanPage->lblStatus : monitorPage->lblStatus;
    lblStatus->setText(status->text());
    if (state == done)
        SetBack(lblStatus, 200, 255, 200);
    else
        SetBack(lblStatus, 255, 200, 200);
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
        QTimer::singleShot(0, this, [this] {
            programClose_ = true;
            close();
        });
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

bool frmDiagnostics::CollectList(int32_t waitCode, const std::string& command, bool keepProgress)
{
    EmptyReplyLines();
    if (!keepProgress)
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
    if (page == PageDeviceStatus) {
        StatusLabel->clear();
        if (GetAllDeviceStatus()) {
            CommsProgress->setValue(CommsProgress->maximum());
            ShowSelectedDeviceStatus();
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Status", 16, "Get Device Statuses");
        }
        CommsProgress->hide();
    } else if (page == PageSignalStrengths) {
        const int topRow = SignalGrid->rowAt(0);
        if (ReadSignalStrengths()) {
            HaveDailyMaxima = false;
            if (UnitVersion.substr(0, 4) >= "3.00") {
                HaveDailyMaxima = ReadDailyMaxima();
                if (!HaveDailyMaxima) {
                    UntickAuto();
                    platform::ShowPlainMessage(this, "Unable To Get Global Stats", 16, "Get Global Stats");
                }
            }
            FillSignalGrid(false);
            if (topRow >= 0)
                SignalGrid->scrollToItem(SignalGrid->item(topRow, 0), QAbstractItemView::PositionAtTop);
            if (SignalSelectedRow != -1)
                SignalGrid->SelectGridRow(SignalSelectedRow);
        } else {
            UntickAuto();
            platform::ShowPlainMessage(this, "Unable To Get Signal Strengths", 16, "Get Signal Strengths");
        }
        CommsProgress->hide();
    } else if (page == PageLiveStatus) {
        diagnostics::ClearLiveLinkData(model::Nodes);
        AllDevicesFound = false;
        cmdSoft1->hide();
        cmdSoft2->show();
        FillLiveGrid(true);
        if (!GetLiveSignalInformation()) {
            ReportLiveRunFailure();
        }
        cmdSoft2->hide();
    }
}

bool frmDiagnostics::GetAllDeviceStatus()
{
    CommsProgress->setMaximum(std::max(diagnostics::ClearAllDeviceStatus(model::Nodes), 1));
    if (!CollectList(AllStatusCollect, diagnostics::kGetAllStatusCommand))
        return false;
    diagnostics::ApplyDeviceStatusReply(ReplyLines, ReplyLineCount, model::Nodes);
    return true;
}

std::string frmDiagnostics::GetDeviceStatusAt(int Loop, int Address)
{
    std::string text;
    RunLinkOperation([&] {
        const std::string command = diagnostics::DeviceStatusAtCommand(Loop, Address);
        if (diags_->Request(StatusAtWait, command) == StatusAtDone)
            text = diagnostics::DeviceStatusAtText(Loop, Address, LastRxLine);
    });
    return text;
}

bool frmDiagnostics::ReadSignalStrengths()
{
    // The bar covers this list and the daily maxima that may follow.
    CommsProgress->setMaximum(std::max(2 * diagnostics::ClearSignalStrengths(model::Nodes), 1));
    if (!CollectList(SignalsCollect, diagnostics::kGetSignalStrengthsCommand))
        return false;
    diagnostics::ApplySignalStrengthReply(ReplyLines, ReplyLineCount, model::Nodes);
    return true;
}

bool frmDiagnostics::ReadDailyMaxima()
{
    diagnostics::ClearDailyMaxima(model::Nodes);
    if (!CollectList(DailyMaxCollect, diagnostics::kGetDailyMaximaCommand, true))
        return false;
    diagnostics::ApplyDailyMaximumReply(ReplyLines, ReplyLineCount, model::Nodes);
    return true;
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

bool frmDiagnostics::VerifyHubIdent(int Index)
{
    bool same = false;
    if (Index < 0 || Index >= model::kNodeCount)
        return false;
    RunLinkOperation([&] { same = CheckIdent(serial_->Link(), static_cast<int16_t>(Index)); });
    return same;
}

void frmDiagnostics::ReleaseStimulusFile()
{
    StimulusStream.reset();
    StimulusFileOpen = false;
}

void frmDiagnostics::LoadCommsStimulusFile()
{
    platform::FileDialogRequest request;
    if (StimulusFileOpen) {
        ReleaseStimulusFile();
        request.fileName = Q(StimulusFileName);
    } else {
        request.fileName = Q(platform::JoinPath(platform::ProgramFolder(), "Comms Input"));
    }
    request.title = QStringLiteral("Select a Comms Stimulus File");
    request.filter = platform::FilterFromPairs(QStringLiteral("Text File (*.txt)|*.txt"));
    request.defaultSuffix = QStringLiteral("txt");
    const std::optional<QString> chosen = platform::ShowFileDialog(this, request);
    if (!chosen)
        return;
    StimulusFileName = chosen->toStdString();
    auto stream = std::make_unique<std::ifstream>(StimulusFileName, std::ios::binary);
    if (!stream->is_open())
        return;
    StimulusStream = std::move(stream);
    StimulusFileOpen = true;
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

bool frmDiagnostics::ApplyPortSettings()
{
    return PortControls->ApplyPortSettings();
}

void frmDiagnostics::cmdExit_Click()
{
    // Exit stops a running scan and leaves the window open.
    if (CommsState == Scanning) {
        StopChannelRun();
        return;
    }
    PortEnabled = false;
    close();
}

void frmDiagnostics::closeEvent(QCloseEvent* event)
{
    // The user's close is refused while a reading runs; the window's own
    // close (a refused unit) waits for its end.
    const bool programClose = std::exchange(programClose_, false);
    if (DiagBusy && !programClose) {
        event->ignore();
        return;
    }
    // Another wait of the window is running: the window closes when it ends.
    // A scan or monitor would run on for minutes or without end: it is
    // stopped.
    if (loading_ || linkBusy_ || DiagBusy) {
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
    if (event->type() == QEvent::MouseMove && watched->objectName().startsWith(QLatin1String("TabFrame"))) {
        DeviceMap->SetHighlight(-1);
        StatusLabel->clear();
    }
    return QWidget::eventFilter(watched, event);
}

void frmDiagnostics::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDiagnostics::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The window system tells the frame some time after the window is
    // shown, with a move: the layout follows the outer size it now knows.
    if (frameGeometry().size() != laidOut_)
        Form_Resize();
}

void frmDiagnostics::Form_Resize()
{
    if (isMinimized() || isMaximized())
        return;
    laidOut_ = frameGeometry().size();
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
    DeviceTabStrip->resize(TwipsToPixels(pageWidth - 150), DeviceTabStrip->height());
    KeyFrame->move(TwipsToPixels(pageWidth - 150 - W(KeyFrame)), KeyFrame->y());
    StatusFrame->move(StatusFrame->x(), TwipsToPixels(pageHeight - 80 - H(StatusFrame)));
    const bool keyReachesStatus = T(KeyFrame) + H(KeyFrame) > T(StatusFrame);
    StatusFrame->resize(TwipsToPixels(keyReachesStatus ? L(KeyFrame) - 100 : pageWidth - 150),
                        StatusFrame->height());
    Place(StatusLabel, 50, T(StatusLabel), W(StatusFrame) - 100, H(StatusLabel));
    DeviceMap->resize(TwipsToPixels(L(KeyFrame) - 100 - L(DeviceMap)), DeviceMap->height());
    WorkLabel->move(TwipsToPixels((pageWidth - W(WorkLabel)) / 2), TwipsToPixels((pageHeight - H(WorkLabel)) / 2));
    for (DiagsGrid* grid : {SignalGrid, LiveGrid})
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

// Device Status page

void frmDiagnostics::BuildKey(QGroupBox* frame)
{
    optKey = Named(new QRadioButton(QStringLiteral("Key")), "optKey", frame);
    optSel = Named(new QRadioButton(QStringLiteral("Select")), "optSel", frame);
    Place(optKey, 90, 60, 900, 300);
    Place(optSel, 1050, 60, 1100, 300);
    optKey->setChecked(true);
    static const char* const kBoxes[] = {"Show All",   "Fire Alarm",     "Pre-Alarm",  "Fault",
                                         "Low Batt / Fault", "Disconnect", "Medium Signal ", "Low Signal",
                                         "Caution Signal"};
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        const long top = 420 + k * 325;
        auto* swatch = new QLabel(frame);
        swatch->setObjectName(QStringLiteral("KeyShape%1").arg(k));
        Place(swatch, 90, top, 480, 255);
        auto* caption = new QLabel(frame);
        caption->setObjectName(QStringLiteral("KeyLabel%1").arg(k));
        Place(caption, 650, top, 1500, 255);
        KeyShape[static_cast<size_t>(k)] = swatch;
        KeyLabel[static_cast<size_t>(k)] = caption;
    }
    for (int j = 0; j < diagnostics::kShowBoxCount; ++j) {
        auto* box = new QCheckBox(QString::fromLatin1(kBoxes[j]), frame);
        box->setObjectName(QStringLiteral("chkShow%1").arg(j));
        // Outside the panel until "Select" is chosen.
        box->adjustSize();
        box->move(TwipsToPixels(2355), TwipsToPixels(420 + j * 325));
        box->setChecked(j == diagnostics::ShowAllBox);
        connect(box, &QCheckBox::clicked, this, [this, j] { chkShow_Click(j); });
        chkShow[static_cast<size_t>(j)] = box;
    }
    connect(optKey, &QRadioButton::clicked, this, &frmDiagnostics::optKey_Click);
    connect(optSel, &QRadioButton::clicked, this, &frmDiagnostics::optSel_Click);
}

diagnostics::ShowBoxes frmDiagnostics::ShowBoxes() const
{
    diagnostics::ShowBoxes boxes{};
    for (int j = 0; j < diagnostics::kShowBoxCount; ++j)
        boxes[static_cast<size_t>(j)] = chkShow[static_cast<size_t>(j)]->isChecked();
    return boxes;
}

std::optional<diagnostics::MapTab> frmDiagnostics::SelectedDeviceTab() const
{
    return diagnostics::ParseTabCaption(DeviceTabStrip->tabText(DeviceTabStrip->currentIndex()).toStdString());
}

void frmDiagnostics::DeviceTabStrip_Click()
{
    StatusLabel->clear();
    DeviceMap->SetHighlight(-1);
    SelectedSlotIndex = -1;
    SignalSelectedRow = -1;
    const auto tab = SelectedDeviceTab();
    if (tab && tab->kind == diagnostics::MapTab::Kind::Loop)
        KeyFrame->move(KeyFrame->x(), DeviceMap->y() + DeviceMap->SlotRect(1).top());
    ShowSelectedDeviceStatus();
}

void frmDiagnostics::ShowSelectedDeviceStatus()
{
    const auto tab = SelectedDeviceTab();
    if (!tab)
        return;
    const diagnostics::ShowBoxes boxes = ShowBoxes();
    DeviceMap->Show(diagnostics::BuildDeviceMap(*tab, model::Nodes, boxes));
    if (SelectedSlotIndex != -1)
        StatusLabel->setText(Q(diagnostics::SlotStatusLine(*tab, SelectedSlotIndex, model::Nodes, boxes)));
}

void frmDiagnostics::DeviceImage_Click(int Index)
{
    const auto tab = SelectedDeviceTab();
    if (!tab)
        return;
    SelectedSlotIndex = Index;
    DeviceMap->SetHighlight(Index);
    StatusLabel->setText(Q(diagnostics::SlotStatusLine(*tab, Index, model::Nodes, ShowBoxes())));
}

void frmDiagnostics::chkShow_Click(int Index)
{
    DeviceMap->SetHighlight(-1);
    StatusLabel->clear();
    SelectedSlotIndex = -1;
    const diagnostics::ShowBoxes boxes = diagnostics::SettleShowBoxes(ShowBoxes(), Index);
    for (int j = 0; j < diagnostics::kShowBoxCount; ++j)
        chkShow[static_cast<size_t>(j)]->setChecked(boxes[static_cast<size_t>(j)]);
    ApplyShowFilter();
    ShowSelectedDeviceStatus();
}

void frmDiagnostics::ApplyShowFilter()
{
    const auto key = diagnostics::ColourKey(ShowBoxes());
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        const diagnostics::KeyRow& row = key[static_cast<size_t>(k)];
        const QColor outline = row.outline == 0x80000008 ? palette().color(QPalette::WindowText)
                                                         : platform::ColourFromBGR(row.outline);
        const QString fill = row.solid ? platform::ColourFromBGR(row.fill).name() : QStringLiteral("transparent");
        KeyShape[static_cast<size_t>(k)]->setStyleSheet(QStringLiteral("background: %1; border: %2px solid %3;")
                                                            .arg(fill)
                                                            .arg(row.outlineWidth)
                                                            .arg(outline.name()));
        KeyLabel[static_cast<size_t>(k)]->setText(Q(row.caption));
    }
}

void frmDiagnostics::optKey_Click()
{
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        KeyShape[static_cast<size_t>(k)]->show();
        KeyLabel[static_cast<size_t>(k)]->show();
    }
    for (QCheckBox* box : chkShow)
        box->hide();
}

void frmDiagnostics::optSel_Click()
{
    for (int k = 0; k < diagnostics::kKeyRowCount; ++k) {
        KeyShape[static_cast<size_t>(k)]->hide();
        KeyLabel[static_cast<size_t>(k)]->hide();
    }
    for (QCheckBox* box : chkShow) {
        box->move(TwipsToPixels(90), box->y());
        box->show();
    }
}

// Signal Strengths page

void frmDiagnostics::SetupSignalGrid()
{
    signalRows_.Setup();
    SignalGrid->SetHeading(signalRows_.Rows()[0], diagnostics::kSignalGridWidths);
    SignalGrid->setToolTip(QString::fromLatin1(diagnostics::kSignalGridToolTip));
    SignalGrid->SetHeadingPicture(-1, {});
}

void frmDiagnostics::FillSignalGrid(bool NoData)
{
    signalRows_.Fill(model::Nodes, NoData, HaveDailyMaxima);
    // A refill keeps the order of the last sort.
    signalRows_.Resort();
    SignalGrid->SetRows(signalRows_.Rows());
}

void frmDiagnostics::SignalGrid_Click()
{
    const QList<QTableWidgetSelectionRange> ranges = SignalGrid->selectedRanges();
    if (!ranges.isEmpty())
        SignalSelectedRow = ranges.back().bottomRow() + 1;
}

void frmDiagnostics::SignalGrid_DblClick(int column)
{
    signalRows_.SortByColumn(column);
    SignalGrid->SetRows(signalRows_.Rows());
    SignalGrid->SetHeadingPicture(signalRows_.SortColumn(), signalRows_.SortArrow());
}

// Live Status page

void frmDiagnostics::SetupLiveGrid()
{
    liveRows_.Setup();
    LiveGrid->SetHeading(liveRows_.Rows()[0].cells, diagnostics::LiveGridWidths());
}

void frmDiagnostics::ShowLiveRow(int gridRow)
{
    const auto& rows = liveRows_.Rows();
    if (gridRow < 1 || gridRow >= static_cast<int>(rows.size()))
        return;
    const diagnostics::LiveRow& row = rows[static_cast<size_t>(gridRow)];
    LiveGrid->SetRow(gridRow, row.cells);
    const diagnostics::RowColours colours = diagnostics::LiveRowColours(row.colour);
    LiveGrid->SetRowColours(gridRow, colours.back, colours.fore);
}

void frmDiagnostics::ReportLiveRunFailure()
{
    UntickAuto();
    // A lost port has told its error and shows the failure text already.
    if (serial_->Link().PortFailed())
        return;
    if (CommsState == ManualUpdateCancelled)
        platform::ShowPlainMessage(this, "Manual Update Cancelled", 64, "Get Manual Update");
    else
        platform::ShowPlainMessage(this, "Unable To Perform Status Update", 16, "Get Manual Update");
}

void frmDiagnostics::FillLiveGrid(bool Rebuild)
{
    liveRows_.Fill(model::Nodes, Rebuild, UnitVersion);
    if (Rebuild)
        LiveGrid->SetRows(liveRows_.Cells());
    for (int r = 1; r < static_cast<int>(liveRows_.Rows().size()); ++r)
        ShowLiveRow(r);
}

bool frmDiagnostics::GetLiveSignalInformation()
{
    SetLamp(true);
    DiagBusy = true;
    CommsProgress->setValue(0);
    CommsProgress->show();
    diags_->ReplyProgress = 0;
    diagnostics::LinkBudgetRun run(model::Nodes, liveRows_);
    int shown = -1; // the row asked last, repainted once its answer is in
    const bool completed = diagnostics::RunLinkBudgets(run, UnitVersion, [&](const diagnostics::LinkRequest& request) {
        if (shown == -1) {
            ShowLiveRow(1);
            CommsProgress->setMaximum(std::max(run.ToAsk(), 1));
            CommsProgress->setValue(0);
        }
        ShowLiveRow(shown);
        shown = request.row;
        ShowLiveRow(request.row);
        LiveGrid->SelectGridRow(request.row);
        diags_->ExpectedUpdateAddress = request.address;
        ReplyLines.resize(std::max<size_t>(ReplyLines.size(), 3));
        ReplyLines[0].clear();
        const int32_t state = diags_->Request(ManualUpdateWait, request.command, kManualUpdateTimeoutMs);
        return diagnostics::UnitReply{state, ReplyLines[0], serial_->Link().PortFailed()};
    });
    ShowLiveRow(shown);
    if (completed) {
        LiveGrid->setCurrentCell(0, 0);
        platform::Beep();
        CommsProgress->hide();
        AllDevicesFound = run.AllDevicesFound();
        const diagnostics::RunMessage message = run.EndMessage();
        if (shown == -1)
            ShowLiveRow(1); // nothing was asked
        platform::ShowPlainMessage(this, message.text, message.style, message.title);
        UpdateControlStates();
        CommsProgress->setValue(CommsProgress->maximum());
    }
    SetLamp(false);
    DiagBusy = false;
    CommsProgress->hide();
    return completed;
}

// Save: the grid of the page shown, as a CSV or a text file.

void frmDiagnostics::cmdSave_Click()
{
    tmrRefresh.stop();
    if (RefreshBusy)
        return;
    const int16_t page = SelectedPage();
    if (page != PageSignalStrengths && page != PageLiveStatus)
        return;
    const diagnostics::DiagsTable table =
        page == PageSignalStrengths ? diagnostics::DiagsTable::SignalStrengths : diagnostics::DiagsTable::LinkBudgets;
    const diagnostics::DiagsExportTexts texts = diagnostics::ExportTexts(table);
    platform::FileDialogRequest request;
    request.save = true;
    request.title = QString::fromLatin1(texts.dialogTitle);
    request.fileName = QString::fromLatin1(texts.defaultFileName);
    request.filter = platform::FilterFromPairs(QString::fromLatin1(diagnostics::kDiagsExportFilter));
    request.defaultSuffix = QString::fromLatin1(diagnostics::kDiagsExportExtension);
    request.confirmOverwrite = true;
    const std::vector<diagnostics::DiagsGridRow> rows =
        page == PageSignalStrengths ? signalRows_.Rows() : liveRows_.Cells();
    SaveTableAs(
        this, request,
        [&](const std::string& path, std::string* error) {
            return diagnostics::SaveDiagsTable(path, table, rows, SiteName, TakenOnText().toStdString(), error);
        },
        texts.savedTitle);
}
