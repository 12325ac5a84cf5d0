#include "model/FileNames.h"
#include "model/RecentFiles.h"
#include "model/TitleBar.h"

#include <gtest/gtest.h>

using namespace model;

TEST(StartFile, AQuotedPathCutAtItsBlanksIsRebuilt)
{
    EXPECT_EQ(StartFileFromArguments({"\"/sites/North", "Wing", "A.qvs\""}), "/sites/North Wing A.qvs");
    EXPECT_EQ(StartFileFromArguments({"/sites/plant.QvS", "extra"}), "/sites/plant.QvS");
    EXPECT_EQ(StartFileFromArguments({"/sites/My Site.qvs"}), "/sites/My Site.qvs");
}

TEST(StartFile, ArgumentsThatNeverEndInQvsAreJoinedWithATrailingBlank)
{
    EXPECT_EQ(StartFileFromArguments({"-x", "notes.txt"}), "-x notes.txt ");
    EXPECT_EQ(StartFileFromArguments({}), "");
}

TEST(FileNames, QuotesAndBlanks)
{
    EXPECT_EQ(StripQuotes("\"/a b/c.qvs\""), "/a b/c.qvs");
    EXPECT_EQ(StripQuotes("\""), "");
    EXPECT_EQ(StripQuotes("plain"), "plain");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(FileNames, MakeValidFileNameKeepsOnlyFileNameCharacters)
{
    EXPECT_EQ(MakeValidFileName("Block A/B (East)"), "Block AB East");
    EXPECT_EQ(MakeValidFileName("a:b/c.d\\e"), "abcde");
    EXPECT_EQ(MakeValidFileName("@Site_1-2+3 x"), "@Site_1-2+3 x");
    EXPECT_EQ(MakeValidFileName("[]^`{}~"), "");
}

TEST(RecentFiles, EntriesMoveUpOrFallOff)
{
    std::array<std::string, 11> list{};
    for (int i = 1; i <= 10; ++i)
        list[static_cast<std::size_t>(i)] = "f" + std::to_string(i);
    AddRecentFileEntry(list, "f3");
    EXPECT_EQ(list[1], "f3");
    EXPECT_EQ(list[2], "f1");
    EXPECT_EQ(list[3], "f2");
    EXPECT_EQ(list[4], "f4");
    AddRecentFileEntry(list, "F4"); // another entry: case counts
    EXPECT_EQ(list[1], "F4");
    EXPECT_EQ(list[2], "f3");
    EXPECT_EQ(list[10], "f9"); // f10 fell off
    AddRecentFileEntry(list, "F4");
    EXPECT_EQ(list[1], "F4");
    EXPECT_EQ(list[2], "f3");
}

TEST(TitleBar, VersionFileNameAndChangeMark)
{
    EXPECT_EQ(TitleBarText("App", 3, 0, "", false, true), "App Version 3.00");
    EXPECT_EQ(TitleBarText("App", 3, 12, "/x/site.qvs", false, false), "App Version 3.12 --  [site.qvs]");
    EXPECT_EQ(TitleBarText("App", 3, 0, " /x/site.qvs ", true, false), "App Version 3.00 --  [/x/site.qvs]");
    EXPECT_EQ(TitleBarText("App", 3, 0, "untitled.qvs", false, true),
              "App Version 3.00 --  [untitled.qvs] * ");
}
