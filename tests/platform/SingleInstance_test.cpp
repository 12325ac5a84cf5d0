#include "platform/SingleInstance.h"
#include "platform/Yield.h"

#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

QString UniqueName(const char* tag)
{
    return QString("qvs-test-%1-%2").arg(tag).arg(::getpid());
}

struct SingleInstanceTest : ::testing::Test
{
    void TearDown() override { ReleaseInstanceLock(); }
};

} // namespace

TEST_F(SingleInstanceTest, NobodyListeningOrReleasedMeansNoHandOver)
{
    const QString name = UniqueName("none");
    EXPECT_FALSE(SendHandOver(name, "a.qvs", 500));
    ASSERT_TRUE(CreateInstanceLock(name));
    ASSERT_TRUE(ListenForHandOver(name, [](const QByteArray&) {}));
    ReleaseInstanceLock();
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
        smallAnswered = SendHandOver(name, "ok.qvs", 60000);
        done = true;
    });
    WaitUntil([&] { return done.load(); }, 120000); // the sends' waits end first
    second.join();
    EXPECT_FALSE(bigAnswered);
    EXPECT_TRUE(smallAnswered);
    EXPECT_EQ(calls, 1);
}
