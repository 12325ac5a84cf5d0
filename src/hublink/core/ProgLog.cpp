#include "hublink/core/ProgLog.h"

#include "model/Settings.h"
#include "platform/base/CodePage.h"
#include "platform/base/ProgramFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace hublink {

namespace {

std::time_t (*g_clock)() = nullptr;

std::time_t Now()
{
    return g_clock != nullptr ? g_clock() : std::time(nullptr);
}

bool AppendRaw(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out)
        return false;
    out << platform::Utf8ToWin1252(text);
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

std::string ProgLogPath()
{
    return platform::JoinPath(LogFolder, "ProgLog.txt");
}

std::string LogHeaderLine(std::time_t when)
{
    std::tm parts{};
    localtime_r(&when, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &parts);
    return "~~~~~~~~~~~~~~~~~~~ " + std::string(text);
}

bool AppendProgLog(const std::string& text)
{
    return AppendLogFile(ProgLogPath(), text);
}

bool AppendLogFile(const std::string& path, const std::string& text)
{
    std::error_code ec;
    std::string lines;
    if (!std::filesystem::exists(path, ec))
        lines = LogHeaderLine(Now()) + "\r\n\r\n\r\n";
    lines += text + "\r\n";
    return AppendRaw(path, lines);
}

bool WriteProgLogOpeningHeader()
{
    return AppendRaw(ProgLogPath(), "\r\n" + LogHeaderLine(Now()) + "\r\n\r\n\r\n");
}

void SetLogClock(std::time_t (*clock)())
{
    g_clock = clock;
}

} // namespace hublink
