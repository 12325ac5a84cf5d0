#include "platform/base/FileReplace.h"

#include "model/TestFiles.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct FileReplace : ::testing::Test
{
    const testfiles::TempFolder folder;
    const fs::path& dir = folder.path();
    long FileCount() const { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
};

} // namespace

TEST_F(FileReplace, ReplacesContentsKeepsModeAndLeavesNoTemporaryFile)
{
    const std::string path = (dir / "f.txt").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(path, "one"));
    ::chmod(path.c_str(), 0600);
    ASSERT_TRUE(platform::ReplaceWholeFile(path, std::string("two\0three", 9)));
    EXPECT_EQ(testfiles::ReadBytes(path), std::string("two\0three", 9));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0600));
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(FileReplace, FailuresAreReportedAndAFolderIsNotReplaced)
{
    std::string error;
    EXPECT_FALSE(platform::ReplaceWholeFile((dir / "missing" / "f.txt").string(), "x", &error));
    EXPECT_NE(error.find("missing/f.txt"), std::string::npos);

    EXPECT_FALSE(platform::ReplaceWholeFile(dir.string(), "x", &error)); // a folder is not replaced
    std::string bytes;
    EXPECT_FALSE(platform::ReadWholeFile((dir / "nope").string(), bytes, &error));

    // A name holding a NUL names no file, not the one before the NUL.
    const std::string nul("\0.x", 3), f = (dir / "f.txt").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(f, "old"));
    EXPECT_FALSE(platform::ReadWholeFile(f + nul, bytes, &error));
    EXPECT_EQ(error, "Cannot open a name that holds a NUL");
    EXPECT_FALSE(platform::ReplaceWholeFile((dir / "g.txt").string() + nul, "new", &error));
    EXPECT_EQ(error, "Cannot write a name that holds a NUL");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(FileReplace, APieceByPieceReplacementTakesEffectOnlyWhenCommitted)
{
    const std::string path = (dir / "f.txt").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(path, "old"));
    {
        platform::FileReplacement dropped(path);
        EXPECT_TRUE(dropped.Write("never"));
    }
    EXPECT_EQ(testfiles::ReadBytes(path), "old");
    EXPECT_EQ(FileCount(), 1);

    int checks = 0;
    platform::SetWriteFault([&](const std::string&, std::string*) { return ++checks > 0; });
    platform::FileReplacement pieces(path);
    EXPECT_TRUE(pieces.Write("one "));
    EXPECT_TRUE(pieces.Write("two "));
    EXPECT_TRUE(pieces.Write("three"));
    EXPECT_EQ(testfiles::ReadBytes(path), "old");
    EXPECT_TRUE(pieces.Commit());
    EXPECT_EQ(testfiles::ReadBytes(path), "one two three");
    EXPECT_EQ(checks, 1);

    platform::SetWriteFault([](const std::string&, std::string* e) {
        *e = "injected";
        return false;
    });
    platform::FileReplacement failing(path);
    EXPECT_FALSE(failing.Write("new"));
    EXPECT_FALSE(failing.Write("more"));
    std::string error;
    EXPECT_FALSE(failing.Commit(&error));
    platform::SetWriteFault(nullptr);
    EXPECT_EQ(error, "injected");
    EXPECT_EQ(testfiles::ReadBytes(path), "one two three");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(FileReplace, AWriterKilledHalfWayLeavesTheOldFileAndTheNextSaveClearsUp)
{
    const std::string path = (dir / "site.qvs").string();
    const std::string oldBytes(100000, 'o');
    ASSERT_TRUE(platform::ReplaceWholeFile(path, oldBytes));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Killed with half of the new contents written.
        platform::SetWriteFault([](const std::string&, std::string*) { return ::raise(SIGKILL) != 0; });
        platform::ReplaceWholeFile(path, std::string(200000, 'n'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(testfiles::ReadBytes(path), oldBytes);
    EXPECT_EQ(FileCount(), 2); // the left temporary

    const std::string other = (dir / "other.qvs").string();
    ASSERT_TRUE(platform::ReplaceWholeFile(other, "x"));
    EXPECT_EQ(FileCount(), 3); // not another file's
    ASSERT_TRUE(platform::ReplaceWholeFile(path, "new"));
    EXPECT_EQ(FileCount(), 2);
}

TEST_F(FileReplace, ALinkIsKeptAndANewFileHonoursTheUmask)
{
    fs::create_directory(dir / "real");
    const fs::path target = dir / "real" / "settings.ini";
    fs::create_symlink("real/settings.ini", dir / "link.ini");

    const mode_t before = ::umask(027);
    const bool written = platform::ReplaceWholeFile((dir / "link.ini").string(), "one");
    ::umask(before);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    ASSERT_TRUE(platform::ReplaceWholeFile((dir / "link.ini").string(), "two"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(testfiles::ReadBytes(target), "two");
}

// A chain of links, each relative to its own folder, is followed to its end
// however long it is: that file is replaced and named when it cannot be,
// and every link stays.
TEST_F(FileReplace, AChainOfLinksLeadsToTheFileAtItsEnd)
{
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    const fs::path chain[] = {dir / "b" / "l1", dir / "b" / "l2", dir / "a" / "l3", dir / "l4"};
    fs::create_symlink("../end/f.ini", chain[0]);
    fs::create_symlink("l1", chain[1]);
    fs::create_symlink("../b/l2", chain[2]);
    fs::create_symlink("a/l3", chain[3]);
    const fs::path end = dir / "end" / "f.ini";
    for (const bool there : {false, true}) {
        if (there)
            fs::create_directory(dir / "end");
        for (const fs::path& link : chain) {
            SCOPED_TRACE(link.string());
            std::string error;
            const bool written = platform::ReplaceWholeFile(link.string(), link.string(), &error);
            EXPECT_EQ(written, there) << error;
            if (there) {
                EXPECT_EQ(testfiles::ReadBytes(end), link.string());
            } else {
                const std::size_t quote = error.find('"');
                ASSERT_NE(quote, std::string::npos) << error;
                EXPECT_EQ(fs::path(error.substr(quote + 1, error.rfind('"') - quote - 1)).lexically_normal(),
                          end)
                    << error;
            }
            EXPECT_TRUE(fs::is_symlink(link));
        }
    }
}
