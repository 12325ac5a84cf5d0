#include "app/Startup.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "model/Settings.h"
#include "model/clsIniFile.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"
#include "platform/base/ProgramFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <QFile>
#include <QScreen>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct StartupTest : ::testing::Test
{
    void SetUp() override { ResetStartup(); }
    void TearDown() override
    {
        SetEndProcessHook(nullptr);
        ReleaseInstanceMutex();
        ResetStartup();
        platform::ResetLoadedForms();
    }
};

} // namespace

TEST_F(StartupTest, ParseCommandLineSplitsAtBlanksAndTabs)
{
    SetCommandLine("a  b\tc");
    EXPECT_EQ(ParseCommandLine(), 3);
    EXPECT_EQ(CommandArgs, (QStringList{"", "a", "b", "c"}));

    SetCommandLine("");
    EXPECT_EQ(ParseCommandLine(), 0);
    EXPECT_EQ(CommandArgs, QStringList{""});

    // Quote marks are ordinary characters; the main window joins the parts.
    SetCommandLine("\"/home/eng/North  Wing.qvs\"");
    EXPECT_EQ(ParseCommandLine(20), 2);
    EXPECT_EQ(CommandArgs, (QStringList{"", "\"/home/eng/North", "Wing.qvs\""}));

    SetCommandLine("  lead trail  ");
    EXPECT_EQ(ParseCommandLine(), 2);
    EXPECT_EQ(CommandArgs, (QStringList{"", "lead", "trail"}));
}

TEST_F(StartupTest, ParseCommandLineStopsAtTheLimit)
{
    QStringList words;
    for (int i = 1; i <= 25; ++i)
        words << QString("w%1").arg(i);
    SetCommandLine(words.join(' '));
    EXPECT_EQ(ParseCommandLine(20), 20);
    EXPECT_EQ(CommandArgs.size(), 21);
    EXPECT_EQ(CommandArgs[20], "w20");
    EXPECT_EQ(ParseCommandLine(), 10);
    EXPECT_EQ(CommandArgs.last(), "w10");
}

TEST_F(StartupTest, CommandLineQuotesArgumentsWithBlanks)
{
    EXPECT_EQ(CommandLineFromArguments({}), "");
    EXPECT_EQ(CommandLineFromArguments({"/a/site.qvs"}), "/a/site.qvs");
    EXPECT_EQ(CommandLineFromArguments({"/a/North Wing.qvs", "x"}), "\"/a/North Wing.qvs\" x");
}

TEST_F(StartupTest, InstanceNameComesFromTheFoldersLastComponent)
{
    EXPECT_EQ(LastPathComponent("/opt/Quorvel Config"), "Quorvel Config");
    EXPECT_EQ(LastPathComponent("/opt/qvs/"), "");
    EXPECT_EQ(LastPathComponent("NoSeparator"), "NoSeparator");
    ProgramFolderName = "Quorvel Config";
    EXPECT_EQ(InstanceName(), "Quorvel ConfigQuorvelConfigUtility_APPLICATION");
}

TEST_F(StartupTest, LoadedMainWindowIsHiddenNamedAndLimited)
{
    ProgramFolderName = QString("load-test-%1").arg(::getpid());
    ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
    frmMain* main = LoadMainForm();
    EXPECT_EQ(MainForm(), main);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(IsFormLoaded("frmMain"));
    EXPECT_FALSE(IsFormLoaded("frmmain"));
    EXPECT_EQ(main->minimumSize(), QSize(400, 400));
    EXPECT_EQ(main->maximumSize(), QSize(1800, 10000));
    // Default rectangle 1000, 1000, 12765 x 9165 twips, kept on the desktop:
    // a window reaching past the right edge comes back 300 twips inside it.
    const QRect desk = main->screen()->virtualGeometry();
    const int left = 67 + 851 > desk.width() ? (desk.width() * 15 - 12765 - 300) / 15 : 67;
    const int top = 67 + 611 > desk.height() ? (desk.height() * 15 - 9165 - 300) / 15 : 67;
    EXPECT_EQ(main->geometry().topLeft(), QPoint(left, top));
    EXPECT_EQ(main->size(), QSize(851, 611));
    platform::UnloadFormNow(main);
    EXPECT_EQ(MainForm(), nullptr);
}

namespace {

// Answers the next plain message box with the button of the given text.
void AnswerPlainBox(const QString& buttonText, QString* seenText, bool* timerRunning, frmSplash* splash)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        *seenText = box->windowTitle() + "|" + box->text();
        if (splash != nullptr)
            *timerRunning = splash->Timer1->isActive();
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove('&') == buttonText)
                b->click();
    });
    timer->start();
}

struct SettingsFolder
{
    SettingsFolder()
    {
        platform::SetProgramFolder(dir.path().toStdString());
        ResetSettings();
    }
    ~SettingsFolder()
    {
        platform::SetProgramFolder("");
        model::clsIniFile::SetBadLineQuestion(nullptr);
    }
    void Write(const QByteArray& text)
    {
        QFile f(dir.path() + "/settings.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(StartupTest, MainWindowRectangleIsReadBeforeTheSettings)
{
    SettingsFolder folder;
    ReadMainWindowRect();
    EXPECT_EQ(MainWindowTop, 1000);
    EXPECT_EQ(MainWindowLeft, 1000);
    EXPECT_EQ(MainWindowWidth, 12765);
    EXPECT_EQ(MainWindowHeight, 9165);

    folder.Write("[WindowPositions]\r\nMainWindowTop=300\r\nMainWindowLeft=450\r\nMainWindowWidth=15000\r\n"
                 "MainWindowHeight=\r\nGridWindowTop=5\r\n");
    ReadMainWindowRect();
    EXPECT_EQ(MainWindowTop, 300);
    EXPECT_EQ(MainWindowLeft, 450);
    EXPECT_EQ(MainWindowWidth, 15000);
    EXPECT_EQ(MainWindowHeight, 9165); // empty value: the default
    EXPECT_EQ(GridWindowTop, 0);       // only the main window's keys are read here
}

TEST_F(StartupTest, BadLineAsksWithThePlainBoxWhileTheSplashWaits)
{
    SettingsFolder folder;
    folder.Write("[WindowPositions]\r\nMainWindowTop=300\r\nthis line has no equals sign\r\n"
                 "MainWindowLeft=450\r\n");
    model::clsIniFile::SetBadLineQuestion(AskAboutBadLine);
    auto* splash = new frmSplash;

    QString seen;
    bool timerRunning = true;
    AnswerPlainBox("OK", &seen, &timerRunning, splash);
    ReadMainWindowRect();
    EXPECT_TRUE(seen.startsWith("Read Configuration File|Error Reading Configuration File\n"))
        << seen.toStdString();
    EXPECT_TRUE(seen.endsWith("In Line 3 Continue ?")) << seen.toStdString();
    EXPECT_FALSE(timerRunning);
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(MainWindowTop, 300);
    EXPECT_EQ(MainWindowLeft, 450); // read on past the bad line

    AnswerPlainBox("Cancel", &seen, &timerRunning, splash);
    ReadMainWindowRect();
    EXPECT_EQ(MainWindowTop, 1000); // not loaded: every key its default
    EXPECT_EQ(MainWindowLeft, 1000);
    platform::UnloadFormNow(splash);
}

TEST_F(StartupTest, ExitProgramWritesTheSettingsReleasesTheInstanceAndEnds)
{
    SettingsFolder folder;
    MainWindowTop = 4321;
    ProgramFolderName = QString("exit-test-%1").arg(::getpid());
    ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
    frmMain main;
    main.Form_Load();
    ASSERT_TRUE(QFile::exists(platform::InstanceSocketPath(InstanceName())));
    std::vector<int> ends;
    SetEndProcessHook([&](int code) { ends.push_back(code); });
    ExitProgram();
    EXPECT_EQ(ends, std::vector<int>{0});
    QFile written(folder.dir.path() + "/settings.ini");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("MainWindowTop=4321\r\n"));
    EXPECT_FALSE(platform::HoldsInstanceLock());
    EXPECT_FALSE(QFile::exists(platform::InstanceSocketPath(InstanceName())));
    EXPECT_FALSE(QFile::exists(platform::InstanceLockPath(InstanceName())));
}
