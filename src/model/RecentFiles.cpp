#include "model/RecentFiles.h"

#include "model/General.h"
#include "model/Trim.h"

namespace model {

void PushRecentFile(RecentList& list, const std::string& path)
{
    std::size_t from = 10; // the entry that makes room: the last one when the path is new
    for (std::size_t k = 1; k <= 10; ++k) {
        if (list[k] == path) {
            from = k;
            break;
        }
    }
    for (std::size_t j = from; j > 1; --j) {
        list[j] = list[j - 1];
    }
    list[1] = path;
}

std::array<RecentMenuItem, 11> RecentMenuItems(const RecentList& list, bool fullPaths)
{
    std::array<RecentMenuItem, 11> items{};
    for (std::size_t i = 1; i <= 10; ++i) {
        RecentMenuItem& item = items[i];
        if (!list[i].empty()) {
            const std::string trimmed = TrimBlanks(list[i]);
            item.caption = fullPaths ? trimmed : FileNameFromPath(trimmed);
            item.setCaption = true;
            item.visible = true;
            item.enabled = true;
        } else {
            item.visible = i == 1;
        }
    }
    return items;
}

} // namespace model
