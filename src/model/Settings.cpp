#include "model/Settings.h"

#include "platform/base/ProgramFolder.h"

int32_t MainWindowTop, MainWindowLeft, MainWindowWidth, MainWindowHeight;
int32_t NodeWindowTop, NodeWindowLeft;
int32_t DeviceWindowTop, DeviceWindowLeft;
int32_t HistoryWindowTop, HistoryWindowLeft, HistoryWindowWidth, HistoryWindowHeight;
int32_t ErrorCheckWindowTop, ErrorCheckWindowLeft, ErrorCheckWindowWidth, ErrorCheckWindowHeight;
int32_t CommsWindowWidth, CommsWindowHeight;
int32_t DiagsWindowWidth, DiagsWindowHeight;
int32_t TreeViewWindowTop, TreeViewWindowLeft, TreeViewWindowWidth, TreeViewWindowHeight;
int32_t StatsWindowTop, StatsWindowLeft, StatsWindowWidth, StatsWindowHeight;
int32_t GridWindowTop, GridWindowLeft, GridWindowWidth, GridWindowHeight;

bool FilePaths;
bool ReOpenLastUsed;
int32_t QuickInfoMode;
int32_t NodeQuickInfoMode;
bool Toolbar;
bool LogProg;
bool LogDiags;
bool CommsCloseOnComplete;
bool StatsUsedFree;
int16_t StatsViewBy;
bool CheckOnOpen;
bool CheckOnClose;
bool DropOnParent;
bool ConfirmDiffs;
std::string LogFolder;
bool PortEnabled;
int16_t PortNumber;
int16_t PortBaudIndex;
int16_t PortDataBits;
int16_t PortStopBits;
int16_t PortParity;
bool PortDTR;
bool PortRTS;

std::array<std::string, 11> MruFiles;

namespace {
// Values in force before anything is read.
struct DefaultsOnStart
{
    DefaultsOnStart() { ResetSettings(); }
} g_defaultsOnStart;
} // namespace

std::string SettingsPath()
{
    return platform::JoinPath(platform::ProgramFolder(), "settings.ini");
}

void ResetSettings()
{
    MainWindowTop = 1000;
    MainWindowLeft = 1000;
    MainWindowWidth = 12765;
    MainWindowHeight = 9165;
    NodeWindowTop = NodeWindowLeft = 1000;
    DeviceWindowTop = DeviceWindowLeft = 1000;
    HistoryWindowTop = HistoryWindowLeft = 0;
    HistoryWindowWidth = 6615;
    HistoryWindowHeight = 5535;
    ErrorCheckWindowTop = ErrorCheckWindowLeft = 0;
    ErrorCheckWindowWidth = 6615;
    ErrorCheckWindowHeight = 5535;
    CommsWindowWidth = 7215;
    CommsWindowHeight = 5520;
    DiagsWindowWidth = 13320;
    DiagsWindowHeight = 9030;
    TreeViewWindowTop = TreeViewWindowLeft = 0;
    TreeViewWindowWidth = 10050;
    TreeViewWindowHeight = 8280;
    StatsWindowTop = StatsWindowLeft = 0;
    StatsWindowWidth = 10050;
    StatsWindowHeight = 8280;
    GridWindowTop = GridWindowLeft = 0;
    GridWindowWidth = 11000;
    GridWindowHeight = 8340;

    FilePaths = false;
    ReOpenLastUsed = false;
    QuickInfoMode = 0;
    NodeQuickInfoMode = 0;
    Toolbar = true;
    LogProg = false;
    LogDiags = false;
    CommsCloseOnComplete = false;
    StatsUsedFree = false;
    StatsViewBy = 3;
    CheckOnOpen = false;
    CheckOnClose = false;
    DropOnParent = true;
    ConfirmDiffs = true;
    LogFolder = platform::ProgramFolder();
    PortEnabled = true;
    PortNumber = 1;
    PortBaudIndex = 4;
    PortDataBits = 8;
    PortStopBits = 1;
    PortParity = 0;
    PortDTR = false;
    PortRTS = false;
    for (auto& f : MruFiles)
        f.clear();
}
