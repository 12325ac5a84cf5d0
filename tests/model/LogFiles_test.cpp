#include "model/LogFiles.h"

#include "TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace model;
using testfiles::ReadBytes;
using testfiles::WriteBytes;
namespace fs = std::filesystem;

namespace {

const std::string kProg = "-> GET VERSION\r\n";
const std::string kDiags = "<- DS 1 4 OK\r\n";
const std::string kMoveFailed =
    "There was a problem setting the new folder for Log Files\r\nNo change has been made";

class LogFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(dir.path() / "old");
        fs::create_directories(dir.path() / "new");
        WriteBytes(dir.path() / "old" / "ProgLog.txt", kProg);
        WriteBytes(dir.path() / "old" / "DiagsLog.txt", kDiags);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir.path() / "old" / "ProgLog.txt", fs::perms::owner_all, fs::perm_options::add, ec);
    }
    std::string Read(const std::string& name) const { return ReadBytes(dir.path() / name); }
    void ExpectLogsIn(const std::string& folder) const
    {
        EXPECT_EQ(Read(folder + "/ProgLog.txt"), kProg);
        EXPECT_EQ(Read(folder + "/DiagsLog.txt"), kDiags);
    }
    void ExpectReport(const LogFolderReport& report, bool ok, const std::string& text,
                      const std::string& title)
    {
        EXPECT_EQ(report.ok, ok);
        EXPECT_EQ(report.text, text);
        EXPECT_EQ(report.title, title);
    }

    testfiles::TempFolder dir;
    const std::string oldDir = dir.File("old");
    const std::string newDir = dir.File("new");
};

} // namespace

TEST_F(LogFilesTest, MoveCarriesBothFilesAndExportCopiesOverEarlierCopiesAndSkipsMissingLogs)
{
    WriteBytes(dir.path() / "new" / "ProgLog.txt", "an older export that is longer than the log");
    ExpectReport(ExportLogFiles(oldDir, newDir), true, "Log files exported OK", "Export Log Files");
    ExpectLogsIn("new");
    ExpectLogsIn("old");

    fs::remove(dir.path() / "new" / "ProgLog.txt");
    fs::remove(dir.path() / "new" / "DiagsLog.txt");
    ExpectReport(MoveLogFiles(oldDir, newDir), true,
                 "New folder for log files set\r\nFiles moved to new folder OK", "Set Folder For Log Files");
    ExpectLogsIn("new");
    EXPECT_TRUE(fs::is_empty(dir.path() / "old"));

    // A missing log is skipped.
    fs::remove(dir.path() / "new" / "ProgLog.txt");
    EXPECT_TRUE(ExportLogFiles(newDir, oldDir).ok);
    EXPECT_EQ(Read("old/DiagsLog.txt"), kDiags);
    EXPECT_FALSE(fs::exists(dir.path() / "old" / "ProgLog.txt"));
}

TEST_F(LogFilesTest, TargetsThatAreTheLogFolderOrNoFolderAFailedCopyOrAReadOnlyLogChangeNothing)
{
    WriteBytes(dir.path() / "afile", "x");
    for (const std::string& target : {oldDir, oldDir + "/", oldDir + "/.", newDir + "/../old",
                                      dir.File("gone"), dir.File("afile"), std::string()}) {
        const LogFolderReport report = MoveLogFiles(oldDir, target);
        EXPECT_FALSE(report.ok) << target;
        EXPECT_EQ(report.text, kMoveFailed);
        EXPECT_FALSE(ExportLogFiles(oldDir, target).ok) << target;
    }
    ExpectLogsIn("old");

    // A folder where the second copy should go makes that copy fail after the first one succeeded.
    fs::create_directory(dir.path() / "new" / "DiagsLog.txt");
    ExpectReport(MoveLogFiles(oldDir, newDir), false, kMoveFailed, "Set Folder For Log Files");
    ExpectLogsIn("old");
    ExpectReport(ExportLogFiles(oldDir, newDir), false,
                 "There was a problem exporting the Log Files\r\nFiles may not have been saved",
                 "Export Log Files");

    fs::remove(dir.path() / "new" / "DiagsLog.txt");
    fs::permissions(dir.path() / "old" / "ProgLog.txt",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(MoveLogFiles(oldDir, newDir).ok);
    ExpectLogsIn("old");
}

TEST_F(LogFilesTest, MakeNewFolderCreatesOrEntersTheFolderOrSaysItCannot)
{
    EXPECT_TRUE(MakeNewFolder(newDir, "").path.empty());
    const NewFolderResult made = MakeNewFolder(newDir + "/", "Site 12 logs");
    EXPECT_EQ(made.path, newDir + "/Site 12 logs");
    EXPECT_TRUE(fs::is_directory(made.path));
    WriteBytes(made.path + "/keep.txt", "kept");
    const NewFolderResult again = MakeNewFolder(newDir, "Site 12 logs");
    EXPECT_EQ(again.path, made.path);
    EXPECT_EQ(ReadBytes(made.path + "/keep.txt"), "kept");

    WriteBytes(dir.path() / "new" / "taken", "a file");
    for (const std::string name : {"taken", "a/b", "what?"}) {
        const NewFolderResult result = MakeNewFolder(newDir, name);
        EXPECT_TRUE(result.path.empty()) << name;
        ExpectReport(result.report, false, "Unable to Make New Folder\r\n" + newDir + "/" + name,
                     "Make New Folder");
    }
    EXPECT_FALSE(MakeNewFolder(dir.File("missing"), "inner").report.ok);
}

TEST(LogFiles, FolderNameCharactersAndLogPaths)
{
    for (char c : std::string("/\"?,\\<>:*|"))
        EXPECT_TRUE(IsRejectedFolderNameCharacter(c)) << c;
    for (char c : std::string("aZ09 .-_()'&"))
        EXPECT_FALSE(IsRejectedFolderNameCharacter(c)) << c;
    EXPECT_EQ(LogFilePath("/var/qvs//", "DiagsLog.txt"), "/var/qvs/DiagsLog.txt");
    EXPECT_EQ(LogFilePath("/", "ProgLog.txt"), "/ProgLog.txt");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
}

TEST_F(LogFilesTest, TheLogFolderChosenAgainWithNoLogInItMovesNothingAndSucceeds)
{
    fs::remove(dir.path() / "old" / "ProgLog.txt");
    fs::remove(dir.path() / "old" / "DiagsLog.txt");
    for (const std::string& target : {oldDir, oldDir + "/"})
        ExpectReport(MoveLogFiles(oldDir, target), true,
                     "New folder for log files set\r\nFiles moved to new folder OK",
                     "Set Folder For Log Files");
    EXPECT_TRUE(fs::is_empty(dir.path() / "old"));
}

TEST_F(LogFilesTest, WithNoLogYetATargetThatIsNoFolderIsStillRefused)
{
    fs::remove(dir.path() / "old" / "ProgLog.txt");
    fs::remove(dir.path() / "old" / "DiagsLog.txt");
    WriteBytes(dir.path() / "afile", "x");
    for (const std::string& target : {dir.File("gone"), dir.File("gone") + "/", dir.File("afile"), std::string()}) {
        ExpectReport(MoveLogFiles(oldDir, target), false, kMoveFailed, "Set Folder For Log Files");
        ExpectReport(ExportLogFiles(oldDir, target), false,
                     "There was a problem exporting the Log Files\r\nFiles may not have been saved",
                     "Export Log Files");
    }
    EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}
