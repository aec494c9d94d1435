#pragma once

#include "FlushToZero.h"

#include <cmath>

// What the read-outs and the gain-reduction meter show for a parameter value v (0..1) or a gain
// reduction in dB. The products and sums marked float are done in single precision on purpose:
// they decide where a value that sits on a decimal boundary is truncated.
namespace brisca::readout
{
// One decimal, always towards minus infinity.
inline double trunc1 (double x) { return std::floor (x * 10.0) / 10.0; }

inline double gainDb (float v) { return flushToZero (trunc1 ((double) (v * 40.0f - 20.0f))); }
inline double percent (float v) { return (double) (v * 100.0f); }
inline double highPassHz (float v) { return (double) (v * 1950.0f + 50.0f); }
inline double kneeDb (float v) { return trunc1 ((double) (v * 48.0f)); }
inline double ratio (float v) { return trunc1 ((double) (v * 19.5f + 0.5f)); }
inline double thresholdDb (float v) { return flushToZero (trunc1 (20.0 * std::log10 ((double) (v * 0.99f + 0.01f)))); }
inline double attackMs (float v) { return trunc1 ((double) (v * 100.0f)); }
inline double releaseMs (float v) { return trunc1 ((double) (v * 300.0f)); }

// Lit LEDs: one per 3 dB, halves rounded away from zero, 0..8; an unusable number lights none.
inline int ledCount (double gainReductionDb)
{
    const double leds = std::round (gainReductionDb / 3.0);
    if (leds >= 8.0)
        return 8;
    return leds >= 1.0 ? (int) leds : 0;
}

// The held peak only grows, and stays below the 100 that its four digits cannot show.
inline double heldPeak (double held, double gainReductionDb)
{
    const double peak = held < gainReductionDb ? gainReductionDb : held;
    return peak > 100.0 ? (double) 99.9f : peak;
}
} // namespace brisca::readout
