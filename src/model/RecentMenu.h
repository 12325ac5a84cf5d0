#pragma once
// What the recent-files submenu shows for the recent-file list.
#include <array>
#include <string>

namespace model {

struct RecentMenuItem
{
    bool visible = false;
    bool enabled = false;
    bool setCaption = false; // false: the item keeps its caption
    std::string caption;
};

// The ten menu items (index 0 not used): a used entry shows its trimmed path
// (fullPaths) or its file name, visible and enabled; an empty entry is hidden
// and disabled, except item 1, which stays visible, disabled and unchanged.
std::array<RecentMenuItem, 11> RecentMenuItems(const std::array<std::string, 11>& list, bool fullPaths);

} // namespace model
