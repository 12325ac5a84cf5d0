#include "model/LogTrim.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace model {

bool TrimLogForView(const std::string& path, std::uintmax_t limit)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size <= limit)
        return true;
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof())
        return false;
    in.close();

    // Line from pos: its characters without the line end, and where the
    // next one starts.
    auto lineAt = [&text](size_t pos, size_t& next) {
        size_t end = text.find('\n', pos);
        next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        const size_t length = end - pos;
        return length > 0 && text[end - 1] == '\r' ? length - 1 : length;
    };
    auto excess = static_cast<long long>(size - limit);
    size_t at = 0;
    for (size_t next = 0; excess >= 1 && at < text.size(); at = next)
        excess -= static_cast<long long>(lineAt(at, next));
    std::string kept;
    for (size_t pos = at, next = 0; pos < text.size(); pos = next) {
        const size_t length = lineAt(pos, next);
        kept.append(text, pos, length).append("\r\n");
    }

    const std::string work = path + ".trim";
    {
        std::ofstream out(work, std::ios::binary | std::ios::trunc);
        out << kept;
        out.flush();
        if (!out) {
            fs::remove(work, ec);
            return false;
        }
    }
    fs::rename(work, path, ec);
    if (ec) {
        fs::remove(work, ec);
        return false;
    }
    return true;
}

} // namespace model
