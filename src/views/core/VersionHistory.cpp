#include "views/core/VersionHistory.h"

#include "platform/base/CodePage.h"

namespace views {

std::string MissingHistoryText(const std::string& path)
{
    return "Unable to find file " + path;
}

std::vector<std::string> HistoryLines(const std::string& fileBytes, bool full)
{
    const std::string text = platform::Win1252ToUtf8(fileBytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end;
        if (start < text.size())
            start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
        if (!line.empty() && line.front() == '/') {
            if (!full)
                continue;
            line.front() = ' ';
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace views
