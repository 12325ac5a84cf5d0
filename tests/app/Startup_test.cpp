#include "ModalAnswer.h"
#include "app/Startup.h"
#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "model/Settings.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"
#include "platform/base/ProgramFolder.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct StartupTest : ::testing::Test
{
    void SetUp() override
    {
        ResetStartup();
        platform::SetProgramFolder(dir.path().toStdString());
        ResetSettings();
    }
    void TearDown() override
    {
        SetEndProcessHook(nullptr);
        ReleaseInstanceMutex();
        ResetStartup();
        for (QWidget* w : platform::LoadedForms())
            platform::UnloadFormNow(w);
        platform::ResetLoadedForms();
        platform::SetProgramFolder("");
        model::clsIniFile::SetBadLineQuestion(nullptr);
        model::clsIniFile::SetLoadRefusal(nullptr);
    }
    void WriteSettings(const QByteArray& text)
    {
        QFile f(dir.path() + "/settings.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(StartupTest, CommandLineIsSplitAtBlanksAndTabsUpToTheLimitAndRebuiltWithQuotes)
{
    QStringList words;
    for (int i = 1; i <= 25; ++i)
        words << QString("w%1").arg(i);
    // Quote marks are ordinary characters; the main window joins the parts.
    // Index 0 stays empty.
    const std::tuple<QString, int, QString> cases[] = {
        {"", 10, ""},
        {"a  b\tc", 10, "|a|b|c"},
        {"\"/home/eng/North  Wing.qvs\"", 20, "|\"/home/eng/North|Wing.qvs\""},
        {words.join(' '), 20, "|" + words.mid(0, 20).join('|')}};
    for (const auto& [line, limit, args] : cases) {
        SetCommandLine(line.toStdString());
        const int count = ParseCommandLine(limit);
        EXPECT_EQ(static_cast<std::size_t>(count), CommandArgs.size() - 1) << line.toStdString();
        QStringList joined;
        for (const std::string& a : CommandArgs)
            joined << QString::fromStdString(a);
        EXPECT_EQ(joined.join('|'), args);
    }
    EXPECT_EQ(ParseCommandLine(), 10); // the default limit
    EXPECT_EQ(CommandLineFromArguments({"/a/North Wing.qvs", "x"}), "\"/a/North Wing.qvs\" x");
    // The bytes as given, a name that is not UTF-8 included.
    SetCommandLine(CommandLineFromArguments({"/a/caf\xE9 \xFF.qvs"}));
    ASSERT_EQ(ParseCommandLine(20), 2);
    EXPECT_EQ(CommandArgs[1], "\"/a/caf\xE9");
    EXPECT_EQ(CommandArgs[2], "\xFF.qvs\"");
}

TEST_F(StartupTest, InstanceNameComesFromTheFoldersLastComponent)
{
    EXPECT_EQ(LastPathComponent("/opt/qvs/"), "");
    EXPECT_EQ(LastPathComponent("NoSeparator"), "NoSeparator");
    ProgramFolderName = "Quorvel Config";
    EXPECT_EQ(InstanceName(), "Quorvel ConfigQuorvelConfigUtility_APPLICATION");
}

TEST_F(StartupTest, MainLoadsTheMainWindowHiddenAndStartsTheSplashOnlyAfterIt)
{
    WriteSettings("[WindowPositions]\r\nMainWindowTop=300\r\nthis line has no equals sign\r\n"
                  "MainWindowLeft=450\r\nMainWindowHeight=\r\n");
    Locked = true;
    FileLoaded = true;
    ModalAnswer answers(QMessageBox::Ok);
    bool splashTimerRan = false;
    answers.whileShown = [&] {
        if (auto* splash = qobject_cast<frmSplash*>(platform::FindForm("frmSplash")))
            splashTimerRan = splashTimerRan || splash->Timer1->isActive();
    };
    ASSERT_TRUE(Main());
    // The bad line is asked about once in the plain box, for the rectangle
    // and the settings both, while the splash waits.
    ASSERT_EQ(answers.texts.size(), 1);
    EXPECT_EQ(answers.titles[0], "Read Configuration File");
    EXPECT_TRUE(answers.texts[0].endsWith("In Line 3 Continue ?")) << answers.texts[0].toStdString();
    EXPECT_FALSE(splashTimerRan);
    EXPECT_EQ(MainWindowLeft, 450); // read on past the bad line
    EXPECT_FALSE(Locked);
    EXPECT_FALSE(FileLoaded) << "the program starts with no site loaded";

    auto* splash = qobject_cast<frmSplash*>(platform::FindForm("frmSplash"));
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->Timer1->isActive());
    // Centred on the main window as it opens: the rectangle read, fitted to
    // the screen's free area, 300 + 9165 / 2 - 3600 / 2 twips down.
    EXPECT_EQ(splash->pos().y(), 206);
    EXPECT_EQ(splash->geometry().center().x(), MainForm()->geometry().center().x());

    ASSERT_NE(MainForm(), nullptr);
    EXPECT_FALSE(MainForm()->isVisible());
    // Default 12765 x 9165 twips, the empty height too, within the screen's
    // free area (the offscreen screen is narrower than that).
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(MainForm()->size(), QSize(std::min(851, avail.width()), std::min(611, avail.height())));
}

TEST_F(StartupTest, TheSplashAndTheStartWindowStandOnTheMainWindowAsItOpensWithinTheScreen)
{
    WriteSettings("[WindowPositions]\r\nMainWindowTop=-135345\r\nMainWindowWidth=99999999\r\n"
                  "MainWindowHeight=99999999\r\n");
    ASSERT_TRUE(Main());
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    auto* splash = qobject_cast<frmSplash*>(platform::FindForm("frmSplash"));
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(avail.contains(splash->geometry()));
    EXPECT_EQ(splash->geometry().center(), MainForm()->geometry().center());
    // The window the splash hands on to when no site is named.
    frmIntro intro;
    EXPECT_TRUE(avail.contains(intro.geometry())) << intro.geometry().x() << "," << intro.geometry().y();
    EXPECT_EQ(intro.geometry().center(), MainForm()->geometry().center());
}

TEST_F(StartupTest, ASettingsFileTooLargeToReadIsReported)
{
    WriteSettings("[WindowPositions]\r\nMainWindowTop=300\r\n" + QByteArray("[S]\r\n").repeated(32767));
    ModalAnswer answers(QMessageBox::Ok);
    ASSERT_TRUE(Main());
    ASSERT_EQ(answers.texts.size(), 1); // once for the rectangle and the settings both
    EXPECT_TRUE(answers.texts[0].contains("more than 32767 sections or keys"));
    EXPECT_EQ(MainWindowTop, 1000);
}

TEST_F(StartupTest, BadLineQuestionPausesARunningSplashAndCancelGivesTheDefaults)
{
    WriteSettings("[WindowPositions]\r\nMainWindowTop=300\r\nno equals sign\r\nMainWindowLeft=450\r\n");
    model::clsIniFile::SetBadLineQuestion(AskAboutBadLine);
    auto* splash = new frmSplash;
    splash->Timer1->start();
    bool splashTimerRan = false;
    {
        ModalAnswer answers(QMessageBox::Cancel);
        answers.whileShown = [&] { splashTimerRan = splash->Timer1->isActive(); };
        ReadMainWindowRect();
    }
    EXPECT_FALSE(splashTimerRan);
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(MainWindowLeft, 1000); // not loaded: every key its default

    // A splash whose run has ended is not started again by the question.
    splash->Timer1->stop();
    ModalAnswer answers(QMessageBox::Ok);
    ReadMainWindowRect();
    EXPECT_FALSE(splash->Timer1->isActive());
    platform::UnloadFormNow(splash);
}

TEST_F(StartupTest, ExitProgramWritesTheSettingsReleasesTheInstanceAndEnds)
{
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
    QFile written(dir.path() + "/settings.ini");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("MainWindowTop=4321\r\n"));
    EXPECT_FALSE(platform::HoldsInstanceLock());
    EXPECT_FALSE(QFile::exists(platform::InstanceSocketPath(InstanceName())));
}
