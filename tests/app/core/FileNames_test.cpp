#include "app/core/AbsoluteNames.h"
#include "app/core/RecentFiles.h"
#include "app/core/TitleBar.h"
#include "model/FileNames.h"

#include <gtest/gtest.h>

using namespace app;
using namespace model;

TEST(StartFile, AQuotedPathCutAtItsBlanksIsRebuilt)
{
    EXPECT_EQ(StartFileFromArguments({"\"/sites/North", "Wing", "A.qvs\""}), "/sites/North Wing A.qvs");
    EXPECT_EQ(StartFileFromArguments({"/sites/plant.QvS", "extra"}), "/sites/plant.QvS");
    EXPECT_EQ(StartFileFromArguments({"/sites/My Site.qvs"}), "/sites/My Site.qvs");
    // Arguments that never end in .qvs are joined with a trailing blank.
    EXPECT_EQ(StartFileFromArguments({"-x", "notes.txt"}), "-x notes.txt ");
    EXPECT_EQ(StartFileFromArguments({}), "");
}

TEST(FileNames, QuotesBlanksAndFileNameCharacters)
{
    EXPECT_EQ(StripQuotes("\"/a b/c.qvs\""), "/a b/c.qvs");
    EXPECT_EQ(StripQuotes("\""), "");
    EXPECT_EQ(StripQuotes("plain"), "plain");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(MakeValidFileName("Block A/B (East)"), "Block AB East");
    EXPECT_EQ(MakeValidFileName("a:b/c.d\\e"), "abcde");
    EXPECT_EQ(MakeValidFileName("@Site_1-2+3 x"), "@Site_1-2+3 x");
    EXPECT_EQ(MakeValidFileName("[]^`{}~"), "");
}

// A relative name is read against the folder it was typed in, bytes and
// blanks as they stand; an absolute or blank one, or one typed where no
// folder is known, stays as it is. A second start's line carries the name
// absolute in quotes, which the running copy drops.
TEST(AbsoluteNames, ARelativeNameFollowsTheFolderItWasTypedIn)
{
    const std::pair<std::string, std::string> names[] = {{"in.qvs", "/w/in.qvs"},
                                                         {"  ./sub//./caf\xE9.qvs ", "/w/sub/caf\xE9.qvs "},
                                                         {"../up/in.qvs", "/w/../up/in.qvs"},
                                                         {" /abs/in.qvs", " /abs/in.qvs"},
                                                         {"   ", "   "}};
    for (const auto& [name, absolute] : names)
        EXPECT_EQ(AbsoluteName(name, "/w"), absolute) << name;
    EXPECT_EQ(AbsoluteName("in.qvs", "/"), "/in.qvs");
    EXPECT_EQ(AbsoluteName("in.qvs", ""), "in.qvs");

    EXPECT_EQ(HandOverLine("\"sub/North Wing.qvs\"", "/w"), "\"/w/sub/North Wing.qvs\"");
    EXPECT_EQ(HandOverLine("caf\xE9.qvs", "/w"), "\"/w/caf\xE9.qvs\"");
    for (const std::string line : {"\"/a/North Wing.qvs\"", "/a/b.qvs", ""})
        EXPECT_EQ(HandOverLine(line, "/w"), line);
}

TEST(RecentFiles, EntriesMoveUpOrFallOffAndCaseMatters)
{
    std::array<std::string, 11> list{};
    for (int i = 1; i <= 10; ++i)
        list[static_cast<std::size_t>(i)] = "f" + std::to_string(i);
    using Top = std::array<std::string, 4>;
    auto top = [&] { return Top{list[1], list[2], list[3], list[4]}; };
    AddRecentFileEntry(list, "f3");
    EXPECT_EQ(top(), (Top{"f3", "f1", "f2", "f4"}));
    EXPECT_EQ(list[10], "f10");
    AddRecentFileEntry(list, "F4"); // another entry: case counts
    EXPECT_EQ(top(), (Top{"F4", "f3", "f1", "f2"}));
    EXPECT_EQ(list[10], "f9"); // f10 fell off
    AddRecentFileEntry(list, "F4");
    EXPECT_EQ(top(), (Top{"F4", "f3", "f1", "f2"}));
    // Names outside the code page, or not UTF-8 at all, are kept as their bytes.
    AddRecentFileEntry(list, "/sites/\xCE\xA9.qvs");
    AddRecentFileEntry(list, "/sites/caf\xE9.qvs");
    EXPECT_EQ(top(), (Top{"/sites/caf\xE9.qvs", "/sites/\xCE\xA9.qvs", "F4", "f3"}));

    std::array<std::string, 11> few{"", "a", "b"};
    AddRecentFileEntry(few, "new");
    EXPECT_EQ(few[3], "b");
    EXPECT_EQ(few[4], "");

    // An entry an earlier version kept as typed gives its place to the file
    // it names in the working folder; another relative one stays.
    std::array<std::string, 11> kept{"", "/w/a.qvs", "in.qvs", "sub/in.qvs"};
    AddRecentFileEntry(kept, "/w/sub/in.qvs", "/w");
    EXPECT_EQ((Top{kept[1], kept[2], kept[3], kept[4]}), (Top{"/w/sub/in.qvs", "/w/a.qvs", "in.qvs", ""}));
}

TEST(TitleBar, VersionFileNameAndChangeMark)
{
    EXPECT_EQ(TitleBarText("App", 3, 0, "", false, true), "App Version 3.00");
    EXPECT_EQ(TitleBarText("App", 3, 12, "/x/site.qvs", false, false), "App Version 3.12 --  [site.qvs]");
    EXPECT_EQ(TitleBarText("App", 3, 5, " /x/site.qvs ", true, true),
              "App Version 3.05 --  [/x/site.qvs] * ");
}
