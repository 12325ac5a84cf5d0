#pragma once
// The diagnostics' own values of the link's CommsState, numbered apart from
// those of the communications window's command set (the shared ones, such
// as IdentReadWait or AllStatusCollect, are hublink::CommsStateCode's).
#include <cstdint>

namespace diagnostics {

enum class DiagsStateCode : int32_t
{
    RadioDataWait = 19,
    RadioDataCollect = 20,
    RadioDataDone = 21,
    ScanWait = 40,        // "SF CS <minutes>" sent
    Scanning = 41,        // "SF CS START" received, countdown on
    ScanStopping = 42,    // "SF CS DIS" sent
    ScanDone = 43,        // result line read
    MonitorWait = 44,     // "SF MON EN <start> <end>" sent
    Monitoring = 45,      // "SF MON START" received
    MonitorStopping = 46, // the user asked to stop
    MonitorDone = 47,
    StatusAtWait = 53,
    StatusAtDone = 55,
    SignalsCollect = 57,
    SignalsDone = 58,
    DailyMaxCollect = 59,
    DailyMaxDone = 60,
    ManualUpdateWait = 64,
    ManualUpdateReplyWait = 65,
    ManualUpdateDone = 66,
    ManualUpdateTimedOut = 67,
    ManualUpdateCancelled = 68,
};

} // namespace diagnostics
