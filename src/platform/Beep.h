#pragma once
// The platform's default beep.
namespace platform {

void Beep();
// How many beeps this run has sounded (tests check when a box beeps).
int BeepCount();

} // namespace platform
