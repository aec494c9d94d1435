// The chain kernel's body, compiled once per instruction set (see ChainKernelSse2.cpp and
// ChainKernelAvx.cpp) inside its own namespace, so no inline function is shared between the
// builds. Every variant gives the same bits: the lanes of a vector operation are exactly the
// scalar IEEE operations.
//
// The savings over one CCompress::Compress call per frame come only from work whose result
// nothing reads or that cannot change a bit: block constants computed once, filter sections run
// one at a time over a slice of the block so their state stays in registers, logarithms skipped
// where a level is certainly below the knee (its reduction is exactly 0) or certainly the smaller
// of two fully linked levels, one gain for both channels while they are linked with equal
// states, and the meter's logarithm taken once per block.

#include "ChainConstants.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <immintrin.h>

namespace BRISCA_KERNEL_NS
{
inline double flushScalar (double x) noexcept
{
    const double magnitude = std::fabs (x);
    return (magnitude >= DBL_MIN && magnitude <= DBL_MAX) ? x : 0.0;
}

using v2d = double __attribute__ ((vector_size (16)));
using v2l = long long __attribute__ ((vector_size (16)));

constexpr double ln10Single = 2.3025851249694824;
// A level this far (in dB) beyond a decision boundary is certainly beyond it, whatever the
// rounding of log10 and of the arithmetic after it (errors around 1e-12 dB).
constexpr double boundaryMargin = 1e-6;
constexpr int sliceLength = 128;

inline v2d splat (double x) { return v2d { x, x }; }
inline v2d asDouble (v2l x) { return reinterpret_cast<v2d> (x); }
inline v2l asBits (v2d x) { return reinterpret_cast<v2l> (x); }

inline v2d magnitude (v2d x)
{
    return asDouble (asBits (x) & v2l { 0x7fffffffffffffffLL, 0x7fffffffffffffffLL });
}

// Keeps x where lo <= |x| and |x| <= hi (or < hi), else +0. Written with SSE2 intrinsics
// because the compiler turns the plain vector form into per-lane branches.
template <bool IncludeHigh>
inline v2d keepMagnitudeWithin (v2d x, double lo, double hi)
{
    const __m128d v = static_cast<__m128d> (x);
    const __m128d m = _mm_and_pd (v, _mm_castsi128_pd (_mm_set1_epi64x (0x7fffffffffffffffLL)));
    const __m128d upper = IncludeHigh ? _mm_cmple_pd (m, _mm_set1_pd (hi)) : _mm_cmplt_pd (m, _mm_set1_pd (hi));
    const __m128d keep = _mm_and_pd (_mm_cmple_pd (_mm_set1_pd (lo), m), upper);
    return static_cast<v2d> (_mm_and_pd (v, keep));
}

inline v2d flush2 (v2d x) { return keepMagnitudeWithin<true> (x, DBL_MIN, DBL_MAX); }

// Zero, subnormal, non-finite and absurdly loud (1e5 and up) samples are processed as 0.
inline v2d cleanInput2 (v2d x) { return keepMagnitudeWithin<false> (x, DBL_MIN, 100000.0); }

// Negates lane 0 only (exact: a sign flip).
inline v2d negateLow (v2d x)
{
    return asDouble (asBits (x) ^ v2l { static_cast<long long> (0x8000000000000000ULL), 0 });
}

inline v2d negateHigh (v2d x)
{
    return asDouble (asBits (x) ^ v2l { 0, static_cast<long long> (0x8000000000000000ULL) });
}

inline v2d swapLanes (v2d x) { return v2d { x[1], x[0] }; }

inline double levelOf (double v) { return v == 0.0 ? -160.0 : flushScalar (20.0 * std::log10 (v)); }

inline double largerInSingle (double first, double second)
{
    const float f1 = static_cast<float> (first);
    const float f2 = static_cast<float> (second);
    return static_cast<double> ((std::isnan (f1) || f2 > f1) ? f2 : f1);
}

//==============================================================================
// Sections k (channel 0) and k + 8 (channel 1) side by side: lanes never mix, so each lane is
// exactly the scalar direct form I.
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

    // Inputs that are already normal or zero need no flush: flushing is idempotent.
    template <bool FlushInput>
    void run (const v2d* in, v2d* out, int n)
    {
        v2d p1 = x1, p2 = x2, q1 = y1, q2 = y2;
        for (int i = 0; i < n; ++i)
        {
            const v2d x = FlushInput ? flush2 (in[i]) : in[i];
            const v2d y = flush2 ((((b1 * p1 + b0 * x) + b2 * p2) - a1 * q1) - a2 * q2);
            p2 = p1; p1 = x; q2 = q1; q1 = y;
            out[i] = y;
        }
        x1 = p1; x2 = p2; y1 = q1; y2 = q2;
    }
};

struct Filters
{
    SectionPair lowPass[2], highPass[2];
};

// Two section pairs in series (first, then second) over n samples.
template <bool FlushInput>
void runCascade (SectionPair& first, SectionPair& second, const v2d* in, v2d* out, int n)
{
#ifdef __AVX__
    // Software-pipelined in 256-bit lanes: lanes 0-1 run the first pair on sample i while
    // lanes 2-3 run the second pair on the first pair's output for sample i - 1. The lanes are
    // independent, so each is still exactly the scalar section.
    if (n < 2)
    {
        first.run<FlushInput> (in, out, n);
        second.run<false> (out, out, n);
        return;
    }
    using v4d = __m256d;
    auto join = [] (v2d lo, v2d hi) { return _mm256_insertf128_pd (_mm256_castpd128_pd256 (static_cast<__m128d> (lo)), static_cast<__m128d> (hi), 1); };
    const v4d absMask = _mm256_castsi256_pd (_mm256_set1_epi64x (0x7fffffffffffffffLL));
    const v4d lo = _mm256_set1_pd (DBL_MIN), hi = _mm256_set1_pd (DBL_MAX);
    auto flush4 = [&] (v4d x) {
        const v4d m = _mm256_and_pd (x, absMask);
        return _mm256_and_pd (x, _mm256_and_pd (_mm256_cmp_pd (lo, m, _CMP_LE_OQ), _mm256_cmp_pd (m, hi, _CMP_LE_OQ)));
    };

    // Prologue: the first pair alone on sample 0.
    v2d pending;
    first.run<FlushInput> (in, &pending, 1);

    const v4d b0 = join (first.b0, second.b0), b1 = join (first.b1, second.b1), b2 = join (first.b2, second.b2);
    const v4d a1 = join (first.a1, second.a1), a2 = join (first.a2, second.a2);
    v4d x1 = join (first.x1, second.x1), x2 = join (first.x2, second.x2);
    v4d y1 = join (first.y1, second.y1), y2 = join (first.y2, second.y2);
    for (int i = 1; i < n; ++i)
    {
        const v2d input = FlushInput ? flush2 (in[i]) : in[i];
        const v4d x = join (input, pending);
        const v4d y = flush4 (_mm256_sub_pd (_mm256_sub_pd (_mm256_add_pd (_mm256_add_pd (_mm256_mul_pd (b1, x1), _mm256_mul_pd (b0, x)),
                                                                         _mm256_mul_pd (b2, x2)),
                                                          _mm256_mul_pd (a1, y1)),
                                             _mm256_mul_pd (a2, y2)));
        x2 = x1; x1 = x; y2 = y1; y1 = y;
        pending = static_cast<v2d> (_mm256_castpd256_pd128 (y));
        out[i - 1] = static_cast<v2d> (_mm256_extractf128_pd (y, 1));
    }
    auto low = [] (v4d v) { return static_cast<v2d> (_mm256_castpd256_pd128 (v)); };
    auto high = [] (v4d v) { return static_cast<v2d> (_mm256_extractf128_pd (v, 1)); };
    first.x1 = low (x1); first.x2 = low (x2); first.y1 = low (y1); first.y2 = low (y2);
    second.x1 = high (x1); second.x2 = high (x2); second.y1 = high (y1); second.y2 = high (y2);

    // Epilogue: the second pair alone on the last sample.
    second.run<false> (&pending, out + n - 1, 1);
#else
    first.run<FlushInput> (in, out, n);
    second.run<false> (out, out, n);
#endif
}

// Input cleaning, mid/side, crossover, width and split for one slice; the compressor sees
// `into`, the split band is `bypass`, and `dry` is the signal for the wet/dry mix.
template <bool Stereo, bool MidSide, bool Split>
void prepareSlice (Filters& f, const ChainSettings& s, const double* left, const double* right,
                   v2d* dry, v2d* into, v2d* bypass, int n)
{
    for (int i = 0; i < n; ++i)
    {
        v2d c = cleanInput2 (v2d { left[i], right[i] });
        if constexpr (MidSide)
            c = (splat (c[1]) + negateHigh (splat (c[0]))) * splat (0.5); // (c0 + c1)/2, (c1 - c0)/2
        dry[i] = c;
    }

    v2d w[sliceLength];
    if constexpr (Stereo)
    {
        v2d l[sliceLength];
        runCascade<false> (f.lowPass[0], f.lowPass[1], dry, l, n);
        if constexpr (MidSide)
        {
            const v2d sideGain = v2d { 1.0, s.sideGain };
            for (int i = 0; i < n; ++i)
                w[i] = dry[i] * sideGain;
        }
        else
        {
            const v2d share = splat (s.widthShare), rest = splat (1.0 - s.widthShare);
            for (int i = 0; i < n; ++i)
            {
                // Mid of the band above the crossover unchanged, its side scaled.
                const v2d e = dry[i] - l[i];
                const v2d mid = (e + swapLanes (e)) * splat (0.5);
                const v2d side = negateLow (splat (e[1] - e[0]));
                w[i] = mid * rest + (mid + side) * share + l[i];
            }
        }
    }
    else
        std::memcpy (w, dry, sizeof (v2d) * static_cast<size_t> (n));

    // The width stage can produce subnormals only in left/right stereo.
    constexpr bool widthMayDenormalise = Stereo && ! MidSide;
    runCascade<widthMayDenormalise> (f.highPass[0], f.highPass[1], w, bypass, n);

    for (int i = 0; i < n; ++i)
        into[i] = Split ? w[i] - bypass[i] : w[i];
}

//==============================================================================

struct Detection
{
    double reduction = 0.0;
    double curve = 0.0;
    bool inKneeCentre = false;
};

// Level and static curve of a channel that is not certainly below the knee.
inline Detection curveFor (const ChainConstants& k, double detector)
{
    Detection r;
    const double level = levelOf (detector);
    const double over = level - k.threshold;
    if (2.0 * over < -k.kneeSpan)
        r.curve = level;
    else if (2.0 * std::fabs (over) <= k.kneeSpan)
    {
        r.curve = flushScalar (level + k.slope * (over + 0.5 * k.kneeSpan) * (over + 0.5 * k.kneeSpan) / (2.0 * k.kneeSpan));
        r.inKneeCentre = 2.0 * std::fabs (over) <= 1.8;
    }
    else
        r.curve = flushScalar (k.threshold + over / k.ratio);
    r.reduction = level - r.curve;
    return r;
}

struct Ballistics
{
    double held, smoothed;

    // Release stage, then attack stage; returns the linear gain.
    double step (const ChainConstants& k, double r, double attack, double attackRest)
    {
        const double h = k.releaseRest * r + k.release * held;
        const double newHeld = r > h ? r : h;
        smoothed = flushScalar (attackRest * newHeld + attack * smoothed);
        held = flushScalar (newHeld);
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
    double belowThreshold;

    double reduction (double u) const
    {
        if (std::fabs (u) < belowThreshold)
            return 0.0; // target equals level
        const double level = flushScalar (20.0 * std::log10 (std::fabs (u)));
        // Threshold -0.1 dB, ratio 100.
        const double target = 2.0 * (level + 0.1) < -0.01 ? level : flushScalar ((level + 0.1) / 100.0 - 0.1);
        return level - target;
    }

    double apply (int c, double u, double r)
    {
        const double h = releaseRest * r + release * held[c];
        const double newHeld = r > h ? r : h;
        smoothed[c] = flushScalar (attackRest * newHeld + attack * smoothed[c]);
        held[c] = flushScalar (newHeld);
        return smoothed[c] == 0.0 ? u : u * std::exp (smoothed[c] / -20.0 * ln10Single);
    }
};

// The static-curve values of the previous frame, per channel. Where nothing needed a level,
// its logarithm is taken only if the slow-attack rule asks for the curve.
struct PreviousCurves
{
    enum Pending : int { none, belowKnee, aboveKnee };
    double value[2];
    double detector[2];
    Pending pending[2] = { none, none };

    double get (const ChainConstants& k, int c)
    {
        if (pending[c] != none)
        {
            const double level = levelOf (detector[c]);
            value[c] = pending[c] == belowKnee ? level : flushScalar (k.threshold + (level - k.threshold) / k.ratio);
            pending[c] = none;
        }
        return value[c];
    }
};

struct CoreState
{
    Ballistics channel[2];
    PreviousCurves previous;
    Limiter limiter;
    double* rings[2];
    v2d sums, outgoing;
    int index, window;
    double gain1 = 1.0;
    double lastSum2 = 0.0, lastInput2 = 0.0;
};

struct LinkedReductions
{
    double r0, r1;
};

template <bool MidSide>
inline LinkedReductions shareReductions (const ChainConstants& k, double r0, double r1, double m)
{
    if constexpr (MidSide)
        return { r0 * (1.0 - k.partialShare) + m * k.partialShare, r1 * (1.0 - k.partialShare) + m * k.partialShare };
    else
        return { m, m };
}

// Curves, slow-attack rule and link for a stereo frame where a level may reach the knee.
template <bool MidSide>
LinkedReductions linkStereo (PreviousCurves& previous, const ChainConstants& k, v2d detector, int belowMask, bool& slow)
{
    if (belowMask != 0)
    {
        // One channel below the knee: its reduction is exactly 0.
        const int c = belowMask == 1 ? 1 : 0;
        const Detection det = curveFor (k, detector[c]);
        slow = det.inKneeCentre && det.curve >= previous.get (k, c);
        previous.pending[c] = PreviousCurves::none;
        previous.value[c] = det.curve;
        previous.pending[1 - c] = PreviousCurves::belowKnee;
        previous.detector[1 - c] = detector[1 - c];
        const double r0 = c == 0 ? det.reduction : 0.0;
        const double r1 = c == 1 ? det.reduction : 0.0;
        return shareReductions<MidSide> (k, r0, r1, largerInSingle (r0, r1));
    }

    if constexpr (! MidSide)
    {
        const double v0 = detector[0], v1 = detector[1];
        if (k.mayDropSmaller && v0 > k.aboveKnee && v1 > k.aboveKnee && (v0 > v1 * (1.0 + 1e-7) || v1 > v0 * (1.0 + 1e-7)))
        {
            // Both certainly above the knee and clearly apart: the smaller reduction cannot win
            // the full link, and above the knee no channel is in its centre.
            const int big = v0 > v1 ? 0 : 1;
            const Detection det = curveFor (k, detector[big]);
            slow = false;
            previous.pending[big] = PreviousCurves::none;
            previous.value[big] = det.curve;
            previous.pending[1 - big] = PreviousCurves::aboveKnee;
            previous.detector[1 - big] = detector[1 - big];
            const double m = static_cast<double> (static_cast<float> (det.reduction));
            return { m, m };
        }
    }

    const Detection det0 = curveFor (k, detector[0]);
    const Detection det1 = curveFor (k, detector[1]);
    // Half-speed attack while a level rises through the centre of the knee.
    slow = (det0.inKneeCentre && det0.curve >= previous.get (k, 0))
        || (det1.inKneeCentre && det1.curve >= previous.get (k, 1));
    previous.pending[0] = previous.pending[1] = PreviousCurves::none;
    previous.value[0] = det0.curve;
    previous.value[1] = det1.curve;
    return shareReductions<MidSide> (k, det0.reduction, det1.reduction, largerInSingle (det0.reduction, det1.reduction));
}

// Detector, curve, link, ballistics, gain, split, mix, mid/side decoding and limiter for one
// slice, writing the host's channels.
template <bool Stereo, bool MidSide, bool Split, bool Limit, bool SharedGain, bool PeakOnly>
void compressSlice (CoreState& st, const ChainConstants& k, const ChainSettings& s, const v2d* dry, const v2d* into,
                    const v2d* bypass, const v2d* sideChain, double* left, double* right, int n)
{
    const v2d inputGain = Stereo ? splat (s.inputGain) : v2d { s.inputGain, 1.0 };
    const v2d outputGain = splat (s.outputGain);
    const v2d wet = splat (s.wet), dryShare = splat (s.dry);
    const __m128d belowKnee = _mm_set1_pd (k.belowKnee);

    // Working copies in locals: the compiler cannot keep fields of st in registers across the
    // stores into the rings.
    double* const ring0 = st.rings[0];
    double* const ring1 = st.rings[1];
    const int window = st.window;
    int index = st.index;
    v2d sums = st.sums, outgoing = st.outgoing;
    Ballistics channel0 = st.channel[0], channel1 = st.channel[1];
    double gain1 = st.gain1;
    double lastInput2 = st.lastInput2, lastSum2 = st.lastSum2;

    for (int i = 0; i < n; ++i)
    {
        const v2d gained = into[i] * inputGain;
        const v2d d = sideChain != nullptr ? sideChain[i] : gained;

        // RMS windows of the positive half-wave, one shared position.
        if (++index >= window)
            index = 0;
        const v2d g = static_cast<v2d> (_mm_andnot_pd (_mm_cmplt_pd (d, _mm_set1_pd (1e-11)), d));
        outgoing = v2d { ring0[index], ring1[index] };
        ring0[index] = g[0];
        ring1[index] = g[1];
        sums = g * g - outgoing * outgoing + sums;

        // A detector sample of exactly 0 reads -160 dB, like a blended value of 0.
        v2d detector;
        if constexpr (PeakOnly)
            detector = magnitude (d); // the RMS term is exactly 0 and the peak share exactly 1
        else
        {
            const v2d blended = static_cast<v2d> (_mm_sqrt_pd (magnitude (sums) / splat (k.windowLength))) * splat (k.rms)
                              + splat (k.peakShare) * magnitude (d);
            detector = static_cast<v2d> (_mm_andnot_pd (_mm_cmpeq_pd (d, _mm_setzero_pd()), blended));
        }
        const int belowMask = _mm_movemask_pd (_mm_cmplt_pd (detector, belowKnee));

        v2d gains;
        if constexpr (Stereo)
        {
            LinkedReductions linked { 0.0, 0.0 };
            bool slow = false;
            if (belowMask == 3)
            {
                // Both certainly below the knee: no reduction, curves pending.
                st.previous.pending[0] = st.previous.pending[1] = PreviousCurves::belowKnee;
                st.previous.detector[0] = detector[0];
                st.previous.detector[1] = detector[1];
            }
            else
                linked = linkStereo<MidSide> (st.previous, k, detector, belowMask, slow);

            const double a = slow ? k.slowAttack : k.attack;
            const double aRest = slow ? k.slowAttackRest : k.attackRest;
            gain1 = channel0.step (k, linked.r0, a, aRest);
            if constexpr (SharedGain)
            {
                channel1 = channel0;
                gains = splat (gain1);
            }
            else
                gains = v2d { gain1, channel1.step (k, linked.r1, a, aRest) };
        }
        else
        {
            Detection det;
            bool slow = false;
            if (belowMask & 1)
            {
                st.previous.pending[0] = PreviousCurves::belowKnee;
                st.previous.detector[0] = detector[0];
            }
            else
            {
                det = curveFor (k, detector[0]);
                slow = det.inKneeCentre && det.curve >= st.previous.get (k, 0);
                st.previous.pending[0] = PreviousCurves::none;
                st.previous.value[0] = det.curve;
            }
            gain1 = channel0.step (k, det.reduction, slow ? k.slowAttack : k.attack, slow ? k.slowAttackRest : k.attackRest);
            gains = v2d { gain1, 0.0 };
            lastInput2 = d[1];
            lastSum2 = sums[1];
        }

        v2d out = gained * (gains * outputGain);
        if constexpr (Split)
            out = out + bypass[i] * outputGain;
        v2d y = dry[i] * dryShare + out * wet;
        if constexpr (MidSide)
            y = y + negateLow (swapLanes (y)); // left = y0 - y1, right = y1 + y0

        if constexpr (Limit)
        {
            const v2d u = flush2 (y);
            double r0 = st.limiter.reduction (u[0]);
            if constexpr (Stereo)
            {
                r0 = largerInSingle (r0, st.limiter.reduction (u[1]));
                left[i] = st.limiter.apply (0, u[0], r0);
                right[i] = st.limiter.apply (1, u[1], r0);
            }
            else
                left[i] = st.limiter.apply (0, u[0], r0);
        }
        else
        {
            left[i] = y[0];
            if constexpr (Stereo)
                right[i] = y[1];
        }
    }
    st.index = index;
    st.sums = sums;
    st.outgoing = outgoing;
    st.channel[0] = channel0;
    st.channel[1] = channel1;
    st.gain1 = gain1;
    st.lastInput2 = lastInput2;
    st.lastSum2 = lastSum2;
}

//==============================================================================
template <bool Stereo, bool MidSide, bool Split, bool Limit, bool SharedGain, bool PeakOnly>
void runBlock (CCompress& e, const ChainSettings& s, const ChainConstants& k, double* left, double* right,
               const double* sideChain1, const double* sideChain2, int length) noexcept
{
    Filters f;
    if constexpr (Stereo)
    {
        f.lowPass[0].load (e, 0);
        f.lowPass[1].load (e, 1);
    }
    f.highPass[0].load (e, 2);
    f.highPass[1].load (e, 3);

    CoreState st;
    for (int c = 0; c < 2; ++c)
    {
        st.channel[c] = { flushScalar (e.heldReductionDb[c]), flushScalar (e.smoothedReductionDb[c]) };
        st.previous.value[c] = e.previousCurveDb[c];
        st.rings[c] = k.rings[c];
    }
    st.limiter = { { flushScalar (e.limiterHeldDb[0]), flushScalar (e.limiterHeldDb[1]) },
                   { flushScalar (e.limiterSmoothedDb[0]), flushScalar (e.limiterSmoothedDb[1]) },
                   e.limiterAttackCoef, 1.0 - e.limiterAttackCoef, e.limiterReleaseCoef, 1.0 - e.limiterReleaseCoef,
                   // -0.105 dB is where the limiter's knee starts; below it nothing is reduced.
                   std::pow (10.0, (-0.105 - boundaryMargin) / 20.0) };
    st.sums = v2d { e.ringSum[0], e.ringSum[1] };
    st.outgoing = v2d { e.ringOutgoing[0], e.ringOutgoing[1] };
    st.index = e.ringIndex;
    st.window = e.rmsWindowLength;

    alignas (16) v2d dry[sliceLength], into[sliceLength], bypass[sliceLength], keyed[sliceLength];
    for (int start = 0; start < length; start += sliceLength)
    {
        const int n = length - start < sliceLength ? length - start : sliceLength;
        prepareSlice<Stereo, MidSide, Split> (f, s, left + start, right + start, dry, into, bypass, n);
        const v2d* sideChain = nullptr;
        if (s.useSideChain)
        {
            for (int i = 0; i < n; ++i)
                keyed[i] = cleanInput2 (v2d { sideChain1[start + i], sideChain2[start + i] });
            sideChain = keyed;
        }
        compressSlice<Stereo, MidSide, Split, Limit, SharedGain, PeakOnly> (st, k, s, dry, into, bypass, sideChain,
                                                                            left + start, right + start, n);
    }

    // Write the state back.
    if constexpr (Stereo)
    {
        f.lowPass[0].store (e, 0);
        f.lowPass[1].store (e, 1);
    }
    f.highPass[0].store (e, 2);
    f.highPass[1].store (e, 3);

    e.ringIndex = st.index;
    e.ringSum[0] = st.sums[0];
    e.ringSum[1] = st.sums[1];
    e.ringOutgoing[0] = st.outgoing[0];
    e.ringOutgoing[1] = st.outgoing[1];

    e.heldReductionDb[0] = st.channel[0].held;
    e.smoothedReductionDb[0] = st.channel[0].smoothed;
    e.previousCurveDb[0] = st.previous.get (k, 0);
    if constexpr (Stereo)
    {
        e.heldReductionDb[1] = st.channel[1].held;
        e.smoothedReductionDb[1] = st.channel[1].smoothed;
        e.previousCurveDb[1] = st.previous.get (k, 1);
    }
    else
    {
        e.heldReductionDb[1] = e.smoothedReductionDb[1] = 0.0;
        // Channel 2's curve in mono is the unflushed knee formula, kept but never used.
        const double d = st.lastInput2;
        const double detector = d == 0.0 ? 0.0 : std::sqrt (std::fabs (st.lastSum2) / k.windowLength) * k.rms + k.peakShare * std::fabs (d);
        const double level = levelOf (detector);
        const double over = level - k.threshold;
        e.previousCurveDb[1] = level + k.slope * (over + 0.5 * k.kneeSpan) * (over + 0.5 * k.kneeSpan) / (2.0 * k.kneeSpan);
    }

    if constexpr (Limit)
        for (int c = 0; c < 2; ++c)
        {
            e.limiterHeldDb[c] = Stereo || c == 0 ? st.limiter.held[c] : 0.0;
            e.limiterSmoothedDb[c] = Stereo || c == 0 ? st.limiter.smoothed[c] : 0.0;
        }

    // Only the block's last reduction reaches the meter.
    e.reductionDb = -20.0 * std::log10 (st.gain1);
    e.meterReductionDb = flushScalar (e.reductionDb);
}

//==============================================================================
using BlockFunction = void (*) (CCompress&, const ChainSettings&, const ChainConstants&, double*, double*,
                                const double*, const double*, int) noexcept;

template <bool Stereo, bool MidSide, bool Split, bool Limit>
BlockFunction pickDetector (bool shared, bool peakOnly)
{
    if constexpr (Stereo && ! MidSide)
    {
        if (shared)
            return peakOnly ? &runBlock<Stereo, MidSide, Split, Limit, true, true> : &runBlock<Stereo, MidSide, Split, Limit, true, false>;
    }
    return peakOnly ? &runBlock<Stereo, MidSide, Split, Limit, false, true> : &runBlock<Stereo, MidSide, Split, Limit, false, false>;
}

template <bool Stereo, bool MidSide>
BlockFunction pickStages (bool split, bool limit, bool shared, bool peakOnly)
{
    if (split)
        return limit ? pickDetector<Stereo, MidSide, true, true> (shared, peakOnly) : pickDetector<Stereo, MidSide, true, false> (shared, peakOnly);
    return limit ? pickDetector<Stereo, MidSide, false, true> (shared, peakOnly) : pickDetector<Stereo, MidSide, false, false> (shared, peakOnly);
}


void runChain (CCompress& e, const ChainSettings& s, const ChainConstants& k, double* left, double* right,
               const double* sideChain1, const double* sideChain2, int length, bool sharedGain, bool peakOnly) noexcept
{
    BlockFunction run;
    if (! s.stereo)
        run = pickStages<false, false> (s.split, s.limit, false, peakOnly);
    else if (s.midSide)
        run = pickStages<true, true> (s.split, s.limit, false, peakOnly);
    else
        run = pickStages<true, false> (s.split, s.limit, sharedGain, peakOnly);
    run (e, s, k, left, right, sideChain1, sideChain2, length);
}
} // namespace BRISCA_KERNEL_NS
