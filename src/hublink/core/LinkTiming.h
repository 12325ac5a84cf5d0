#pragma once
// Every time-out of the link in milliseconds, and the one setting that
// shortens them all in tests.
#include <cstdint>

namespace hublink {

constexpr int32_t kReplyTimeoutMs = 600;       // nearly every command
constexpr int32_t kLongResendTimeoutMs = 5000; // resends of the first list command and of POPULATE CLEAR
constexpr int32_t kConfigLineTimeoutMs = 5000; // between configuration lines
constexpr int32_t kAssignLineTimeoutMs = 40000;
constexpr int32_t kStatusLineTimeoutMs = 1000;
constexpr int32_t kUnassignTimeoutMs = 10000;
constexpr int16_t kMaxResends = 2; // a command goes out at most three times

// The interval to arm a timer with: ms times the program's time-out scale
// (platform/base/TimeoutScale.h), at least 1 ms.
int32_t ScaledInterval(int32_t ms);

} // namespace hublink
