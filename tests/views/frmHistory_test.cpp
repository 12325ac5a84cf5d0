#include "ViewWindows.h"
#include "app/AppVersion.h"
#include "platform/base/ProgramFolder.h"
#include "support/ScreenShots.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>

namespace {

class HistoryWindow : public ViewWindowTest
{
protected:
    void SetUp() override
    {
        ViewWindowTest::SetUp();
        platform::SetProgramFolder(dir.path().toStdString());
    }
    void TearDown() override
    {
        ViewWindowTest::TearDown();
        platform::SetProgramFolder("");
    }
    void WriteHistory(const QByteArray& bytes)
    {
        QFile file(dir.filePath("History.qvh"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // A click on the window's own surface, below the text box.
    static void ClickSurface(frmHistory* window, Qt::KeyboardModifiers modifiers)
    {
        QTest::mouseClick(window, Qt::LeftButton, modifiers, QPoint(5, window->height() - 5));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(HistoryWindow, CtrlClickRevealsTheNotesOfAFileThatMayTurnUpLate)
{
    frmHistory* window = frmHistory::Load();
    window->show();
    EXPECT_EQ(window->HistoryText->toPlainText(), "Unable to find file " + dir.filePath("History.qvh"));
    SaveShot(window->grab().toImage(), "history-missing");

    WriteHistory("Version 1.00\r\n/build notes\r\n - first release\r\n/\r\n");
    ClickSurface(window, Qt::ControlModifier);
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n build notes\n - first release\n \n");
    frmHistory::Unload();
    window = frmHistory::Load();
    window->show();
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n - first release\n");
    ClickSurface(window, Qt::NoModifier);
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n - first release\n");
    SaveShot(window->grab().toImage(), "history");
}

TEST_F(HistoryWindow, AMissingFileIsSaidInRedAndItsPathInBlue)
{
    frmHistory* window = frmHistory::Load();
    window->show();
    const QTextBlock block = window->HistoryText->document()->firstBlock();
    QTextBlock::iterator part = block.begin();
    EXPECT_EQ(part.fragment().text(), "Unable to find file");
    EXPECT_EQ(part.fragment().charFormat().foreground().color(), QColor(Qt::red));
    ++part;
    ASSERT_FALSE(part.atEnd());
    EXPECT_EQ(part.fragment().text(), " " + dir.filePath("History.qvh"));
    EXPECT_EQ(part.fragment().charFormat().foreground().color(), QColor(Qt::blue));
}

TEST_F(HistoryWindow, TheHistoryBesideTheProgramIsShownWithItsNotesHidden)
{
    const QString shipped = QString(QVS_PROGRAM_DIR) + "/History.qvh";
    QFile file(shipped);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << shipped.toStdString();
    const QByteArray bytes = file.readAll();
    // Plain text: every byte a printable one or a CR LF line end.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool lineEnd = (c == '\r' && bytes.mid(i, 2) == "\r\n") || (c == '\n' && i > 0 && bytes[i - 1] == '\r');
        ASSERT_TRUE(lineEnd || (c >= ' ' && c <= '~')) << "byte " << i;
    }

    platform::SetProgramFolder(QVS_PROGRAM_DIR);
    frmHistory* window = frmHistory::Load();
    window->show();
    const QString normal = window->HistoryText->toPlainText();
    EXPECT_TRUE(normal.startsWith("Quorvel Configuration Utility - Version History\n")) << normal.left(80).toStdString();
    EXPECT_TRUE(normal.contains(VersionText(ProgramVersion(), 1))) << "no entry for this version";
    ClickSurface(window, Qt::ControlModifier);
    const QString full = window->HistoryText->toPlainText();
    EXPECT_EQ(full.count('\n') - normal.count('\n'), bytes.count("\n/"));
    EXPECT_GT(bytes.count("\n/"), 0);
}

TEST_F(HistoryWindow, WindowsStoredFarOffComeBackOnScreenWithTheirCloseButtons)
{
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    auto onScreen = [&](const QWidget* button) {
        return screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()));
    };
    HistoryWindowLeft = GridWindowLeft = 30000;
    HistoryWindowTop = GridWindowTop = 20000;
    HistoryWindowHeight = 3000; // below the window's minimum height
    frmHistory* history = frmHistory::Load();
    history->show();
    EXPECT_TRUE(onScreen(history->EndHistory));
    frmGrid* grid = frmGrid::Load();
    grid->show();
    EXPECT_TRUE(onScreen(grid->cmdClose));
}
