#pragma once
// The reply time-out timer. It ticks every interval until it is stopped;
// each tick is handed to CommsLink::CommsTimer_Timer by the timer's owner.
// Implementations pass every interval through ScaledInterval.
#include <cstdint>

namespace hublink {

class ILinkTimer
{
public:
    virtual ~ILinkTimer() = default;
    // (Re)starts the timer with the interval in milliseconds.
    virtual void Start(int32_t intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Enabled() const = 0;
};

} // namespace hublink
