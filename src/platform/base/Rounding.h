#pragma once
// Computed values stored in whole numbers take the nearest one.
#include <cmath>
#include <cstdint>

namespace platform {

// Nearest whole number, a half going to the even neighbour (nearbyint in the
// default rounding mode).
inline int64_t RoundHalfEven(double value)
{
    return static_cast<int64_t>(std::nearbyint(value));
}

} // namespace platform
