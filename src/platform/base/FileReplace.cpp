#include "platform/base/FileReplace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error, "Cannot open", path, errno);
    bytes.clear();
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

bool ReplaceWholeFile(const std::string& path, std::string_view bytes, std::string* error)
{
    std::string faultReason;
    if (g_fault && !g_fault(path, &faultReason)) {
        if (error != nullptr)
            *error = faultReason;
        return false;
    }

    mode_t mode = 0644;
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Fail(error, "Cannot write", path, EISDIR);
        mode = st.st_mode & 07777;
    }

    std::vector<char> tmp(path.begin(), path.end());
    const std::string suffix = ".tmp-XXXXXX";
    tmp.insert(tmp.end(), suffix.begin(), suffix.end());
    tmp.push_back('\0');
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return Fail(error, "Cannot create a file beside", path, errno);
    const std::string tmpPath(tmp.data());

    int err = 0;
    if (!WriteAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(tmpPath.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(tmpPath.c_str());
        return Fail(error, "Cannot write", path, err);
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
