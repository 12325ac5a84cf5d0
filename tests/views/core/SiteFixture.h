#pragma once
// The fixture sites of tests/data read into the site model, and the lines of
// an outline written one per text line for comparisons.
#include "model/TestSites.h"
#include "views/core/TreeLine.h"

#include <string>
#include <vector>

inline void LoadFixtureSite(const std::string& name)
{
    ResetToEmptySite();
    model::LoadSiteFile(std::string(QVS_TEST_DATA) + "/" + name);
}

// "key < parent [image] text"; the parent and image parts only when set.
inline std::vector<std::string> Written(const std::vector<views::TreeLine>& lines)
{
    std::vector<std::string> out;
    for (const views::TreeLine& line : lines) {
        std::string text = line.key;
        if (!line.parentKey.empty())
            text += " < " + line.parentKey;
        if (!line.image.empty())
            text += " [" + line.image + "]";
        out.push_back(text + " " + line.text);
    }
    return out;
}
