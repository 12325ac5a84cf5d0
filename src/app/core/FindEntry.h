#pragma once
// The find command's logic: what the engineer typed (an ident or a loop
// address), the searches over the site, and the message that names the hit.
#include <string>

namespace app {

// True when the entry is read as a loop address: it holds ":", ".", " ", "/"
// or "L".
bool IsLoopAddressEntry(const std::string& text);

// Reads "loop:address" in any of its written forms (1:25, L1/25, 1.25, 1 25).
// Reading starts after the first "L", or at the first character; when that
// is not before the last character nothing is read (loop -1, address 0).
// The first run of digits is the loop (0 when none, -1 when above 4), the
// next run the address (0 when none).
void ReadLoopAddress(const std::string& text, int& loop, int& address);

struct FindResult
{
    bool found = false;
    int node = -1;       // the node hit, or the RCC that holds the slot hit
    int slot = 0;        // 1..31 a device slot, 0 the node itself
    std::string message; // the question to ask, the no-match report, or empty (say nothing)
};

// Runs the search for what was typed: an ident (padded to 5 characters with
// leading "0") is looked up by ident, and when nothing has it, read as a loop
// address. Every search starts afresh; a loop number above 4 finds nothing.
FindResult FindDevice(const std::string& entered);

} // namespace app
