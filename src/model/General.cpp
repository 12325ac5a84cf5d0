#include "model/General.h"

namespace model {
namespace {

std::string AfterLastSeparator(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::string FileNameFromPath(const std::string& path)
{
    std::string name = AfterLastSeparator(path);
    // A quoted path without a separator keeps its own opening quote.
    if (!path.empty() && path.back() == '"' && (name.empty() || name.front() != '"')) {
        name.insert(0, 1, '"');
    }
    return name;
}

std::string FileExtension(const std::string& path)
{
    const std::string name = AfterLastSeparator(path);
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0) {
        return "";
    }
    return name.substr(dot + 1);
}

} // namespace model
