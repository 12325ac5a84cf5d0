#include "views/core/VersionHistory.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(VersionHistory, NotesAreHiddenInTheNormalViewAndBlankLedInTheFullView)
{
    const struct
    {
        const char* bytes;
        Lines normal;
        Lines full;
    } cases[] = {
        {"", {}, {}},
        {"1.0\r\n/note\r\n\r\nfix\xE9\n/\rlast", {"1.0", "", "fix\xC3\xA9", "last"},
         {"1.0", " note", "", "fix\xC3\xA9", " ", "last"}},
        {"/a\r\n/b\r\n", {}, {" a", " b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(views::HistoryLines(c.bytes, false), c.normal) << c.bytes;
        EXPECT_EQ(views::HistoryLines(c.bytes, true), c.full) << c.bytes;
    }
}
