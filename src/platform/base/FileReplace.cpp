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

constexpr const char* kNulRefusal = " a name that holds a NUL";

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

bool NameHoldsNul(std::string_view path)
{
    return path.find('\0') != std::string_view::npos;
}

bool ReadFileBlocks(const std::string& path, const std::function<void(std::size_t size)>& sized,
                    const std::function<void(std::string_view block)>& take, std::string* error)
{
    if (NameHoldsNul(path)) {
        if (error != nullptr)
            *error = std::string("Cannot open") + kNulRefusal;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, "Cannot open", path, errno);
    struct stat st
    {
    };
    sized(::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) : 0);
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
        take(std::string_view(buf, static_cast<std::size_t>(n)));
    }
    ::close(fd);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error)
{
    bytes.clear();
    return ReadFileBlocks(
        path, [&](std::size_t size) { bytes.reserve(size); }, [&](std::string_view block) { bytes.append(block); },
        error);
}

FileReplacement::FileReplacement(const std::string& requested)
{
    if (NameHoldsNul(requested)) {
        path_ = requested;
        err_ = -1;
        faultReason_ = std::string("Cannot write") + kNulRefusal;
        return;
    }
    // A link is kept: the file it leads to is the one replaced.
    if (!FinalTarget(requested, path_)) {
        path_ = requested;
        err_ = ELOOP;
        what_ = "Cannot follow the link";
        return;
    }
    const auto slash = path_.rfind('/');
    folder_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path_.substr(0, slash);
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    struct stat st
    {
    };
    if (::stat(path_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            err_ = EISDIR;
            what_ = "Cannot write";
            return;
        }
        keepMode_ = true;
        mode_ = st.st_mode & 07777;
    }
    RemoveLeftTemporaries(folder_, name);
    // Created 0666 less the umask, as any new file of the user's.
    fd_ = CreateTemporary(path_, tmpPath_);
    if (fd_ < 0) {
        err_ = errno;
        what_ = "Cannot create a file beside";
    }
}

FileReplacement::~FileReplacement()
{
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tmpPath_.c_str());
    }
}

bool FileReplacement::Write(std::string_view bytes)
{
    if (err_ != 0)
        return false;
    // The fault check of the tests runs with part of the file written, where
    // a power cut or a full disk would strike.
    if (!checked_) {
        checked_ = true;
        const std::size_t half = bytes.size() / 2;
        if (!WriteAll(fd_, bytes.substr(0, half))) {
            err_ = errno;
        } else if (g_fault && !g_fault(path_, &faultReason_)) {
            err_ = -1;
        }
        bytes.remove_prefix(half);
    }
    if (err_ == 0 && !WriteAll(fd_, bytes))
        err_ = errno;
    if (err_ != 0 && what_.empty())
        what_ = "Cannot write";
    return err_ == 0;
}

bool FileReplacement::Commit(std::string* error)
{
    if (err_ == 0 && !checked_)
        Write({});
    if (fd_ >= 0) {
        if (err_ == 0 && ((keepMode_ && ::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) || ::fsync(fd_) != 0))
            err_ = errno;
        if (::close(fd_) != 0 && err_ == 0)
            err_ = errno;
        fd_ = -1;
        if (err_ == 0 && ::rename(tmpPath_.c_str(), path_.c_str()) != 0)
            err_ = errno;
        if (err_ != 0)
            ::unlink(tmpPath_.c_str());
    }
    if (err_ == -1) {
        if (error != nullptr)
            *error = faultReason_;
        return false;
    }
    if (err_ != 0) {
        if (what_.empty())
            what_ = "Cannot write";
        return Fail(error, what_, path_, err_);
    }
    // The rename itself reaches the disk only with its folder.
    const int dirFd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool ReplaceWholeFile(const std::string& path, std::string_view bytes, std::string* error)
{
    FileReplacement replacement(path);
    replacement.Write(bytes);
    return replacement.Commit(error);
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
