#include "platform/Yield.h"

#include "platform/base/TimeoutScale.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

// How often a wait tests its condition when no event wakes it sooner.
constexpr int kPollIntervalMs = 5;

int g_doEventsDepth = 0;
int g_waitDepth = 0;
int g_modalDepth = 0;
std::vector<QPointer<QObject>> g_heldDeletes;

// Called after a nested loop has returned.
void ReleaseHeldDeletes()
{
    if (InNestedLoop() || g_heldDeletes.empty())
        return;
    const std::vector<QPointer<QObject>> held = std::move(g_heldDeletes);
    g_heldDeletes.clear();
    for (const QPointer<QObject>& object : held)
        if (!object.isNull())
            object->deleteLater();
}

struct WokenWait
{
    const std::function<bool()>* Done;
    QEventLoop* Loop;
};
std::vector<WokenWait> g_wokenWaits;

} // namespace

void DoEvents()
{
    if (g_doEventsDepth >= kMaxDoEventsDepth)
        return;
    ++g_doEventsDepth;
    // The thread's dispatcher itself: a loop object per call costs more than
    // the call when nothing is waiting (a site load yields a thousand times).
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --g_doEventsDepth;
    ReleaseHeldDeletes();
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs, const QObject* guard)
{
    QPointer<const QObject> held(guard);
    const bool guarded = guard != nullptr;
    if (done())
        return true;
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                          : QDeadlineTimer(ScaledTimeout(timeoutMs)));
    bool ok = false;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollIntervalMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (guarded && held.isNull()) {
            loop.quit();
        } else if (done()) {
            ok = true;
            loop.quit();
        } else if (deadline.hasExpired()) {
            loop.quit();
        }
    });
    if (guarded)
        QObject::connect(guard, &QObject::destroyed, &loop, &QEventLoop::quit);
    poll.start();
    ++g_waitDepth;
    loop.exec();
    --g_waitDepth;
    ReleaseHeldDeletes();
    return ok;
}

void WaitUntilWoken(const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    g_wokenWaits.push_back(WokenWait{&done, &loop});
    ++g_waitDepth;
    loop.exec();
    --g_waitDepth;
    g_wokenWaits.pop_back();
    ReleaseHeldDeletes();
}

void WakeWaits()
{
    // A loop told to quit while waits above it still run returns once they
    // have.
    for (const WokenWait& wait : g_wokenWaits)
        if ((*wait.Done)())
            wait.Loop->quit();
}

int WaitDepth()
{
    return g_waitDepth;
}

ModalLoop::ModalLoop()
{
    ++g_modalDepth;
}

ModalLoop::~ModalLoop()
{
    --g_modalDepth;
    ReleaseHeldDeletes();
}

bool InNestedLoop()
{
    return g_waitDepth > 0 || g_doEventsDepth > 0 || g_modalDepth > 0;
}

void DeleteAfterNestedLoops(QObject* object)
{
    if (object == nullptr)
        return;
    if (!InNestedLoop()) {
        object->deleteLater();
        return;
    }
    if (std::find(g_heldDeletes.begin(), g_heldDeletes.end(), object) == g_heldDeletes.end())
        g_heldDeletes.emplace_back(object);
}

int ScaledTimeout(int timeoutMs)
{
    if (timeoutMs <= 0)
        return timeoutMs;
    const long v = std::lround(timeoutMs * TimeoutScale());
    return v < 1 ? 1 : static_cast<int>(v);
}

} // namespace platform
