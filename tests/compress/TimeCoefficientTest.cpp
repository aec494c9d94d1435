// Attack and release coefficients: cached per time and rate, and the slow-attack rule in the
// centre of the knee.
#include "CompressHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
double coefficient (double ms, double rate)
{
    return std::exp (-1000.0 / (rate * ms));
}

// Marks both cached coefficients so that a recomputation shows.
void poison (CCompress& c)
{
    c.attackCoef = 0.25;
    c.releaseCoef = 0.75;
}
} // namespace

TEST (TimeCoefficients, OneTimeConstantDecaysByOneOverE)
{
    PreparedCompressor p;
    Frame f;
    f.attackMs = 10.0;
    f.releaseMs = 100.0;
    compress (p.engine, f);
    EXPECT_NEAR (std::exp (-1.0), std::pow (p.engine.attackCoef, 480.0), 1e-12);
    EXPECT_NEAR (std::exp (-1.0), std::pow (p.engine.releaseCoef, 4800.0), 1e-12);
}

TEST (TimeCoefficients, RecomputedOnlyForWhatChanged)
{
    PreparedCompressor p;
    CCompress& c = p.engine;
    Frame f;
    f.attackMs = 10.0;
    f.releaseMs = 100.0;
    compress (c, f);

    poison (c);
    compress (c, f);
    EXPECT_EQ (0.25, c.attackCoef) << "unchanged times must use the cache";
    EXPECT_EQ (0.75, c.releaseCoef);

    f.attackMs = 20.0;
    compress (c, f);
    EXPECT_EQ (coefficient (20.0, 48000.0), c.attackCoef);
    EXPECT_EQ (0.75, c.releaseCoef) << "an attack change must not touch the release";

    poison (c);
    f.releaseMs = 50.0;
    compress (c, f);
    EXPECT_EQ (0.25, c.attackCoef) << "a release change must not touch the attack";
    EXPECT_EQ (coefficient (50.0, 48000.0), c.releaseCoef);

    poison (c);
    f.sampleRate = 44100.0;
    compress (c, f);
    EXPECT_EQ (coefficient (20.0, 44100.0), c.attackCoef);
    EXPECT_EQ (coefficient (50.0, 44100.0), c.releaseCoef);

    // NaN never equals the cached NaN, so it is recomputed on every call.
    f.attackMs = std::nan ("");
    compress (c, f);
    poison (c);
    compress (c, f);
    EXPECT_TRUE (std::isnan (c.attackCoef));
    EXPECT_EQ (0.75, c.releaseCoef);
}

namespace
{
struct SlowAttackCase
{
    const char* name;
    bool mono;
    double firstDb1, firstDb2;   // levels of the first call
    double secondDb1, secondDb2; // levels of the observed call
    bool slow;
};

void PrintTo (const SlowAttackCase& c, std::ostream* os) { *os << c.name; }

// T = -20 dB, ratio 4, 12 dB knee: the knee centre is -20.9 to -19.1 dB.
const SlowAttackCase slowAttackCases[] = {
    { "rising through the centre", false, -20.5, -20.5, -20.2, -20.2, true },
    { "steady in the centre", true, -20.3, -10.0, -20.3, -10.0, true },
    { "falling through the centre", false, -20.2, -20.2, -20.5, -20.5, false },
    { "rising into the centre from below", false, -40.0, -40.0, -20.2, -20.2, true },
    { "rising in the knee, just outside the centre", false, -19.05, -19.05, -19.0, -19.0, false },
    { "rising above the knee", false, -10.0, -10.0, -9.0, -9.0, false },
    { "channel 2 rising through the centre", false, -10.0, -20.5, -10.0, -20.2, true },
    { "channel 2 steady in the centre", false, -10.0, -20.3, -10.0, -20.3, true },
    { "channel 2 is ignored in mono", true, -10.0, -20.5, -10.0, -20.2, false },
    { "mono, channel 1 rising through the centre", true, -20.5, -10.0, -20.2, -10.0, true },
};

class SlowAttack : public ::testing::TestWithParam<SlowAttackCase>
{
};
} // namespace

// The attack coefficient a a call used shows in channel 1's states:
// smoothed = (1 - a) held + a smoothedBefore.
TEST_P (SlowAttack, HalvesTheAttackSpeedWhileRisingThroughTheKneeCentre)
{
    const auto& tc = GetParam();
    PreparedCompressor p;
    Frame f;
    f.thresholdDb = -20.0;
    f.kneeDb = 12.0;
    f.attackMs = 1.0;
    f.mono = tc.mono;
    f.input1 = Frame::amplitude (tc.firstDb1);
    f.input2 = Frame::amplitude (tc.firstDb2);
    compress (p.engine, f);

    const double smoothedBefore = p.engine.smoothedReductionDb[0];
    f.input1 = Frame::amplitude (tc.secondDb1);
    f.input2 = Frame::amplitude (tc.secondDb2);
    compress (p.engine, f);
    const double held = p.engine.heldReductionDb[0];
    ASSERT_GT (std::fabs (held - smoothedBefore), 0.1);
    const double used = (p.engine.smoothedReductionDb[0] - held) / (smoothedBefore - held);

    const double expected = coefficient (tc.slow ? 2.0 : 1.0, 48000.0);
    EXPECT_NEAR (expected, used, 1e-9);
    EXPECT_EQ (coefficient (1.0, 48000.0), p.engine.attackCoef) << "the slow coefficient is not cached";
}

INSTANTIATE_TEST_SUITE_P (Compress, SlowAttack, ::testing::ValuesIn (slowAttackCases),
                          [] (const auto& info) { return caseName (info.param.name); });
