#pragma once
// The pages of the diagnostics window: their codes, the tabs the window
// offers, and which of the page buttons and soft keys each control mode and
// page shows, enables and captions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum DiagPage : int16_t
{
    PageFunctions = 1,
    PageChannelScan = 2,
    PageChannelMonitor = 3,
    PageDeviceStatus = 4,
    PageUpdate = 5,
    PageSignalStrengths = 6,
    PageLiveStatus = 7,
    PageCommsSettings = 8,
    PageCommsLog = 9,
};

enum ControlModeCode : int32_t
{
    ControlIdle = 0,
    ControlBusy = 1,
    ControlScanning = 2,
    ControlMonitoring = 3,
};

struct DiagTab
{
    std::string Caption;
    int16_t Page;
};

// The tabs in their order: a hub site has five, a loop-interface site no
// "Signal Strengths".
std::vector<DiagTab> DiagTabs(bool loopInterface);

// A hub whose software is too old for live link budgets (2.x below 2.34,
// 3.x below 3.11).
bool LiveStatusUnsupported(const std::string& unitVersion);

// The caption the first soft key takes when the page is chosen; empty when
// the page leaves it as it is.
std::string Soft1CaptionFor(int16_t page);

// What the second soft key does; its caption names it.
enum class Soft2Action
{
    Print,
    Cancel,
};
const char* Soft2Caption(Soft2Action action);

// What one control becomes; an empty field leaves it as it is.
struct ControlChange
{
    std::optional<bool> Visible;
    std::optional<bool> Enabled;
    std::optional<std::string> Caption;
};

struct PageControlStates
{
    ControlChange cmdSoft1, cmdSoft2, lblProgress, CommsProgress, cmdAuto, cmdRefresh, CommsLED, cmdSave,
        cmdClear, cmdView, cmdClearLog, chkLogging;
    ControlChange fraScanMonitor; // fraScan and fraMonitor alike
    std::optional<Soft2Action> Soft2; // set with the key's caption
};

struct ControlInputs
{
    int32_t ControlMode = ControlIdle;
    int16_t Page = -1;
    bool DiagBusy = false;
    bool AllDevicesFound = true;
    bool LoggingTicked = false;
};

// The page controls for the control mode and, in the idle mode, the page.
PageControlStates ControlStatesFor(const ControlInputs& in);

// Ticks of the two-second refresh timer: the first refresh comes at the
// first tick, then one every 30 ticks.
class AutoRefreshCountdown
{
public:
    void Start() { RefreshCountdown = 1; }
    // True when this tick is due for a refresh.
    bool Tick();
    int16_t RefreshCountdown = 0;
};
