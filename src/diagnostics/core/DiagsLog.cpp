#include "diagnostics/core/DiagsLog.h"

#include "hublink/core/ProgLog.h"
#include "model/LogTrim.h"
#include "model/Settings.h"
#include "platform/base/CodePage.h"
#include "platform/base/ProgramFolder.h"

#include <filesystem>

namespace fs = std::filesystem;

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
    if (!model::ReadWholeFile(path, bytes, reason)) {
        error = model::LogUnreadableText(path, reason);
        return LogReadResult::Failed;
    }
    if (bytes.size() > limit) {
        bytes.erase(0, model::NewestLinesStart(bytes, bytes.size() - limit));
        if (!model::ReplaceLog(path, platform::JoinPath(LogFolder, "tempqvs.txt"), bytes, error))
            return LogReadResult::Failed;
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
