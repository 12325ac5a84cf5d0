#pragma once
// ProgLog.txt in the log folder: the communications window's status lines
// and the raw serial traffic, appended line by line (CR LF, Windows-1252)
// while the option LogProg is on.
#include <ctime>
#include <string>

namespace hublink {

// LogFolder joined with "ProgLog.txt".
std::string ProgLogPath();

// "~~~~~~~~~~~~~~~~~~~ " followed by the date and time (dd/mm/yyyy hh:mm:ss,
// local time).
std::string LogHeaderLine(std::time_t when);

// Appends Text as one line to the log file at path; a file that does not
// exist yet starts with the header line and two empty lines. False when the
// file could not be written.
bool AppendLogFile(const std::string& path, const std::string& text);

// Appends Text as one line. A file that does not exist yet is created with
// the header line and two empty lines first. Returns false when the file
// could not be written (missing folder, no permission); nothing else happens
// then.
bool AppendProgLog(const std::string& text);

// The header written each time the communications window opens: an empty
// line, the header line and two empty lines.
bool WriteProgLogOpeningHeader();

// Replaces the clock the headers take their time from (tests); an empty
// function restores the system clock.
void SetLogClock(std::time_t (*clock)());

} // namespace hublink
