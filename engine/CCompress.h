#pragma once

#include <memory>

// The compressor engine: every piece of per-sample state of the signal chain lives here.
// Plain C++ with no framework dependency so it can be built and tested on its own.
class CCompress
{
public:
    CCompress();

    // One sample frame of up to two channels: detector, static curve, stereo link, release and
    // attack ballistics, and the gain. output2 is left untouched in mono.
    void Compress (double input1, double input2, double sideChain1, double sideChain2,
                   double rmsAmount, double* output1, double* output2, double sampleRate,
                   double inputGain, double outputGain, double thresholdDb, double ratio,
                   double attackMs, double releaseMs, double kneeDb, double link,
                   bool mono, bool useSideChain);

    // Sizes the RMS rings to 10 ms at the given rate and clears all state and coefficients.
    void Reset (double sampleRate);

    double minGainDb = -160.0;
    double reductionDb = 0.0;
    double stereoLink = 2.0;
    double crossoverHz = 200.0;
    double meterReductionDb = 0.0;
    double smoothedReductionDb[2] {};
    double heldReductionDb[2] {};
    double previousCurveDb[2] {};
    double limiterSmoothedDb[2] {};
    double limiterHeldDb[2] {};

    // Filter bank: section 8c+k belongs to channel c; k 0-1 crossover low-pass, k 2-3 split
    // high-pass. The remaining sections are unused and stay 0.
    static constexpr int numSections = 16;
    double b0[numSections] {}, b1[numSections] {}, b2[numSections] {}, a1[numSections] {}, a2[numSections] {};
    double x1[numSections] {}, x2[numSections] {}, y1[numSections] {}, y2[numSections] {};

    double cachedAttackMs = 0.0;
    double cachedReleaseMs = 0.0;
    double attackCoef = 0.0;
    double releaseCoef = 0.0;
    double cachedSampleRate = 0.0;
    double limiterAttackCoef = 0.0;
    double limiterReleaseCoef = 0.0;
    double limiterSampleRate = 0.0;
    int ringIndex = 0;
    std::unique_ptr<double[]> rmsRing[2];
    double ringOutgoing[2] {};
    double ringSum[2] {};
    int rmsWindowLength = 400;

    bool isPrepared() const noexcept { return rmsRing[0] != nullptr; }
};
