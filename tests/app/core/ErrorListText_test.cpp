#include "app/core/ErrorListText.h"

#include <gtest/gtest.h>

using namespace app;

// The window's test reads a check list, a comparison's note and a change list.
TEST(ErrorListText, EmptyListsNoteOnlyForCheckAndCompare)
{
    EXPECT_EQ(BuildErrorList(-1, {"x"}, "f", 0).text, "x\r\n");
    const ErrorListContent check = BuildErrorList(0, {}, "f", 0);
    EXPECT_EQ(check.emptyNote, "There are no errors in the current configuration");
    EXPECT_FALSE(check.beep);
    EXPECT_TRUE(check.text.empty());
    for (long mode : {3L, 4L, -1L}) {
        const ErrorListContent c = BuildErrorList(mode, {}, "f", 0);
        EXPECT_TRUE(c.text.empty() && c.emptyNote.empty() && !c.beep) << mode;
    }
}
