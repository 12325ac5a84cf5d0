#pragma once
// The state of one serial command link: what it waits for, the command in
// flight, the lines received and the unit they came from. The link owns one
// session; only one command is outstanding at a time.
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace hublink {

// What the communications window's command set waits for. A caller sets a
// waiting code before it sends; the reply dispatcher, the receive handler
// (UnknownCommand) and the time-out handler (CommsFailed) move it on. Idle,
// the shared queries and the last three codes are those of every command
// set; another command set numbers its own codes apart from these.
enum class CommsStateCode : int32_t
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
    // The unit's answers left it open whether it carried the command out:
    // only its state can tell.
    Unsettled = 252,
    ProgramAborted = 253,
    UnknownCommand = 254,
    CommsFailed = 255,
};

// A code of the command set on the link. Each command set keeps its codes
// in a scoped enum of its own over int32_t.
class StateCode
{
public:
    constexpr StateCode() = default;
    template <typename E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
    constexpr StateCode(E code) : value_(static_cast<int32_t>(code)) // any command set's code
    {
        static_assert(std::is_same_v<std::underlying_type_t<E>, int32_t>);
    }
    // The number on its own (a code read from outside the program).
    static constexpr StateCode FromValue(int32_t value)
    {
        StateCode code;
        code.value_ = value;
        return code;
    }
    constexpr int32_t Value() const { return value_; }
    constexpr bool operator==(const StateCode&) const = default;
    template <typename E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
    constexpr bool operator==(E code) const
    {
        return *this == StateCode(code);
    }

private:
    int32_t value_ = 0;
};

// The most lines a collection keeps; a unit that sends more has failed.
constexpr int16_t kMaxReplyLines = 8000;

struct LinkSession
{
    StateCode CommsState = CommsStateCode::Idle;
    std::string CommandText; // the command in flight, without its line end
    std::string RxLine;      // the line being assembled, bytes as received
    std::string LastRxLine;  // the last complete line, as UTF-8 (the unit sends Windows-1252)
    // The line that moved the state from its waiting code on: what a
    // single-line query reads, whatever arrives after it. Emptied by every
    // new command.
    std::string AcceptedReply;
    int16_t RetryCount = 0;

    // Lines of a multi-line reply at 1..ReplyLineCount (index 0 unused);
    // while a hub is programmed, the programming list, ReplyLineCount being
    // the index of the command in flight.
    std::vector<std::string> ReplyLines = std::vector<std::string>(1);
    int16_t ReplyLineCount = 0;
    std::vector<std::string> CommandCaptions = std::vector<std::string>(1); // same indices as ReplyLines
    int16_t CommandCount = 0;

    // The unit on the cable as the last type query found it: 3 not
    // identified, 4 Radio Hub, 5 RCC, 6 radio loop module.
    int32_t ConnectedUnitType = 3;
    // Firmware version from the software-version reply, up to six characters.
    std::string HubVersion;

    // Empties the collection: count 0, index 0 only.
    void EmptyReplyLines();
    // Adds the line (blanks trimmed) to the collection; false, adding
    // nothing, when it holds kMaxReplyLines already.
    bool AddReplyLine(const std::string& line);
};

} // namespace hublink
