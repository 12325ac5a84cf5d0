// ProgLog.txt, the busy state, the progress step and the settings text.
#include "LinkFixture.h"
#include "hublink/core/PortSettings.h"
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
        LogIntoFreshFolder("proglog");
        SetLogClock(&FixedClock);
    }
    void TearDown() override { SetLogClock(nullptr); }
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

TEST_F(LinkFixture, ProgressStopsShortOfItsMaximum)
{
    bench.ProgressMaximum = 60;
    link.ProgressStep = 2;
    for (const auto& [from, to] : {std::pair{58, 58}, std::pair{57, 59}}) {
        bench.Progress = from;
        link.AdvanceProgress();
        EXPECT_EQ(bench.Progress, to) << from;
    }
}

TEST(PortSettingsText, IsJoinedFromTheSharedSettings)
{
    ResetSettings();
    EXPECT_EQ(PortSettingsText(), "19200,N,8,1");
    EXPECT_EQ(PortSettingsText(0, 1, 7, 2), "1200,E,7,2");
    EXPECT_EQ(PortSettingsText(7, 2, 8, 1), "115200,O,8,1");
    EXPECT_EQ(PortSettingsText(8, 3, 8, 1), "8,1") << "out-of-range pieces are left out";
}

} // namespace
