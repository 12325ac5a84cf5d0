#pragma once
// The state of the serial command link that the communications window and
// the diagnostics window share. Only one of the two windows is open at a
// time, and only one command is outstanding at a time.
#include <cstdint>
#include <string>
#include <vector>

// What the link waits for. A caller sets a waiting code before it sends;
// the reply dispatcher, the receive handler (254) and the time-out handler
// (255) move it on.
enum CommsStateCode : int32_t
{
    Idle = 0,
    ProgramWait = 1,
    ProgramDone = 2,
    IdentReadWait = 3,
    IdentReadDone = 4,
    IdentProgWait = 5,
    IdentProgDone = 6,
    SysConfigWait = 7,
    SysConfigCollect = 8,
    SysConfigDone = 9,
    UnassignClearWait = 10,
    UnassignClearDone = 11,
    UnassignAllWait = 12,
    UnassignAllDone = 13,
    AssignWait = 14,
    Assigning = 15,
    AssignDone = 16,
    PopulateClearWait = 22,
    PopulateClearDone = 23,
    DebugOffWait = 30,
    DebugOffDone = 31,
    StatusMonitorOffWait = 32,
    StatusMonitorOffDone = 33,
    SoftwareVersionWait = 34,
    SoftwareVersionDone = 35,
    LoopProtocolWait = 36,
    LoopProtocolDone = 37,
    LoopCountWait = 38,
    LoopCountDone = 39,
    DeleteWait = 48,
    DeleteDone = 50,
    DeleteFailed = 51,
    RelationDeleteWait = 52,
    AllStatusCollect = 54,
    AllStatusDone = 56,
    ProgramAborted = 253,
    UnknownCommand = 254,
    CommsFailed = 255,
};

extern int32_t CommsState;
extern std::string CommandText; // the command in flight, without its line end
extern std::string RxLine;      // the line being assembled, bytes as received
extern std::string LastRxLine;  // the last complete line, as UTF-8 (the unit sends Windows-1252)
// The line that moved the state from its waiting code on: what a single-line
// query reads, whatever arrives after it. Emptied by every new command.
extern std::string AcceptedReply;
extern int16_t RetryCount;

// Lines of a multi-line reply at 1..ReplyLineCount (index 0 unused); while a
// hub is programmed, the programming list, ReplyLineCount being the index of
// the command in flight.
extern std::vector<std::string> ReplyLines;
extern int16_t ReplyLineCount;
extern std::vector<std::string> CommandCaptions; // same indices as ReplyLines
extern int16_t CommandCount;

// The unit on the cable as the last type query found it: 3 not identified,
// 4 Radio Hub, 5 RCC, 6 radio loop module.
extern int32_t ConnectedUnitType;
// Firmware version from the software-version reply, up to six characters.
extern std::string HubVersion;

// The most lines a collection keeps; a unit that sends more has failed.
constexpr int16_t kMaxReplyLines = 8000;

// Empties the collection: count 0, index 0 only.
void EmptyReplyLines();

// Puts every value above back to its state at start-up.
void ResetLinkState();
