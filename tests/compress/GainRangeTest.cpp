// The ends of the gain range: the reduction floor, expansion below ratio 1, and ratio 1 itself.
#include "CompressHarness.h"

#include <gtest/gtest.h>

#include <random>

// Below the threshold only the two gains act, the input gain before the detector.
TEST (GainRange, InputAndOutputGainsApplyWithoutReduction)
{
    PreparedCompressor p;
    Frame f;
    f.inputGain = 2.0;
    f.outputGain = 3.0;
    f.input1 = 0.125;
    f.input2 = -0.0625;
    const auto o = compress (p.engine, f);
    EXPECT_EQ (0.75, o.out1);
    EXPECT_EQ (-0.375, o.out2);
    EXPECT_EQ (0.0, p.engine.reductionDb);
}

// T = -40 dB, ratio 20: a level of 275.79 dB is 315.79 dB over and asks for 300 dB of reduction.
// The gain stage stops at minGainDb; the smoothing state itself is not bounded.
TEST (GainRange, ReductionStopsAtTheFloor)
{
    const double amplitude = Frame::amplitude (-40.0 + 300.0 / 0.95);
    for (const double floorDb : { -160.0, -40.0 })
    {
        SCOPED_TRACE (floorDb);
        PreparedCompressor p;
        Frame f;
        f.thresholdDb = -40.0;
        f.ratio = 20.0;
        f.minGainDb = floorDb;
        f.input1 = f.input2 = amplitude;
        const auto o = compressRepeatedly (p.engine, f, 4800); // ten attack times
        EXPECT_NEAR (300.0, p.engine.heldReductionDb[0], 1e-3);
        EXPECT_GT (p.engine.smoothedReductionDb[0], 299.9);
        EXPECT_NEAR (-floorDb, p.engine.reductionDb, 1e-5);
        EXPECT_NEAR (amplitude * Frame::amplitude (floorDb), o.out1, 1e-6 * amplitude * Frame::amplitude (floorDb));
        EXPECT_NEAR (o.out1, o.out2, 1e-15 * o.out1);
    }
}

// Ratio 0.5 with a level 10 dB over the threshold: the curve lies 20 dB over, the reduction is
// -10 dB, and since it is negative the release stage (not the attack) brings it in: after one
// 10 ms release time the held value is -10 x (1 - 1/e) = -6.3212 dB. The gain settles at +10 dB.
TEST (GainRange, RatioBelowOneExpandsWithTheReleaseTime)
{
    PreparedCompressor p;
    Frame f;
    f.thresholdDb = -20.0;
    f.ratio = 0.5;
    f.attackMs = 0.01;
    f.releaseMs = 10.0;
    f.at (-10.0);

    double previousOut = f.input1;
    for (int i = 0; i < 480; ++i)
    {
        const auto o = compress (p.engine, f);
        ASSERT_GT (o.out1, previousOut) << "call " << i;
        previousOut = o.out1;
    }
    EXPECT_NEAR (0.0, p.engine.previousCurveDb[0], 1e-9);
    EXPECT_NEAR (-6.321205588286, p.engine.heldReductionDb[0], 1e-9);

    const auto o = compressRepeatedly (p.engine, f, 48000);
    EXPECT_NEAR (-10.0, p.engine.reductionDb, 1e-6);
    EXPECT_NEAR (Frame::amplitude (10.0), o.out1 / f.input1, 1e-6);
    EXPECT_NEAR (Frame::amplitude (10.0), o.out2 / f.input2, 1e-6);
}

// Ratio 1 leaves every sample exactly as it came, whatever the detector and the knee do.
TEST (GainRange, RatioOneIsExactlyUnity)
{
    std::mt19937 rng (7);
    std::uniform_real_distribution<double> levelDb (-40.0, -9.0);
    for (const double kneeDb : { 0.0, 6.0 })
        for (const double rmsAmount : { 0.0, 0.5, 1.0 })
        {
            SCOPED_TRACE (testing::Message() << "knee " << kneeDb << " rms " << rmsAmount);
            PreparedCompressor p;
            Frame f;
            f.thresholdDb = -20.0;
            f.ratio = 1.0;
            f.kneeDb = kneeDb;
            f.rmsAmount = rmsAmount;
            f.attackMs = 1.0;
            f.releaseMs = 10.0;
            for (int i = 0; i < 5000; ++i)
            {
                f.input1 = Frame::amplitude (levelDb (rng)) * (i % 3 == 0 ? -1.0 : 1.0);
                f.input2 = Frame::amplitude (levelDb (rng));
                const auto o = compress (p.engine, f);
                ASSERT_EQ (f.input1, o.out1) << "call " << i;
                ASSERT_EQ (f.input2, o.out2) << "call " << i;
                ASSERT_EQ (0.0, p.engine.reductionDb) << "call " << i;
            }
        }
}
