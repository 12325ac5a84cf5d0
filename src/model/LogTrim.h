#pragma once
// A traffic log grows without end; before it is shown it is cut to its
// newest lines.
#include <cstddef>
#include <cstdint>
#include <string>

namespace model {

constexpr std::uintmax_t kLogViewLimit = 10'000'000;

// When the file is longer than limit bytes, drops lines from its start until
// their characters (line ends not counted) make up the excess, and keeps the
// rest, each line ended by CR LF. The rest is written to a work file beside
// the log and renamed over it, so a failure leaves the log as it was.
// Returns false, with the reason in error when error is given, when the
// file could not be read or a file that needed cutting could not be cut.
bool TrimLogForView(const std::string& path, std::uintmax_t limit = kLogViewLimit, std::string* error = nullptr);

// Reads the whole file into bytes. False, with the reason when the system
// gives one, when it cannot be read (the stream's buffer throws on a read
// that fails: a folder of the file's name, a medium gone).
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

// "The log file <path> could not be read: <reason>." (or "... read." when
// there is no reason).
std::string LogUnreadableText(const std::string& path, const std::string& reason);

// Writes bytes to the work file and renames it over the log, so a failure
// leaves the log as it was and no work file behind. False, with what
// failed in error, when the log could not be replaced.
bool ReplaceLog(const std::string& path, const std::string& work, const std::string& bytes, std::string& error);

// Where the newest lines of a log start once lines are dropped from its
// start until their characters (line ends not counted) make up excess.
std::size_t NewestLinesStart(const std::string& bytes, std::uintmax_t excess);

} // namespace model
