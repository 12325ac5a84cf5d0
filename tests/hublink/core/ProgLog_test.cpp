// ProgLog.txt: its header, its lines and what is lost without it.
#include "LinkFixture.h"
#include "support/LinkTestHelpers.h"

namespace {

std::time_t FixedClock()
{
    std::tm t{};
    strptime("2026-12-06 09:05:07", "%Y-%m-%d %H:%M:%S", &t);
    t.tm_isdst = -1;
    return std::mktime(&t);
}

class ProgLogTest : public LinkFixture
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        logs_ = LogIntoFreshFolder("proglog");
        SetLogClock(&FixedClock);
    }
    void TearDown() override { SetLogClock(nullptr); }

    testsupport::TempFolder logs_;
};

TEST_F(ProgLogTest, FileIsCreatedWithItsHeaderAndAppendedLineByLine)
{
    link.LogLine("Connected to Radio Hub", true);
    link.LogLine("-> GET SWV", false);
    WriteProgLogOpeningHeader();
    link.LogLine("Caf\xc3\xa9", false);
    const std::string header = "~~~~~~~~~~~~~~~~~~~ 06/12/2026 09:05:07";
    EXPECT_EQ(ProgLogText(), header + "\r\n\r\n\r\nConnected to Radio Hub\r\n-> GET SWV\r\n\r\n" + header +
                                 "\r\n\r\n\r\nCaf\xe9\r\n");
}

TEST_F(ProgLogTest, ReceivedBytesAboveAsciiAreLoggedAsTheyCame)
{
    link.Comm_OnComm("\xB0" "C Caf\xE9 \x80\xFF\r");
    EXPECT_EQ(ProgLogBody(), "<- \xB0" "C Caf\xE9 \x80\xFF\r\n\xB0" "C Caf\xE9 \x80\xFF\r\n");
}

TEST_F(ProgLogTest, LoggingOffOrAMissingFolderLosesOnlyTheFileLine)
{
    LogProg = false;
    link.LogLine("box only", true);
    link.LogLine("nowhere", false);
    EXPECT_FALSE(std::filesystem::exists(ProgLogPath()));
    LogProg = true;
    LogFolder += "/missing";
    link.LogLine("still shown", true);
    EXPECT_EQ(bench.Box, (std::vector<std::string>{"box only", "still shown"}));
    EXPECT_FALSE(AppendProgLog("x"));
}

} // namespace
