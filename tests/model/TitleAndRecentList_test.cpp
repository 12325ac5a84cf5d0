#include "model/RecentFiles.h"
#include "model/TitleBar.h"

#include <gtest/gtest.h>

using namespace model;

namespace {

std::array<std::string, 11> Numbered(int count)
{
    std::array<std::string, 11> list{};
    for (int i = 1; i <= count; ++i) {
        list[static_cast<std::size_t>(i)] = "/s/f" + std::to_string(i) + ".qvs";
    }
    return list;
}

} // namespace

TEST(RecentFiles, ReopeningAnEntryMovesItToTheTop)
{
    std::array<std::string, 11> list = Numbered(10);
    AddRecentFileEntry(list, "/s/f3.qvs");
    EXPECT_EQ(list[1], "/s/f3.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
    EXPECT_EQ(list[3], "/s/f2.qvs");
    EXPECT_EQ(list[4], "/s/f4.qvs");
    EXPECT_EQ(list[10], "/s/f10.qvs");
    AddRecentFileEntry(list, "/s/f3.qvs");
    EXPECT_EQ(list[1], "/s/f3.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
}

TEST(RecentFiles, AnEleventhFileDropsTheOldestAndCaseMatters)
{
    std::array<std::string, 11> list = Numbered(10);
    AddRecentFileEntry(list, "/s/F1.qvs");
    EXPECT_EQ(list[1], "/s/F1.qvs");
    EXPECT_EQ(list[2], "/s/f1.qvs");
    EXPECT_EQ(list[10], "/s/f9.qvs");
    std::array<std::string, 11> few = Numbered(2);
    AddRecentFileEntry(few, "/s/new.qvs");
    EXPECT_EQ(few[3], "/s/f2.qvs");
    EXPECT_EQ(few[4], "");
}

TEST(TitleBarText, VersionFileAndChangeMark)
{
    EXPECT_EQ(TitleBarText("QC", 3, 0, "", false, true), "QC Version 3.00");
    EXPECT_EQ(TitleBarText("QC", 3, 12, "/a/b/site.qvs", false, false), "QC Version 3.12 --  [site.qvs]");
    EXPECT_EQ(TitleBarText("QC", 3, 5, " /a/b/site.qvs ", true, true),
              "QC Version 3.05 --  [/a/b/site.qvs] * ");
    EXPECT_EQ(TitleBarText("QC", 3, 0, "untitled.qvs", false, true), "QC Version 3.00 --  [untitled.qvs] * ");
}
