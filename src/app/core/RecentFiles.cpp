#include "app/core/RecentFiles.h"

#include "app/core/AbsoluteNames.h"

namespace app {

void AddRecentFileEntry(std::array<std::string, 11>& entries, const std::string& path,
                        const std::string& folder)
{
    std::size_t found = 10; // a new path: entries 1..9 move down, 10 falls off
    for (std::size_t k = 1; k <= 10; ++k) {
        if (entries[k] == path || AbsoluteName(entries[k], folder) == path) {
            found = k;
            break;
        }
    }
    for (std::size_t j = found; j > 1; --j)
        entries[j] = entries[j - 1];
    entries[1] = path;
}

} // namespace app
