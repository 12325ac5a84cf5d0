#include "model/Settings.h"
#include "model/SiteState.h"

#include "TestFiles.h"
#include "platform/base/FileReplace.h"
#include "platform/base/ProgramFolder.h"

#include <gtest/gtest.h>

using testfiles::ReadBytes;
using testfiles::WriteBytes;

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(dir.path().string());
        ResetSettings();
        ResetSiteState();
    }
    void TearDown() override
    {
        platform::SetWriteFault(nullptr);
        platform::SetProgramFolder("");
        ResetSettings();
        ResetSiteState();
    }

    // Every value away from its default, so that a key read into or written
    // from the wrong value shows.
    static void SetEveryValue()
    {
        int32_t v = 100;
        for (int32_t* w :
             {&MainWindowTop,       &MainWindowLeft,       &MainWindowWidth,       &MainWindowHeight,
              &NodeWindowTop,       &NodeWindowLeft,       &DeviceWindowTop,       &DeviceWindowLeft,
              &HistoryWindowTop,    &HistoryWindowLeft,    &HistoryWindowWidth,    &HistoryWindowHeight,
              &ErrorCheckWindowTop, &ErrorCheckWindowLeft, &ErrorCheckWindowWidth, &ErrorCheckWindowHeight,
              &CommsWindowWidth,    &CommsWindowHeight,    &DiagsWindowWidth,      &DiagsWindowHeight,
              &TreeViewWindowTop,   &TreeViewWindowLeft,   &TreeViewWindowWidth,   &TreeViewWindowHeight,
              &StatsWindowTop,      &StatsWindowLeft,      &StatsWindowWidth,      &StatsWindowHeight,
              &GridWindowTop,       &GridWindowLeft,       &GridWindowWidth,       &GridWindowHeight})
            *w = v++;
        for (bool* b : {&FilePaths, &ReOpenLastUsed, &LogProg, &LogDiags, &CommsCloseOnComplete,
                        &StatsUsedFree, &CheckOnOpen, &CheckOnClose, &PortDTR, &PortRTS})
            *b = true;
        for (bool* b : {&Toolbar, &DropOnParent, &ConfirmDiffs, &PortEnabled})
            *b = false;
        DisplayMode = 1;
        QuickInfoMode = 4;
        NodeQuickInfoMode = 3;
        StatsViewBy = 2;
        LogFolder = "/home/eng/Logs caf\xC3\xA9";
        PortNumber = 17;
        PortBaudIndex = 7;
        PortDataBits = 7;
        PortStopBits = 2;
        PortParity = 2;
        MruFiles[1] = "/sites/Plant A.qvs";
        MruFiles[2] = "/sites/Z\xC3\xBCrich.qvs";
        MruFiles[3] = "/sites/old.qvs";
        // 4..10 stay empty and are written as empty keys.
    }

    testfiles::TempFolder dir;
};

} // namespace

TEST_F(SettingsFile, EveryKeyIsWrittenInOrderReadBackAndWrittenAgainUnchanged)
{
    SetEveryValue();
    std::string error;
    ASSERT_TRUE(SaveSettings(&error)) << error;
    const std::string first = ReadBytes(SettingsPath());
    testfiles::ExpectMatchesGolden(first, "settings.ini");

    ResetSettings();
    ResetSiteState();
    LoopCount = 2;
    LoopProtocol = 3;
    MaxLoopAddress = 127;
    LoadSettings();
    // Every value read back is written again below, byte for byte; a site's
    // loop values are not in the file and take those before any site is read.
    EXPECT_EQ(LoopCount, 4);
    EXPECT_EQ(LoopProtocol, 1);
    EXPECT_EQ(MaxLoopAddress, 126);

    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadBytes(SettingsPath()), first);
}

TEST_F(SettingsFile, NegativeWindowValuesAndDisplayModeMinusTwoAreLeftOut)
{
    GridWindowTop = -120;
    DisplayMode = -2;
    ASSERT_TRUE(SaveSettings());
    const std::string bytes = ReadBytes(SettingsPath());
    EXPECT_EQ(bytes.find("GridWindowTop"), std::string::npos);
    for (const char* kept : {"\r\nGridWindowLeft=0\r\n", "[Drawing]\r\nDisplayMode=3\r\n"})
        EXPECT_NE(bytes.find(kept), std::string::npos) << kept;
    GridWindowTop = 55;
    LoadSettings();
    EXPECT_EQ(GridWindowTop, 0);
}

TEST_F(SettingsFile, ALogFolderTheCodePageCannotHoldIsLeftOut)
{
    LogFolder = "/home/eng/\xCE\xA9-logs";
    MruFiles[1] = "/sites/\xCE\xA9.qvs";
    MruFiles[2] = "/sites/caf\xC3\xA9.qvs";
    ASSERT_TRUE(SaveSettings());
    const std::string bytes = ReadBytes(SettingsPath());
    for (const char* left : {"LogPaths=", "?"})
        EXPECT_EQ(bytes.find(left), std::string::npos) << left;
    EXPECT_NE(bytes.find("\r\nMRU2=/sites/caf\xE9.qvs\r\nMRU3=\r\n"), std::string::npos);
}

TEST_F(SettingsFile, RecentFilesKeepTheBytesOfNamesTheCodePageCannotHold)
{
    // Not UTF-8 at all; outside the code page; "%", a line end and a byte
    // the code page leaves undefined; a line end alone; and a name the code
    // page holds, as before.
    const std::string names[] = {"/sites/caf\xE9.qvs", "/sites/\xCE\xA9.qvs", "/sites/50%\r\x81\xFF.qvs",
                                 "/sites/a\nb.qvs", "/sites/caf\xC3\xA9.qvs"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        MruFiles[i + 1] = names[i];
    ASSERT_TRUE(SaveSettings());
    const std::string first = ReadBytes(SettingsPath());
    for (const char* stored : {"\r\nMRU1=/sites/caf\xE9.qvs\r\nMRU1Bytes=/sites/caf%E9.qvs\r\n",
                               "\r\nMRU2=/sites/\xCE\xA9.qvs\r\nMRU2Bytes=/sites/%CE%A9.qvs\r\n",
                               "\r\nMRU3=/sites/50% \x81\xFF.qvs\r\nMRU3Bytes=/sites/50%25%0D%81%FF.qvs\r\n",
                               "\r\nMRU5=/sites/caf\xE9.qvs\r\nMRU6=\r\n"})
        EXPECT_NE(first.find(stored), std::string::npos) << stored;

    ResetSettings();
    LoadSettings();
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(MruFiles[i + 1], names[i]) << i;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(ReadBytes(SettingsPath()), first);

    // A second key that is not what the program writes is passed over.
    WriteBytes(SettingsPath(),
               "[MRUList]\r\nMRU1=/a.qvs\r\nMRU1Bytes=/b%4.qvs\r\nMRU2=/c.qvs\r\nMRU2Bytes=/d\xE9\r\n");
    LoadSettings();
    EXPECT_EQ(std::make_pair(MruFiles[1], MruFiles[2]),
              std::make_pair(std::string("/a.qvs"), std::string("/c.qvs")));

    // A name holding a NUL names no file, not the one before the NUL: read
    // under either key it is dropped, and it is never written, nor a log
    // folder holding one.
    const std::string site = dir.File("x.qvs"), nul("\0.evil", 6);
    WriteBytes(site, "x");
    WriteBytes(SettingsPath(), "[Options]\r\nLogPaths=/logs" + nul + "\r\n[MRUList]\r\nMRU1=" + site +
                                   "\r\nMRU1Bytes=" + site + "%00.evil\r\nMRU2=" + site + nul +
                                   "\r\nMRU3=/c.qvs\r\n");
    LoadSettings();
    EXPECT_EQ(MruFiles[1] + "|" + MruFiles[2] + "|" + MruFiles[3] + "|" + LogFolder,
              "||/c.qvs|" + dir.String());
    MruFiles[1] = LogFolder = site + nul;
    ASSERT_TRUE(SaveSettings());
    const std::string bytes = ReadBytes(SettingsPath());
    EXPECT_EQ(bytes.find("LogPaths="), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.find("[MRUList]")),
              "[MRUList]\r\nMRU1=\r\nMRU2=\r\nMRU3=/c.qvs\r\nMRU4=\r\nMRU5=\r\n"
              "MRU6=\r\nMRU7=\r\nMRU8=\r\nMRU9=\r\nMRU10=\r\n");
}

TEST_F(SettingsFile, ARecentFileWrittenAsItsNamesBytesOpensTheFileOfThoseBytes)
{
    // A file written with the name's bytes (no second key), as a name from a
    // system whose names are not UTF-8 is: the text names no file, the bytes
    // do. A name whose text names a file reads as it always has.
    const std::string folder = dir.path().string();
    WriteBytes(folder + "/caf\xE9.qvs", "x");
    WriteBytes(folder + "/Z\xC3\xBCrich.qvs", "x");
    WriteBytes(folder + "/Z\xFCrich.qvs", "x");
    WriteBytes(SettingsPath(), "[MRUList]\r\nMRU1=" + folder + "/caf\xE9.qvs\r\nMRU2=" + folder +
                                   "/Z\xFCrich.qvs\r\nMRU3=/gone/caf\xE9.qvs\r\n");
    LoadSettings();
    EXPECT_EQ(MruFiles[1], folder + "/caf\xE9.qvs");
    EXPECT_EQ(MruFiles[2], folder + "/Z\xC3\xBCrich.qvs");
    EXPECT_EQ(MruFiles[3], "/gone/caf\xC3\xA9.qvs");
}

TEST_F(SettingsFile, AMissingFileGivesEveryDefault)
{
    SetEveryValue();
    LoadSettings();
    EXPECT_EQ(MainWindowWidth, 12765);
    EXPECT_EQ(LogFolder, dir.path().string()); // the program folder
}

TEST_F(SettingsFile, StoredValuesThatDoNotFitTheirTypeGiveTheDefault)
{
    WriteBytes(SettingsPath(), "[Options]\r\nPortOn=yes\r\nPortCom=x\r\nToolbar=0\r\nStatsViewBy=\r\n"
                               "[WindowPositions]\r\nMainWindowTop=-5\r\n");
    LoadSettings();
    EXPECT_TRUE(PortEnabled);
    EXPECT_FALSE(Toolbar);
    EXPECT_EQ(StatsViewBy, 3);
    EXPECT_EQ(MainWindowTop, -5); // read as stored; only the writer leaves negatives out
}

TEST_F(SettingsFile, AFailedWriteIsReportedAndTheOldFileStays)
{
    WriteBytes(SettingsPath(), "[Options]\r\nToolbar=0\r\n");
    platform::SetWriteFault([](const std::string&, std::string* error) {
        *error = "No space left on device";
        return false;
    });
    std::string error;
    EXPECT_FALSE(SaveSettings(&error));
    EXPECT_EQ(error, "No space left on device");
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Options]\r\nToolbar=0\r\n");
}
