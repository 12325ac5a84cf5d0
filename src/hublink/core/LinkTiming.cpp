#include "hublink/core/LinkTiming.h"

#include <algorithm>
#include <cmath>

namespace {
double g_scale = 1.0;
}

void SetTimeoutScale(double factor)
{
    g_scale = std::max(factor, 0.001);
}

double TimeoutScale()
{
    return g_scale;
}

int32_t ScaledInterval(int32_t ms)
{
    const double scaled = std::llround(static_cast<double>(ms) * g_scale);
    return static_cast<int32_t>(std::max(1.0, scaled));
}
