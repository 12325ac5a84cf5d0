#pragma once
// Whole-file reading and writing for the program's own files. A file is never
// half-written: the new contents go to a temporary file beside the target,
// flushed to the disk and then renamed over it (the folder flushed after), so
// a failure or a power cut leaves the old file or the new one, whole. A name
// holding a NUL names no file: it is refused, never read or written.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The system takes a file name up to its first NUL: a name holding one would
// reach another file, so it names none.
bool NameHoldsNul(std::string_view path);

// Reads the whole file. False, with the reason in error, when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Reads the file a block at a time: sized is told the file's size (0 when
// it is not known) before take is handed each block in order. False, with
// the reason in error, when it cannot be read.
bool ReadFileBlocks(const std::string& path, const std::function<void(std::size_t size)>& sized,
                    const std::function<void(std::string_view block)>& take, std::string* error = nullptr);

// A file replaced by contents written in pieces, as ReplaceWholeFile does in
// one: the pieces go to the temporary file as they come, so that a large
// file is never held whole a second time, and Commit puts it in place. A
// replacement released without Commit, or whose writing failed, leaves the
// old file as it was and no temporary file behind.
class FileReplacement
{
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // False once any piece could not be written (Commit then says why).
    bool Write(std::string_view bytes);
    // Flushes the file to the disk and renames it over the target. False,
    // with the reason in error, when anything failed.
    bool Commit(std::string* error = nullptr);

private:
    std::string path_; // the final target (a link followed)
    std::string folder_;
    std::string tmpPath_;
    int fd_ = -1;
    bool keepMode_ = false;
    unsigned mode_ = 0;
    bool checked_ = false; // the tests' fault check has run
    int err_ = 0;          // -1: refused (a name holding a NUL) or the fault check failed, with faultReason_
    std::string what_;
    std::string faultReason_;
};

// Replaces the file with bytes (creating it when absent, with the permission
// bits the umask allows). An existing file keeps its permission bits; a
// symbolic link stays and the file it leads to is replaced. Temporary files
// that an interrupted save of the same file left behind are removed. False,
// with the reason in error, when the file could not be written; the old file
// is then unchanged.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// True when the file exists and nobody may write it (no write bit at all).
bool IsReadOnlyFile(const std::string& path);

// Tests: a check run by every replacement once half of its first piece (all
// of it, for ReplaceWholeFile) is written; returning false (with a reason) makes that write fail as a full
// disk would. An empty function removes it.
using WriteFault = std::function<bool(const std::string& path, std::string* error)>;
void SetWriteFault(WriteFault fault);

} // namespace platform
