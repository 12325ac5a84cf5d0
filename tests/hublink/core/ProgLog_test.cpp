// ProgLog.txt, the busy state, the progress step and the settings text.
#include "LinkFixture.h"
#include "hublink/core/PortSettings.h"
#include "hublink/core/ProgLog.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

std::time_t FixedClock()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

class ProgLogTest : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        LogFolder = ::testing::TempDir() + "/proglog";
        std::filesystem::remove_all(LogFolder);
        std::filesystem::create_directories(LogFolder);
        SetLogClock(&FixedClock);
    }
    void TearDown() override { SetLogClock(nullptr); }

    std::string FileText() const
    {
        std::ifstream in(ProgLogPath(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
};

TEST_F(ProgLogTest, FileIsCreatedWithItsHeaderAndAppendedLineByLine)
{
    LogProg = true;
    link.LogLine("Connected to Radio Hub", true);
    link.LogLine("-> GET SWV", false);
    WriteProgLogOpeningHeader();
    link.LogLine("Caf\xc3\xa9", false);
    const std::string header = "~~~~~~~~~~~~~~~~~~~ 06/12/2026 09:05:07";
    EXPECT_EQ(FileText(), header + "\r\n\r\n\r\nConnected to Radio Hub\r\n-> GET SWV\r\n\r\n" + header +
                              "\r\n\r\n\r\nCaf\xe9\r\n");
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"Connected to Radio Hub"}));
}

TEST_F(ProgLogTest, NothingIsWrittenWithLoggingOff)
{
    LogProg = false;
    link.LogLine("box only", true);
    link.LogLine("nowhere", false);
    EXPECT_FALSE(std::filesystem::exists(ProgLogPath()));
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"box only"}));
}

TEST_F(ProgLogTest, AMissingFolderLosesTheFileLineButNotTheBoxLine)
{
    LogProg = true;
    LogFolder += "/missing";
    link.LogLine("still shown", true);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"still shown"}));
    EXPECT_FALSE(AppendProgLog("x"));
}

TEST_F(LinkFixture, BusyStateAndProgress)
{
    link.BeginBusy();
    EXPECT_TRUE(link.Busy());
    EXPECT_TRUE(bench.ControlsBusy);
    link.EndBusy();
    link.EndBusy();
    EXPECT_FALSE(link.Busy());
    EXPECT_FALSE(bench.ControlsBusy);

    bench.ProgressMaximum = 60;
    link.ProgressStep = 2;
    bench.Progress = 58;
    link.AdvanceProgress();
    EXPECT_EQ(bench.Progress, 58);
    bench.Progress = 57;
    link.AdvanceProgress();
    EXPECT_EQ(bench.Progress, 59);
}

TEST(PortSettingsText, IsJoinedFromTheSharedSettings)
{
    ResetSettings();
    EXPECT_EQ(PortSettingsText(), "19200,N,8,1");
    EXPECT_EQ(PortSettingsText(0, 1, 7, 2), "1200,E,7,2");
    EXPECT_EQ(PortSettingsText(7, 2, 8, 1), "115200,O,8,1");
    EXPECT_EQ(PortSettingsText(3, 0, 8, 1), "9600,N,8,1");
    EXPECT_EQ(PortSettingsText(8, 3, 8, 1), "8,1") << "out-of-range pieces are left out";
}

} // namespace

namespace {

TEST(LinkTiming, OneScaleShortensEveryInterval)
{
    platform::SetTimeoutScale(0.05);
    EXPECT_EQ(ScaledInterval(600), 30);
    EXPECT_EQ(ScaledInterval(40000), 2000);
    EXPECT_EQ(ScaledInterval(10), 1) << "never below 1 ms";
    platform::SetTimeoutScale(0);
    EXPECT_DOUBLE_EQ(platform::TimeoutScale(), 1.0) << "no scale means full length";
    platform::SetTimeoutScale(1.0);
    EXPECT_EQ(ScaledInterval(600), 600);
}

} // namespace
