#include "platform/base/TimeoutScale.h"

#include <cstdlib>

namespace platform {
namespace {
double g_scale = -1; // not read from the environment yet
} // namespace

void SetTimeoutScale(double scale)
{
    g_scale = scale > 0 ? scale : 1.0;
}

double TimeoutScale()
{
    if (g_scale < 0) {
        const char* env = std::getenv("QVS_TIMEOUT_SCALE");
        const double v = env != nullptr ? std::atof(env) : 0.0;
        g_scale = v > 0 ? v : 1.0;
    }
    return g_scale;
}

} // namespace platform
