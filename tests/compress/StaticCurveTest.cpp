// The soft-knee static curve, observed through previousCurveDb after a single peak-detected call.
// Mono, so that no link rounds the reduction. Expected values worked out by hand from the
// curve: below the knee the level, in the knee L + (1/R - 1)(K + A/2)^2 / 2A, above it T + K/R,
// with A = knee + 0.01.
#include "CompressHarness.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
struct CurveCase
{
    const char* name;
    double thresholdDb, ratio, kneeDb, levelDb, curveDb;
};

void PrintTo (const CurveCase& c, std::ostream* os) { *os << c.name; }

const CurveCase curveCases[] = {
    { "below a 12 dB knee", -20.0, 4.0, 12.0, -30.0, -30.0 },
    { "centre of a 12 dB knee", -20.0, 4.0, 12.0, -20.0, -21.1259375 },
    { "upper part of a 12 dB knee", -20.0, 4.0, 12.0, -16.0, -19.125521180266 },
    { "above a 12 dB knee", -20.0, 4.0, 12.0, -10.0, -17.5 },
    { "hard knee, 12 dB over at 4:1", -20.0, 4.0, 0.0, -8.0, -17.0 },
    { "hard knee is 0.01 dB wide: 0.004 dB over is inside", -20.0, 4.0, 0.0, -19.996, -19.9990375 },
    { "hard knee: 0.006 dB over is above", -20.0, 4.0, 0.0, -19.994, -19.9985 },
    { "hard knee: 0.006 dB under is below", -20.0, 4.0, 0.0, -20.006, -20.006 },
    { "ratio 0.5 doubles the overshoot", -20.0, 0.5, 0.0, -10.0, 0.0 },
    { "ratio 1 above the knee", -20.0, 1.0, 6.0, -10.0, -10.0 },
    { "ratio 1 in the knee", -20.0, 1.0, 6.0, -19.0, -19.0 },
    { "ratio 20 at a 0 dB threshold", 0.0, 20.0, 0.0, 6.0, 0.3 },
    { "a NaN threshold reads as 0 dB", std::numeric_limits<double>::quiet_NaN(), 20.0, 0.0, 6.0, 0.3 },
    { "widest knee, 10 dB under the threshold", -10.0, 20.0, 48.0, -20.0, -21.940564713081 },
};

class StaticCurve : public ::testing::TestWithParam<CurveCase>
{
};
} // namespace

TEST_P (StaticCurve, MapsTheLevel)
{
    const auto& tc = GetParam();
    PreparedCompressor p;
    Frame f;
    f.mono = true;
    f.thresholdDb = tc.thresholdDb;
    f.ratio = tc.ratio;
    f.kneeDb = tc.kneeDb;
    f.at (tc.levelDb);
    compress (p.engine, f);
    EXPECT_NEAR (tc.curveDb, p.engine.previousCurveDb[0], 1e-9);
}

INSTANTIATE_TEST_SUITE_P (Compress, StaticCurve, ::testing::ValuesIn (curveCases),
                          [] (const auto& info) { return caseName (info.param.name); });

// T = -20, ratio 4, hard knee, a steady -8 dB: the curve is -17 dB, so the reduction settles at
// 9 dB and the output sits at -17 dB on both channels.
TEST (StaticCurveSettling, SteadyLevelSettlesAtTheCurve)
{
    PreparedCompressor p;
    Frame f;
    f.thresholdDb = -20.0;
    f.at (-8.0);
    const auto o = compressRepeatedly (p.engine, f, 48000);
    EXPECT_NEAR (9.0, p.engine.reductionDb, 1e-6);
    EXPECT_NEAR (9.0, p.engine.smoothedReductionDb[1], 1e-6);
    EXPECT_NEAR (Frame::amplitude (-17.0), o.out1, 1e-7);
    EXPECT_NEAR (Frame::amplitude (-17.0), o.out2, 1e-7);
}
