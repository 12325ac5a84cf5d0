#include "platform/EventWait.h"

#include <QEventLoop>

namespace platform {

void WaitWhileYielding(const std::function<bool()>& keepWaiting)
{
    QEventLoop loop;
    while (keepWaiting())
        loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

} // namespace platform
