#include "model/LogFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace model;
namespace fs = std::filesystem;

namespace {

class LogFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device random;
        root_ = fs::temp_directory_path() / ("qvs-logs-" + std::to_string(random()));
        fs::create_directories(root_ / "old");
        fs::create_directories(root_ / "new");
        oldDir_ = (root_ / "old").string();
        newDir_ = (root_ / "new").string();
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(root_ / "old" / "ProgLog.txt", fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    static std::string Read(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteBothLogs()
    {
        Write(root_ / "old" / "ProgLog.txt", "-> GET VERSION\r\n");
        Write(root_ / "old" / "DiagsLog.txt", "<- DS 1 4 OK\r\n");
    }

    fs::path root_;
    std::string oldDir_;
    std::string newDir_;
};

const std::string kMoveFailed =
    "There was a problem setting the new folder for Log Files\r\nNo change has been made";

} // namespace

TEST_F(LogFilesTest, MoveCarriesBothFilesAndTheirContentIntoTheNewFolder)
{
    WriteBothLogs();
    const LogFolderReport report = MoveLogFiles(oldDir_, newDir_);
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(report.text, "New folder for log files set\r\nFiles moved to new folder OK");
    EXPECT_EQ(report.title, "Set Folder For Log Files");
    EXPECT_EQ(Read(root_ / "new" / "ProgLog.txt"), "-> GET VERSION\r\n");
    EXPECT_EQ(Read(root_ / "new" / "DiagsLog.txt"), "<- DS 1 4 OK\r\n");
    EXPECT_FALSE(fs::exists(root_ / "old" / "ProgLog.txt"));
    EXPECT_FALSE(fs::exists(root_ / "old" / "DiagsLog.txt"));
}

TEST_F(LogFilesTest, MissingLogFilesAreSkipped)
{
    EXPECT_TRUE(MoveLogFiles(oldDir_, newDir_).ok);
    EXPECT_TRUE(fs::is_empty(root_ / "new"));

    Write(root_ / "old" / "DiagsLog.txt", "diags");
    EXPECT_TRUE(ExportLogFiles(oldDir_, newDir_).ok);
    EXPECT_EQ(Read(root_ / "new" / "DiagsLog.txt"), "diags");
    EXPECT_FALSE(fs::exists(root_ / "new" / "ProgLog.txt"));
}

TEST_F(LogFilesTest, TheLogFolderItselfIsRefusedAsTargetAndKeepsItsFiles)
{
    WriteBothLogs();
    for (const std::string& same : {oldDir_, oldDir_ + "/", oldDir_ + "/.", newDir_ + "/../old"}) {
        const LogFolderReport report = MoveLogFiles(oldDir_, same);
        EXPECT_FALSE(report.ok) << same;
        EXPECT_EQ(report.text, kMoveFailed);
        EXPECT_FALSE(ExportLogFiles(oldDir_, same).ok) << same;
    }
    EXPECT_EQ(Read(root_ / "old" / "ProgLog.txt"), "-> GET VERSION\r\n");
    EXPECT_EQ(Read(root_ / "old" / "DiagsLog.txt"), "<- DS 1 4 OK\r\n");
}

TEST_F(LogFilesTest, AFailedCopyDeletesNothing)
{
    WriteBothLogs();
    // A folder where the second copy should go makes that copy fail after
    // the first one succeeded.
    fs::create_directory(root_ / "new" / "DiagsLog.txt");
    const LogFolderReport report = MoveLogFiles(oldDir_, newDir_);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.text, kMoveFailed);
    EXPECT_EQ(report.title, "Set Folder For Log Files");
    EXPECT_EQ(Read(root_ / "old" / "ProgLog.txt"), "-> GET VERSION\r\n");
    EXPECT_EQ(Read(root_ / "old" / "DiagsLog.txt"), "<- DS 1 4 OK\r\n");

    const LogFolderReport exported = ExportLogFiles(oldDir_, newDir_);
    EXPECT_FALSE(exported.ok);
    EXPECT_EQ(exported.text, "There was a problem exporting the Log Files\r\nFiles may not have been saved");
    EXPECT_EQ(exported.title, "Export Log Files");
}

TEST_F(LogFilesTest, AReadOnlyLogIsNotMovedAndNeitherIsTheOther)
{
    WriteBothLogs();
    fs::permissions(root_ / "old" / "ProgLog.txt",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(MoveLogFiles(oldDir_, newDir_).ok);
    EXPECT_TRUE(fs::exists(root_ / "old" / "ProgLog.txt"));
    EXPECT_EQ(Read(root_ / "old" / "DiagsLog.txt"), "<- DS 1 4 OK\r\n");
}

TEST_F(LogFilesTest, ExportCopiesOverEarlierCopiesAndKeepsTheOriginals)
{
    WriteBothLogs();
    Write(root_ / "new" / "ProgLog.txt", "an older export that is longer than the log");
    const LogFolderReport report = ExportLogFiles(oldDir_, newDir_);
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(report.text, "Log files exported OK");
    EXPECT_EQ(report.title, "Export Log Files");
    EXPECT_EQ(Read(root_ / "new" / "ProgLog.txt"), "-> GET VERSION\r\n");
    EXPECT_EQ(Read(root_ / "new" / "DiagsLog.txt"), "<- DS 1 4 OK\r\n");
    EXPECT_TRUE(fs::exists(root_ / "old" / "ProgLog.txt"));
    EXPECT_TRUE(fs::exists(root_ / "old" / "DiagsLog.txt"));
}

TEST_F(LogFilesTest, ATargetThatIsNoFolderIsRefused)
{
    WriteBothLogs();
    Write(root_ / "afile", "x");
    for (const std::string& target : {(root_ / "gone").string(), (root_ / "afile").string(), std::string()}) {
        EXPECT_FALSE(MoveLogFiles(oldDir_, target).ok) << target;
        EXPECT_FALSE(ExportLogFiles(oldDir_, target).ok) << target;
    }
    EXPECT_TRUE(fs::exists(root_ / "old" / "ProgLog.txt"));
}

TEST_F(LogFilesTest, MakeNewFolderCreatesOrEntersTheFolder)
{
    const NewFolderResult nothing = MakeNewFolder(newDir_, "");
    EXPECT_TRUE(nothing.report.ok);
    EXPECT_TRUE(nothing.path.empty());

    const NewFolderResult made = MakeNewFolder(newDir_ + "/", "Site 12 logs");
    EXPECT_TRUE(made.report.ok);
    EXPECT_EQ(made.path, newDir_ + "/Site 12 logs");
    EXPECT_TRUE(fs::is_directory(made.path));

    Write(made.path + "/keep.txt", "kept");
    const NewFolderResult again = MakeNewFolder(newDir_, "Site 12 logs");
    EXPECT_TRUE(again.report.ok);
    EXPECT_EQ(again.path, made.path);
    EXPECT_EQ(Read(made.path + "/keep.txt"), "kept");
}

TEST_F(LogFilesTest, AFolderThatCannotBeMadeIsReported)
{
    Write(root_ / "new" / "taken", "a file");
    for (const std::string name : {"taken", "a/b", "what?"}) {
        const NewFolderResult result = MakeNewFolder(newDir_, name);
        EXPECT_FALSE(result.report.ok) << name;
        EXPECT_TRUE(result.path.empty());
        EXPECT_EQ(result.report.text, "Unable to Make New Folder\r\n" + newDir_ + "/" + name);
        EXPECT_EQ(result.report.title, "Make New Folder");
    }
    EXPECT_FALSE(MakeNewFolder((root_ / "missing").string(), "inner").report.ok);
}

TEST(LogFiles, FolderNamesRefuseTheCharactersAPathCannotHold)
{
    for (char c : std::string("/\"?,\\<>:*|"))
        EXPECT_TRUE(IsRejectedFolderNameCharacter(c)) << c;
    for (char c : std::string("aZ09 .-_()'&"))
        EXPECT_FALSE(IsRejectedFolderNameCharacter(c)) << c;
}

TEST(LogFiles, LogPathsUseOneSeparator)
{
    EXPECT_EQ(LogFilePath("/var/qvs", "ProgLog.txt"), "/var/qvs/ProgLog.txt");
    EXPECT_EQ(LogFilePath("/var/qvs//", "DiagsLog.txt"), "/var/qvs/DiagsLog.txt");
    EXPECT_EQ(LogFilePath("/", "ProgLog.txt"), "/ProgLog.txt");
    EXPECT_EQ(WithoutTrailingSeparator("/home/eng/"), "/home/eng");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
}
