#include "ViewWindows.h"
#include "platform/FileDialogs.h"
#include "support/ScreenShots.h"
#include "views/frmGrid.h"

#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace {

class GridWindow : public ViewWindowTest
{
protected:
    void SetUp() override
    {
        ViewWindowTest::SetUp();
        LoadSite("hub-site.qvs");
        grid = frmGrid::Load();
        grid->show();
    }
    void TearDown() override
    {
        platform::SetFileDialogAnswerer({});
        ViewWindowTest::TearDown();
    }
    QString Cell(int row, int column) const
    {
        return grid->NodeGrid->model()->index(row, column).data().toString();
    }
    void ClickCell(int row, int column)
    {
        const QRect cell = grid->NodeGrid->visualRect(grid->NodeGrid->model()->index(row, column));
        QTest::mouseClick(grid->NodeGrid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // The saved file without its first line, which holds the time of the save.
    static QByteArray SavedBody(const QString& path, QByteArray* titleLine)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const qsizetype end = bytes.indexOf("\r\n");
        *titleLine = bytes.left(end);
        return bytes.mid(end);
    }
    QString SaveAs(const QString& path)
    {
        platform::SetFileDialogAnswerer([path](const platform::FileDialogRequest& request) {
            EXPECT_EQ(request.title, "Save A Grid View");
            return std::optional<QString>(path);
        });
        QTest::mouseClick(grid->cmdSave, Qt::LeftButton);
        return path;
    }

    frmGrid* grid = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_F(GridWindow, MarkerClicksShowAndHideTheDevicesOfOneRcc)
{
    EXPECT_EQ(grid->windowTitle(), "Configuration Grid");
    // On its default rectangle it opens as drawn, not grown by its limits.
    EXPECT_EQ(grid->size(), QSize(GridWindowWidth, GridWindowHeight) / 15);
    EXPECT_EQ(grid->NodeGrid->model()->rowCount(), 3);
    ClickCell(2, 0);
    EXPECT_EQ(grid->NodeGrid->model()->rowCount(), 6);
    EXPECT_EQ(Cell(2, 0), "-");
    EXPECT_EQ(grid->NodeGrid->currentIndex().column(), 1);
    SaveShot(grid->grab().toImage(), "config-grid");
    ClickCell(2, 0);
    EXPECT_EQ(grid->NodeGrid->model()->rowCount(), 3);
    EXPECT_EQ(Cell(2, 0), "+");
}

TEST_F(GridWindow, SavesTheGridAsItStandsInEitherFormOrSaysWhyNot)
{
    const QByteArray golden[] = {"grid-collapsed.csv", "grid-expanded.txt"};
    QByteArray title;
    EXPECT_EQ(SavedBody(SaveAs(dir.filePath("grid.csv")), &title),
              SavedBody(QString(QVS_TEST_DATA) + "/" + golden[0], &title));
    EXPECT_TRUE(title.startsWith("Grid View for ,Plant Caf\xE9 \x80, Taken on ,")) << title.toStdString();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text, "File Saved Successfully");

    QTest::mouseClick(grid->cmdExpand, Qt::LeftButton);
    EXPECT_EQ(grid->cmdExpand->text(), "Collapse All");
    ClickCell(0, 6);
    QTest::keyClick(grid->NodeGrid, Qt::Key_Backspace);
    QTest::keyClick(grid->NodeGrid, Qt::Key_Backspace);
    QTest::keyClicks(grid->NodeGrid, "X 9!{");
    EXPECT_EQ(Cell(0, 6), "Main hX 9");
    EXPECT_EQ(SavedBody(SaveAs(dir.filePath("grid.txt")), &title),
              SavedBody(QString(QVS_TEST_DATA) + "/" + golden[1], &title));

    QTest::mouseClick(grid->cmdExpand, Qt::LeftButton);
    EXPECT_EQ(grid->cmdExpand->text(), "Expand All");
    EXPECT_EQ(Cell(0, 6), "Main hub");
    EXPECT_EQ(grid->NodeGrid->model()->rowCount(), 3);

    // A file that cannot be written is reported; a cancelled dialog says nothing.
    SaveAs(dir.filePath("no/such/folder/grid.csv"));
    const std::size_t shown = messages.size();
    EXPECT_EQ(messages.back().Style, 16);
    EXPECT_NE(messages.back().Text.find("Unable to Save"), std::string::npos);
    platform::SetFileDialogAnswerer([](const platform::FileDialogRequest&) { return std::nullopt; });
    QTest::mouseClick(grid->cmdSave, Qt::LeftButton);
    EXPECT_EQ(messages.size(), shown);
}
