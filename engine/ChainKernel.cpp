#include "ChainKernel.h"

#include "FlushToZero.h"

#include <cfloat>
#include <cmath>
#include <cstring>

// Everything here must give the same bits as one CCompress::Compress call per frame with the
// chain around it. The savings come only from work whose result nothing reads or that cannot
// change a bit: block-constant values computed once, logarithms skipped where a level is
// certainly below the knee (its reduction is exactly 0), one gain for both channels while they
// are fully linked with equal states, and the meter's logarithm taken once per block.
namespace
{
using v2d = double __attribute__ ((vector_size (16)));
using v2l = long long __attribute__ ((vector_size (16)));

constexpr double ln10Single = 2.3025851249694824;
// A level this far (in dB) under a decision boundary is certainly under it, whatever the
// rounding of log10 and of the subtractions: their errors are around 1e-12 dB.
constexpr double boundaryMargin = 1e-6;

inline v2d splat (double x) { return v2d { x, x }; }

inline v2d magnitude (v2d x)
{
    const v2l mask = { 0x7fffffffffffffffLL, 0x7fffffffffffffffLL };
    return reinterpret_cast<v2d> (reinterpret_cast<v2l> (x) & mask);
}

inline v2d keepWhere (v2d x, v2l mask) { return reinterpret_cast<v2d> (reinterpret_cast<v2l> (x) & mask); }

inline v2d flush2 (v2d x)
{
    const v2d m = magnitude (x);
    return keepWhere (x, (m >= splat (DBL_MIN)) & (m <= splat (DBL_MAX)));
}

// Zero, subnormal, non-finite and absurdly loud (1e5 and up) samples are processed as 0.
inline v2d cleanInput2 (v2d x)
{
    const v2d m = magnitude (x);
    return keepWhere (x, (m >= splat (DBL_MIN)) & (m < splat (100000.0)));
}

inline double cleanInput (double x)
{
    const double c = flushToZero (x);
    return std::fabs (c) >= 100000.0 ? 0.0 : c;
}

inline double levelOf (double v) { return v == 0.0 ? -160.0 : flushToZero (20.0 * std::log10 (v)); }

inline double largerInSingle (double first, double second)
{
    const float f1 = static_cast<float> (first);
    const float f2 = static_cast<float> (second);
    return static_cast<double> ((std::isnan (f1) || f2 > f1) ? f2 : f1);
}

// Sections k (channel 0) and k + 8 (channel 1) side by side: the lanes never mix, so each lane
// is exactly the scalar direct form I.
struct SectionPair
{
    v2d b0, b1, b2, a1, a2, x1, x2, y1, y2;

    void load (const CCompress& e, int k)
    {
        b0 = v2d { e.b0[k], e.b0[k + 8] }; b1 = v2d { e.b1[k], e.b1[k + 8] }; b2 = v2d { e.b2[k], e.b2[k + 8] };
        a1 = v2d { e.a1[k], e.a1[k + 8] }; a2 = v2d { e.a2[k], e.a2[k + 8] };
        x1 = v2d { e.x1[k], e.x1[k + 8] }; x2 = v2d { e.x2[k], e.x2[k + 8] };
        y1 = v2d { e.y1[k], e.y1[k + 8] }; y2 = v2d { e.y2[k], e.y2[k + 8] };
    }

    void store (CCompress& e, int k) const
    {
        e.x1[k] = x1[0]; e.x1[k + 8] = x1[1]; e.x2[k] = x2[0]; e.x2[k + 8] = x2[1];
        e.y1[k] = y1[0]; e.y1[k + 8] = y1[1]; e.y2[k] = y2[0]; e.y2[k + 8] = y2[1];
    }

    v2d run (v2d x)
    {
        x = flush2 (x);
        v2d y = (((b1 * x1 + b0 * x) + b2 * x2) - a1 * y1) - a2 * y2;
        y = flush2 (y);
        x2 = x1; x1 = x; y2 = y1; y1 = y;
        return y;
    }
};

// Block constants of the compressor.
struct Constants
{
    double threshold, kneeSpan, slope, ratio, windowLength, rms, peakShare;
    double belowKnee;          // detector values under this are certainly below the knee
    double attack, attackRest, slowAttack, slowAttackRest, release, releaseRest;
    double partialShare;       // p of the partial (mid/side) link
    double outputGain;
    bool limitGainToUnity;
};

// The static-curve value of the previous frame, computed only when the slow-attack rule looks
// at it: below the knee it is the level itself, which needs a logarithm nobody else wants.
struct PreviousCurve
{
    double value = 0.0;
    double pendingDetector = 0.0;
    bool pending = false;

    double get()
    {
        if (pending)
        {
            value = levelOf (pendingDetector);
            pending = false;
        }
        return value;
    }
};

struct Detection
{
    double reduction;
    double curve;         // valid when ! below
    double detector;      // blended detector value, 0 when the level reads -160 dB
    bool below;
    bool inKneeCentre;
};

inline Detection detect (const Constants& k, double d, double ringSum)
{
    Detection r {};
    r.detector = d == 0.0 ? 0.0 : std::sqrt (std::fabs (ringSum) / k.windowLength) * k.rms + k.peakShare * std::fabs (d);
    if (r.detector < k.belowKnee)
    {
        r.below = true; // curve equals level: reduction exactly 0
        r.reduction = 0.0;
        return r;
    }
    const double level = levelOf (r.detector);
    const double over = level - k.threshold;
    if (2.0 * over < -k.kneeSpan)
        r.curve = level;
    else if (2.0 * std::fabs (over) <= k.kneeSpan)
    {
        r.curve = flushToZero (level + k.slope * (over + 0.5 * k.kneeSpan) * (over + 0.5 * k.kneeSpan) / (2.0 * k.kneeSpan));
        r.inKneeCentre = 2.0 * std::fabs (over) <= 1.8;
    }
    else
        r.curve = flushToZero (k.threshold + over / k.ratio);
    r.reduction = level - r.curve;
    return r;
}

inline void remember (PreviousCurve& p, const Detection& d)
{
    p.pending = d.below;
    if (d.below)
        p.pendingDetector = d.detector;
    else
        p.value = d.curve;
}

struct Ballistics
{
    double held, smoothed;

    // Release stage, then attack stage; returns the linear gain.
    double step (const Constants& k, double r, double attack, double attackRest)
    {
        const double h = k.releaseRest * r + k.release * held;
        const double newHeld = r > h ? r : h;
        smoothed = flushToZero (attackRest * newHeld + attack * smoothed);
        held = flushToZero (newHeld);
        if (smoothed == 0.0)
            return 1.0; // exp (-0) exactly
        const double gainDb = -160.0 > -smoothed ? -160.0 : -smoothed;
        const double gain = std::exp (gainDb / 20.0 * ln10Single);
        return (k.limitGainToUnity && gain > 1.0) ? 1.0 : gain;
    }
};

struct Limiter
{
    double held[2], smoothed[2];
    double attack, attackRest, release, releaseRest;

    static double reduction (double u)
    {
        // -0.105 dB is where the -0.1 dB threshold's knee starts; below it nothing is reduced.
        static const double below = std::pow (10.0, (-0.105 - boundaryMargin) / 20.0);
        if (std::fabs (u) < below)
            return 0.0;
        const double level = flushToZero (20.0 * std::log10 (std::fabs (u)));
        const double target = 2.0 * (level + 0.1) < -0.01 ? level : flushToZero ((level + 0.1) / 100.0 - 0.1);
        return level - target;
    }

    double apply (int c, double u, double r)
    {
        const double h = releaseRest * r + release * held[c];
        const double newHeld = r > h ? r : h;
        smoothed[c] = flushToZero (attackRest * newHeld + attack * smoothed[c]);
        held[c] = flushToZero (newHeld);
        return smoothed[c] == 0.0 ? u : u * std::exp (smoothed[c] / -20.0 * ln10Single);
    }
};

bool sameBits (double a, double b) { return std::memcmp (&a, &b, sizeof (double)) == 0; }

template <bool Stereo, bool MidSide, bool Split, bool Limit, bool SharedLink>
void runBlock (CCompress& e, const ChainSettings& s, const Constants& k, double* left, double* right,
               const double* sideChain1, const double* sideChain2, int length) noexcept
{
    SectionPair lowPass0, lowPass1, highPass0, highPass1;
    if constexpr (Stereo)
    {
        lowPass0.load (e, 0);
        lowPass1.load (e, 1);
    }
    highPass0.load (e, 2);
    highPass1.load (e, 3);

    Ballistics channel[2] = { { flushToZero (e.heldReductionDb[0]), flushToZero (e.smoothedReductionDb[0]) },
                              { flushToZero (e.heldReductionDb[1]), flushToZero (e.smoothedReductionDb[1]) } };
    PreviousCurve previous[2];
    previous[0].value = e.previousCurveDb[0];
    previous[1].value = e.previousCurveDb[1];

    Limiter limiter { { flushToZero (e.limiterHeldDb[0]), flushToZero (e.limiterHeldDb[1]) },
                      { flushToZero (e.limiterSmoothedDb[0]), flushToZero (e.limiterSmoothedDb[1]) },
                      e.limiterAttackCoef, 1.0 - e.limiterAttackCoef, e.limiterReleaseCoef, 1.0 - e.limiterReleaseCoef };

    double* rings[2] = { e.rmsRing[0].get(), e.rmsRing[1].get() };
    double sums[2] = { e.ringSum[0], e.ringSum[1] };
    double outgoing[2] = { e.ringOutgoing[0], e.ringOutgoing[1] };
    int index = e.ringIndex;
    const int window = e.rmsWindowLength;

    const v2d inputGain = Stereo ? splat (s.inputGain) : v2d { s.inputGain, 1.0 };
    const v2d outputGain = splat (s.outputGain);
    const v2d wet = splat (s.wet), dry = splat (s.dry);
    const v2d widthRest = splat (1.0 - s.widthShare), widthShare = splat (s.widthShare);
    const v2d midSideWidth = v2d { 1.0, s.sideGain };
    const v2d half = splat (0.5);
    const v2l negateLane0 = { static_cast<long long> (0x8000000000000000ULL), 0 };

    double gain1 = 1.0;
    double lastDetector2 = 0.0;

    for (int i = 0; i < length; ++i)
    {
        const double scRaw[2] = { sideChain1[i], sideChain2[i] };
        v2d c = cleanInput2 (v2d { left[i], right[i] });

        if constexpr (MidSide)
        {
            // mid = (c0 + c1) * 0.5, side = (c1 - c0) * 0.5
            const v2d swapped = v2d { c[1], c[1] };
            const v2d signedC0 = reinterpret_cast<v2d> (reinterpret_cast<v2l> (v2d { c[0], c[0] }) ^ reinterpret_cast<v2l> (v2d { 0.0, -0.0 }));
            c = (swapped + signedC0) * half;
        }
        const v2d dryIn = c;

        v2d w = c, p = splat (0.0);
        if constexpr (Stereo)
        {
            const v2d l = lowPass1.run (lowPass0.run (c));
            if constexpr (MidSide)
                w = c * midSideWidth;
            else
            {
                const v2d rest = c - l;
                const v2d mid = (rest + v2d { rest[1], rest[0] }) * half;
                const double sideRest = rest[1] - rest[0];
                const v2d signedSide = reinterpret_cast<v2d> (reinterpret_cast<v2l> (splat (sideRest)) ^ negateLane0);
                w = mid * widthRest + (mid + signedSide) * widthShare + l;
            }
        }
        p = highPass1.run (highPass0.run (w));
        const v2d into = Split ? w - p : w;

        // Detector input and RMS windows (both rings run, also in mono).
        const v2d gained = into * inputGain;
        double d[2];
        if (s.useSideChain)
        {
            d[0] = cleanInput (scRaw[0]);
            d[1] = cleanInput (scRaw[1]);
        }
        else
        {
            d[0] = gained[0];
            d[1] = gained[1];
        }
        if (++index >= window)
            index = 0;
        for (int ch = 0; ch < 2; ++ch)
        {
            const double g = d[ch] < 1e-11 ? 0.0 : d[ch];
            outgoing[ch] = rings[ch][index];
            rings[ch][index] = g;
            sums[ch] = g * g - outgoing[ch] * outgoing[ch] + sums[ch];
        }

        const Detection det0 = detect (k, d[0], sums[0]);
        v2d gains;
        if constexpr (Stereo)
        {
            const Detection det1 = detect (k, d[1], sums[1]);
            const bool slow = (det0.inKneeCentre && det0.curve >= previous[0].get())
                           || (det1.inKneeCentre && det1.curve >= previous[1].get());
            const double a = slow ? k.slowAttack : k.attack;
            const double aRest = slow ? k.slowAttackRest : k.attackRest;
            remember (previous[0], det0);
            remember (previous[1], det1);

            double r0 = det0.reduction, r1 = det1.reduction;
            const double m = largerInSingle (r0, r1);
            if constexpr (MidSide)
            {
                r0 = r0 * (1.0 - k.partialShare) + m * k.partialShare;
                r1 = r1 * (1.0 - k.partialShare) + m * k.partialShare;
            }
            else
                r0 = r1 = m;

            gain1 = channel[0].step (k, r0, a, aRest);
            if constexpr (SharedLink)
            {
                channel[1] = channel[0];
                gains = splat (gain1);
            }
            else
                gains = v2d { gain1, channel[1].step (k, r1, a, aRest) };
        }
        else
        {
            const bool slow = det0.inKneeCentre && det0.curve >= previous[0].get();
            remember (previous[0], det0);
            lastDetector2 = d[1] == 0.0 ? 0.0 : std::sqrt (std::fabs (sums[1]) / k.windowLength) * k.rms + k.peakShare * std::fabs (d[1]);
            gain1 = channel[0].step (k, det0.reduction, slow ? k.slowAttack : k.attack, slow ? k.slowAttackRest : k.attackRest);
            gains = v2d { gain1, 0.0 };
        }

        v2d out = gained * (gains * outputGain);
        if constexpr (! Stereo)
            out[1] = 0.0; // the second output is not written in mono
        if constexpr (Split)
            out = out + p * outputGain;

        v2d y = dryIn * dry + out * wet;
        if constexpr (MidSide)
        {
            // left = y0 - y1, right = y1 + y0
            const v2d negatedY1 = reinterpret_cast<v2d> (reinterpret_cast<v2l> (v2d { y[1], y[0] }) ^ negateLane0);
            y = v2d { y[0], y[1] } + negatedY1;
        }

        if constexpr (Limit)
        {
            const v2d u = flush2 (y);
            double r0 = Limiter::reduction (u[0]);
            if constexpr (Stereo)
            {
                double r1 = Limiter::reduction (u[1]);
                r0 = r1 = largerInSingle (r0, r1);
                left[i] = limiter.apply (0, u[0], r0);
                right[i] = limiter.apply (1, u[1], r1);
            }
            else
                left[i] = limiter.apply (0, u[0], r0);
        }
        else
        {
            left[i] = y[0];
            if constexpr (Stereo)
                right[i] = y[1];
        }
    }

    // Write the state back.
    if constexpr (Stereo)
    {
        lowPass0.store (e, 0);
        lowPass1.store (e, 1);
    }
    highPass0.store (e, 2);
    highPass1.store (e, 3);

    e.ringIndex = index;
    for (int ch = 0; ch < 2; ++ch)
    {
        e.ringSum[ch] = sums[ch];
        e.ringOutgoing[ch] = outgoing[ch];
    }

    e.heldReductionDb[0] = channel[0].held;
    e.smoothedReductionDb[0] = channel[0].smoothed;
    e.previousCurveDb[0] = previous[0].get();
    if constexpr (Stereo)
    {
        e.heldReductionDb[1] = channel[1].held;
        e.smoothedReductionDb[1] = channel[1].smoothed;
        e.previousCurveDb[1] = previous[1].get();
    }
    else
    {
        e.heldReductionDb[1] = e.smoothedReductionDb[1] = 0.0;
        // Channel 2's curve in mono is the knee formula, kept but never used.
        const double level = levelOf (lastDetector2);
        const double over = level - k.threshold;
        e.previousCurveDb[1] = level + k.slope * (over + 0.5 * k.kneeSpan) * (over + 0.5 * k.kneeSpan) / (2.0 * k.kneeSpan);
    }

    if constexpr (Limit)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            e.limiterHeldDb[ch] = Stereo || ch == 0 ? limiter.held[ch] : 0.0;
            e.limiterSmoothedDb[ch] = Stereo || ch == 0 ? limiter.smoothed[ch] : 0.0;
        }
    }

    // Only the block's last reduction reaches the meter.
    e.reductionDb = -20.0 * std::log10 (gain1);
    e.meterReductionDb = flushToZero (e.reductionDb);
}

using BlockFunction = void (*) (CCompress&, const ChainSettings&, const Constants&, double*, double*,
                                const double*, const double*, int) noexcept;

template <bool Stereo, bool MidSide, bool Split, bool Limit>
BlockFunction pickLink (bool shared)
{
    if constexpr (Stereo && ! MidSide)
        return shared ? &runBlock<Stereo, MidSide, Split, Limit, true> : &runBlock<Stereo, MidSide, Split, Limit, false>;
    else
        return &runBlock<Stereo, MidSide, Split, Limit, false>;
}

template <bool Stereo, bool MidSide>
BlockFunction pickStages (bool split, bool limit, bool shared)
{
    if (split)
        return limit ? pickLink<Stereo, MidSide, true, true> (shared) : pickLink<Stereo, MidSide, true, false> (shared);
    return limit ? pickLink<Stereo, MidSide, false, true> (shared) : pickLink<Stereo, MidSide, false, false> (shared);
}
} // namespace

void designChannelFilters (CCompress& e, int channel, double splitHz, double fs) noexcept
{
    const int base = 8 * channel;
    auto setPair = [&] (int k, double b0, double b1, double b2, double a1, double a2) {
        for (int s = base + k; s < base + k + 2; ++s)
        {
            e.b0[s] = b0; e.b1[s] = b1; e.b2[s] = b2; e.a1[s] = a1; e.a2[s] = a2;
        }
    };
    // Two identical second-order Butterworth sections (Q = 1/sqrt 2) in series make a
    // fourth-order Linkwitz-Riley filter, -6 dB at the corner.
    {
        const double w = e.crossoverHz * 6.283185307179586 / fs;
        const double sn = std::sin (w), cs = std::cos (w);
        const double alpha = sn / 1.4142136573791504;
        const double n = 1.0 / (1.0 + alpha);
        const double b0 = (1.0 - cs) * n * 0.5;
        setPair (0, b0, b0 + b0, b0, cs * -2.0 * n, (1.0 - alpha) * n);
    }
    {
        const double w = splitHz * 6.283185307179586 / fs;
        const double sn = std::sin (w), cs = std::cos (w);
        const double alpha = sn / 1.4142136573791504;
        const double n = 1.0 / (1.0 + alpha);
        const double b0 = (1.0 + cs) * n * 0.5;
        setPair (2, b0, b0 * -2.0, b0, cs * -2.0 * n, (1.0 - alpha) * n);
    }
}

void processChain (CCompress& e, const ChainSettings& s, double* left, double* right,
                   const double* sideChain1, const double* sideChain2, int length) noexcept
{
    // What the first Compress call of the block would do; the rest of the block sees the same.
    e.minGainDb = -160.0;
    e.stereoLink = s.midSide ? 0.5 : 2.0;
    const double oldRate = e.cachedSampleRate;
    e.cachedSampleRate = s.sampleRate;
    if (oldRate != s.sampleRate || e.cachedAttackMs != s.attackMs)
    {
        e.attackCoef = std::exp (-1000.0 / (s.sampleRate * s.attackMs));
        e.cachedAttackMs = s.attackMs;
    }
    if (oldRate != s.sampleRate || e.cachedReleaseMs != s.releaseMs)
    {
        e.releaseCoef = std::exp (-1000.0 / (s.sampleRate * s.releaseMs));
        e.cachedReleaseMs = s.releaseMs;
    }
    if (s.limit && e.limiterSampleRate != s.sampleRate)
    {
        e.limiterAttackCoef = s.limiterAttackCoef;
        e.limiterReleaseCoef = s.limiterReleaseCoef;
        e.limiterSampleRate = s.sampleRate;
    }

    Constants k {};
    k.threshold = flushToZero (s.thresholdDb);
    k.kneeSpan = s.kneeDb + 0.01;
    k.slope = 1.0 / s.ratio - 1.0;
    k.ratio = s.ratio;
    k.windowLength = static_cast<double> (e.rmsWindowLength);
    k.rms = s.rmsAmount;
    k.peakShare = 1.0 - s.rmsAmount;
    k.belowKnee = std::pow (10.0, (k.threshold - 0.5 * k.kneeSpan - boundaryMargin) / 20.0);
    k.attack = e.attackCoef;
    k.attackRest = 1.0 - e.attackCoef;
    k.slowAttack = std::exp (-1000.0 / ((s.attackMs + s.attackMs) * s.sampleRate));
    k.slowAttackRest = 1.0 - k.slowAttack;
    k.release = e.releaseCoef;
    k.releaseRest = 1.0 - e.releaseCoef;
    k.partialShare = 0.5 * e.stereoLink;
    k.outputGain = s.outputGain;
    k.limitGainToUnity = s.ratio >= 1.0;
    if (! (k.belowKnee > 0.0) || ! std::isfinite (k.belowKnee))
        k.belowKnee = 0.0; // settings out of any sane range: take the exact path everywhere

    const bool shared = sameBits (flushToZero (e.heldReductionDb[0]), flushToZero (e.heldReductionDb[1]))
                     && sameBits (flushToZero (e.smoothedReductionDb[0]), flushToZero (e.smoothedReductionDb[1]));

    BlockFunction run;
    if (! s.stereo)
        run = pickStages<false, false> (s.split, s.limit, false);
    else if (s.midSide)
        run = pickStages<true, true> (s.split, s.limit, false);
    else
        run = pickStages<true, false> (s.split, s.limit, shared);
    run (e, s, k, left, right, sideChain1, sideChain2, length);
}
