#pragma once
// What the communications window does once it is open: the main window
// records the action when it launches the window, and the window's read
// asks it whether to close when done.
#include <cstdint>

namespace hublink {

// One of the codes below; 0 until the first launch.
extern int32_t CommsAction;

constexpr int32_t kCommsProgram = 1;  // cmdProgram_Click
constexpr int32_t kCommsCompare = 2;  // CompareConfig_Click
constexpr int32_t kCommsRead = 3;     // ReadConfig_Click
constexpr int32_t kCommsOpenOnly = 4; // the window stays open for the user

// Puts CommsAction back to its value at start-up.
void ResetCommsAction();

} // namespace hublink
