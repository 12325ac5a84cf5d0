// DiagsLog.txt: its size bound when viewed and its erasing.
#include "diagnostics/core/DiagsLog.h"
#include "model/Settings.h"
#include "model/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <system_error>

namespace {

class DiagsLogTest : public ::testing::Test
{
protected:
    void SetUp() override { LogFolder = logs_.String(); }
    void Write(const std::string& bytes)
    {
        testfiles::WriteBytes(DiagsLogPath(), bytes);
    }

    testfiles::TempFolder logs_{"diaglog"};
};

TEST_F(DiagsLogTest, ViewingKeepsTheNewestLinesWithinTheBound)
{
    struct Case
    {
        std::string file;
        std::uintmax_t limit;
        std::string shown;
    };
    const Case cases[] = {
        {"aaaa\r\nbb\r\ncc\r\n", 14, "aaaa\r\nbb\r\ncc\r\n"}, // exactly at the bound: unchanged
        {"aaaa\r\nbb\r\ncc\r\n", 13, "bb\r\ncc\r\n"},         // one byte over: the oldest line goes
        {"aaaa\r\nbb\r\ncc\r\n", 9, "cc\r\n"},
        {"a\r\nbb\r\nccc", 7, "ccc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        Write(c.file);
        std::string text, error;
        ASSERT_EQ(ReadDiagsLog(text, error, c.limit), LogReadResult::Read) << error;
        EXPECT_EQ(text, c.shown);
        EXPECT_EQ(testfiles::ReadBytes(DiagsLogPath()), c.shown) << "the file is trimmed too";
    }
    EXPECT_FALSE(std::filesystem::exists(LogFolder + "/tempqvs.txt"));
}

TEST_F(DiagsLogTest, ALogThatCannotBeShortenedIsLeftAsItWasAndTheFailureSaysWhy)
{
    // A folder where the work file should go: the work file cannot be written.
    const std::string work = LogFolder + "/tempqvs.txt";
    std::filesystem::create_directory(work);
    testfiles::WriteBytes(work + "/kept", "x");
    Write("aaaa\r\nbb\r\n");
    std::string text, error;
    EXPECT_EQ(ReadDiagsLog(text, error, 4), LogReadResult::Failed);
    EXPECT_EQ(error, "The log file " + DiagsLogPath() + " could not be shortened: " + work + " could not be written.");
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(testfiles::ReadBytes(DiagsLogPath()), "aaaa\r\nbb\r\n");
    EXPECT_TRUE(std::filesystem::exists(work + "/kept"));
}

TEST_F(DiagsLogTest, ALogThatCannotBeReadFailsWithTheReason)
{
    std::filesystem::create_directory(DiagsLogPath()); // a folder of the log's name
    std::string text, error;
    EXPECT_EQ(ReadDiagsLog(text, error), LogReadResult::Failed);
    EXPECT_EQ(error, "The log file " + DiagsLogPath() + " could not be read: " +
                         std::make_error_code(std::errc::is_a_directory).message() + ".");
    EXPECT_TRUE(text.empty());
}

TEST_F(DiagsLogTest, ErasingAMissingFileIsNotAnError)
{
    std::string text, error;
    EXPECT_EQ(ReadDiagsLog(text, error), LogReadResult::Missing);
    EXPECT_EQ(EraseDiagsLog(error), LogEraseResult::Missing);
    ASSERT_TRUE(AppendDiagsLog("-> GET SWV"));
    EXPECT_EQ(EraseDiagsLog(error), LogEraseResult::Erased);
    EXPECT_FALSE(std::filesystem::exists(DiagsLogPath()));
}

} // namespace
