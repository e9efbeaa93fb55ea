#pragma once
// Pixel coordinates are taken from doubles by truncation toward zero, never by
// rounding; the instruments' expected pictures depend on it.
#include <cmath>

namespace instruments {

// Truncates toward zero. A value outside any picture (or not a number, which a
// corrupt frame could produce) is pinned to a large finite coordinate instead of
// being converted with undefined behaviour.
inline int Truncate(double value)
{
    constexpr double limit = 1.0e9;
    if (std::isnan(value))
        return 0;
    if (value > limit)
        return int(limit);
    if (value < -limit)
        return -int(limit);
    return int(value);
}

} // namespace instruments
