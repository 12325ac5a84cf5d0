#include "platform/Yield.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace platform;

TEST(Yield, WaitEndsOnTheConditionOnItsGuardsDestructionOrAfterTheScaledTimeOut)
{
    bool flag = false;
    QTimer::singleShot(20, [&] { flag = true; });
    EXPECT_TRUE(WaitUntil([&] { return flag; }, 5000));

    auto guard = std::make_unique<QObject>();
    QTimer::singleShot(10, [&] { guard.reset(); });
    EXPECT_FALSE(WaitUntil([] { return false; }, -1, guard.get()));

    SetTimeoutScale(0.01);
    EXPECT_EQ(ScaledTimeout(10), 1);
    EXPECT_EQ(ScaledTimeout(-1), -1);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(WaitUntil([] { return false; }, 5000));
    SetTimeoutScale(1.0);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_GE(t.elapsed(), 45);
}

TEST(Yield, DoEventsNestsOnlyToItsLimit)
{
    // A handler that yields and posts itself again would recurse for ever.
    int deepest = 0, depth = 0, runs = 0;
    std::function<void()> handler = [&] {
        ++runs;
        deepest = std::max(deepest, ++depth);
        if (runs < 100) {
            QTimer::singleShot(0, handler);
            DoEvents();
        }
        --depth;
    };
    QTimer::singleShot(0, handler);
    QElapsedTimer t;
    t.start();
    while (runs < 100 && t.elapsed() < 5000)
        DoEvents();
    EXPECT_EQ(runs, 100);
    EXPECT_EQ(deepest, kMaxDoEventsDepth);
    EXPECT_EQ(depth, 0);
}
