#include "ViewWindows.h"
#include "platform/base/ProgramFolder.h"
#include "support/ScreenShots.h"
#include "views/frmHistory.h"

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

TEST_F(HistoryWindow, CtrlClickRevealsTheNotes)
{
    WriteHistory("Version 1.00\r\n/build notes\r\n - first release\r\n/\r\n");
    frmHistory* window = frmHistory::Load();
    window->show();
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n - first release\n");
    ClickSurface(window, Qt::NoModifier);
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n - first release\n");
    ClickSurface(window, Qt::ControlModifier);
    EXPECT_EQ(window->HistoryText->toPlainText(), "Version 1.00\n build notes\n - first release\n \n");
    SaveShot(window->grab().toImage(), "history");
}

TEST_F(HistoryWindow, AMissingFileIsSaidInRedAndBlue)
{
    frmHistory* window = frmHistory::Load();
    window->show();
    const QString path = dir.filePath("History.qvh");
    EXPECT_EQ(window->HistoryText->toPlainText(), "Unable to find file " + path);
    const QTextBlock block = window->HistoryText->document()->firstBlock();
    EXPECT_EQ(block.begin().fragment().text(), "Unable to find file");
    EXPECT_EQ(block.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    EXPECT_EQ((++block.begin()).fragment().charFormat().foreground().color(), QColor(Qt::blue));
    SaveShot(window->grab().toImage(), "history-missing");

    // A file that turns up later is shown in full on Ctrl+click.
    WriteHistory("/a\r\n");
    ClickSurface(window, Qt::ControlModifier);
    EXPECT_EQ(window->HistoryText->toPlainText(), " a\n");
}
