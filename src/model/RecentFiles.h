#pragma once
// The recent-file list (entries 1..10, entry 1 the most recent, an empty text
// for an empty entry) and what its menu shows.
#include <array>
#include <string>

namespace model {

using RecentList = std::array<std::string, 11>; // index 0 not used

// Makes path entry 1. An equal entry (exact, case-sensitive) moves up from
// where it was; a new path pushes the others down and the tenth falls off.
void PushRecentFile(RecentList& list, const std::string& path);

struct RecentMenuItem
{
    bool visible = false;
    bool enabled = false;
    bool setCaption = false; // false: the item keeps its caption
    std::string caption;
};

// The ten menu items: a used entry shows its trimmed path (fullPaths) or its
// file name, visible and enabled; an empty entry is hidden and disabled,
// except item 1, which stays visible, disabled and unchanged.
std::array<RecentMenuItem, 11> RecentMenuItems(const RecentList& list, bool fullPaths);

} // namespace model
