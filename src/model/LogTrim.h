#pragma once
// A traffic log grows without end; before it is shown it is cut to its
// newest lines.
#include <cstdint>
#include <string>

namespace model {

constexpr std::uintmax_t kLogViewLimit = 10'000'000;

// When the file is longer than limit bytes, drops lines from its start until
// their characters (line ends not counted) make up the excess, and keeps the
// rest, each line ended by CR LF. The rest is written to a work file beside
// the log and renamed over it, so a failure leaves the log as it was.
// Returns false only when a file that needed cutting could not be cut.
bool TrimLogForView(const std::string& path, std::uintmax_t limit = kLogViewLimit);

} // namespace model
