// The diagnostics window's controls and pages as built, and their layout
// when the window is resized.
#include "diagnostics/frmDiagnostics.h"

#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/DeviceMapWidget.h"
#include "diagnostics/DiagsGrid.h"
#include "diagnostics/frmDiagnosticsInternal.h"
#include "hublink/PortPanel.h"
#include "hublink/SerialLink.h"
#include "hublink/core/LinkTiming.h"
#include "platform/WindowPlacement.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabBar>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace hublink;
using enum hublink::CommsStateCode;
using enum diagnostics::DiagsStateCode;

QFrame* frmDiagnostics::BuildFunctionsPage()
{
    auto* page = new QFrame;
    auto* caption = new QLabel(QStringLiteral("Functions"), page);
    caption->move(TwipsToPixels(150), TwipsToPixels(60));
    auto group = [page](const char* name, const char* title, long left, long top) {
        return Group(name, title, page, left, top, kLauncherGroupWidth, kLauncherGroupHeight);
    };
    auto launcher = [](const char* name, const char* caption, QGroupBox* box, long top) {
        QPushButton* button = Button(name, caption, box);
        Place(button, kLauncherLeft, top, kLauncherWidth, kLauncherHeight);
        return button;
    };
    fraSignals = group("fraSignals", "Signal Strengths", 150, 360);
    auto* cmdSignals = launcher("cmdSignals", "Signal Strengths", fraSignals, kLauncherTop);
    auto* cmdLiveTest = launcher("cmdLiveTest", "Live Status", fraSignals, 900);
    fraDevices = group("fraDevices", "Devices", 3300, 360);
    auto* cmdDeviceStat = launcher("cmdDeviceStat", "Device Status", fraDevices, kLauncherTop);
    // The scan time and the channel range are set on the chart pages.
    fraMonitor = group("fraMonitor", "Channel Monitor", 150, 2000);
    auto* cmdMonitor = launcher("cmdMonitor", "Channel Monitor", fraMonitor, kLauncherTop);
    fraScan = group("fraScan", "Channel Scan", 3300, 2000);
    auto* cmdFScan = launcher("cmdFScan", "Channel Scan", fraScan, kLauncherTop);
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
    // "  Port Enabled" shows the window's port as it is: ticked while it is
    // open, whatever the setting read when the window opened.
    connect(&serial_->Comm(), &platform::SerialControl::OpenChanged, PortControls, &PortPanel::ShowPortOpen);

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
    connect(scanPage, &ChannelScanPage::RunEnded, this, [this](int state) { ChannelRunEnded(StateCode::FromValue(state), ScanDone); });
    connect(monitorPage, &ChannelMonitorPage::RunEnded, this,
            [this](int state) { ChannelRunEnded(StateCode::FromValue(state), MonitorDone); });
}

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
        const long top = kKeyRowTop + k * kKeyRowPitch;
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
        box->move(TwipsToPixels(2355), TwipsToPixels(kKeyRowTop + j * kKeyRowPitch));
        box->setChecked(j == diagnostics::ShowAllBox);
        connect(box, &QCheckBox::clicked, this, [this, j] { chkShow_Click(j); });
        chkShow[static_cast<size_t>(j)] = box;
    }
    connect(optKey, &QRadioButton::clicked, this, &frmDiagnostics::optKey_Click);
    connect(optSel, &QRadioButton::clicked, this, &frmDiagnostics::optSel_Click);
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
    if (platform::FrameRect(*this).size() != laidOut_)
        Form_Resize();
}

void frmDiagnostics::Form_Resize()
{
    if (isMinimized() || isMaximized())
        return;
    const QSize outer = platform::FrameRect(*this).size();
    const long width = PixelsToTwips(outer.width());
    const long height = PixelsToTwips(outer.height());
    laidOut_ = outer;
    Place(cmdSoft1, width / 2 - kMiddleKeyWidth / 2, height - kButtonHeight - kRowFoot, kMiddleKeyWidth, kButtonHeight);
    CommsProgress->move(CommsProgress->x(), TwipsToPixels(T(cmdSoft1) - H(CommsProgress) - kNarrowGap));
    Place(TabStrip, L(TabStrip), T(TabStrip), width - kFrameWidth, T(cmdSoft1) - kPagesAboveRow);
    Place(CommsProgress, L(TabStrip), T(CommsProgress), W(TabStrip), H(CommsProgress));
    lblProgress->move(TwipsToPixels(L(cmdSoft1) + W(cmdSoft1) / 2 - W(lblProgress) / 2), cmdSoft1->y());
    const long row = T(cmdSoft1);
    // Keys left to right, each after the one before it.
    auto after = [](const QWidget* w, long gap) { return L(w) + W(w) + gap; };
    Place(cmdExit, L(TabStrip) + W(TabStrip) - kButtonWidth - 50, row, kButtonWidth, kButtonHeight);
    Place(cmdSoft2, L(TabStrip), row, kButtonWidth, kButtonHeight);
    Place(cmdClear, after(cmdSoft2, kGroupGap), row, kButtonWidth, kButtonHeight);
    chkLogging->move(TwipsToPixels(after(cmdClear, kButtonGap)),
                     TwipsToPixels(row + kButtonHeight / 2 - H(chkLogging) / 2));
    Place(cmdView, after(chkLogging, kButtonGap), row, kButtonWidth, kButtonHeight);
    Place(cmdClearLog, after(cmdView, kButtonGap), row, kButtonWidth, kButtonHeight);
    // The tab strip's client area: below its tabs.
    const long tabsHeight = PixelsToTwips(TabStrip->sizeHint().height());
    TabStrip->resize(TabStrip->width(), TabStrip->sizeHint().height());
    const long pageTop = T(TabStrip) + tabsHeight;
    const long pageWidth = width - kFrameWidth;
    const long pageHeight = T(cmdSoft1) - kPagesAboveRow - tabsHeight;
    for (int i = 1; i <= 9; ++i)
        Place(TabFrame[static_cast<size_t>(i)], L(TabStrip), pageTop, pageWidth, pageHeight);
    Place(cmdAuto, L(cmdSoft2), row, kButtonWidth, kButtonHeight);
    Place(cmdRefresh, after(cmdAuto, kButtonGap), row, kButtonWidth, kButtonHeight);
    CommsLED->move(TwipsToPixels(after(cmdRefresh, kNarrowGap)),
                   TwipsToPixels(T(cmdRefresh) + kButtonHeight / 2 - H(CommsLED) / 2));
    Place(cmdSave, after(cmdRefresh, kGroupGap), row, kButtonWidth, kButtonHeight);
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
