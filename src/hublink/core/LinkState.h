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
// Listed once, here, so that the enumeration and kCommsStateCodes cannot
// part: a code added to one is in the other.
#define QVS_COMMS_STATE_CODES(X) \
    X(Idle, 0) \
    X(ProgramWait, 1) \
    X(ProgramDone, 2) \
    X(IdentReadWait, 3) \
    X(IdentReadDone, 4) \
    X(IdentProgWait, 5) \
    X(IdentProgDone, 6) \
    X(SysConfigWait, 7) \
    X(SysConfigCollect, 8) \
    X(SysConfigDone, 9) \
    X(UnassignClearWait, 10) \
    X(UnassignClearDone, 11) \
    X(UnassignAllWait, 12) \
    X(UnassignAllDone, 13) \
    X(AssignWait, 14) \
    X(Assigning, 15) \
    X(AssignDone, 16) \
    X(PopulateClearWait, 22) \
    X(PopulateClearDone, 23) \
    X(DebugOffWait, 30) \
    X(DebugOffDone, 31) \
    X(StatusMonitorOffWait, 32) \
    X(StatusMonitorOffDone, 33) \
    X(SoftwareVersionWait, 34) \
    X(SoftwareVersionDone, 35) \
    X(LoopProtocolWait, 36) \
    X(LoopProtocolDone, 37) \
    X(LoopCountWait, 38) \
    X(LoopCountDone, 39) \
    X(DeleteWait, 48) \
    X(DeleteDone, 50) \
    X(DeleteFailed, 51) \
    X(RelationDeleteWait, 52) \
    X(AllStatusCollect, 54) \
    X(AllStatusDone, 56) \
    /* The unit's answers left it open whether it carried the command */ \
    /* out: only its state can tell. */ \
    X(Unsettled, 252) \
    X(ProgramAborted, 253) \
    X(UnknownCommand, 254) \
    X(CommsFailed, 255)

#define QVS_COMMS_STATE_ENUMERATOR(name, value) name = value,
enum class CommsStateCode : int32_t
{
    QVS_COMMS_STATE_CODES(QVS_COMMS_STATE_ENUMERATOR)
};
#undef QVS_COMMS_STATE_ENUMERATOR

// Every code of the communications window's command set, in order.
#define QVS_COMMS_STATE_ELEMENT(name, value) CommsStateCode::name,
inline constexpr CommsStateCode kCommsStateCodes[] = {QVS_COMMS_STATE_CODES(QVS_COMMS_STATE_ELEMENT)};
#undef QVS_COMMS_STATE_ELEMENT

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
    // Lines of the last configuration download that were not statements
    // whole in their form: a download with any is not trusted alone. Of
    // them, as received, those that are neither statements nor the unit's
    // talk of other exchanges (a line garbled from its first letters on):
    // where two downloads hold them alike, they are the unit's own data.
    int16_t StrayLines = 0;
    std::vector<std::string> UnreadLines;

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
