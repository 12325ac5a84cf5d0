#pragma once
// The radio diagnostics window of the Radio Hub (or RLM): its own serial
// connection with the diagnostics command set, the unit check when it
// opens, the tabbed pages with their soft keys and page buttons, refresh
// and automatic refresh, the Comms Settings page, the Comms Log page with
// DiagsLog.txt, and its resize layout. The main window is disabled while it
// is open. The Device Status page shows the device map with its filter and
// key, the Signal Strengths and Live Status pages their grids, which Save
// writes to a file. The Channel Scan and Channel Monitor pages run and chart
// the hub's channel scan and channel monitor; no tab of the window offers
// them, code that adds a tab with their page code reaches them. What the
// window knows of the unit and its readings is its Session's.
#include "diagnostics/core/DeviceMap.h"
#include "diagnostics/core/DiagsLink.h"
#include "diagnostics/core/DiagsPages.h"
#include "diagnostics/core/DiagsSession.h"
#include "diagnostics/core/IDiagsWindow.h"
#include "diagnostics/core/LiveGrid.h"
#include "diagnostics/core/SignalGrid.h"
#include "hublink/core/NodesSiteLink.h"
#include "hublink/core/PortSettings.h"
#include "platform/FormInstance.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <fstream>
#include <memory>
#include <optional>

class ChannelMonitorPage;
class ChannelScanPage;
class DeviceMapWidget;
class DiagsGrid;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTextEdit;
class PortPanel;
class SerialLink;

class frmDiagnostics : public QWidget, public platform::FormInstance<frmDiagnostics>, public IDiagsWindow
{
    Q_OBJECT
public:
    frmDiagnostics();
    ~frmDiagnostics() override;

    // The opening handshake (port, debug output off, unit check) runs once
    // the window is first shown; true until it has ended.
    bool Loading() const { return loading_; }
    // The page code of the selected tab (-1 without one).
    int16_t SelectedPage() const;
    // Selects the first tab whose page code is `page`; false without one.
    bool SelectPage(int16_t page);

    // Handlers, named after their controls.
    void TabStrip_Click();
    void cmdSoft1_Click();
    void cmdSoft2_Click();
    void cmdRefresh_Click();
    void cmdAuto_Click();
    void tmrRefresh_Timer();
    void cmdDeviceStat_Click();
    void cmdSignals_Click();
    void cmdLiveTest_Click();
    // Launchers of the channel pages: the page's tab, when there is one, is
    // selected and its run started.
    void cmdFScan_Click();
    void cmdMonitor_Click();
    void cmdExit_Click();
    void chkLogging_Click();
    void cmdView_Click();
    void cmdClearLog_Click();
    void cmdClear_Click();
    void UpdateControlStates();
    // The port settings applied to the window's port; Failed after the
    // error was shown.
    hublink::PortStatus ApplyPortSettings();
    // "GET RADIO ALL": the unit's radio data into ReplyLines, told when done.
    void DownloadRadioData();
    // "IDENTREAD": true when the unit's ident is that of node Index.
    bool VerifyHubIdent(int Index);
    // Lets the user choose the comms stimulus file and opens it for reading;
    // a stimulus file open before is closed first. Cancel or a file that
    // cannot be opened leaves none open.
    void LoadCommsStimulusFile();
    std::string StimulusFileName;
    std::unique_ptr<std::ifstream> StimulusStream;
    bool StimulusFileOpen = false;
    void cmdSave_Click();

    // Device Status page: the map's tabs, slots, filter and key.
    void DeviceTabStrip_Click();
    void DeviceImage_Click(int Index);
    void chkShow_Click(int Index);
    void optKey_Click();
    void optSel_Click();
    void ApplyShowFilter();
    void ShowSelectedDeviceStatus();
    // "GET DS ALL" into the status texts of every unit; false on failure.
    bool GetAllDeviceStatus();
    // The status text of the unit at one loop address ("" without a reply).
    std::string GetDeviceStatusAt(int Loop, int Address);
    diagnostics::ShowBoxes ShowBoxes() const;

    // Signal Strengths page.
    void SetupSignalGrid();
    void FillSignalGrid(bool NoData);
    void SignalGrid_Click();
    void SignalGrid_DblClick(int column);
    const diagnostics::SignalGrid& SignalRows() const { return signalRows_; }

    // Live Status page.
    void SetupLiveGrid();
    void FillLiveGrid(bool Rebuild);
    // The manual-update run; false when it was cancelled.
    bool GetLiveSignalInformation();
    const diagnostics::LiveGrid& LiveRows() const { return liveRows_; }

    int SelectedSlotIndex = -1;
    int SignalSelectedRow = -1;

    bool RefreshBusy = false;
    // The control mode, the reading under way, the unit's version and the
    // page behind each tab.
    diagnostics::DiagsSession Session;

    // IDiagsWindow
    void AppendToLogBox(const std::string& text) override;
    void SetControlsBusy(bool busy) override;
    int ProgressValue() const override;
    int ProgressMax() const override;
    void SetProgressValue(int value) override;
    void HideProgress() override;
    int32_t ShowMessage(const std::string& text, int32_t style) override;
    void ShowCommsError(const std::string& text) override;
    bool DeleteTimerRunning() const override { return false; }
    void ReportLinkFailure(const std::string& text) override;
    void EnableWindow() override;
    void LogWriteFailed(const std::string& path) override;

    DiagsLink& Diags() { return *diags_; }
    // The link's session: its state and the lines received.
    hublink::LinkSession& Comms() { return diags_->Link().Session(); }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    QFrame* BuildFunctionsPage();
    QFrame* BuildDeviceStatusPage();
    void Form_Load();
    void OpenLink();
    void Form_Resize();
    void Form_Unload();
    bool StopHubDebugOutput();
    // The unit check after the handshake; true when the first page is to
    // be refreshed.
    bool ApplyUnitGate();
    // The second soft key's caption and what a click on it does.
    void SetSoft2(Soft2Action action);
    void RefreshPage(int16_t page);
    bool CollectList(hublink::StateCode waitCode, const std::string& command, bool keepProgress = false);
    bool ReadSignalStrengths();
    bool ReadDailyMaxima();
    void ShowLiveRow(int gridRow);
    void ReportLiveRunFailure();
    void BuildKey(QGroupBox* frame);
    std::optional<diagnostics::MapTab> SelectedDeviceTab() const;
    void ShortcutToPage(int16_t page);
    void UntickAuto();
    // The Cancel key of a running scan or monitor; false when none runs.
    bool StopChannelRun();
    // The window's progress label and bar, status line and control mode
    // follow the channel pages' runs.
    void ShowChannelProgress();
    void ChannelRunStarted(int32_t mode);
    void ChannelRunEnded(hublink::StateCode state, hublink::StateCode done);
    void ViewDiagsLog();
    void ReleaseStimulusFile();
    void SetLamp(bool busy);
    // Runs one operation of the link unless another is running; a close
    // asked for meanwhile happens when it ends.
    template <typename F> bool RunLinkOperation(F operation);
    void CloseIfPending();

    hublink::NodesSiteLink site_;
    std::unique_ptr<SerialLink> serial_;
    std::unique_ptr<DiagsLink> diags_;
    QPointer<QWidget> mainWindow_;

    QTabBar* TabStrip = nullptr;
    std::array<QFrame*, 10> TabFrame{};
    QPushButton *cmdSoft1 = nullptr, *cmdSoft2 = nullptr, *cmdExit = nullptr, *cmdClear = nullptr,
                *cmdView = nullptr, *cmdClearLog = nullptr, *cmdRefresh = nullptr, *cmdSave = nullptr,
                *cmdAuto = nullptr;
    QCheckBox* chkLogging = nullptr;
    QFrame* CommsLED = nullptr;
    QLabel* lblProgress = nullptr;
    QProgressBar* CommsProgress = nullptr;
    // Functions page
    QGroupBox *fraSignals = nullptr, *fraDevices = nullptr, *fraStatus = nullptr, *fraMonitor = nullptr,
              *fraScan = nullptr;
    QLabel* lblStatus = nullptr;
    // Channel Scan and Channel Monitor pages
    ChannelScanPage* scanPage = nullptr;
    ChannelMonitorPage* monitorPage = nullptr;
    // Device Status page
    QTabBar* DeviceTabStrip = nullptr;
    DeviceMapWidget* DeviceMap = nullptr;
    std::array<QLabel*, diagnostics::kKeyRowCount> KeyShape{}, KeyLabel{};
    std::array<QCheckBox*, diagnostics::kShowBoxCount> chkShow{};
    QRadioButton *optKey = nullptr, *optSel = nullptr;
    QGroupBox *KeyFrame = nullptr, *StatusFrame = nullptr;
    QLabel* StatusLabel = nullptr;
    // Update page
    QLabel* WorkLabel = nullptr;
    // Signal Strengths and Live Status pages
    DiagsGrid *SignalGrid = nullptr, *LiveGrid = nullptr;
    diagnostics::SignalGrid signalRows_;
    diagnostics::LiveGrid liveRows_;
    // Comms Settings and Comms Log pages
    PortPanel* PortControls = nullptr;
    QTextEdit* StatusRTF = nullptr;

    QTimer tmrRefresh;
    QTimer closeTimer_; // the delayed close after a refused unit
    AutoRefreshCountdown countdown_;
    bool loading_ = true;
    bool opened_ = false;
    bool linkBusy_ = false;
    QSize laidOut_; // the outer size the layout was made for
    bool closePending_ = false;
    bool programClose_ = false; // the close under way is the window's own
    bool unloaded_ = false;
    Soft2Action soft2Action_ = Soft2Action::Print;
};
