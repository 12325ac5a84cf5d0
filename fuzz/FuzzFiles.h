#pragma once
// Files of one fuzzing process: a folder in memory (/dev/shm where there is
// one) named after the process, removed when the process ends normally.
#include "platform/base/FileReplace.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

// The folder is kept for the whole process (never destroyed before the exit
// handler that removes it).
inline const std::filesystem::path& FuzzFolder()
{
    namespace fs = std::filesystem;
    static const fs::path* folder = [] {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto* path = new fs::path(base / ("qvs-fuzz-" + std::to_string(::getpid())));
        fs::create_directories(*path);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(FuzzFolder(), ignored);
        });
        return path;
    }();
    return *folder;
}

inline std::string FuzzFile(const std::string& name)
{
    return (FuzzFolder() / name).string();
}

// A fuzzer finding: the message names the property that failed.
[[noreturn]] inline void Finding(const char* property)
{
    std::fprintf(stderr, "finding: %s\n", property);
    std::abort();
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    if (!platform::ReplaceWholeFile(path, bytes))
        Finding("the fuzzer's own file could not be written");
}

inline std::string ReadFile(const std::string& path)
{
    std::string bytes;
    platform::ReadWholeFile(path, bytes);
    return bytes;
}

} // namespace fuzz
