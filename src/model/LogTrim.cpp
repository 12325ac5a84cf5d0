#include "model/LogTrim.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace model {

namespace {

// The line from pos: its characters without the line end, and where the
// next one starts.
std::size_t LineAt(const std::string& text, std::size_t pos, std::size_t& next)
{
    std::size_t end = text.find('\n', pos);
    next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos)
        end = text.size();
    const std::size_t length = end - pos;
    return length > 0 && text[end - 1] == '\r' ? length - 1 : length;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& failure) {
        reason = failure.code().message();
        return false;
    }
    return !in.bad();
}

std::string LogUnreadableText(const std::string& path, const std::string& reason)
{
    return "The log file " + path + " could not be read" + (reason.empty() ? "." : ": " + reason + ".");
}

std::size_t NewestLinesStart(const std::string& bytes, std::uintmax_t excess)
{
    auto left = static_cast<long long>(excess);
    std::size_t at = 0;
    for (std::size_t next = 0; left >= 1 && at < bytes.size(); at = next)
        left -= static_cast<long long>(LineAt(bytes, at, next));
    return at;
}

bool ReplaceLog(const std::string& path, const std::string& work, const std::string& bytes, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    {
        std::ofstream out(work, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.flush();
        if (!out) {
            fs::remove(work, ec);
            error = "The log file " + path + " could not be shortened: " + work + " could not be written.";
            return false;
        }
    }
    fs::rename(work, path, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(work, ec);
        error = "The log file " + path + " could not be shortened: " + why + ".";
        return false;
    }
    return true;
}

bool TrimLogForView(const std::string& path, std::uintmax_t limit, std::string* error)
{
    namespace fs = std::filesystem;
    const auto fail = [error](std::string text) {
        if (error != nullptr)
            *error = std::move(text);
        return false;
    };
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true;
    std::string text, reason;
    if (!ReadWholeFile(path, text, reason))
        return fail(LogUnreadableText(path, reason));
    if (text.size() <= limit)
        return true;

    std::string kept;
    for (std::size_t pos = NewestLinesStart(text, text.size() - limit), next = 0; pos < text.size(); pos = next) {
        const std::size_t length = LineAt(text, pos, next);
        kept.append(text, pos, length).append("\r\n");
    }

    std::string why;
    if (!ReplaceLog(path, path + ".trim", kept, why))
        return fail(std::move(why));
    return true;
}

} // namespace model
