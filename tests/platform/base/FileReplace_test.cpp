#include "platform/base/FileReplace.h"

#include "model/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(FileReplace, ReplacesContentsKeepsModeAndLeavesNoTemporaryFile)
{
    const testfiles::TempFolder folder;
    const fs::path& dir = folder.path();
    const std::string path = (dir / "f.txt").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(path, "one"));
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(platform::ReplaceWholeFile(path, std::string("two\0three", 9)));
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("two\0three", 9));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(FileReplace, FailuresAreReportedAndTheOldFileStays)
{
    const testfiles::TempFolder folder;
    const fs::path& dir = folder.path();
    std::string error;
    EXPECT_FALSE(platform::ReplaceWholeFile((dir / "missing" / "f.txt").string(), "x", &error));
    EXPECT_NE(error.find("missing/f.txt"), std::string::npos);

    const std::string path = (dir / "f.txt").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(path, "old"));
    platform::SetWriteFault([](const std::string&, std::string* e) {
        *e = "injected";
        return false;
    });
    EXPECT_FALSE(platform::ReplaceWholeFile(path, "new", &error));
    platform::SetWriteFault(nullptr);
    EXPECT_EQ(error, "injected");
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");

    EXPECT_FALSE(platform::ReplaceWholeFile(dir.string(), "x", &error)); // a folder is not replaced
    EXPECT_FALSE(platform::ReadWholeFile((dir / "nope").string(), bytes, &error));
}
