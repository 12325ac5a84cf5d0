#pragma once
// Computed values stored in whole numbers: the nearest one, and the nearest
// one a 32-bit field can hold.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

// Nearest whole number, a half going to the even neighbour (nearbyint in the
// default rounding mode).
inline int64_t RoundHalfEven(double value)
{
    return static_cast<int64_t>(std::nearbyint(value));
}

// A wide result stored in a 32-bit Long: out-of-range values stop at the
// nearest end instead of wrapping round.
inline int32_t SaturateLong(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace platform
