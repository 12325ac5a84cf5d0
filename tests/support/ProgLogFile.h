#pragma once
// Logging on into a fresh folder for one test, and what ProgLog.txt holds.
#include "hublink/core/ProgLog.h"
#include "model/Settings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

inline void LogIntoFreshFolder(const std::string& name)
{
    LogProg = true;
    LogFolder = ::testing::TempDir() + "/" + name;
    std::filesystem::remove_all(LogFolder);
    std::filesystem::create_directories(LogFolder);
}

inline std::string ProgLogText()
{
    std::ifstream in(ProgLogPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The log after its opening header (what the link wrote).
inline std::string ProgLogBody()
{
    const std::string text = ProgLogText();
    const size_t body = text.find("\r\n\r\n\r\n");
    return body == std::string::npos ? std::string() : text.substr(body + 6);
}
