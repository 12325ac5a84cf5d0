#pragma once
// DiagsLog.txt in the log folder: the diagnostics window's serial traffic,
// appended line by line (CR LF, Windows-1252) while logging is on, bounded
// to its newest 10,000,000 bytes when it is viewed, and erased on request.
#include <cstdint>
#include <string>

constexpr std::uintmax_t kDiagsLogViewLimit = 10000000;

// LogFolder joined with "DiagsLog.txt", composed afresh on each call.
std::string DiagsLogPath();

// Appends the entry as one line; a new file starts with the header line and
// two empty lines. False when the file could not be written.
bool AppendDiagsLog(const std::string& text);

enum class LogReadResult
{
    Read,    // text holds the file (UTF-8)
    Missing, // there is no file
    Failed,  // the file could not be trimmed or read; error says why
};

// The log as the viewer shows it. A file longer than `limit` bytes is first
// rewritten without its oldest lines, dropping lines until their characters
// (line ends not counted) cover the excess; the rewrite goes through a work
// file "tempqvs.txt" in the log folder that replaces the log in one step, so
// a failure leaves the log as it was.
LogReadResult ReadDiagsLog(std::string& text, std::string& error, std::uintmax_t limit = kDiagsLogViewLimit);

enum class LogEraseResult
{
    Erased,
    Missing,
    Failed,
};

LogEraseResult EraseDiagsLog(std::string& error);
