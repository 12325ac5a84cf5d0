#include "model/LogFiles.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace model {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kSetTitle = "Set Folder For Log Files";
constexpr const char* kExportTitle = "Export Log Files";

enum class Transfer
{
    Move,
    Copy
};

LogFolderReport Success(Transfer mode)
{
    if (mode == Transfer::Move)
        return {true, std::string("New folder for log files set") + kLineEnd + "Files moved to new folder OK",
                kSetTitle};
    return {true, "Log files exported OK", kExportTitle};
}

LogFolderReport Failure(Transfer mode)
{
    if (mode == Transfer::Move)
        return {false,
                std::string("There was a problem setting the new folder for Log Files") + kLineEnd +
                    "No change has been made",
                kSetTitle};
    return {false,
            std::string("There was a problem exporting the Log Files") + kLineEnd +
                "Files may not have been saved",
            kExportTitle};
}

// True when both paths name one folder, also when one of them does not exist
// (then their normalised spellings are compared).
bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return !ca.empty() && ca == cb;
}

// A file the user has made read-only is left where it is.
bool MayDelete(const fs::path& file)
{
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    return !ec && (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

LogFolderReport TransferLogs(const std::string& logFolder, const std::string& target, Transfer mode)
{
    std::error_code ec;
    if (target.empty() || !fs::is_directory(target, ec))
        return Failure(mode);

    // The log files that exist; a missing one is skipped.
    std::vector<fs::path> sources;
    for (const char* name : kLogFileNames) {
        fs::path source = LogFilePath(logFolder, name);
        if (!fs::exists(source, ec)) {
            if (ec)
                return Failure(mode);
            continue;
        }
        sources.push_back(std::move(source));
    }
    // A file cannot be copied onto itself; with nothing to copy, choosing
    // the log folder again moves nothing and succeeds.
    if (!sources.empty() && SameFolder(logFolder, target))
        return Failure(mode);

    std::vector<std::pair<fs::path, fs::path>> copied;
    for (const fs::path& source : sources) {
        const fs::path destination = LogFilePath(target, source.filename().string());
        if (!fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec) || ec)
            return Failure(mode);
        copied.emplace_back(source, destination);
    }
    if (mode == Transfer::Copy)
        return Success(mode);

    // Every copy is in place: only now are the originals removed.
    for (const auto& [source, destination] : copied)
        if (!MayDelete(source))
            return Failure(mode);
    std::vector<std::pair<fs::path, fs::path>> removed;
    for (const auto& [source, destination] : copied) {
        if (!fs::remove(source, ec) || ec) {
            for (const auto& [back, from] : removed)
                fs::copy_file(from, back, fs::copy_options::overwrite_existing, ec);
            return Failure(mode);
        }
        removed.emplace_back(source, destination);
    }
    return Success(mode);
}

} // namespace

std::string WithoutTrailingSeparator(const std::string& folder)
{
    std::string result = folder;
    while (result.size() > 1 && (result.back() == '/' || result.back() == '\\'))
        result.pop_back();
    return result;
}

std::string LogFilePath(const std::string& folder, const std::string& name)
{
    const std::string base = WithoutTrailingSeparator(folder);
    if (base == "/")
        return base + name;
    return base + "/" + name;
}

LogFolderReport MoveLogFiles(const std::string& logFolder, const std::string& target)
{
    return TransferLogs(logFolder, target, Transfer::Move);
}

LogFolderReport ExportLogFiles(const std::string& logFolder, const std::string& target)
{
    return TransferLogs(logFolder, target, Transfer::Copy);
}

bool IsRejectedFolderNameCharacter(char c)
{
    return std::string_view("/\"?,\\<>:*|").find(c) != std::string_view::npos;
}

NewFolderResult MakeNewFolder(const std::string& parent, const std::string& name)
{
    NewFolderResult result;
    result.report.ok = true;
    if (name.empty())
        return result;

    std::string path = parent;
    if (path.empty() || (path.back() != '/' && path.back() != '\\'))
        path += "/";
    path += name;

    bool made = true;
    for (char c : name)
        made = made && !IsRejectedFolderNameCharacter(c);
    std::error_code ec;
    if (made && !fs::is_directory(path, ec))
        made = fs::create_directory(path, ec) && !ec;
    if (!made) {
        result.report = {false, std::string("Unable to Make New Folder") + kLineEnd + path,
                         "Make New Folder"};
        return result;
    }
    result.path = path;
    return result;
}

} // namespace model
