#include "model/RecentMenu.h"

#include "model/FileNames.h"
#include "model/General.h"

namespace model {

std::array<RecentMenuItem, 11> RecentMenuItems(const std::array<std::string, 11>& list, bool fullPaths)
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
