#include "CCompress.h"

#include "FlushToZero.h"

#include <cmath>

namespace
{
constexpr double ln10Single = 2.3025851249694824; // ln 10 rounded to single precision

// The larger of two reductions, compared in single precision as the link has always done.
double largerInSingle (double first, double second) noexcept
{
    const float f1 = static_cast<float> (first);
    const float f2 = static_cast<float> (second);
    return static_cast<double> ((std::isnan (f1) || f2 > f1) ? f2 : f1);
}
} // namespace

CCompress::CCompress() = default;

void CCompress::Reset (double sampleRate)
{
    // 10 ms of samples, truncated twice; never less than one sample so that absurd rates
    // cannot leave the detector without a window.
    const double tenMilliseconds = sampleRate * 10.0;
    const int window = (tenMilliseconds >= 1000.0 && tenMilliseconds < 2.0e9)
                           ? static_cast<int> (static_cast<double> (static_cast<int> (tenMilliseconds)) / 1000.0)
                           : 1;
    rmsWindowLength = window;

    for (auto& ring : rmsRing)
    {
        ring.reset (new double[static_cast<size_t> (rmsWindowLength)]);
        for (int i = 0; i < rmsWindowLength; ++i)
            ring[i] = 0.0;
    }

    reductionDb = 0.0;
    ringIndex = 0;

    for (int c = 0; c < 2; ++c)
    {
        smoothedReductionDb[c] = heldReductionDb[c] = previousCurveDb[c] = 0.0;
        limiterSmoothedDb[c] = limiterHeldDb[c] = 0.0;
        ringOutgoing[c] = ringSum[c] = 0.0;
    }
    for (int k = 0; k < numSections; ++k)
        b0[k] = b1[k] = b2[k] = a1[k] = a2[k] = x1[k] = x2[k] = y1[k] = y2[k] = 0.0;

    cachedAttackMs = cachedReleaseMs = attackCoef = releaseCoef = cachedSampleRate = 0.0;
    limiterAttackCoef = limiterReleaseCoef = limiterSampleRate = 0.0;
}

void CCompress::Compress (double input1, double input2, double sideChain1, double sideChain2,
                          double rmsAmount, double* output1, double* output2, double sampleRate,
                          double inputGain, double outputGain, double thresholdDb, double ratio,
                          double attackMs, double releaseMs, double kneeDb, double link,
                          bool mono, bool useSideChain)
{
    // Time coefficients are cached; any difference (NaN included) recomputes them.
    const double oldRate = cachedSampleRate;
    cachedSampleRate = sampleRate;
    if (oldRate != sampleRate || cachedAttackMs != attackMs)
    {
        attackCoef = std::exp (-1000.0 / (sampleRate * attackMs));
        cachedAttackMs = attackMs;
    }
    if (oldRate != sampleRate || cachedReleaseMs != releaseMs)
    {
        releaseCoef = std::exp (-1000.0 / (sampleRate * releaseMs));
        cachedReleaseMs = releaseMs;
    }

    const double s[2] = { input1 * inputGain, mono ? input2 : input2 * inputGain };
    const double kneeSpan = kneeDb + 0.01;
    const double threshold = flushToZero (thresholdDb);
    const double slope = 1.0 / ratio - 1.0;

    const double d[2] = { useSideChain ? sideChain1 : s[0], useSideChain ? sideChain2 : s[1] };

    // The window keeps the positive half-wave only: the test is on the signed value.
    if (++ringIndex >= rmsWindowLength)
        ringIndex = 0;
    for (int c = 0; c < 2; ++c)
    {
        const double g = d[c] < 1e-11 ? 0.0 : d[c];
        ringOutgoing[c] = rmsRing[c][ringIndex];
        rmsRing[c][ringIndex] = g;
        ringSum[c] = g * g - ringOutgoing[c] * ringOutgoing[c] + ringSum[c];
    }

    const double windowLength = static_cast<double> (rmsWindowLength);
    double level[2], curve[2];
    bool inKneeCentre[2];
    for (int c = 0; c < 2; ++c)
    {
        double l = -160.0;
        if (d[c] != 0.0)
        {
            const double v = std::sqrt (std::fabs (ringSum[c]) / windowLength) * rmsAmount
                           + (1.0 - rmsAmount) * std::fabs (d[c]);
            if (v != 0.0)
                l = 20.0 * std::log10 (v);
        }
        level[c] = flushToZero (l);

        const double k = level[c] - threshold;
        const double kneeCurve = level[c] + slope * (k + 0.5 * kneeSpan) * (k + 0.5 * kneeSpan) / (2.0 * kneeSpan);
        inKneeCentre[c] = false;

        if (c == 1 && mono)
            curve[c] = kneeCurve; // never used in mono, only remembered
        else if (2.0 * k < -kneeSpan)
            curve[c] = level[c];
        else if (2.0 * std::fabs (k) <= kneeSpan)
        {
            curve[c] = flushToZero (kneeCurve);
            inKneeCentre[c] = 2.0 * std::fabs (k) <= 1.8;
        }
        else
            curve[c] = flushToZero (threshold + k / ratio);
    }

    // While the level rises through the centre of the knee the attack runs at half speed.
    double attack = attackCoef;
    if ((inKneeCentre[0] && curve[0] >= previousCurveDb[0])
        || (! mono && inKneeCentre[1] && curve[1] >= previousCurveDb[1]))
        attack = std::exp (-1000.0 / ((attackMs + attackMs) * sampleRate));

    double r[2] = { level[0] - curve[0], level[1] - curve[1] };

    const double linkValue = mono ? 0.0 : link;
    if (linkValue != 0.0)
    {
        const double m = largerInSingle (r[0], r[1]);
        if (linkValue == 2.0)
            r[0] = r[1] = m;
        else
        {
            const double p = 0.5 * stereoLink;
            r[0] = r[0] * (1.0 - p) + m * p;
            r[1] = r[1] * (1.0 - p) + m * p;
        }
    }

    double* outputs[2] = { output1, output2 };
    const int channels = mono ? 1 : 2;
    for (int c = 0; c < channels; ++c)
    {
        const double held = flushToZero (heldReductionDb[c]);
        const double smoothed = flushToZero (smoothedReductionDb[c]);

        // A rising reduction is taken at once, a falling one decays with the release time.
        const double h = (1.0 - releaseCoef) * r[c] + releaseCoef * held;
        const double newHeld = r[c] > h ? r[c] : h;
        const double newSmoothed = flushToZero ((1.0 - attack) * newHeld + attack * smoothed);

        const double gainDb = minGainDb > -newSmoothed ? minGainDb : -newSmoothed;
        double gain = std::exp (gainDb / 20.0 * ln10Single);
        if (ratio >= 1.0 && gain > 1.0)
            gain = 1.0;
        if (c == 0)
            reductionDb = -20.0 * std::log10 (gain);

        *outputs[c] = s[c] * (gain * outputGain);
        smoothedReductionDb[c] = newSmoothed;
        heldReductionDb[c] = flushToZero (newHeld);
    }
    if (mono)
        smoothedReductionDb[1] = heldReductionDb[1] = 0.0;

    previousCurveDb[0] = curve[0];
    previousCurveDb[1] = curve[1];
}
