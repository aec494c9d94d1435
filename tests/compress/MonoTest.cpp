// Mono calls: only channel 1 is processed, channel 2 leaves nothing behind but its window and
// its remembered curve value.
#include "CompressHarness.h"

#include <gtest/gtest.h>

TEST (MonoCompress, ProcessesChannelOneAlone)
{
    PreparedCompressor p;
    CCompress& c = p.engine;
    Frame f;
    f.mono = true;
    f.thresholdDb = -20.0;
    f.inputGain = 2.0;
    f.input1 = 0.25; // 0.5 after the input gain: -6.02 dB
    f.input2 = 0.9;  // louder, but must not pull channel 1 down

    Outputs o {};
    for (int i = 0; i < 48000; ++i)
    {
        c.smoothedReductionDb[1] = c.heldReductionDb[1] = 5.0;
        o = compress (c, f, { 0.0, 123.25 });
    }

    // Channel 1 alone: (-6.02 + 20) x (1 - 1/4) = 10.4846 dB.
    EXPECT_NEAR (10.484550065, c.reductionDb, 1e-6);
    EXPECT_NEAR (0.5 * Frame::amplitude (-10.484550065), o.out1, 1e-7);
    EXPECT_EQ (123.25, o.out2) << "output2 keeps the caller's value";
    EXPECT_EQ (0.0, c.smoothedReductionDb[1]);
    EXPECT_EQ (0.0, c.heldReductionDb[1]);

    // Channel 2's window still runs, on the input without gain: 480 x 0.9^2.
    EXPECT_NEAR (480 * 0.81, c.ringSum[1], 1e-9);
}

// In mono channel 2's curve value is always the knee formula, unflushed: at -6.02 dB, 13.98 dB
// over a -20 dB threshold with a 0.01 dB knee, L + (1/4 - 1)(K + 0.005)^2 / 0.02 = -7339.65.
TEST (MonoCompress, RemembersChannelTwosKneeFormula)
{
    PreparedCompressor p;
    Frame f;
    f.mono = true;
    f.thresholdDb = -20.0;
    f.input1 = 0.1;
    f.input2 = 0.5;
    compress (p.engine, f);
    EXPECT_NEAR (-7339.649816868, p.engine.previousCurveDb[1], 1e-6);
}
