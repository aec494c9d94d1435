// The stereo link. T = -20 dB, ratio 2, hard knee: a level of -14 dB asks for 3 dB of reduction
// and -8 dB for 6 dB. On the first call after a reset the held reduction is the linked
// reduction itself (a rising reduction is taken at once), so heldReductionDb shows the link.
#include "CompressHarness.h"

#include <gtest/gtest.h>

namespace
{
struct LinkCase
{
    const char* name;
    double link;
    bool mono;
    double level1Db, level2Db;
    double reduction1Db, reduction2Db;
};

void PrintTo (const LinkCase& c, std::ostream* os) { *os << c.name; }

const LinkCase linkCases[] = {
    { "full link takes the larger", 2.0, false, -14.0, -8.0, 6.0, 6.0 },
    { "full link, larger on channel 1", 2.0, false, -8.0, -14.0, 6.0, 6.0 },
    { "mid/side link: 75 % own, 25 % larger", 0.5, false, -14.0, -8.0, 3.75, 6.0 },
    { "mid/side link, larger on channel 1", 0.5, false, -8.0, -14.0, 6.0, 3.75 },
    { "half link", 1.0, false, -14.0, -8.0, 4.5, 6.0 },
    { "mono ignores channel 2", 2.0, true, -14.0, -8.0, 3.0, 0.0 },
};

class StereoLink : public ::testing::TestWithParam<LinkCase>
{
};
} // namespace

TEST_P (StereoLink, SharesTheReduction)
{
    const auto& tc = GetParam();
    PreparedCompressor p;
    Frame f;
    f.thresholdDb = -20.0;
    f.ratio = 2.0;
    f.link = tc.link;
    f.mono = tc.mono;
    f.input1 = Frame::amplitude (tc.level1Db);
    f.input2 = Frame::amplitude (tc.level2Db);
    compress (p.engine, f);
    // The larger reduction is picked in single precision.
    EXPECT_NEAR (tc.reduction1Db, p.engine.heldReductionDb[0], 1e-5);
    EXPECT_NEAR (tc.reduction2Db, p.engine.heldReductionDb[1], 1e-5);
}

INSTANTIATE_TEST_SUITE_P (Compress, StereoLink, ::testing::ValuesIn (linkCases),
                          [] (const auto& info) { return caseName (info.param.name); });

// The link compares and passes on the larger reduction as a float: 6.05 dB is not a float, so
// the linked value must be the nearest float rather than the double.
TEST (StereoLinkPrecision, FullLinkPassesOnTheLargerAsAFloat)
{
    PreparedCompressor p;
    Frame f;
    f.thresholdDb = -20.0;
    f.ratio = 2.0;
    f.input1 = Frame::amplitude (-14.0);
    f.input2 = Frame::amplitude (-7.9);
    compress (p.engine, f);
    const double linked = p.engine.heldReductionDb[0];
    EXPECT_NEAR (6.05, linked, 1e-6);
    EXPECT_EQ (static_cast<double> (static_cast<float> (linked)), linked);
    EXPECT_EQ (linked, p.engine.heldReductionDb[1]);
}
