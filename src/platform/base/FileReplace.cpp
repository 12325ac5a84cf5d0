#include "platform/base/FileReplace.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

WriteFault g_fault;

bool Fail(std::string* error, const std::string& what, const std::string& path, int err)
{
    if (error != nullptr)
        *error = what + " \"" + path + "\": " + std::strerror(err);
    return false;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

constexpr const char* kTmpMark = ".tmp-";
constexpr std::size_t kTmpSuffixLength = 6;

// Follows symbolic links to the file they lead to (which need not exist).
bool FinalTarget(const std::string& path, std::string& target)
{
    target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st
        {
        };
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buf.size())
            return false;
        const std::string link(buf.data(), static_cast<std::size_t>(n));
        const auto slash = target.rfind('/');
        if (link.front() == '/' || slash == std::string::npos)
            target = link;
        else
            target = target.substr(0, slash + 1) + link;
    }
    return false;
}

// A save cut short (power cut, killed program) leaves its temporary file
// beside the target; the next save of the same file clears it away.
void RemoveLeftTemporaries(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    const std::string prefix = name + kTmpMark;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName(entry->d_name);
        if (entryName.size() != prefix.size() + kTmpSuffixLength ||
            entryName.substr(0, prefix.size()) != prefix)
            continue;
        const std::string full = folder + "/" + std::string(entryName);
        struct stat st
        {
        };
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(full.c_str());
    }
    ::closedir(dir);
}

// Opens a new file named path + ".tmp-" + six letters or digits.
int CreateTemporary(const std::string& path, std::string& tmpPath)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpPath = path + kTmpMark;
        for (std::size_t i = 0; i < kTmpSuffixLength; ++i)
            tmpPath += kLetters[pick(random)];
        const int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, "Cannot open", path, errno);
    bytes.clear();
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return Fail(error, "Cannot read", path, err);
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool ReplaceWholeFile(const std::string& requested, std::string_view bytes, std::string* error)
{
    // A link is kept: the file it leads to is the one replaced.
    std::string path;
    if (!FinalTarget(requested, path))
        return Fail(error, "Cannot follow the link", requested, ELOOP);
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

    bool keepMode = false;
    mode_t mode = 0;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail(error, "Cannot write", path, EISDIR);
        keepMode = true;
        mode = st.st_mode & 07777;
    }

    RemoveLeftTemporaries(folder, name);
    std::string tmpPath;
    // Created 0666 less the umask, as any new file of the user's.
    const int fd = CreateTemporary(path, tmpPath);
    if (fd < 0)
        return Fail(error, "Cannot create a file beside", path, errno);

    int err = 0;
    std::string faultReason;
    // The fault check of the tests runs with part of the file written, where
    // a power cut or a full disk would strike.
    const std::size_t half = bytes.size() / 2;
    if (!WriteAll(fd, bytes.substr(0, half)))
        err = errno;
    else if (g_fault && !g_fault(path, &faultReason))
        err = -1;
    else if (!WriteAll(fd, bytes.substr(half)) || (keepMode && ::fchmod(fd, mode) != 0) || ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(tmpPath.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(tmpPath.c_str());
        if (err == -1) {
            if (error != nullptr)
                *error = faultReason;
            return false;
        }
        return Fail(error, "Cannot write", path, err);
    }
    // The rename itself reaches the disk only with its folder.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void SetWriteFault(WriteFault fault)
{
    g_fault = std::move(fault);
}

} // namespace platform
