#include "app/PainterPrintSurface.h"
#include "frmMainFixture.h"
#include "model/NodeDrawing.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

// A copy of a site file from the test data under a name of our choosing.
QString CopySite(const QTemporaryDir& dir, const QString& data, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::copy(QString(QVS_TEST_DATA) + "/" + data, path);
    return path;
}

} // namespace

TEST_F(MainWindowTest, LoadSetsTheMarksFromTheOptionsAndHidesPrinting)
{
    FilePaths = true;
    CheckOnOpen = true;
    DropOnParent = false;
    Locked = true;
    NodeQuickInfoMode = 2;
    Toolbar = false;
    Load();
    EXPECT_TRUE(form->MenuItem("FilePaths")->isChecked());
    EXPECT_TRUE(form->MenuItem("CheckFileOpen")->isChecked());
    EXPECT_FALSE(form->MenuItem("AllowDragDropParent")->isChecked());
    EXPECT_TRUE(form->MenuItem("LockObjects")->isChecked());
    EXPECT_EQ(form->LockPicture(), "LOCKED");
    EXPECT_TRUE(form->MenuItem("Ident_Quick")->isChecked());
    EXPECT_TRUE(form->ToolButton("IdentQI")->isChecked());
    EXPECT_FALSE(form->MenuItem("NoQuick")->isChecked());
    EXPECT_FALSE(form->MenuItem("PrintConfig")->isVisible());
    EXPECT_FALSE(form->MenuItem("FileSep1")->isVisible());
    EXPECT_FALSE(form->ToolButton("Print")->isVisible());
    EXPECT_FALSE(form->ToolButton("Delete")->isEnabled());
    EXPECT_FALSE(form->ToolButton("Properties")->isEnabled());
    EXPECT_FALSE(form->ToolBar1()->isVisible());
    EXPECT_FALSE(form->ProgressBar()->isVisible());
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(DisplayMode, 3);
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    // Without the toolbar the canvas starts at the top, 1220 twips shorter.
    EXPECT_EQ(form->Canvas()->TopTwips(), 0);
    EXPECT_NEAR(form->Canvas()->HeightTwips(), form->HeightTwips() - 1220, 15);
    // Every node is numbered, out of use and bound to its controls.
    for (int i = 0; i < model::kNodeCount; ++i) {
        EXPECT_EQ(model::Nodes[i].NodeNumber(), i);
        EXPECT_FALSE(model::Nodes[i].InUse());
        EXPECT_EQ(model::Nodes[i].View(), &form->NodeControls(i));
    }
    EXPECT_EQ(model::Nodes[0].Parent(), 0);
    // The recent list shows one disabled "No Files".
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "No Files");
    EXPECT_FALSE(form->MenuItem("FileMRU_1")->isEnabled());
    EXPECT_FALSE(form->MenuItem("FileMRU_2")->isVisible());
}

TEST_F(MainWindowTest, TheToolbarTakesTheTopOfTheWindow)
{
    Toolbar = true;
    Load();
    EXPECT_TRUE(form->ToolBar1()->isVisible());
    EXPECT_TRUE(form->MenuItem("ViewToolbar")->isChecked());
    EXPECT_EQ(form->Canvas()->TopTwips(), 450);
}

TEST_F(MainWindowTest, AWindowBeyondTheRightEdgeComesBackInside)
{
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    MainWindowWidth = 6000;
    MainWindowHeight = 6000;
    MainWindowLeft = desk.width() * 15 - 5000;
    MainWindowTop = -600;
    Load();
    EXPECT_EQ(form->frameGeometry().left() * 15, desk.width() * 15 - 6000 - 300);
    EXPECT_EQ(form->frameGeometry().top(), -40); // a negative top stays
}

TEST_F(MainWindowTest, TheStartFileIsRebuiltFromItsArgumentsAndOpened)
{
    QTemporaryDir dir;
    const QString path = CopySite(dir, "hub-site.qvs", "North Wing A.qvs");
    SetCommandLine("\"" + path + "\"");
    Load();
    EXPECT_EQ(SiteFileName, path.toStdString());
    EXPECT_TRUE(FileLoaded);
    EXPECT_EQ(MruFiles[1], path.toStdString());
    EXPECT_TRUE(model::Nodes[0].InUse());
    EXPECT_TRUE(form->NodeControls(0).Shape()->isVisible());
    EXPECT_TRUE(form->windowTitle().endsWith("[North Wing A.qvs]")) << form->windowTitle().toStdString();
    EXPECT_EQ(form->MenuItem("FileMRU_1")->text(), "North Wing A.qvs");
    EXPECT_TRUE(form->MenuItem("FileMRU_1")->isEnabled());
    EXPECT_FALSE(FileChanged);
}

TEST_F(MainWindowTest, AMissingStartFileIsReportedAndNotRemembered)
{
    MruFiles[1] = "/earlier/site.qvs";
    SetCommandLine("/nowhere/gone.qvs");
    AnswerMessages();
    Load();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              "Open Configuration File: ERROR : Unable to Open /nowhere/gone.qvs\nFile Not Found");
    EXPECT_EQ(SiteFileName, "No File Loaded");
    EXPECT_FALSE(FileLoaded);
    EXPECT_EQ(MruFiles[1], "/earlier/site.qvs");
    EXPECT_TRUE(form->windowTitle().endsWith("[No File Loaded]"));
}

TEST_F(MainWindowTest, AStartFileThatIsNoSiteFileIsNotRemembered)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("notes.qvs"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Other]\r\nKey=1\r\n");
    file.close();
    const QString folder = dir.filePath("folder.qvs");
    ASSERT_TRUE(QDir().mkpath(folder));
    // A file without the site's header, and a path the reader cannot read.
    for (const QString& path : {file.fileName(), folder}) {
        SetCommandLine(path);
        messages.clear();
        AnswerMessages();
        Load();
        ASSERT_EQ(messages.size(), 1) << path.toStdString();
        EXPECT_TRUE(messages[0].endsWith("As it is not a valid Quorvel Configuration File"));
        EXPECT_EQ(SiteFileName, "No File Loaded");
        EXPECT_FALSE(FileLoaded);
        EXPECT_TRUE(MruFiles[1].empty());
        for (const auto& node : model::Nodes)
            EXPECT_FALSE(node.InUse());
        answerer.stop();
        form.reset();
    }
}

TEST_F(MainWindowTest, TheLastFileIsReopenedOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = CopySite(dir, "hub-site.qvs", "last.qvs");
    MruFiles[1] = path.toStdString();
    Load();
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    EXPECT_FALSE(model::Nodes[0].InUse());
    form.reset();

    ReOpenLastUsed = true;
    Load();
    EXPECT_EQ(SiteFileName, path.toStdString());
    EXPECT_TRUE(model::Nodes[0].InUse());
    EXPECT_TRUE(FileLoaded);
    form.reset();

    // An empty list opens nothing and asks nothing.
    MruFiles = {};
    FileLoaded = false;
    Load();
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    EXPECT_FALSE(FileLoaded);
}

TEST_F(MainWindowTest, ASecondCopysFileIsOpened)
{
    QTemporaryDir dir;
    const QString first = CopySite(dir, "hub-site.qvs", "first.qvs");
    const QString second = CopySite(dir, "loop-interface.qvs", "second site.qvs");
    SetCommandLine(first);
    Load();
    form->OpenFileFromMessage("\"" + second + "\"");
    EXPECT_EQ(SiteFileName, second.toStdString());
    EXPECT_TRUE(IsLoopInterface);
    EXPECT_EQ(MruFiles[1], second.toStdString());
    EXPECT_EQ(MruFiles[2], first.toStdString());

    // A missing file is reported; the site on screen stays.
    AnswerMessages();
    form->OpenFileFromMessage("/nowhere/gone.qvs");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith("File Not Found"));
    EXPECT_EQ(SiteFileName, second.toStdString());
    EXPECT_TRUE(model::Nodes[0].InUse());
    EXPECT_EQ(MruFiles[1], second.toStdString());

    // An empty hand-over changes nothing and asks nothing.
    form->OpenFileFromMessage(QString(QChar(0)));
    EXPECT_EQ(SiteFileName, second.toStdString());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MainWindowTest, ASecondCopysFileAsksBeforeUnsavedChangesAreLost)
{
    QTemporaryDir dir;
    const QString first = CopySite(dir, "hub-site.qvs", "first.qvs");
    const QString second = CopySite(dir, "loop-interface.qvs", "second.qvs");
    SetCommandLine(first);
    Load();
    FileChanged = true;
    answer = "&Cancel";
    AnswerMessages();
    form->OpenFileFromMessage(second);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].startsWith("Save Changes ?: Changes Have Been Made to the Current Configuration"));
    EXPECT_EQ(SiteFileName, first.toStdString());
    EXPECT_TRUE(FileChanged);

    answer = "&No";
    form->OpenFileFromMessage(second);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(SiteFileName, second.toStdString());
    EXPECT_FALSE(FileChanged);
}

TEST_F(MainWindowTest, ScrollBarsFollowTheDrawingAndStayInRange)
{
    LoadSite();
    // The drawing fits: no scroll bars, no full-view button.
    EXPECT_FALSE(form->HScroll1()->isVisible());
    EXPECT_FALSE(form->VScroll1()->isVisible());
    EXPECT_FALSE(form->cmdFull()->isVisible());

    // A node far right and low: both bars, ranges from the drawing's extent.
    model::Nodes[2].SetLeft(30000);
    model::Nodes[2].SetTop(20000);
    form->DisplayNodes();
    form->SetSizeTwips(9000, 7000);
    QApplication::processEvents();
    ASSERT_TRUE(form->HScroll1()->isVisible());
    EXPECT_EQ(DrawingWidth, 30000 + 870 + 600);
    EXPECT_EQ(form->HScroll1()->maximum(), DrawingWidth - form->WidthTwips());
    ASSERT_TRUE(form->VScroll1()->isVisible());
    EXPECT_EQ(form->VScroll1()->maximum(), DrawingHeight - form->HeightTwips() + 1600);
    EXPECT_TRUE(form->cmdFull()->isVisible());

    form->HScroll1()->setValue(600);
    EXPECT_EQ(form->Canvas()->LeftTwips(), -600);
    form->VScroll1()->setValue(900);
    EXPECT_EQ(form->Canvas()->TopTwips(), Toolbar ? 450 - 900 : -900);

    // A drawing beyond what a bar holds is clamped to its largest value.
    model::Nodes[2].SetLeft(60000);
    form->DisplayNodes();
    form->SetSizeTwips(9000, 7000);
    QApplication::processEvents();
    EXPECT_EQ(form->HScroll1()->maximum(), 32767);
}

TEST_F(MainWindowTest, FullViewSizesTheWindowToTheDrawing)
{
    LoadSite();
    model::Nodes[2].SetLeft(14000);
    form->DisplayNodes();
    form->SetSizeTwips(7000, 7000);
    QApplication::processEvents();
    ASSERT_TRUE(form->cmdFull()->isVisible());
    QTest::mouseClick(form->cmdFull(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_NEAR(form->WidthTwips(), DrawingWidth + 500, 15);
    EXPECT_NEAR(form->HeightTwips(), DrawingHeight + 2000, 15);
    EXPECT_FALSE(form->HScroll1()->isVisible());
    EXPECT_FALSE(form->cmdFull()->isVisible());
    EXPECT_EQ(form->Canvas()->LeftTwips(), 0);
}

TEST_F(MainWindowTest, DisplayNodesNeverShrinksTheWindow)
{
    LoadSite();
    form->SetSizeTwips(15000, 10995);
    QApplication::processEvents();
    form->DisplayNodes();
    EXPECT_EQ(form->WidthTwips(), 15000);
    EXPECT_EQ(form->HeightTwips(), 10995);
    // The normal-state rectangle is remembered for the settings.
    EXPECT_EQ(MainWindowWidth, 15000);
    EXPECT_EQ(MainWindowHeight, 10995);
}

TEST_F(MainWindowTest, MakeValidFileNameKeepsFileNameCharacters)
{
    EXPECT_EQ(frmMain::MakeValidFileName("Block A/B (East)"), "Block AB East");
    EXPECT_EQ(frmMain::MakeValidFileName("a:b/c.d\\e@f_+-"), "abcde@f_+-");
}

TEST(PainterPrintSurface, PrintNodePaintsTheBoxAndItsNumberOnAPicture)
{
    model::NodeArray nodes;
    for (int i = 0; i < model::kNodeCount; ++i)
        nodes[i].SetNodeNumber(i);
    model::clsNode& rcc = nodes[7];
    rcc.SetInUse(true);
    rcc.SetParent(0);
    rcc.SetLeft(1500);
    rcc.SetTop(1500);
    nodes[0].SetInUse(true);
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        PainterPrintSurface surface(painter);
        model::PrintNode(rcc, true, surface, nodes, 1);
        model::PrintNode(rcc, false, surface, nodes, 1);
    }
    QDir().mkpath("/tmp/shots-canvas");
    picture.save("/tmp/shots-canvas/test-printnode.png");
    // Inside the box, away from the number: the box colour.
    EXPECT_EQ(picture.pixelColor(100 + 4, 100 + 14), QColor(192, 255, 255));
    // The top edge of the outline is black.
    EXPECT_EQ(picture.pixelColor(100 + 15, 100), QColor(Qt::black));
    // Some dark pixels near the centre: the number.
    int dark = 0;
    for (int x = 108; x < 122; ++x)
        for (int y = 108; y < 122; ++y)
            dark += picture.pixelColor(x, y).lightness() < 100 ? 1 : 0;
    EXPECT_GT(dark, 5);
}
