// Two real copies of the program: the second hands its command line to the
// first and ends.
#include "app/Startup.h"
#include "app/frmMain.h"
#include "platform/LoadedForms.h"
#include "platform/SingleInstance.h"
#include "platform/Yield.h"
#include "platform/base/ProgramFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// A main window that records what a second copy hands to it.
class RecordingMain : public frmMain
{
public:
    void OpenFileFromMessage(const QString& path) override { received << path; }
    QStringList received;
};

struct HandOverTest : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folder = root.path() + QString("/qvs-handover-%1-%2").arg(::getpid()).arg(++counter);
        QDir().mkpath(folder);
        ResetStartup();
    }
    void TearDown() override
    {
        for (QProcess* p : processes) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
            delete p;
        }
        ReleaseInstanceMutex();
        ResetStartup();
        platform::ResetLoadedForms();
    }

    // Starts the program with its own program folder.
    QProcess* Start(const QStringList& args)
    {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QVS_PROGRAM_FOLDER", folder);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p->setProcessEnvironment(env);
        p->setProgram(QVS_PROGRAM);
        p->setArguments(args);
        p->start();
        processes.push_back(p);
        return p;
    }

    // Waits, yielding, until the process ends; its exit code, -1 on time-out.
    static int Finish(QProcess* p, int ms)
    {
        platform::WaitUntil([p] { return p->state() == QProcess::NotRunning; }, ms);
        return p->state() == QProcess::NotRunning ? p->exitCode() : -1;
    }

    // This test process takes the first copy's place for the folder.
    void BecomeFirstCopy(RecordingMain& main)
    {
        ProgramFolderName = QDir(folder).dirName();
        ASSERT_TRUE(CreateInstanceMutex(InstanceName()));
        main.Form_Load();
    }

    QString InstanceSocket() const
    {
        return platform::InstanceSocketPath(QDir(folder).dirName() + "QuorvelConfigUtility_APPLICATION");
    }

    QTemporaryDir root;
    QString folder;
    std::vector<QProcess*> processes;
    static inline int counter = 0;
};

} // namespace

TEST_F(HandOverTest, SecondCopyHandsItsFileToTheFirstAndEnds)
{
    RecordingMain main;
    BecomeFirstCopy(main);
    main.show();
    main.showMinimized();

    QProcess* second = Start({"/sites/North Wing.qvs"});
    EXPECT_EQ(Finish(second, 20000), 0);
    ASSERT_EQ(main.received.size(), 1);
    EXPECT_EQ(main.received[0], "\"/sites/North Wing.qvs\"");
    EXPECT_FALSE(main.isMinimized()); // restored on receipt

    // Without arguments the first copy is only brought up: no file is named.
    QProcess* third = Start({});
    EXPECT_EQ(Finish(third, 20000), 0);
    EXPECT_EQ(main.received.size(), 1);
}

TEST_F(HandOverTest, CopiesFromFoldersWithOtherNamesBothRun)
{
    RecordingMain main;
    BecomeFirstCopy(main);
    folder = root.path() + QString("/another-folder-%1").arg(::getpid());
    QDir().mkpath(folder);
    QProcess* other = Start({});
    EXPECT_EQ(Finish(other, 2000), -1); // still running: a first copy of its own
    EXPECT_TRUE(main.received.isEmpty());
}

TEST_F(HandOverTest, RealFirstCopyTakesTheHandOverAndACrashedOneIsReplaced)
{
    QProcess* first = Start({});
    ASSERT_TRUE(platform::WaitUntil([&] { return QFile::exists(InstanceSocket()); }, 20000));
    QProcess* second = Start({"/sites/a.qvs"});
    EXPECT_EQ(Finish(second, 20000), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    // The first copy dies without cleaning up: its lock and socket stay.
    first->kill();
    first->waitForFinished(5000);
    ASSERT_TRUE(QFile::exists(InstanceSocket()));

    // The next copy is a first copy again, and a copy after it hands over.
    RecordingMain main;
    BecomeFirstCopy(main);
    QProcess* next = Start({"/sites/b.qvs"});
    EXPECT_EQ(Finish(next, 20000), 0);
    EXPECT_EQ(main.received, QStringList{"/sites/b.qvs"});
}
