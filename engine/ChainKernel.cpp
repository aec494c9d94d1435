#include "ChainKernel.h"

#include "ChainConstants.h"
#include "FlushToZero.h"

#include <cmath>
#include <cstring>

namespace
{
constexpr double boundaryMargin = 1e-6;

bool sameBits (double a, double b) { return std::memcmp (&a, &b, sizeof (double)) == 0; }

ChainKernelIsa& selectedIsa()
{
    static ChainKernelIsa isa = __builtin_cpu_supports ("avx") ? ChainKernelIsa::avx : ChainKernelIsa::sse2;
    return isa;
}

bool useAvxKernel() { return selectedIsa() == ChainKernelIsa::avx; }
} // namespace

ChainKernelIsa chainKernelIsa() noexcept { return selectedIsa(); }

void setChainKernelIsa (ChainKernelIsa isa) noexcept
{
    if (isa == ChainKernelIsa::sse2 || __builtin_cpu_supports ("avx"))
        selectedIsa() = isa;
}

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
    // What the block's first Compress call would do; the rest of the block sees the same.
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

    ChainConstants k {};
    k.threshold = flushToZero (s.thresholdDb);
    k.kneeSpan = s.kneeDb + 0.01;
    k.slope = 1.0 / s.ratio - 1.0;
    k.ratio = s.ratio;
    k.windowLength = static_cast<double> (e.rmsWindowLength);
    k.rms = s.rmsAmount;
    k.peakShare = 1.0 - s.rmsAmount;
    k.belowKnee = std::pow (10.0, (k.threshold - 0.5 * k.kneeSpan - boundaryMargin) / 20.0);
    k.aboveKnee = std::pow (10.0, (k.threshold + 0.5 * k.kneeSpan + boundaryMargin) / 20.0);
    k.mayDropSmaller = s.stereo && ! s.midSide && s.ratio >= 1.001 && std::isfinite (k.aboveKnee);
    k.attack = e.attackCoef;
    k.attackRest = 1.0 - e.attackCoef;
    k.slowAttack = std::exp (-1000.0 / ((s.attackMs + s.attackMs) * s.sampleRate));
    k.slowAttackRest = 1.0 - k.slowAttack;
    k.release = e.releaseCoef;
    k.releaseRest = 1.0 - e.releaseCoef;
    k.partialShare = 0.5 * e.stereoLink;
    k.limitGainToUnity = s.ratio >= 1.0;
    if (! (k.belowKnee > 0.0) || ! std::isfinite (k.belowKnee))
        k.belowKnee = 0.0; // no sane threshold: take the exact path everywhere

    const bool shared = sameBits (flushToZero (e.heldReductionDb[0]), flushToZero (e.heldReductionDb[1]))
                     && sameBits (flushToZero (e.smoothedReductionDb[0]), flushToZero (e.smoothedReductionDb[1]));
    const bool peakOnly = s.rmsAmount == 0.0;

    k.rings[0] = e.rmsRing[0].get();
    k.rings[1] = e.rmsRing[1].get();

    if (useAvxKernel())
        kernel_avx::runChain (e, s, k, left, right, sideChain1, sideChain2, length, shared, peakOnly);
    else
        kernel_sse2::runChain (e, s, k, left, right, sideChain1, sideChain2, length, shared, peakOnly);
}
