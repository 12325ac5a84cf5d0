#include "app/AppVersion.h"
#include "app/Startup.h"
#include "app/frmAbout.h"
#include "app/frmErrorCheck.h"
#include "app/core/ErrorListText.h"
#include "app/frmIntro.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"
#include "platform/Units.h"
#include "platform/base/ProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Records the commands the start windows run; `during` runs inside each.
class RecordingMain : public frmMain
{
public:
    void ReDraw(int node) override { commands << QString("ReDraw %1").arg(node); }
    void StartNewFile() override { Run(QString("StartNewFile visible=%1").arg(isVisible())); }
    void OpenExisting() override { Run(QString("OpenExisting visible=%1").arg(isVisible())); }
    void Read_Diags() override { Run(QString("Read_Diags node=%1").arg(ActiveNode)); }
    void Run(const QString& command)
    {
        commands << command;
        if (during)
            during();
    }
    QStringList commands;
    std::function<void()> during;
};

struct StartWindowsTest : ::testing::Test
{
    void SetUp() override
    {
        ResetStartup();
        ResetSettings();
        ResetSiteState();
        platform::ResetLoadedForms();
        IntroShown = false;
        SetMainForm(&main);
        SetEndProcessHook([this](int code) { ends.push_back(code); });
    }
    void TearDown() override
    {
        SetEndProcessHook(nullptr);
        ReleaseInstanceMutex();
        for (QWidget* w : platform::LoadedForms())
            if (w != &main)
                platform::UnloadFormNow(w);
        ResetStartup();
        platform::ResetLoadedForms();
    }

    frmIntro* RunSplashToTheEnd()
    {
        auto* splash = new frmSplash; // the test ticks it itself
        int ticks = 0;
        while (platform::IsFormLoaded("frmSplash") && ticks < 1000) {
            splash->Timer1_Timer();
            ++ticks;
        }
        EXPECT_EQ(splash->ProgressBar1->value(), 150);
        EXPECT_EQ(ticks, 151); // 150 steps, then the hand-over
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qobject_cast<frmIntro*>(platform::FindForm("frmIntro"));
    }

    RecordingMain main;
    std::vector<int> ends;
};

} // namespace

TEST_F(StartWindowsTest, SplashEndsOnTheStartPageOrTheMainWindow)
{
    // Nothing to open: the start page; a file or ReOpenLastUsed: the main window.
    const std::tuple<const char*, bool, bool> cases[] = {
        {"", false, true}, {"/sites/a.qvs", false, false}, {"", true, false}};
    for (const auto& [commandLine, reopen, intro] : cases) {
        SCOPED_TRACE(commandLine);
        main.hide();
        main.commands.clear();
        IntroShown = false;
        SetCommandLine(commandLine);
        ReOpenLastUsed = reopen;
        frmIntro* page = RunSplashToTheEnd();
        EXPECT_EQ(page != nullptr && page->isVisible(), intro);
        EXPECT_EQ(main.isVisible(), !intro);
        EXPECT_EQ(main.commands, QStringList{"ReDraw -1"});
        if (page != nullptr)
            platform::UnloadFormNow(page);
    }
}

TEST_F(StartWindowsTest, StartPageChoiceUnderTheMouseIsRed)
{
    // The choice under the mouse turns red; the frame turns them all black.
    frmIntro intro;
    intro.show();
    auto colour = [](const QLabel* l) {
        return platform::BGRFromColour(l->palette().color(QPalette::WindowText));
    };
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    const QLabel* labels[] = {intro.CreateLabel, intro.OpenLabel, intro.DiagsLabel, intro.ExitLabel};
    for (QLabel* under : {intro.OpenLabel, intro.ExitLabel, static_cast<QLabel*>(nullptr)}) {
        QApplication::sendEvent(intro.Frame1, &move); // the way in from the frame
        if (under != nullptr)
            QApplication::sendEvent(under, &move);
        for (const QLabel* l : labels)
            EXPECT_EQ(colour(l), l == under ? 0xFFu : 0u);
    }
}

TEST_F(StartWindowsTest, AboutWindowShowsBuildAndEditionOnClicks)
{
    EXPECT_EQ(VersionText({3, 0, 121}, 2), "Version 3.00  Build 121");

    auto* about = new frmAbout;
    about->show();
    EXPECT_EQ(about->Label1->text(), VersionText(ProgramVersion()));
    QTest::mouseClick(about->lblProductName, Qt::LeftButton); // a label, not the background
    EXPECT_FALSE(about->BuildLabel->isVisible());
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(about->BuildLabel->text(), "User's Version");
    QTest::mouseClick(about->Label1, Qt::LeftButton);
    EXPECT_EQ(about->Label1->text(), VersionText(ProgramVersion(), 1));
    QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    EXPECT_FALSE(platform::IsFormLoaded("frmAbout"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(StartWindowsTest, ChoicesShowTheMainWindowAndRunItsCommandOnce)
{
    ActiveNode = -1;
    const std::pair<QLabel * frmIntro::*, QString> cases[] = {
        {&frmIntro::CreateLabel, "StartNewFile visible=1"},
        {&frmIntro::OpenLabel, "OpenExisting visible=1"},
        {&frmIntro::DiagsLabel, "Read_Diags node=0"}};
    for (const auto& [label, command] : cases) {
        main.hide();
        main.commands.clear();
        auto* intro = new frmIntro;
        IntroShown = true;
        intro->show();
        // Clicks still queued for the page while the command runs choose nothing.
        main.during = [intro] {
            for (QLabel* l : {intro->CreateLabel, intro->ExitLabel}) {
                QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                                    Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(l, &release);
            }
        };
        QTest::mouseClick(intro->*label, Qt::LeftButton);
        EXPECT_EQ(main.commands, QStringList{command});
        EXPECT_FALSE(platform::IsFormLoaded("frmIntro"));
        EXPECT_TRUE(ends.empty());
        main.during = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(StartWindowsTest, ExitAndClosingTheStartPageEndAndReleaseTheInstance)
{
    QTemporaryDir dir;
    platform::SetProgramFolder(dir.path().toStdString());
    ProgramFolderName = QString("intro-exit-%1").arg(::getpid());
    for (bool byClose : {false, true}) {
        ends.clear();
        ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
        ASSERT_TRUE(platform::ListenForHandOver(InstanceName(), [](const QByteArray&) {}));
        auto* intro = new frmIntro;
        intro->show();
        if (byClose)
            intro->close();
        else
            QTest::mouseClick(intro->ExitLabel, Qt::LeftButton);
        EXPECT_EQ(ends, std::vector<int>{0}) << byClose;
        EXPECT_FALSE(platform::HoldsInstanceLock());
        EXPECT_FALSE(QFile::exists(dir.path() + "/settings.ini")); // left as it was
        platform::UnloadFormNow(intro);
    }
    platform::SetProgramFolder("");
}

TEST_F(StartWindowsTest, SplashRunsTheCheckOnOpenOnceAndShowsTheListOnlyForFaults)
{
    using model::Nodes;
    model::ResetSite();
    Nodes[0].SetNodeNumber(0);
    Nodes[0].SetInUse(true);
    SetCommandLine("/sites/a.qvs");
    CheckOnOpen = true;
    // loaded, with faults: the list; not loaded, or no faults: no list
    const std::tuple<bool, bool, bool> cases[] = {
        {true, false, true}, {false, false, false}, {true, true, false}};
    for (const auto& [loaded, clean, listShown] : cases) {
        SCOPED_TRACE(testing::Message() << loaded << clean);
        FileLoaded = loaded;
        Nodes[0].SetNodeLoop(clean ? 1 : -1), Nodes[0].SetNodeAddress(clean ? 1 : -1);
        Nodes[0].SetNodeIdent(clean ? "12345" : "");
        Nodes[0].SetY_ChannelA(clean ? 1 : -1), Nodes[0].SetY_ChannelB(clean ? 2 : -1);
        app::ErrorCheckMode = 3;
        RunSplashToTheEnd();
        EXPECT_EQ(frmErrorCheck::Loaded() != nullptr, listShown);
        EXPECT_EQ(app::ErrorCheckMode, loaded ? 0 : 3);
        if (frmErrorCheck* list = frmErrorCheck::Loaded())
            platform::UnloadFormNow(list);
    }
    model::ResetSite();
}
