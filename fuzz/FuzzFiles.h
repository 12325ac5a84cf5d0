#pragma once
// Files of one fuzzing process: a folder in memory (/dev/shm where there is
// one) named after the process, removed when the process ends normally.
#include "model/ConfigurationCheck.h"
#include "model/Site.h"
#include "model/SiteFile.h"
#include "model/SiteState.h"
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

// What a target tells of its whole run at its end: called at the exit of
// the process, and by a finding that ends it.
inline void (*RunReport)() = nullptr;

// A fuzzer finding: the message names the property that failed.
[[noreturn]] inline void Finding(const char* property)
{
    std::fprintf(stderr, "finding: %s\n", property);
    if (RunReport != nullptr)
        RunReport();
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

// Opens the site file as File > Open does, in a program that has not loaded
// anything yet; false when it is not a site file.
inline bool OpenSiteAfresh(const std::string& path)
{
    model::ResetSite();
    ResetSiteState();
    model::ResetSiteFile();
    model::ResetConfigurationCheck();
    DisplayMode = -2;
    model::LoadSiteFile(path);
    return DisplayMode != -2;
}

} // namespace fuzz
