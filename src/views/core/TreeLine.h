#pragma once
// One line of an outline shown by the site views: the window adds it under
// the line whose key is parentKey (at the top when parentKey is empty).
#include <string>

namespace views {

struct TreeLine
{
    std::string key;       // empty for a line that nothing is added under
    std::string parentKey; // empty for a top-level line
    std::string text;
    std::string image; // image key, empty for none

    bool operator==(const TreeLine&) const = default;
};

} // namespace views
