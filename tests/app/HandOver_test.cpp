// Real copies of the program: a second one hands its command line to the
// first and ends.
#include "app/Startup.h"
#include "app/frmMain.h"
#include "model/FileNames.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"
#include "platform/Yield.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A main window that records what a second copy hands to it.
class RecordingMain : public frmMain
{
public:
    void OpenFileFromMessage(const std::string& commandLine) override { received.push_back(commandLine); }
    std::vector<std::string> received;
};

struct HandOverTest : ::testing::Test
{
    void TearDown() override
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        ReleaseInstanceMutex();
        ResetStartup();
        platform::ResetLoadedForms();
    }

    // The program, or the shell's printf building an argument of any bytes:
    // a QStringList can only carry names that are valid UTF-8.
    QProcess* Start(const QStringList& args, bool throughShell = false, const QString& workingFolder = {})
    {
        auto& p = processes.emplace_back(std::make_unique<QProcess>());
        p->setWorkingDirectory(workingFolder);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QVS_PROGRAM_FOLDER", root.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p->setProcessEnvironment(env);
        if (throughShell)
            p->start("/bin/sh", QStringList{"-c", "exec \"$0\" \"$(printf \"$1\")\"", QVS_PROGRAM} + args);
        else
            p->start(QVS_PROGRAM, args);
        return p.get();
    }

    // Its exit code, once it has ended.
    static int Finish(QProcess* p)
    {
        platform::WaitUntil([p] { return p->state() == QProcess::NotRunning; });
        return p->exitCode();
    }

    QTemporaryDir root;
    std::vector<std::unique_ptr<QProcess>> processes;
};

} // namespace

TEST_F(HandOverTest, SecondCopiesHandOverAndACrashedFirstCopyIsReplaced)
{
    ResetStartup();
    ProgramFolderName = QDir(root.path()).dirName();
    const QString socket = platform::InstanceSocketPath(InstanceName());
    QProcess* first = Start({});
    ASSERT_TRUE(platform::WaitUntil([&] { return QFile::exists(socket) || first->state() == QProcess::NotRunning; }));
    ASSERT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(Finish(Start({"/sites/a.qvs"})), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    // The first copy dies without cleaning up: its lock and socket stay.
    first->kill();
    Finish(first);
    ASSERT_TRUE(QFile::exists(socket));

    // This process is the first copy now: a minimised window is restored and
    // handed the file, joined again where blanks split it.
    RecordingMain main;
    ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
    main.Form_Load();
    main.show();
    main.showMinimized();
    EXPECT_EQ(Finish(Start({"/sites/North Wing.qvs"})), 0);
    platform::WaitUntil([&] { return !main.received.empty(); }, 60000);
    EXPECT_EQ(main.received, std::vector<std::string>{"\"/sites/North Wing.qvs\""});
    EXPECT_FALSE(main.isMinimized());
    // Without arguments the first copy is only brought up: no file is named.
    EXPECT_EQ(Finish(Start({})), 0);
    EXPECT_EQ(main.received.size(), 1u);
    // A name that is not UTF-8 is handed over byte for byte.
    EXPECT_EQ(Finish(Start({"/sites/caf\\351.qvs"}, true)), 0);
    platform::WaitUntil([&] { return main.received.size() == 2; }, 60000);
    EXPECT_EQ(main.received.back(), "/sites/caf\xE9.qvs");
    // A name typed relative to the folder the second copy starts in names
    // the file there, bytes and all, not one in this copy's folder.
    const std::string typedIn = QDir(root.path()).canonicalPath().toStdString();
    for (const auto& [typed, file] :
         {std::pair{"in.qvs", "/in.qvs"}, {"sub/caf\\351.qvs", "/sub/caf\xE9.qvs"}}) {
        const std::size_t before = main.received.size();
        EXPECT_EQ(Finish(Start({typed}, true, root.path())), 0);
        platform::WaitUntil([&] { return main.received.size() > before; }, 60000);
        ASSERT_GT(main.received.size(), before);
        EXPECT_EQ(model::StripQuotes(main.received.back()), typedIn + file);
    }
}
