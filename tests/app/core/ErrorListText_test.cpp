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

TEST(ErrorListText, CheckModeHeadsTheListWithTheFileAndBeeps)
{
    const ErrorListContent c = BuildErrorList(0, {"a", "b", "c"}, "/s/x.qvs", -1);
    EXPECT_EQ(c.text, "\r\n Error List for /s/x.qvs\r\n\r\na\r\nb\r\nc\r\n");
    EXPECT_TRUE(c.beep);
    EXPECT_TRUE(c.emptyNote.empty());
}

TEST(ErrorListText, TheChangeListHasNoHeading)
{
    EXPECT_EQ(BuildErrorList(3, {"x", "y"}, "f", 0).text, "x\r\ny\r\n");
}

TEST(ErrorListText, AnEmptyComparisonSaysTheConfigurationMatches)
{
    const ErrorListContent c = BuildErrorList(2, {}, "f", 0);
    EXPECT_EQ(c.emptyNote, "The Current Configuration Matches the Connected Node");
    EXPECT_FALSE(c.beep);
    EXPECT_TRUE(c.text.empty());
}
