#include "model/LogTrim.h"
#include "model/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string TrimmedText(const std::string& text, std::uintmax_t limit)
{
    const testfiles::TempFolder folder("trim");
    const std::string path = folder.File("log.txt");
    testfiles::WriteBytes(path, text);
    EXPECT_TRUE(model::TrimLogForView(path, limit));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "the trim leaves no work file behind";
    return testfiles::ReadBytes(path);
}

} // namespace

TEST(LogTrim, ALogAboveTheLimitLosesItsOldestLines)
{
    const std::string log = "\r\naaaa\r\nbb\r\ncccc\r\n"; // 18 bytes
    EXPECT_EQ(TrimmedText(log, 18), log) << "at the limit: untouched";
    EXPECT_EQ(TrimmedText(log, 14), "bb\r\ncccc\r\n") << "4 over: the empty line and aaaa";
    EXPECT_EQ(TrimmedText(log, 13), "cccc\r\n") << "5 over: line ends do not count, so bb goes too";
    EXPECT_EQ(TrimmedText("aaaa\nbb", 5), "bb\r\n") << "every kept line ends in CR LF";
}

TEST(LogTrim, AMissingLogIsLeftAlone)
{
    EXPECT_TRUE(model::TrimLogForView(::testing::TempDir() + "/no-such-log.txt", 1));
}

// A log that cannot be read, or whose cut cannot be written, fails with the
// reason; the log stays as it was.
TEST(LogTrim, ALogThatCannotBeReadOrCutFailsWithTheReason)
{
    const testfiles::TempFolder folder("trim-fail");
    const std::string log = folder.File("ProgLog.txt");
    std::filesystem::create_directory(log); // a folder of the log's name
    std::string error;
    EXPECT_FALSE(model::TrimLogForView(log, 1, &error));
    EXPECT_EQ(error, "The log file " + log + " could not be read: " +
                         std::make_error_code(std::errc::is_a_directory).message() + ".");

    const std::string other = folder.File("other.txt");
    testfiles::WriteBytes(other, "aaaa\r\nbb\r\n");
    std::filesystem::create_directory(other + ".trim"); // the work file cannot be written
    EXPECT_FALSE(model::TrimLogForView(other, 4, &error));
    EXPECT_EQ(error, "The log file " + other + " could not be shortened: " + other + ".trim could not be written.");
    EXPECT_EQ(testfiles::ReadBytes(other), "aaaa\r\nbb\r\n");
}
