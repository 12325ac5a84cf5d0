#include "model/RecentFiles.h"
#include "model/TitleText.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

RecentList Numbered(int count)
{
    RecentList list{};
    for (int i = 1; i <= count; ++i) {
        list[static_cast<std::size_t>(i)] = "/s/f" + std::to_string(i) + ".qvs";
    }
    return list;
}

} // namespace

TEST(RecentFiles, ReopeningAnEntryMovesItToTheTop)
{
    RecentList list = Numbered(10);
    PushRecentFile(list, "/s/f3.qvs");
    EXPECT_EQ(list[1], "/s/f3.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
    EXPECT_EQ(list[3], "/s/f2.qvs");
    EXPECT_EQ(list[4], "/s/f4.qvs");
    EXPECT_EQ(list[10], "/s/f10.qvs");
    PushRecentFile(list, "/s/f3.qvs");
    EXPECT_EQ(list[1], "/s/f3.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
}

TEST(RecentFiles, AnEleventhFileDropsTheOldestAndCaseMatters)
{
    RecentList list = Numbered(10);
    PushRecentFile(list, "/s/F1.qvs");
    EXPECT_EQ(list[1], "/s/F1.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
    EXPECT_EQ(list[10], "/s/f9.qvs");
    RecentList few = Numbered(2);
    PushRecentFile(few, "/s/new.qvs");
    EXPECT_EQ(few[3], "/s/f2.qvs");
    EXPECT_EQ(few[4], "");
}

TEST(RecentFiles, MenuShowsNamesOrPathsAndKeepsTheFirstItem)
{
    RecentList list{};
    auto items = RecentMenuItems(list, false);
    EXPECT_TRUE(items[1].visible);
    EXPECT_FALSE(items[1].enabled);
    EXPECT_FALSE(items[1].setCaption);
    EXPECT_FALSE(items[2].visible);

    list[1] = " /home/eng/site a.qvs ";
    list[2] = "C:\\jobs\\b.qvs";
    items = RecentMenuItems(list, false);
    EXPECT_EQ(items[1].caption, "site a.qvs");
    EXPECT_EQ(items[2].caption, "b.qvs");
    EXPECT_TRUE(items[2].enabled);
    EXPECT_FALSE(items[3].visible);
    items = RecentMenuItems(list, true);
    EXPECT_EQ(items[1].caption, "/home/eng/site a.qvs");
    EXPECT_EQ(items[2].caption, "C:\\jobs\\b.qvs");
}

TEST(TitleText, VersionFileAndChangeMark)
{
    EXPECT_EQ(TitleText("QC", 3, 0, "", false, true), "QC Version 3.00");
    EXPECT_EQ(TitleText("QC", 3, 12, "/a/b/site.qvs", false, false), "QC Version 3.12 --  [site.qvs]");
    EXPECT_EQ(TitleText("QC", 3, 5, " /a/b/site.qvs ", true, true), "QC Version 3.05 --  [/a/b/site.qvs] * ");
    EXPECT_EQ(TitleText("QC", 3, 0, "untitled.qvs", false, true), "QC Version 3.00 --  [untitled.qvs] * ");
}
