#include "diagnostics/core/DiagsLog.h"

#include "hublink/core/ProgLog.h"
#include "model/Settings.h"
#include "platform/base/CodePage.h"
#include "platform/base/ProgramFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// False, with the reason when the system gives one, when the file cannot be
// read (the stream's buffer throws on a read that fails: a folder of the
// log's name, a medium gone).
bool ReadAll(const std::string& path, std::string& bytes, std::string& reason)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& failure) {
        reason = failure.code().message();
        return false;
    }
    return !in.bad();
}

// The file without its oldest lines, as the viewer keeps it.
std::string KeepNewest(const std::string& bytes, std::uintmax_t excess)
{
    size_t at = 0;
    auto left = static_cast<long long>(excess);
    while (left > 0 && at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        const size_t chars = end - at - (end > at && bytes[end - 1] == '\r' ? 1 : 0);
        left -= static_cast<long long>(chars);
        at = next;
    }
    return bytes.substr(at);
}

} // namespace

std::string DiagsLogPath()
{
    return platform::JoinPath(LogFolder, "DiagsLog.txt");
}

bool AppendDiagsLog(const std::string& text)
{
    return hublink::AppendLogFile(DiagsLogPath(), text);
}

LogReadResult ReadDiagsLog(std::string& text, std::string& error, std::uintmax_t limit)
{
    text.clear();
    const std::string path = DiagsLogPath();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return LogReadResult::Missing;
    std::string bytes, reason;
    if (!ReadAll(path, bytes, reason)) {
        error = "The log file " + path + " could not be read" + (reason.empty() ? "." : ": " + reason + ".");
        return LogReadResult::Failed;
    }
    if (bytes.size() > limit) {
        bytes = KeepNewest(bytes, bytes.size() - limit);
        const std::string work = platform::JoinPath(LogFolder, "tempqvs.txt");
        {
            std::ofstream out(work, std::ios::binary | std::ios::trunc);
            out << bytes;
            out.flush();
            if (!out) {
                fs::remove(work, ec);
                error = "The log file " + path + " could not be shortened: " + work + " could not be written.";
                return LogReadResult::Failed;
            }
        }
        fs::rename(work, path, ec);
        if (ec) {
            fs::remove(work, ec);
            error = "The log file " + path + " could not be shortened.";
            return LogReadResult::Failed;
        }
    }
    text = platform::Win1252ToUtf8(bytes);
    return LogReadResult::Read;
}

LogEraseResult EraseDiagsLog(std::string& error)
{
    const std::string path = DiagsLogPath();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return LogEraseResult::Missing;
    if (!fs::remove(path, ec) || ec) {
        error = "The log file " + path + " could not be erased: " + ec.message();
        return LogEraseResult::Failed;
    }
    return LogEraseResult::Erased;
}
