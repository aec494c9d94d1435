#pragma once

#include <cfloat>
#include <cmath>

// Recursive state is kept clean of subnormal, infinite and NaN values by hand rather than by a
// processor flush-to-zero mode, so results do not depend on the host's FPU settings.
inline double flushToZero (double x) noexcept
{
    const double magnitude = std::fabs (x);
    return (magnitude >= DBL_MIN && magnitude <= DBL_MAX) ? x : 0.0;
}
