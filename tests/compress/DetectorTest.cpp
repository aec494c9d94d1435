// The level detector: a blend of the 10 ms positive-half-wave RMS window and the instantaneous
// magnitude. With the threshold at 0 dB every level below 0 dB lies below the knee, where the
// static curve is the level itself, so previousCurveDb shows the detected level directly.
#include "CompressHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Run
{
    double sample1, sample2;
    int calls;
};

struct DetectorCase
{
    const char* name;
    double rmsAmount;
    std::vector<Run> runs;
    double level1Db, level2Db;
};

void PrintTo (const DetectorCase& c, std::ostream* os) { *os << c.name; }

// At 48 kHz the window is 480 samples. Expected levels worked out by hand from the window
// contents: e.g. 240 x 0.5^2 + 240 x 0.25^2 over 480 is 0.15625, i.e. -8.0618 dB.
const DetectorCase detectorCases[] = {
    { "peak of a constant 0.5", 0.0, { { 0.5, 0.5, 1 } }, -6.0206, -6.0206 },
    { "peak reads the magnitude of negative samples", 0.0, { { -0.5, -0.25, 1 } }, -6.0206, -12.0412 },
    { "rms after one full window", 1.0, { { 0.25, 0.5, 480 } }, -12.0412, -6.0206 },
    { "rms long after the window filled", 1.0, { { 0.25, 0.5, 2000 } }, -12.0412, -6.0206 },
    { "rms over a quarter window divides by the full length", 1.0, { { 0.25, 0.25, 120 } }, -18.0618, -18.0618 },
    { "rms drops what leaves the window", 1.0, { { 0.5, 0.5, 480 }, { 0.25, 0.25, 240 } }, -8.0618, -8.0618 },
    { "rms of a negative constant stays empty", 1.0, { { -0.5, 0.5, 480 } }, -160.0, -6.0206 },
    { "rms ignores positive samples below 1e-11", 1.0, { { 5e-12, 5e-12, 480 } }, -160.0, -160.0 },
    { "half rms, half peak of a negative constant", 0.5, { { -0.5, -0.5, 480 } }, -12.0412, -12.0412 },
};

class DetectorLevels : public ::testing::TestWithParam<DetectorCase>
{
};
} // namespace

TEST_P (DetectorLevels, ReadTheExpectedLevel)
{
    const auto& tc = GetParam();
    PreparedCompressor p;
    Frame f;
    f.rmsAmount = tc.rmsAmount;
    for (const auto& run : tc.runs)
    {
        f.input1 = run.sample1;
        f.input2 = run.sample2;
        compressRepeatedly (p.engine, f, run.calls);
    }
    EXPECT_NEAR (tc.level1Db, p.engine.previousCurveDb[0], 1e-4);
    EXPECT_NEAR (tc.level2Db, p.engine.previousCurveDb[1], 1e-4);
}

INSTANTIATE_TEST_SUITE_P (Compress, DetectorLevels, ::testing::ValuesIn (detectorCases),
                          [] (const auto& info) { return caseName (info.param.name); });

TEST (DetectorSource, InputGainFeedsTheDetectorButNotTheSideChain)
{
    PreparedCompressor own, keyed;
    Frame f;
    f.inputGain = 10.0;
    f.input1 = f.input2 = 0.05; // 0.5 after the input gain

    compress (own.engine, f);
    EXPECT_NEAR (-6.0206, own.engine.previousCurveDb[0], 1e-4);

    f.useSideChain = true;
    f.sideChain1 = 0.5;
    f.sideChain2 = 0.25;
    compress (keyed.engine, f);
    EXPECT_NEAR (-6.0206, keyed.engine.previousCurveDb[0], 1e-4);
    EXPECT_NEAR (-12.0412, keyed.engine.previousCurveDb[1], 1e-4);
}

// A detector sample of exactly 0 reads -160 dB whatever the window holds; a tiny positive one
// or a negative one leaves the window's term in place (479 of 480 slots at 0.5: -6.0297 dB).
TEST (DetectorSource, ExactZeroReadsTheFloorAndAddsNoReduction)
{
    struct Case
    {
        double sample, levelDb;
    };
    for (const Case c : { Case { 0.0, -160.0 }, Case { 1e-12, -6.029657 }, Case { -0.5, -6.029657 } })
    {
        SCOPED_TRACE (c.sample);
        PreparedCompressor p;
        Frame f;
        f.rmsAmount = 1.0;
        f.thresholdDb = -40.0;
        f.input1 = f.input2 = 0.5;
        compressRepeatedly (p.engine, f, 480);
        ASSERT_NEAR (25.4846, p.engine.heldReductionDb[0], 1e-3); // (-6.02 + 40) x (1 - 1/4)

        const double heldBefore = p.engine.heldReductionDb[0];
        f.input1 = f.input2 = c.sample;
        compress (p.engine, f);
        if (c.levelDb == -160.0)
        {
            EXPECT_EQ (-160.0, p.engine.previousCurveDb[0]);
            // Nothing new: the held reduction only decays by one release step.
            EXPECT_DOUBLE_EQ (p.engine.releaseCoef * heldBefore, p.engine.heldReductionDb[0]);
        }
        else
        {
            const double overshoot = c.levelDb + 40.0;
            EXPECT_NEAR (-40.0 + overshoot / 4.0, p.engine.previousCurveDb[0], 1e-5);
        }
    }
}
