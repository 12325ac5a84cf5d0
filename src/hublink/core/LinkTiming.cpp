#include "hublink/core/LinkTiming.h"

#include "platform/base/TimeoutScale.h"

#include <algorithm>
#include <cmath>

namespace hublink {

int32_t ScaledInterval(int32_t ms)
{
    const double scaled = std::llround(static_cast<double>(ms) * platform::TimeoutScale());
    return static_cast<int32_t>(std::max(1.0, scaled));
}

} // namespace hublink
