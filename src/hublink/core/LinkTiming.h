#pragma once
// Every time-out of the link in milliseconds, and the one setting that
// shortens them all in tests.
#include <cstdint>

constexpr int32_t kReplyTimeoutMs = 600;       // nearly every command
constexpr int32_t kLongResendTimeoutMs = 5000; // resends of the first list command and of POPULATE CLEAR
constexpr int32_t kConfigLineTimeoutMs = 5000; // between configuration lines
constexpr int32_t kAssignLineTimeoutMs = 40000;
constexpr int32_t kStatusLineTimeoutMs = 1000;
constexpr int32_t kUnassignTimeoutMs = 10000;
constexpr int16_t kMaxResends = 2; // a command goes out at most three times

// Sets the factor that every timer interval is multiplied by (1 in the
// program). Values below 0.001 count as 0.001. Until it is set, the
// environment variable QVS_TIMEOUT_SCALE gives it (processes started by
// tests), else it is 1.
void SetTimeoutScale(double factor);
double TimeoutScale();

// The interval to arm a timer with: ms times the scale, at least 1 ms.
int32_t ScaledInterval(int32_t ms);
