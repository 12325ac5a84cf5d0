#include "app/core/AbsoluteNames.h"

#include "model/FileNames.h"

#include <filesystem>
#include <system_error>

namespace app {

std::string WorkingFolder()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

std::string AbsoluteName(const std::string& name, const std::string& folder)
{
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos || name[first] == '/' || folder.empty())
        return name;
    std::string path = folder;
    for (std::size_t at = first;;) {
        const std::size_t slash = name.find('/', at);
        const std::string step = name.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
        // The last step is the file's own name, kept whatever it holds.
        if (slash == std::string::npos || (!step.empty() && step != ".")) {
            if (path.back() != '/')
                path += '/';
            path += step;
        }
        if (slash == std::string::npos)
            return path;
        at = slash + 1;
    }
}

std::string HandOverLine(const std::string& commandLine, const std::string& folder)
{
    const std::string name = model::StripQuotes(commandLine);
    const std::string absolute = AbsoluteName(name, folder);
    return absolute == name ? commandLine : "\"" + absolute + "\"";
}

} // namespace app
