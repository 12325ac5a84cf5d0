#include "app/LogsFrame.h"

#include "model/Settings.h"
#include "platform/ProgramMessage.h"
#include "platform/Yield.h"
#include "support/TempFolder.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Shown
{
    std::string text;
    int style;
};

class LogsFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        fs::create_directories(root_ / "logs");
        fs::create_directories(root_ / "elsewhere");
        LogFolder = (root_ / "logs").string();
        platform::SetPlainMessageHandler(
            [this](QWidget*, const std::string& text, int32_t style, const std::string&) {
                shown_.push_back({text, style});
                return 1;
            });
    }
    void TearDown() override
    {
        platform::SetPlainMessageHandler({});
        ResetSettings();
    }
    void WriteLog(const char* name, const std::string& text)
    {
        std::ofstream(root_ / "logs" / name, std::ios::binary) << text;
    }
    QString Path(const char* sub) const { return QString::fromStdString((root_ / sub).string()); }

    const testsupport::TempFolder folder_{"panel"};
    const fs::path root_ = folder_.path();
    LogsFrame frame_;
    std::vector<Shown> shown_;
};

} // namespace

TEST_F(LogsFrameTest, OpeningShowsTheLogFolderAndTheDriveListOnlyForExport)
{
    frame_.Open(LogsFrame::Mode::Set);
    EXPECT_FALSE(frame_.Drive1()->isEnabled());
    EXPECT_EQ(frame_.Dir1Path(), Path("logs"));
    // The folder list is read in the background; the chosen folder is brought
    // into view once the folders above it are listed.
    QTreeView* dir = frame_.Dir1();
    dir->setGeometry(0, 0, 300, 150);
    EXPECT_TRUE(platform::WaitUntil(
        [&] { return dir->viewport()->rect().intersects(dir->visualRect(dir->currentIndex())); }, 10000));

    frame_.SetDir1Path(Path("elsewhere"));
    frame_.Open(LogsFrame::Mode::Export);
    EXPECT_TRUE(frame_.Drive1()->isEnabled());
    EXPECT_EQ(frame_.Dir1Path(), Path("logs")); // opened afresh on the log folder
}

TEST_F(LogsFrameTest, SelectMovesExportCopiesAndAFailureKeepsThePanel)
{
    // Mode, target folder; whether the logs end up moved, copied or left.
    const std::tuple<LogsFrame::Mode, const char*, const char*, const char*> cases[] = {
        {LogsFrame::Mode::Set, "logs", "logs", "There was a problem setting the new folder"},
        {LogsFrame::Mode::Export, "elsewhere", "logs", "Log files exported OK"},
        {LogsFrame::Mode::Set, "elsewhere", "elsewhere", "New folder for log files set"},
    };
    for (const auto& [mode, target, logFolder, text] : cases) {
        SCOPED_TRACE(text);
        shown_.clear();
        WriteLog("ProgLog.txt", "log");
        frame_.Open(mode);
        frame_.SetDir1Path(Path(target));
        QTest::mouseClick(frame_.cmdSelect(), Qt::LeftButton);
        const bool ok = std::string(text) != "There was a problem setting the new folder";
        EXPECT_EQ(LogFolder, (root_ / logFolder).string());
        EXPECT_TRUE(fs::exists(root_ / target / "ProgLog.txt"));
        EXPECT_EQ(fs::exists(root_ / "logs" / "ProgLog.txt"), mode == LogsFrame::Mode::Export || !ok);
        EXPECT_EQ(frame_.isHidden(), ok);
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text.rfind(text, 0), 0u) << shown_[0].text;
        EXPECT_EQ(shown_[0].style, ok ? 64 : 16);
    }
}

TEST_F(LogsFrameTest, AFolderClickedInTheListIsWhereTheLogsAreExportedOrMoved)
{
    for (const LogsFrame::Mode mode : {LogsFrame::Mode::Export, LogsFrame::Mode::Set}) {
        const bool exporting = mode == LogsFrame::Mode::Export;
        SCOPED_TRACE(exporting ? "export" : "set");
        shown_.clear();
        WriteLog("ProgLog.txt", "log");
        frame_.Open(mode);
        QTreeView* dir = frame_.Dir1();
        dir->setGeometry(0, 0, 300, 400);
        // The folders are listed in the background: the click goes to the
        // place where the list shows "elsewhere" once it shows it there.
        const auto* folders = qobject_cast<const QFileSystemModel*>(dir->model());
        ASSERT_NE(folders, nullptr);
        const QModelIndex target = folders->index(Path("elsewhere"));
        ASSERT_TRUE(target.isValid());
        QPoint at;
        ASSERT_TRUE(platform::WaitUntil(
            [&] {
                dir->scrollTo(target);
                at = dir->visualRect(target).center();
                return dir->viewport()->rect().contains(at) && dir->indexAt(at) == target;
            },
            10000));
        QTest::mouseClick(dir->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_EQ(frame_.Dir1Path(), Path("elsewhere"));
        QTest::mouseClick(frame_.cmdSelect(), Qt::LeftButton);
        EXPECT_TRUE(fs::exists(root_ / "elsewhere" / "ProgLog.txt"));
        EXPECT_EQ(fs::exists(root_ / "logs" / "ProgLog.txt"), exporting);
        EXPECT_EQ(LogFolder, (root_ / (exporting ? "logs" : "elsewhere")).string());
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].style, 64) << shown_[0].text;
        fs::remove(root_ / "elsewhere" / "ProgLog.txt");
        LogFolder = (root_ / "logs").string();
    }
}

TEST_F(LogsFrameTest, NewFolderIsMadeInsideTheChosenFolderAndEnteredOrReported)
{
    std::ofstream(root_ / "logs" / "taken") << "a file";
    frame_.Open(LogsFrame::Mode::Export);
    frame_.txtNewFolder()->setText("taken"); // cannot be made: reported, the name kept
    frame_.cmdNewFolder_Click();
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].style, 16);
    EXPECT_EQ(frame_.txtNewFolder()->text(), "taken");
    EXPECT_EQ(frame_.Dir1Path(), Path("logs"));

    frame_.txtNewFolder()->clear();
    frame_.txtNewFolder()->setFocus();
    QTest::keyClicks(frame_.txtNewFolder(), "Site:7/B");
    EXPECT_EQ(frame_.txtNewFolder()->text(), "Site7B"); // refused as typed
    QTest::mouseClick(frame_.cmdNewFolder(), Qt::LeftButton);
    EXPECT_TRUE(fs::is_directory(root_ / "logs" / "Site7B"));
    EXPECT_EQ(frame_.Dir1Path(), Path("logs/Site7B"));
    EXPECT_TRUE(frame_.txtNewFolder()->text().isEmpty());
}

TEST_F(LogsFrameTest, AnUnreadableDriveGoesBackToTheRoot)
{
    frame_.Open(LogsFrame::Mode::Export);
    frame_.Drive1()->addItem(Path("no-such-volume"));
    frame_.Drive1()->setCurrentIndex(frame_.Drive1()->count() - 1);
    EXPECT_EQ(frame_.Drive1()->currentIndex(), 0);
    EXPECT_EQ(frame_.Dir1Path(), "/");
}

TEST_F(LogsFrameTest, EachModeHasItsCaptionsAndCancelChangesNothing)
{
    frame_.Open(LogsFrame::Mode::Set);
    EXPECT_EQ(frame_.title(), "Set Comms Logs Folder");
    EXPECT_EQ(frame_.cmdSelect()->text(), "Select");
    frame_.Open(LogsFrame::Mode::Export);
    EXPECT_EQ(frame_.cmdSelect()->text(), "Export");

    WriteLog("ProgLog.txt", "log");
    frame_.SetDir1Path(Path("elsewhere"));
    frame_.cmdCancel_Click();
    EXPECT_EQ(LogFolder, (root_ / "logs").string());
    EXPECT_FALSE(fs::exists(root_ / "elsewhere" / "ProgLog.txt"));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LogsFrameTest, AFolderNameSettingsCannotStoreIsRefusedAndReported)
{
    fs::create_directories(root_ / "\xCE\xA9-logs");
    WriteLog("ProgLog.txt", "log");
    frame_.Open(LogsFrame::Mode::Set);
    frame_.SetDir1Path(Path("\xCE\xA9-logs"));
    frame_.cmdSelect_Click();
    EXPECT_EQ(LogFolder, (root_ / "logs").string());
    EXPECT_TRUE(fs::exists(root_ / "logs" / "ProgLog.txt"));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_NE(shown_[0].text.find("cannot store"), std::string::npos);

    frame_.txtNewFolder()->insert(QString::fromUtf8("\xCE\xA9"));
    EXPECT_TRUE(frame_.txtNewFolder()->text().isEmpty());
}

TEST_F(LogsFrameTest, SelectingTheLogFolderAgainWithNoLogInItIsReportedAsDone)
{
    frame_.Open(LogsFrame::Mode::Set);
    QTest::mouseClick(frame_.cmdSelect(), Qt::LeftButton);
    EXPECT_EQ(LogFolder, (root_ / "logs").string());
    EXPECT_TRUE(frame_.isHidden());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, "New folder for log files set\r\nFiles moved to new folder OK");
    EXPECT_EQ(shown_[0].style, 64);
}
