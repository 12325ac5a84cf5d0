#include "app/Startup.h"
#include "app/frmMain.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"

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

TEST_F(StartupTest, ExitProgramReleasesTheInstanceAndEndsAtOnce)
{
    ProgramFolderName = QString("exit-test-%1").arg(::getpid());
    ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
    frmMain main;
    main.Form_Load();
    ASSERT_TRUE(QFile::exists(platform::InstanceSocketPath(InstanceName())));
    std::vector<int> ends;
    SetEndProcessHook([&](int code) { ends.push_back(code); });
    ExitProgram();
    EXPECT_EQ(ends, std::vector<int>{0});
    EXPECT_FALSE(platform::HoldsInstanceLock());
    EXPECT_FALSE(QFile::exists(platform::InstanceSocketPath(InstanceName())));
    EXPECT_FALSE(QFile::exists(platform::InstanceLockPath(InstanceName())));
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
