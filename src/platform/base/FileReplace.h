#pragma once
// Whole-file reading and writing for the program's own files. A file is never
// half-written: the new contents go to a temporary file beside the target,
// flushed to the disk and then renamed over it (the folder flushed after), so
// a failure or a power cut leaves the old file or the new one, whole.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Reads the whole file. False, with the reason in error, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Replaces the file with bytes (creating it when absent, with the permission
// bits the umask allows). An existing file keeps its permission bits; a
// symbolic link stays and the file it leads to is replaced. Temporary files
// that an interrupted save of the same file left behind are removed. False,
// with the reason in error, when the file could not be written; the old file
// is then unchanged.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// True when the file exists and nobody may write it (no write bit at all).
bool IsReadOnlyFile(const std::string& path);

// Tests: a check run by every ReplaceWholeFile once half of the new contents
// is written; returning false (with a reason) makes that write fail as a full
// disk would. An empty function removes it.
using WriteFault = std::function<bool(const std::string& path, std::string* error)>;
void SetWriteFault(WriteFault fault);

} // namespace platform
