#pragma once
// The serial-traffic logs ProgLog.txt and DiagsLog.txt in the log folder:
// moving them to a new log folder, copying them to any folder, and making a
// new folder for them. Each operation reports what the user is told as its
// result; nothing here shows a window.
#include <array>
#include <string>

namespace model {

constexpr std::array<const char*, 2> kLogFileNames = {"ProgLog.txt", "DiagsLog.txt"};

// A report for the user: the outcome, the text (lines joined by CR LF) and
// the title of the message box.
struct LogFolderReport
{
    bool ok = false;
    std::string text;
    std::string title;
};

// A folder path as the log folder keeps it: no trailing separator (the root
// folder stays "/").
std::string WithoutTrailingSeparator(const std::string& folder);

// The path of a log file: the folder, one separator and the name.
std::string LogFilePath(const std::string& folder, const std::string& name);

// Moves both log files from logFolder into target. Both are copied first
// (an existing file of the same name in target is replaced); the originals
// are deleted only when every copy succeeded. A file missing from logFolder
// is skipped. A target that is not an existing folder, or is the log folder
// itself while a log file is there, is refused with nothing touched; the log
// folder chosen again with no log file in it moves nothing and succeeds.
// When a delete fails the files already deleted are put back from their
// copies, so a failure leaves the log folder as it was. On success the
// caller makes target the log folder.
LogFolderReport MoveLogFiles(const std::string& logFolder, const std::string& target);

// Copies both log files from logFolder into target, replacing copies there;
// the log folder is not changed. The same refusals as MoveLogFiles.
LogFolderReport ExportLogFiles(const std::string& logFolder, const std::string& target);

// True for a character that a new folder's name cannot hold; such characters
// are refused as they are typed.
bool IsRejectedFolderNameCharacter(char c);

// What making a new folder gives: the folder to show next (empty when
// nothing is to change) and, when it could not be made, the report.
struct NewFolderResult
{
    std::string path;
    LogFolderReport report;
};

// Makes the folder `name` inside `parent` unless it exists already. An empty
// name changes nothing (ok, empty path). A folder that exists is only
// returned; one that cannot be made (a file of that name, no write access,
// a name holding a refused character) is reported.
NewFolderResult MakeNewFolder(const std::string& parent, const std::string& name);

} // namespace model
