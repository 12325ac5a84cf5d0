#include "platform/SingleInstance.h"
#include "platform/Yield.h"

#include <QFile>
#include <QLocalSocket>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

QString UniqueName(const char* tag)
{
    return QString("qvs-test-%1-%2").arg(tag).arg(::getpid());
}

// Leaves a socket file behind the way a copy that crashed does: bound, never
// removed, nobody listening.
void LeaveDeadSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(path);
    ASSERT_LT(static_cast<size_t>(p.size()), sizeof(addr.sun_path));
    std::memcpy(addr.sun_path, p.constData(), static_cast<size_t>(p.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));
}

struct SingleInstanceTest : ::testing::Test
{
    void TearDown() override { ReleaseInstanceLock(); }
};

} // namespace

TEST_F(SingleInstanceTest, HandOverReachesTheHandlerAndIsAnswered)
{
    const QString name = UniqueName("handover");
    ASSERT_TRUE(CreateInstanceLock(name));
    EXPECT_TRUE(HoldsInstanceLock());
    QList<QByteArray> received;
    ASSERT_TRUE(ListenForHandOver(name, [&](const QByteArray& d) { received << d; }));

    std::atomic<bool> answered{false}, done{false};
    std::thread second([&] {
        answered = SendHandOver(name, QByteArray("\"/sites/North Wing.qvs\""), 5000);
        answered = SendHandOver(name, QByteArray(1, '\0'), 5000) && answered.load();
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 10000);
    second.join();
    EXPECT_TRUE(answered);
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0], QByteArray("\"/sites/North Wing.qvs\""));
    EXPECT_EQ(received[1], QByteArray(1, '\0'));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedCopyIsReplaced)
{
    const QString name = UniqueName("stale");
    LeaveDeadSocket(InstanceSocketPath(name));
    ASSERT_TRUE(CreateInstanceLock(name));
    std::atomic<int> calls{0};
    ASSERT_TRUE(ListenForHandOver(name, [&](const QByteArray&) { ++calls; }));
    std::atomic<bool> done{false}, answered{false};
    std::thread second([&] {
        answered = SendHandOver(name, "x.qvs", 5000);
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 10000);
    second.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(calls, 1);
}

TEST_F(SingleInstanceTest, NobodyListeningOrReleasedMeansNoHandOver)
{
    const QString name = UniqueName("none");
    EXPECT_FALSE(SendHandOver(name, "a.qvs", 500));
    ASSERT_TRUE(CreateInstanceLock(name));
    ASSERT_TRUE(ListenForHandOver(name, [](const QByteArray&) {}));
    EXPECT_TRUE(QFile::exists(InstanceSocketPath(name)));
    ReleaseInstanceLock();
    EXPECT_FALSE(HoldsInstanceLock());
    EXPECT_FALSE(QFile::exists(InstanceSocketPath(name)));
    EXPECT_FALSE(QFile::exists(InstanceLockPath(name)));
    EXPECT_FALSE(SendHandOver(name, "a.qvs", 500));
    // Listening needs the lock.
    EXPECT_FALSE(ListenForHandOver(name, [](const QByteArray&) {}));
}

TEST_F(SingleInstanceTest, OversizedHandOverIsDroppedAndTheServerStaysUp)
{
    const QString name = UniqueName("big");
    ASSERT_TRUE(CreateInstanceLock(name));
    std::atomic<int> calls{0};
    ASSERT_TRUE(ListenForHandOver(name, [&](const QByteArray&) { ++calls; }));
    std::atomic<bool> done{false}, bigAnswered{true}, smallAnswered{false};
    std::thread second([&] {
        bigAnswered = SendHandOver(name, QByteArray(kMaxHandOverBytes + 1, 'a'), 2000);
        smallAnswered = SendHandOver(name, "ok.qvs", 5000);
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 10000);
    second.join();
    EXPECT_FALSE(bigAnswered);
    EXPECT_TRUE(smallAnswered);
    EXPECT_EQ(calls, 1);
}
