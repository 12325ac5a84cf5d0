#pragma once
// The program's options, window positions, serial-port settings and recent
// files: live values between LoadSettings at start-up and SaveSettings at
// exit. They are stored in settings.ini in the program's folder.
#include <array>
#include <cstdint>
#include <string>

// [WindowPositions], twips. A negative value is not written at exit.
extern int32_t MainWindowTop, MainWindowLeft, MainWindowWidth, MainWindowHeight;
extern int32_t NodeWindowTop, NodeWindowLeft;
extern int32_t DeviceWindowTop, DeviceWindowLeft;
extern int32_t HistoryWindowTop, HistoryWindowLeft, HistoryWindowWidth, HistoryWindowHeight;
extern int32_t ErrorCheckWindowTop, ErrorCheckWindowLeft, ErrorCheckWindowWidth, ErrorCheckWindowHeight;
extern int32_t CommsWindowWidth, CommsWindowHeight;
extern int32_t DiagsWindowWidth, DiagsWindowHeight;
extern int32_t TreeViewWindowTop, TreeViewWindowLeft, TreeViewWindowWidth, TreeViewWindowHeight;
extern int32_t StatsWindowTop, StatsWindowLeft, StatsWindowWidth, StatsWindowHeight;
extern int32_t GridWindowTop, GridWindowLeft, GridWindowWidth, GridWindowHeight;

// [Options]
extern bool FilePaths;
extern bool ReOpenLastUsed;
extern int32_t QuickInfoMode;     // device window slot label: 0 none, 1 loop/address, 2 ident, 4 short type
extern int32_t NodeQuickInfoMode; // canvas label: 0 none, 1 loop/address, 2 ident, 3 channels
extern bool Toolbar;
extern bool LogProg;
extern bool LogDiags;
extern bool CommsCloseOnComplete;
extern bool StatsUsedFree;
extern int16_t StatsViewBy; // 1 by loop, 2 by node, 3 by device type
extern bool CheckOnOpen;
extern bool CheckOnClose;
extern bool DropOnParent;
extern bool ConfirmDiffs;
extern std::string LogFolder; // "LogPaths"
extern bool PortEnabled;      // "PortOn"
extern int16_t PortNumber;    // 1..32
extern int16_t PortBaudIndex; // 0..7: 1200 .. 115200
extern int16_t PortDataBits;
extern int16_t PortStopBits;
extern int16_t PortParity; // 0 none, 1 even, 2 odd
extern bool PortDTR;
extern bool PortRTS;

// [MRUList]: entries 1..10, entry 1 the most recent; index 0 is not used.
extern std::array<std::string, 11> MruFiles;

// The full path of settings.ini in the program's folder.
std::string SettingsPath();

// Puts every value above back to its default (tests, and a missing file).
void ResetSettings();

namespace model {
class clsIniFile;
}

// Reads settings.ini into the values above (defaults for absent or empty
// keys), then sets the site's LoopCount 4, MaxLoopAddress 126 and
// LoopProtocol 1.
void LoadSettings();
// The same from settings.ini read already, so that a line the reader cannot
// take is reported once however many readers the file has at start-up.
void LoadSettings(model::clsIniFile& ini);

// Replaces settings.ini with the current values. Returns false, with the
// reason in error, when the file could not be written; the old file is then
// left as it was.
bool SaveSettings(std::string* error = nullptr);
