#include "app/frmErrorCheck.h"
#include "frmMainFixture.h"
#include "platform/FileDialogs.h"
#include "platform/WindowPlacement.h"
#include "support/TempFolder.h"
#include "views/FrmStats.h"
#include "views/frmGrid.h"
#include "views/frmHistory.h"
#include "views/frmTreeView.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>

namespace {

QString CopySite(const QTemporaryDir& dir, const QString& data, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::copy(QString(QVS_TEST_DATA) + "/" + data, path);
    return path;
}

} // namespace

TEST_F(MainWindowTest, LoadSetsTheMarksFromTheOptions)
{
    FilePaths = true;
    CheckOnOpen = true;
    DropOnParent = false;
    Locked = true;
    NodeQuickInfoMode = 2;
    Toolbar = false;
    Load();
    for (const char* item : {"FilePaths", "CheckFileOpen", "LockObjects", "Ident_Quick"})
        EXPECT_TRUE(form->MenuItem(item)->isChecked()) << item;
    for (const char* item : {"AllowDragDropParent", "NoQuick"})
        EXPECT_FALSE(form->MenuItem(item)->isChecked()) << item;
    EXPECT_TRUE(form->ToolButton("IdentQI")->isChecked());
    EXPECT_FALSE(form->ToolBar1()->isVisible());
    EXPECT_EQ(form->LockPicture(), "LOCKED");
}

TEST_F(MainWindowTest, LoadBindsEveryNodeToItsControls)
{
    Load();
    for (int i = 0; i < model::kNodeCount; ++i)
        EXPECT_EQ(model::Nodes[i].View(), &form->NodeControls(i)) << i;
}

TEST_F(MainWindowTest, AWindowBeyondTheRightOrBottomEdgeComesBackInside)
{
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    MainWindowWidth = 6000;
    MainWindowHeight = 6000;
    MainWindowLeft = desk.width() * 15 - 5000;
    MainWindowTop = -600;
    Load();
    EXPECT_EQ(form->frameGeometry().left() * 15, desk.width() * 15 - 6000 - 300);
    EXPECT_EQ(form->frameGeometry().top(), QGuiApplication::primaryScreen()->availableGeometry().top())
        << "a title bar above the screen comes onto it";
    form.reset();
    // Stored below the bottom of a larger screen.
    MainWindowLeft = 0;
    MainWindowTop = desk.height() * 15 + 3000;
    Load();
    EXPECT_EQ(form->frameGeometry().top() * 15, desk.height() * 15 - form->HeightTwips() - 300);
}

TEST_F(MainWindowTest, AStoredSizeLargerThanTheScreenOpensWithinItAndIsStoredAsShown)
{
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    MainWindowTop = -135345; // its title bar far above the screen
    MainWindowWidth = MainWindowHeight = 99999999;
    Load();
    const QRect frame = form->frameGeometry();
    EXPECT_TRUE(avail.contains(frame));
    EXPECT_EQ(frame.top(), avail.top());
    // What settings.ini receives is the window as it is shown.
    const QRect stored(MainWindowLeft, MainWindowTop, MainWindowWidth, MainWindowHeight);
    EXPECT_EQ(stored, QRect(frame.topLeft() * 15, frame.size() * 15));
}

TEST_F(MainWindowTest, EveryOtherWindowOpensOnItsStoredRectangleWithinTheScreenAndStoresWhatItShowed)
{
    // What each window keeps, and its command on RCC 1.
    const std::tuple<platform::StoredRectangle, void (frmMain::*)(), std::function<QWidget*()>> rows[] = {
        {{&ErrorCheckWindowTop, &ErrorCheckWindowLeft, &ErrorCheckWindowWidth, &ErrorCheckWindowHeight},
         &frmMain::ErrorCheck_Click,
         frmErrorCheck::Loaded},
        {{&TreeViewWindowTop, &TreeViewWindowLeft, &TreeViewWindowWidth, &TreeViewWindowHeight},
         &frmMain::TreeView_Click,
         frmTreeView::Loaded},
        {{&StatsWindowTop, &StatsWindowLeft, &StatsWindowWidth, &StatsWindowHeight},
         &frmMain::ConfigStats_Click,
         FrmStats::Loaded},
        {{&GridWindowTop, &GridWindowLeft, &GridWindowWidth, &GridWindowHeight},
         &frmMain::ViewGrid_Click,
         frmGrid::Loaded},
        {{&HistoryWindowTop, &HistoryWindowLeft, &HistoryWindowWidth, &HistoryWindowHeight},
         &frmMain::HelpHistory_Click,
         frmHistory::Loaded},
        {{&NodeWindowTop, &NodeWindowLeft}, &frmMain::PopupNodeEdit_Click, frmNodeSettings::Loaded},
        {{&DeviceWindowTop, &DeviceWindowLeft}, &frmMain::PopupNodeDevices_Click, frmDevices::Loaded},
    };
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    LoadSite();
    form->ActivateNode(1);
    for (const auto& [stored, command, loaded] : rows) {
        // Kept on a larger screen; dragged partly off the top left.
        for (const QRect& place : {QRect(36000, 27000, 30000, 18000), QRect(-3000, -1500, 9000, 7500)}) {
            for (const auto& [value, twips] :
                 {std::pair(stored.left, place.x()), std::pair(stored.top, place.y()),
                  std::pair(stored.width, place.width()), std::pair(stored.height, place.height())})
                if (value != nullptr)
                    *value = twips;
            ((*form).*command)();
            QWidget* window = loaded();
            ASSERT_NE(window, nullptr);
            SCOPED_TRACE(window->objectName().toStdString());
            const QRect frame = platform::FrameRect(*window);
            EXPECT_TRUE(avail.contains(frame));
            EXPECT_TRUE(place.x() > 0 || frame.topLeft() == avail.topLeft());
            // One that keeps its size shows the kept rectangle fitted to the
            // screen, not a place and size of its own.
            if (stored.width != nullptr) {
                const QSize margins = frame.size() - window->size();
                long left = place.x(), top = place.y(), width = place.width(), height = place.height();
                platform::FitToScreen(left, top, width, height, (window->minimumWidth() + margins.width()) * 15,
                                      (window->minimumHeight() + margins.height()) * 15);
                EXPECT_EQ(QRect(frame.topLeft() * 15, frame.size() * 15), QRect(left, top, width, height));
            }
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // opened anew next time
            // What settings.ini receives is the window as it was shown.
            const auto kept = [](const int32_t* value, int pixels) { return value ? *value : pixels * 15; };
            EXPECT_EQ(QRect(kept(stored.left, frame.x()), kept(stored.top, frame.y()),
                            kept(stored.width, frame.width()), kept(stored.height, frame.height())),
                      QRect(frame.topLeft() * 15, frame.size() * 15));
        }
    }
}

TEST_F(MainWindowTest, TheStartFileIsOpenedOrReportedAndNotRemembered)
{
    QTemporaryDir dir;
    const QString good = CopySite(dir, "hub-site.qvs", "North Wing A.qvs");
    QFile notes(dir.filePath("notes.qvs"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("[Other]\r\nKey=1\r\n") > 0);
    notes.close();
    // The command line's parts are joined again; a relative name is read
    // against the folder the program starts in and kept absolute; a missing
    // file and one without the site's header are reported, each with its own
    // reason.
    const testsupport::WorkingIn working(dir.path().toStdString());
    const std::tuple<QString, QString, QString> cases[] = {
        {"\"" + good + "\"", good, ""},
        {"\"North Wing A.qvs\"", QFileInfo(good).canonicalFilePath(), ""},
        {"/nowhere/gone.qvs", "",
         "Open Configuration File: ERROR : Unable to Open /nowhere/gone.qvs\nFile Not Found"},
        {notes.fileName(), "", "As it is not a valid Quorvel Configuration File"}};
    for (const auto& [commandLine, opened, message] : cases) {
        SCOPED_TRACE(commandLine.toStdString());
        MruFiles[1] = "/earlier/site.qvs";
        FileLoaded = false; // as Main leaves it
        SetCommandLine(commandLine.toStdString());
        messages.clear();
        AnswerMessages();
        Load();
        const bool loaded = !opened.isEmpty();
        ASSERT_EQ(messages.size(), loaded ? 0 : 1);
        if (!loaded) {
            EXPECT_TRUE(messages[0].endsWith(message)) << messages[0].toStdString();
        }
        EXPECT_EQ(FileLoaded, loaded);
        EXPECT_EQ(MruFiles[1], loaded ? opened.toStdString() : "/earlier/site.qvs");
        EXPECT_EQ(SiteFileName, loaded ? opened.toStdString() : "No File Loaded");
        EXPECT_TRUE(form->windowTitle().endsWith(loaded ? "[North Wing A.qvs]" : "[No File Loaded]"));
        EXPECT_EQ(model::Nodes[0].InUse(), loaded);
        answerer.stop();
        form.reset();
    }
}

TEST_F(MainWindowTest, ASiteWhoseNameIsNotUtf8OpensByItsBytesAndADialogsTextOfItIsReportedAsUnreadable)
{
    const testsupport::TempFolder dir("notutf8"); // removes what a QString cannot name
    const std::string folder = dir.String();
    const std::string name = folder + "/caf\xE9 site.qvs"; // Latin-1, with a blank
    const std::string other = folder + "/other.qvs";
    std::filesystem::copy_file(QVS_TEST_DATA "/hub-site.qvs", name);
    std::filesystem::copy_file(QVS_TEST_DATA "/loop-interface.qvs", other);
    // The dialog hands back its answer, else the name it was given.
    QString dialogAnswer, started;
    platform::SetFileDialogAnswerer([&](const platform::FileDialogRequest& request) {
        started = request.fileName;
        const QString answer = std::exchange(dialogAnswer, QString());
        return std::optional<QString>(answer.isEmpty() ? request.fileName : answer);
    });
    AnswerMessages();

    SetCommandLine(CommandLineFromArguments({name}));
    Load();
    EXPECT_TRUE(FileLoaded);
    EXPECT_EQ(SiteFileName, name);
    const QString shown = "caf" + QString(QChar(0xFFFD)) + " site.qvs";
    EXPECT_TRUE(form->windowTitle().endsWith("[" + shown + "]")) << form->windowTitle().toStdString();

    // Another site, then the recent entry; a Save As kept on the name the
    // dialog was given writes that file, not one named after its text.
    form->OpenFileFromMessage(other);
    ASSERT_EQ(MruFiles[2], name);
    form->MenuItem("FileMRU_2")->trigger();
    EXPECT_EQ(SiteFileName, name);
    EXPECT_FALSE(IsLoopInterface);
    form->MenuItem("FileSaveAs")->trigger();
    EXPECT_EQ(SiteFileName, name);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();

    // A name the dialog chose as text names no file: the name cannot be read.
    form->OpenFileFromMessage(other);
    dialogAnswer = QFile::decodeName(QByteArray::fromStdString(name));
    form->MenuItem("FileLoad")->trigger();
    EXPECT_EQ(SiteFileName, other);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith(shown + "\nThe File's Name Cannot Be Read"))
        << messages[0].toStdString();

    // A site in a folder the dialog cannot show: the user is told, the dialog
    // starts with no file named on the folder above, a name it lost is
    // refused, and the site is written only where the dialog's answer names.
    const std::string inner = folder + "/Bj\xF6rk";
    std::filesystem::create_directory(inner);
    std::filesystem::copy_file(other, inner + "/site.qvs");
    form->OpenFileFromMessage(inner + "/site.qvs");
    const auto written = std::filesystem::last_write_time(inner + "/site.qvs");
    messages.clear();
    for (const QString& picked : {"/caf" + QString(QChar(0xFFFD)) + ".qvs", QString("/copy.qvs")}) {
        dialogAnswer = QString::fromStdString(folder) + picked;
        form->MenuItem("FileSaveAs")->trigger();
    }
    EXPECT_EQ(started.toStdString(), folder + "/");
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].startsWith("Save Configuration File: Unable to Show the Folder of "));
    EXPECT_TRUE(messages[1].endsWith(".qvs\nThe File's Name Cannot Be Read")) << messages[1].toStdString();
    EXPECT_EQ(SiteFileName, folder + "/copy.qvs");
    EXPECT_EQ(std::filesystem::last_write_time(inner + "/site.qvs"), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 4);
    // Open from there starts on the folder above as well, once told.
    form->OpenFileFromMessage(inner + "/site.qvs");
    messages.clear();
    dialogAnswer = QString::fromStdString(other);
    form->MenuItem("FileLoad")->trigger();
    EXPECT_EQ(started.toStdString(), folder + "/");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Open Configuration File: Unable to Show the Folder of "));
    EXPECT_EQ(SiteFileName, other);
    platform::SetFileDialogAnswerer({});
}

TEST_F(MainWindowTest, TheLastFileIsReopenedOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = CopySite(dir, "hub-site.qvs", "last.qvs");
    // Not asked; asked; asked with an empty list, which opens and asks
    // nothing; asked with the name an earlier version kept as typed, read
    // against the working folder and kept absolute.
    const testsupport::WorkingIn working(dir.path().toStdString());
    const std::string absolute = QFileInfo(path).canonicalFilePath().toStdString();
    const std::string entries[] = {path.toStdString(), path.toStdString(), "", "last.qvs"};
    for (int step = 0; step < 4; ++step) {
        ReOpenLastUsed = step > 0;
        MruFiles = {};
        MruFiles[1] = entries[step];
        FileLoaded = false;
        Load();
        EXPECT_EQ(FileLoaded, step % 2 == 1) << step;
        EXPECT_EQ(SiteFileName, step == 1   ? path.toStdString()
                                : step == 3 ? absolute
                                            : "untitled.qvs")
            << step;
        EXPECT_EQ(MruFiles[1], step == 3 ? absolute : entries[step]) << step;
        form.reset();
    }
}

TEST_F(MainWindowTest, AStartFileLeavesTheStatusBarOnTheActiveNodeNotOnLoading)
{
    QTemporaryDir dir;
    const QString path = CopySite(dir, "hub-site.qvs", "North Wing A.qvs");
    // Given on the command line, and reopened as the last file used.
    for (const bool commandLine : {true, false}) {
        SCOPED_TRACE(commandLine ? "command line" : "last file");
        SetCommandLine(commandLine ? path.toStdString() : "");
        ReOpenLastUsed = !commandLine;
        MruFiles[1] = path.toStdString();
        Load();
        ASSERT_TRUE(model::Nodes[0].InUse());
        ASSERT_EQ(ActiveNode, -1);
        EXPECT_EQ(form->PanelText(3), "");
        form.reset();
    }
}

TEST_F(MainWindowTest, ASecondCopysFileIsOpenedAfterTheSaveQuestion)
{
    QTemporaryDir dir;
    const QString first = CopySite(dir, "hub-site.qvs", "first.qvs");
    const QString second = CopySite(dir, "loop-interface.qvs", "second site.qvs");
    SetCommandLine(first.toStdString());
    Load();
    form->OpenFileFromMessage("\"" + second.toStdString() + "\"");
    EXPECT_TRUE(IsLoopInterface);
    EXPECT_EQ(MruFiles[2], first.toStdString());

    // A missing file is reported, before any save question; the site on
    // screen stays. An empty hand-over changes nothing and asks nothing.
    // A name holding a NUL names no file, not the one before the NUL.
    FileChanged = true;
    AnswerMessages();
    form->OpenFileFromMessage("/nowhere/gone.qvs");
    form->OpenFileFromMessage(std::string(1, '\0'));
    form->OpenFileFromMessage(first.toStdString() + std::string("\0.evil", 6));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].endsWith("File Not Found"));
    EXPECT_TRUE(messages[1].endsWith(first + QChar(0xFFFD) + ".evil\nThe File's Name Cannot Be Read"))
        << messages[1].toStdString();
    EXPECT_EQ(SiteFileName, second.toStdString());

    // The selection follows the new site: an RCC that is not in it is
    // neither named nor offered to Delete.
    FileChanged = false;
    form->OpenFileFromMessage(CopySite(dir, "full-site.qvs", "full.qvs").toStdString());
    ClickCaption(5, Qt::LeftButton);
    form->OpenFileFromMessage(first.toStdString());
    EXPECT_EQ(form->PanelText(2), "");
    QTest::keyClick(form.get(), Qt::Key_Delete);
    EXPECT_EQ(messages.size(), 2);

    // Unsaved changes: Cancel keeps them, No drops them for the new file.
    FileChanged = true;
    answer = "&Cancel";
    form->OpenFileFromMessage(second.toStdString());
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[2].startsWith("Save Changes ?: "));
    EXPECT_EQ(SiteFileName, first.toStdString());
    answer = "&No";
    form->OpenFileFromMessage(second.toStdString());
    EXPECT_EQ(SiteFileName, second.toStdString());
}

TEST_F(MainWindowTest, ScrollBarsFollowTheDrawingAndStayInRange)
{
    LoadSite();
    EXPECT_FALSE(form->cmdFull()->isVisible()); // the drawing fits

    // A node far right and low: both bars, ranges from the drawing's extent.
    model::Nodes[2].SetLeft(30000);
    model::Nodes[2].SetTop(20000);
    DisplayInWindow(9000, 7000);
    ASSERT_TRUE(form->HScroll1()->isVisible());
    EXPECT_EQ(form->HScroll1()->maximum(), DrawingWidth - form->WidthTwips());
    EXPECT_EQ(form->VScroll1()->maximum(), DrawingHeight - form->HeightTwips() + 1600);

    form->HScroll1()->setValue(600);
    EXPECT_EQ(form->Canvas()->LeftTwips(), -600);
    form->VScroll1()->setValue(900);
    EXPECT_EQ(form->Canvas()->TopTwips(), Toolbar ? 450 - 900 : -900);
}

TEST_F(MainWindowTest, ANodeAtTheEndOfTheLongRangeIsShownWithinBounds)
{
    LoadSite();
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    model::Nodes[2].SetLeft(kMost - 10);
    model::Nodes[2].SetTop(kMost - 10);
    model::Nodes[4].SetTop(std::numeric_limits<int32_t>::min());
    NodeQuickInfoMode = 1;
    DisplayInWindow(9000, 7000);
    // A click on the far node selects it; one on empty canvas clears it.
    form->Canvas_MouseDown(1, 0, kMost - 5.0, kMost - 5.0);
    EXPECT_EQ(ActiveNode, 2);
    form->Canvas_MouseDown(1, 0, 50, 50);
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(form->VScroll1()->maximum(), 32767);
    // The link layer stops growing long before the drawing's end.
    EXPECT_LE(form->Canvas()->Picture().width(), 8192);
    EXPECT_LE(form->Canvas()->Picture().height(), 8192);
    form->cmdFull_Click();
    QApplication::processEvents();
    EXPECT_EQ(form->Canvas()->LeftTwips(), 0);
}

TEST_F(MainWindowTest, FullViewSizesTheWindowToTheDrawing)
{
    LoadSite();
    model::Nodes[2].SetLeft(8000);
    DisplayInWindow(7000, 7000);
    ASSERT_TRUE(form->cmdFull()->isVisible());
    QTest::mouseClick(form->cmdFull(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_NEAR(form->WidthTwips(), DrawingWidth + 500, 15);
    EXPECT_NEAR(form->HeightTwips(), DrawingHeight + 2000, 15);
    EXPECT_FALSE(form->cmdFull()->isVisible());
}

TEST_F(MainWindowTest, FullViewOfADrawingLargerThanTheScreenBringsTheScrollBarsBack)
{
    // The window already fills the screen's free area: full view cannot
    // make it any larger, so no resize follows.
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    MainWindowLeft = avail.left() * 15;
    MainWindowTop = avail.top() * 15;
    MainWindowWidth = avail.width() * 15;
    MainWindowHeight = avail.height() * 15;
    LoadSite();
    model::Nodes[2].SetLeft(avail.width() * 15 + 6000);
    model::Nodes[4].SetTop(avail.height() * 15 + 6000);
    form->DisplayNodes();
    QApplication::processEvents();
    form->HScroll1()->setValue(600);
    const QSize size = form->frameGeometry().size();

    QTest::mouseClick(form->cmdFull(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(form->frameGeometry().size(), size);
    EXPECT_TRUE(form->HScroll1()->isVisible());
    EXPECT_TRUE(form->VScroll1()->isVisible());
    EXPECT_TRUE(form->cmdFull()->isVisible());
    EXPECT_EQ(form->HScroll1()->maximum(), DrawingWidth - form->WidthTwips());
    EXPECT_EQ(form->Canvas()->LeftTwips(), 0);
}

TEST_F(MainWindowTest, AFullSiteKeepsTheWholeWindowOnTheScreenAndScrolls)
{
    QTemporaryDir dir;
    const QString full = CopySite(dir, "full-site.qvs", "full.qvs");
    const QString small = CopySite(dir, "hub-site.qvs", "small.qvs");
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    // A small window near the right edge, then one that fills the screen's
    // free area and cannot grow: the site is handed over to each.
    const QRect places[] = {QRect(avail.right() - 420, avail.top() + 10, 400, 400), avail};
    for (const QRect& place : places) {
        SCOPED_TRACE(place.width());
        MainWindowLeft = place.left() * 15;
        MainWindowTop = place.top() * 15;
        MainWindowWidth = place.width() * 15;
        MainWindowHeight = place.height() * 15;
        Load();
        form->OpenFileFromMessage(full.toStdString());
        ASSERT_EQ(SiteFileName, full.toStdString());
        EXPECT_TRUE(avail.contains(form->frameGeometry()));
        // The site is wider than the screen.
        ASSERT_TRUE(form->HScroll1()->isVisible());
        EXPECT_EQ(form->HScroll1()->maximum(), DrawingWidth - form->WidthTwips());
        // Full view of a drawing larger than the screen keeps the bars.
        form->cmdFull_Click();
        EXPECT_TRUE(avail.contains(form->frameGeometry()));
        EXPECT_TRUE(form->HScroll1()->isVisible());
        // A small site handed over next needs no bars, though the window keeps its size.
        form->OpenFileFromMessage(small.toStdString());
        EXPECT_FALSE(form->HScroll1()->isVisible());
        form.reset();
    }
}

TEST_F(MainWindowTest, DisplayNodesNeverShrinksTheWindow)
{
    LoadSite();
    form->SetSizeTwips(15000, 10995);
    QApplication::processEvents();
    form->DisplayNodes();
    EXPECT_EQ(form->WidthTwips(), 15000);
    EXPECT_EQ(form->HeightTwips(), 10995);
    EXPECT_EQ(MainWindowWidth, 15000); // remembered for the settings
}
