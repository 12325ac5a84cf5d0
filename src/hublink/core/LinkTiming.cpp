#include "hublink/core/LinkTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

double g_scale = -1.0; // not set yet: taken from the environment on first use

double Clamp(double factor)
{
    return std::max(factor, 0.001);
}

} // namespace

void SetTimeoutScale(double factor)
{
    g_scale = Clamp(factor);
}

double TimeoutScale()
{
    if (g_scale < 0) {
        const char* env = std::getenv("QVS_TIMEOUT_SCALE");
        char* end = nullptr;
        const double value = env != nullptr ? std::strtod(env, &end) : 0.0;
        g_scale = env != nullptr && end != env && value > 0 ? Clamp(value) : 1.0;
    }
    return g_scale;
}

int32_t ScaledInterval(int32_t ms)
{
    const double scaled = std::llround(static_cast<double>(ms) * TimeoutScale());
    return static_cast<int32_t>(std::max(1.0, scaled));
}
