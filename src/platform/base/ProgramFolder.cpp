#include "platform/base/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string g_override;

bool IsWritableFolder(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec) && ::access(p.c_str(), W_OK) == 0;
}

std::string EnsureFolder(const std::string& path)
{
    std::error_code ec;
    fs::create_directories(path, ec);
    return path;
}

} // namespace

std::string UserConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr && *home != '\0' ? home : "/tmp") / ".config";
    }
    return (base / "QuorvelConfig").string();
}

std::string ExecutableFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec).string();
    return exe.parent_path().string();
}

std::string ProgramFolder()
{
    if (!g_override.empty())
        return EnsureFolder(g_override);
    const char* env = std::getenv("QVS_PROGRAM_FOLDER");
    if (env != nullptr && *env != '\0')
        return EnsureFolder(env);
    const std::string exeFolder = ExecutableFolder();
    if (IsWritableFolder(exeFolder))
        return exeFolder;
    return EnsureFolder(UserConfigFolder());
}

void SetProgramFolder(const std::string& path)
{
    g_override = path;
    while (g_override.size() > 1 && g_override.back() == '/')
        g_override.pop_back();
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace platform
