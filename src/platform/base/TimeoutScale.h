#pragma once
// The one setting that shortens every time-out of the program in tests: the
// yielding waits and the serial link's reply timer multiply their intervals
// by it. 1 in the program; the environment variable QVS_TIMEOUT_SCALE sets it
// for processes started by tests, SetTimeoutScale within a test.
namespace platform {

// A value of 0 or below means 1.
void SetTimeoutScale(double scale);
double TimeoutScale();

} // namespace platform
