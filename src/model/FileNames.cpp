#include "model/FileNames.h"

#include "model/Convert.h"
#include "platform/base/FileReplace.h"

#include <filesystem>
#include <system_error>

namespace model {

namespace {

bool EndsInQvs(const std::string& text)
{
    if (text.size() < 3)
        return false;
    return Upper(text.substr(text.size() - 3)) == "QVS";
}

} // namespace

std::string StartFileFromArguments(const std::vector<std::string>& arguments)
{
    std::string path;
    for (const std::string& argument : arguments) {
        path += argument;
        if (!path.empty() && path.front() == '"')
            path.erase(0, 1);
        if (!path.empty() && path.back() == '"')
            path.pop_back();
        if (EndsInQvs(path))
            return path;
        path += ' ';
    }
    return path;
}

std::string StripQuotes(std::string path)
{
    if (!path.empty() && path.front() == '"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

std::string MakeValidFileName(const std::string& text)
{
    std::string result;
    for (char c : text) {
        const bool keep = (c >= '0' && c <= '9') || (c >= '@' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          c == '_' || c == '-' || c == '+' || c == ' ';
        if (keep)
            result += c;
    }
    return result;
}

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool FileExists(const std::string& path)
{
    if (platform::NameHoldsNul(path))
        return false;
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace model
