// The signal chain as a host drives it: through the processor's public processBlock, double
// and float. Expected values come from identities of the chain or from figures worked out by
// hand; the filter references below are independent textbook biquads, not the engine's code.
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <vector>

namespace
{
enum class Precision { Double, Float };

void PrintTo (Precision precision, std::ostream* os) { *os << (precision == Precision::Double ? "double" : "float"); }

constexpr double rate = 48000.0;
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double subnormal = 1e-310;

// A processor on the given main and side-chain channel counts (0: side chain disabled) at
// 48 kHz, with settings that leave a quiet signal alone: 0 dB threshold, hard knee, peak
// detection, unity gains, wet 1, every stage off.
struct Chain
{
    BriscaAudioProcessor p;
    const int mainChannels;

    Chain (int mainCount, int sideCount) : mainChannels (mainCount)
    {
        auto layout = p.getBusesLayout();
        layout.inputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mainCount);
        layout.outputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mainCount);
        layout.inputBuses.getReference (1) = sideCount == 0 ? juce::AudioChannelSet::disabled()
                                                            : juce::AudioChannelSet::canonicalChannelSet (sideCount);
        EXPECT_TRUE (p.setBusesLayout (layout));
        p.setRateAndBufferSizeDetails (rate, 512);
        p.prepareToPlay (rate, 512);

        set (p.dbEnable, 1.0f);
        for (auto* s : { p.dbSideChain, p.dbHPEnable, p.dbLimit, p.dbMSInput })
            set (s, 0.0f);
        for (auto* f : { p.dbRMS, p.dbWide, p.dbHP, p.dbKnee })
            set (f, 0.0f);
        set (p.dbInput, 0.5f);
        set (p.dbOutput, 0.5f);
        set (p.dbThreshold, 1.0f);
        set (p.dbWet, 1.0f);
    }

    // Threshold -40 dB, ratio 20: anything louder than -40 dB is pulled down hard.
    void compressHard()
    {
        set (p.dbThreshold, 0.0f);
        set (p.dbRatio, 1.0f);
    }

    static void set (juce::AudioProcessorParameter* parameter, float value) { parameter->setValue (value); }

    int channels() const { return juce::jmax (p.getTotalNumInputChannels(), p.getTotalNumOutputChannels()); }
    int key (int k) const { return mainChannels + k; }

    juce::AudioBuffer<double> silence (int length) const
    {
        juce::AudioBuffer<double> b (channels(), length);
        b.clear();
        return b;
    }

    void process (juce::AudioBuffer<double>& b, Precision precision)
    {
        juce::MidiBuffer midi;
        if (precision == Precision::Double)
        {
            p.processBlock (b, midi);
            return;
        }
        juce::AudioBuffer<float> f;
        f.makeCopyOf (b);
        p.processBlock (f, midi);
        b.makeCopyOf (f);
    }
};

// Linear gain of a dbInput/dbOutput value, from the plain formula 40 v - 20 dB.
double gainOf (const juce::AudioParameterFloat* parameter)
{
    return std::pow (10.0, (40.0 * parameter->get() - 20.0) / 20.0);
}

// Signals are made of float values so that both precisions start from the same samples.
double asFloat (double x) { return static_cast<double> (static_cast<float> (x)); }

void fillNoise (juce::AudioBuffer<double>& b, int channel, double amplitude, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<double> u (-amplitude, amplitude);
    for (int i = 0; i < b.getNumSamples(); ++i)
        b.setSample (channel, i, asFloat (u (rng)));
}

void fillConstant (juce::AudioBuffer<double>& b, int channel, double value)
{
    for (int i = 0; i < b.getNumSamples(); ++i)
        b.setSample (channel, i, value);
}

bool sameSample (double a, double b) { return (std::isnan (a) && std::isnan (b)) || a == b; }

void expectSameChannel (const juce::AudioBuffer<double>& expected, const juce::AudioBuffer<double>& actual, int channel)
{
    for (int i = 0; i < expected.getNumSamples(); ++i)
        ASSERT_TRUE (sameSample (expected.getSample (channel, i), actual.getSample (channel, i)))
            << "channel " << channel << " sample " << i << ": " << expected.getSample (channel, i) << " vs "
            << actual.getSample (channel, i);
}

void expectSameBuffer (const juce::AudioBuffer<double>& expected, const juce::AudioBuffer<double>& actual)
{
    ASSERT_EQ (expected.getNumChannels(), actual.getNumChannels());
    for (int ch = 0; ch < expected.getNumChannels(); ++ch)
        expectSameChannel (expected, actual, ch);
}

// Rounding allowance for results that differ from the expectation only by arithmetic order.
double rounding (Precision precision) { return precision == Precision::Double ? 1e-14 : 2e-7; }

// Fourth-order Linkwitz-Riley low- or high-pass: two textbook Butterworth biquads (Q = 1/sqrt 2)
// in transposed direct form II.
class LinkwitzRiley
{
public:
    LinkwitzRiley (bool highPass, double hz)
    {
        const double w = 2.0 * M_PI * hz / rate;
        const double cw = std::cos (w), alpha = std::sin (w) / std::sqrt (2.0), a0 = 1.0 + alpha;
        const double edge = highPass ? (1.0 + cw) / 2.0 : (1.0 - cw) / 2.0;
        b[0] = b[2] = edge / a0;
        b[1] = (highPass ? -2.0 : 2.0) * edge / a0;
        a[0] = -2.0 * cw / a0;
        a[1] = (1.0 - alpha) / a0;
    }

    double operator() (double x)
    {
        for (auto& z : state)
        {
            const double y = b[0] * x + z[0];
            z[0] = b[1] * x - a[0] * y + z[1];
            z[1] = b[2] * x - a[1] * y;
            x = y;
        }
        return x;
    }

private:
    double b[3], a[2];
    double state[2][2] {};
};

class SignalChain : public ::testing::TestWithParam<Precision>
{
};
} // namespace

INSTANTIATE_TEST_SUITE_P (BothPrecisions, SignalChain, ::testing::Values (Precision::Double, Precision::Float),
                          [] (const auto& info) { return info.param == Precision::Double ? "Double" : "Float"; });

TEST_P (SignalChain, DisabledPassesEverythingThroughAndFreezesTheState)
{
    Chain chain (2, 2), twin (2, 2);
    for (Chain* c : { &chain, &twin })
    {
        c->compressHard();
        auto loud = c->silence (2000);
        fillNoise (loud, 0, 0.5, 1);
        fillNoise (loud, 1, 0.5, 2);
        c->process (loud, GetParam());
    }
    const double reduction = chain.p.gainReductionDb.load();
    ASSERT_GT (reduction, 10.0);

    Chain::set (chain.p.dbEnable, 0.0f);
    auto input = chain.silence (1000);
    for (int ch = 0; ch < chain.channels(); ++ch)
        fillNoise (input, ch, 2.0, 10 + ch);
    input.setSample (0, 3, notANumber);
    input.setSample (1, 4, 1e6);
    input.setSample (0, 5, -inf);
    auto output = input;
    chain.process (output, GetParam());
    expectSameBuffer (input, output);
    EXPECT_EQ (reduction, chain.p.gainReductionDb.load());

    // Switched on again, it resumes from the state it had, as if the off block never happened.
    Chain::set (chain.p.dbEnable, 1.0f);
    auto after = chain.silence (1000);
    fillNoise (after, 0, 0.5, 3);
    fillNoise (after, 1, 0.5, 4);
    auto afterTwin = after;
    chain.process (after, GetParam());
    twin.process (afterTwin, GetParam());
    expectSameBuffer (afterTwin, after);
    EXPECT_EQ (twin.p.gainReductionDb.load(), chain.p.gainReductionDb.load());
}

TEST_P (SignalChain, WetZeroReturnsTheCleanedInputExactly)
{
    for (const int mainChannels : { 2, 1 })
    {
        SCOPED_TRACE (mainChannels);
        Chain chain (mainChannels, 2);
        chain.compressHard(); // everything the wet path does must vanish
        Chain::set (chain.p.dbWet, 0.0f);
        Chain::set (chain.p.dbHPEnable, 1.0f);
        Chain::set (chain.p.dbWide, 1.0f);
        Chain::set (chain.p.dbInput, 1.0f);
        Chain::set (chain.p.dbSideChain, 1.0f);

        auto input = chain.silence (4000);
        for (int ch = 0; ch < chain.channels(); ++ch)
            fillNoise (input, ch, 0.9, 20 + ch);
        const double bad[] = { notANumber, inf, -inf, 1e5, -1e5, 3e7, GetParam() == Precision::Double ? subnormal : 0.0 };
        for (int k = 0; k < 7; ++k)
            input.setSample (k % mainChannels, 100 + 37 * k, bad[k]);
        input.setSample (0, 2000, 99999.0); // just under the cut-off: kept

        auto output = input;
        chain.process (output, GetParam());
        for (int ch = 0; ch < mainChannels; ++ch)
            for (int i = 0; i < input.getNumSamples(); ++i)
            {
                const double x = input.getSample (ch, i);
                const double cleaned = (std::isfinite (x) && std::fabs (x) < 1e5 && std::fabs (x) >= 1e-300) ? x : 0.0;
                ASSERT_EQ (cleaned, output.getSample (ch, i)) << "channel " << ch << " sample " << i;
            }
    }
}

TEST_P (SignalChain, WetZeroInMidSideReturnsTheInputWithinRounding)
{
    Chain chain (2, 0);
    chain.compressHard();
    Chain::set (chain.p.dbWet, 0.0f);
    Chain::set (chain.p.dbMSInput, 1.0f);
    auto input = chain.silence (4000);
    fillNoise (input, 0, 0.9, 30);
    fillNoise (input, 1, 0.3, 31);
    auto output = input;
    chain.process (output, GetParam());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_NEAR (input.getSample (ch, i), output.getSample (ch, i), 1e-15) << "channel " << ch << " sample " << i;
}

// A bad main sample must behave exactly like a 0 there: same output everywhere, same meter.
TEST_P (SignalChain, BadMainSamplesAreProcessedAsZero)
{
    struct Mode
    {
        const char* name;
        int mainChannels;
        bool midSide, split, limit;
    };
    for (const Mode mode : { Mode { "stereo", 2, false, false, false }, Mode { "mid/side, split, limiter", 2, true, true, true },
                             Mode { "mono, split, limiter", 1, false, true, true } })
    {
        SCOPED_TRACE (mode.name);
        juce::AudioBuffer<double> results[2];
        double meters[2];
        for (int run = 0; run < 2; ++run)
        {
            Chain chain (mode.mainChannels, 0);
            chain.compressHard();
            Chain::set (chain.p.dbRMS, 0.5f);
            Chain::set (chain.p.dbWide, 0.7f);
            Chain::set (chain.p.dbMSInput, mode.midSide ? 1.0f : 0.0f);
            Chain::set (chain.p.dbHPEnable, mode.split ? 1.0f : 0.0f);
            Chain::set (chain.p.dbLimit, mode.limit ? 1.0f : 0.0f);
            Chain::set (chain.p.dbOutput, 1.0f);
            auto b = chain.silence (3000);
            for (int ch = 0; ch < mode.mainChannels; ++ch)
                fillNoise (b, ch, 0.5, 40 + ch);
            const double bad[] = { notANumber, inf, -inf, 1e5, -1e5, 1e300, GetParam() == Precision::Double ? subnormal : 0.0 };
            for (int k = 0; k < 7; ++k)
                b.setSample (k % mode.mainChannels, 200 + 301 * k, run == 0 ? bad[k] : 0.0);
            chain.process (b, GetParam());
            results[run] = b;
            meters[run] = chain.p.gainReductionDb.load();
        }
        expectSameBuffer (results[1], results[0]);
        EXPECT_EQ (meters[1], meters[0]);
        EXPECT_GT (meters[1], 5.0);
    }
}

// dbWide 1 with no reduction and unity gains: above the crossover the side grows by 2a = 1.6
// and the mid stays; a signal identical in both channels is left alone.
TEST_P (SignalChain, WidthRaisesTheSideAndKeepsTheMid)
{
    Chain chain (2, 0);
    Chain::set (chain.p.dbWide, 1.0f);
    const double amplitude = 0.25;
    auto b = chain.silence (9600);
    for (int i = 0; i < b.getNumSamples(); ++i)
        b.setSample (0, i, asFloat (amplitude * std::sin (2.0 * M_PI * 5000.0 * i / rate)));
    const auto input = b;
    chain.process (b, GetParam());
    ASSERT_EQ (0.0, chain.p.gainReductionDb.load());

    for (int i = 0; i < b.getNumSamples(); ++i)
    {
        const double midIn = (input.getSample (0, i) + input.getSample (1, i)) * 0.5;
        const double sideIn = input.getSample (1, i) - input.getSample (0, i);
        const double midOut = (b.getSample (0, i) + b.getSample (1, i)) * 0.5;
        const double sideOut = b.getSample (1, i) - b.getSample (0, i);
        ASSERT_NEAR (midIn, midOut, amplitude * rounding (GetParam())) << "sample " << i;
        if (i >= 2400) // once the crossover's response to the onset has died away
            ASSERT_NEAR (1.6 * sideIn, sideOut, 1e-4 * 1.6 * amplitude) << "sample " << i;
    }

    // In mid/side the whole side, at every frequency, grows by wide/2 + 1 = 1.5.
    Chain midSide (2, 0);
    Chain::set (midSide.p.dbWide, 1.0f);
    Chain::set (midSide.p.dbMSInput, 1.0f);
    auto noise = midSide.silence (4800);
    fillNoise (noise, 0, 0.3, 51);
    fillNoise (noise, 1, 0.2, 52);
    const auto noiseIn = noise;
    midSide.process (noise, GetParam());
    for (int i = 0; i < noise.getNumSamples(); ++i)
    {
        const double l = noiseIn.getSample (0, i), r = noiseIn.getSample (1, i);
        ASSERT_NEAR ((l + r) * 0.5, (noise.getSample (0, i) + noise.getSample (1, i)) * 0.5, 0.5 * rounding (GetParam()));
        ASSERT_NEAR (1.5 * (r - l), noise.getSample (1, i) - noise.getSample (0, i), 0.5 * rounding (GetParam()));
    }

    Chain same (2, 0);
    Chain::set (same.p.dbWide, 1.0f);
    auto mono = same.silence (4800);
    fillNoise (mono, 0, 0.5, 50);
    mono.copyFrom (1, 0, mono, 0, 0, mono.getNumSamples());
    const auto monoIn = mono;
    same.process (mono, GetParam());
    for (int i = 0; i < mono.getNumSamples(); ++i)
    {
        ASSERT_EQ (mono.getSample (0, i), mono.getSample (1, i)) << "sample " << i;
        ASSERT_NEAR (monoIn.getSample (0, i), mono.getSample (0, i), 0.5 * rounding (GetParam())) << "sample " << i;
    }
}

// The split sends the high-pass band p of the width stage's output w past the compressor: the
// output is outputGain (inputGain (w - p) + p). With both gains at unity the two paths add back
// to w. Here w and p come from the reference filters above, w through the identity
// w0 = c0 + (0.5 - a) es, w1 = c1 + (a - 0.5) es with es the side of c - lowpass(c).
TEST_P (SignalChain, SplitBandBypassesTheInputGain)
{
    struct Gains
    {
        float input, output;
    };
    for (const int mainChannels : { 2, 1 })
        for (const Gains g : { Gains { 0.5f, 0.5f }, Gains { 0.75f, 0.5f }, Gains { 0.5f, 0.25f }, Gains { 0.75f, 0.75f } })
        {
            SCOPED_TRACE (testing::Message() << mainChannels << " channels, gains " << g.input << " " << g.output);
            Chain chain (mainChannels, 0);
            Chain::set (chain.p.dbHPEnable, 1.0f);
            Chain::set (chain.p.dbHP, 0.5f); // 1025 Hz
            Chain::set (chain.p.dbInput, g.input);
            Chain::set (chain.p.dbOutput, g.output);
            const double inputGain = gainOf (chain.p.dbInput), outputGain = gainOf (chain.p.dbOutput);
            const double splitHz = 1950.0 * chain.p.dbHP->get() + 50.0;

            auto b = chain.silence (4800);
            for (int ch = 0; ch < mainChannels; ++ch)
                for (int i = 0; i < b.getNumSamples(); ++i)
                {
                    const double t = i / rate;
                    b.setSample (ch, i, asFloat (0.02 * (std::sin (2 * M_PI * 100 * t) + std::sin (2 * M_PI * (900 + 300 * ch) * t + ch)
                                                         + std::sin (2 * M_PI * 6000 * t))));
                }
            const auto input = b;
            chain.process (b, GetParam());
            ASSERT_EQ (0.0, chain.p.gainReductionDb.load());

            const double a = 0.6000000238418579 * 0.5 + 0.20000000298023224; // width share at dbWide 0
            LinkwitzRiley crossover[2] { { false, 200.0 }, { false, 200.0 } };
            LinkwitzRiley split[2] { { true, splitHz }, { true, splitHz } };
            for (int i = 0; i < b.getNumSamples(); ++i)
            {
                double w[2] = { input.getSample (0, i), 0.0 };
                if (mainChannels == 2)
                {
                    const double c0 = w[0], c1 = input.getSample (1, i);
                    const double es = (c1 - crossover[1] (c1)) - (c0 - crossover[0] (c0));
                    w[0] = c0 + (0.5 - a) * es;
                    w[1] = c1 + (a - 0.5) * es;
                }
                for (int ch = 0; ch < mainChannels; ++ch)
                {
                    const double p = split[ch] (w[ch]);
                    const double expected = outputGain * (inputGain * (w[ch] - p) + p);
                    ASSERT_NEAR (expected, b.getSample (ch, i), 1e-7) << "channel " << ch << " sample " << i;
                }
            }
        }
}

// A quiet main signal (-60 dB) against a constant key of 0.5 (-6.02 dB). Threshold -40 dB,
// ratio 20, peak detection: the settled reduction is (-6.0206 + 40.0000002) x 0.95 = 32.2804 dB
// wherever the key reaches a detector and nothing where it does not.
TEST_P (SignalChain, DetectorsFollowTheChosenSource)
{
    struct Case
    {
        const char* name;
        int mainChannels, sideChannels;
        bool sideChainOn;
        double key0, key1; // constant side-chain samples per key channel
        double reductionDb;
    };
    const Case cases[] = {
        { "stereo key", 2, 2, true, 0.5, 0.5, 32.280430 },
        { "stereo key, switch off", 2, 2, false, 0.5, 0.5, 0.0 },
        { "key only on its second channel, linked", 2, 2, true, 0.0, 0.5, 32.280430 },
        { "mono key feeds both detectors", 2, 1, true, 0.5, 0.0, 32.280430 },
        { "mono main, stereo key", 1, 2, true, 0.5, 0.0, 32.280430 },
        { "mono main, key on the second channel only", 1, 2, true, 0.0, 0.5, 0.0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        Chain chain (c.mainChannels, c.sideChannels);
        chain.compressHard();
        Chain::set (chain.p.dbSideChain, c.sideChainOn ? 1.0f : 0.0f);
        auto b = chain.silence (24000);
        for (int ch = 0; ch < c.mainChannels; ++ch)
            fillNoise (b, ch, 0.001, 60 + ch);
        fillConstant (b, chain.key (0), c.key0);
        if (c.sideChannels > 1)
            fillConstant (b, chain.key (1), c.key1);
        const auto input = b;
        chain.process (b, GetParam());

        const double reduction = chain.p.gainReductionDb.load();
        EXPECT_NEAR (c.reductionDb, reduction, 1e-5);
        const double gain = std::pow (10.0, -reduction / 20.0);
        const int last = b.getNumSamples() - 1;
        for (int ch = 0; ch < c.mainChannels; ++ch)
            EXPECT_NEAR (input.getSample (ch, last) * gain, b.getSample (ch, last), 1e-6 * 0.001);
        EXPECT_EQ (c.sideChainOn, chain.p.dbSideChain->get());
    }
}

namespace
{
struct NotificationCounter : juce::AudioProcessorParameter::Listener
{
    int calls = 0;
    float lastValue = -1.0f;
    void parameterValueChanged (int, float value) override
    {
        ++calls;
        lastValue = value;
    }
    void parameterGestureChanged (int, bool) override {}
};
} // namespace

// Without side-chain channels the main signal feeds the detectors and the switch is turned off
// and announced, by any enabled block, even an empty one. A disabled block returns first.
TEST_P (SignalChain, SideChainSwitchTurnsOffWithoutAKeyInput)
{
    struct Case
    {
        const char* name;
        bool enabled;
        int length;
        bool switchAfter;
    };
    for (const Case c : { Case { "enabled block", true, 2000, false }, Case { "empty block", true, 0, false },
                          Case { "disabled block", false, 2000, true } })
    {
        SCOPED_TRACE (c.name);
        Chain chain (2, 0);
        chain.compressHard();
        Chain::set (chain.p.dbSideChain, 1.0f);
        Chain::set (chain.p.dbEnable, c.enabled ? 1.0f : 0.0f);
        NotificationCounter listener;
        chain.p.dbSideChain->addListener (&listener);
        auto b = chain.silence (c.length);
        if (c.length > 0)
        {
            fillNoise (b, 0, 0.5, 70);
            fillNoise (b, 1, 0.5, 71);
        }
        chain.process (b, GetParam());
        chain.p.dbSideChain->removeListener (&listener);

        EXPECT_EQ (c.switchAfter, chain.p.dbSideChain->get());
        EXPECT_EQ (c.switchAfter ? 0 : 1, listener.calls);
        if (! c.switchAfter)
        {
            EXPECT_EQ (0.0f, static_cast<juce::AudioProcessorParameter*> (chain.p.dbSideChain)->getValue());
            EXPECT_EQ (0.0f, listener.lastValue);
        }
        if (c.enabled && c.length > 0)
            EXPECT_GT (chain.p.gainReductionDb.load(), 10.0) << "the main signal must feed the detectors";
    }
}

TEST_P (SignalChain, SilentKeyBuildsNoReductionButTheGainsApply)
{
    Chain chain (2, 2);
    chain.compressHard();
    Chain::set (chain.p.dbSideChain, 1.0f);
    Chain::set (chain.p.dbInput, 0.75f);  // +10 dB
    Chain::set (chain.p.dbOutput, 0.35f); // -6 dB
    const double gains = gainOf (chain.p.dbInput) * gainOf (chain.p.dbOutput);
    auto b = chain.silence (24000);
    fillNoise (b, 0, 0.9, 80);
    fillNoise (b, 1, 0.9, 81);
    const auto input = b;
    chain.process (b, GetParam());

    EXPECT_EQ (0.0, chain.p.gainReductionDb.load());
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < b.getNumSamples(); ++i)
            ASSERT_NEAR (input.getSample (ch, i) * gains, b.getSample (ch, i), 1e-6) << "channel " << ch << " sample " << i;
}

// The limiter (threshold -0.1 dB, ratio 100), seen with wet 0 so that it works on the input
// itself. A sample of 2.0 (+6.02 dB) has the target (6.02 + 0.1) / 100 - 0.1 = -0.0388 dB, a
// reduction r of 6.0594 dB; at 0 dB the target is -0.099 dB. The 0.001 ms attack keeps
// exp(-1000 / 48) = 9e-10 of the previous smoothed value, so from rest the gain is
// 10^(-(1 - 9e-10) r / 20) with the engine's single-precision ln 10; in stereo r is shared and
// passes through a float. The held reduction then releases with 50 ms: after one time
// constant it is r / e = 2.229 dB. Below -0.105 dB nothing happens once it has decayed.
TEST_P (SignalChain, LimiterHoldsPeaksJustUnderTheCeiling)
{
    struct Case
    {
        int mainChannels;
        double peakOut, otherOut, fullScaleOut;
    };
    for (const Case c : { Case { 2, 0.9955436293657279, 0.2488859073414320, 0.9886669125043392 },
                          Case { 1, 0.9955436257673108, 0.0, 0.9886669124432790 } })
    {
        SCOPED_TRACE (c.mainChannels);
        Chain chain (c.mainChannels, 0);
        Chain::set (chain.p.dbWet, 0.0f);
        Chain::set (chain.p.dbLimit, 1.0f);
        const int peak = 100, quiet = 96100, justUnder = 96200, fullScale = 96300;
        auto b = chain.silence (96400);
        for (int ch = 0; ch < c.mainChannels; ++ch)
            for (int i = peak; i < b.getNumSamples(); ++i)
                b.setSample (ch, i, 0.5);
        b.setSample (0, peak, 2.0);
        const double underCeiling = asFloat (std::pow (10.0, -0.106 / 20.0));
        for (int ch = 0; ch < c.mainChannels; ++ch)
        {
            b.setSample (ch, justUnder, underCeiling);
            b.setSample (ch, fullScale, 1.0);
        }
        const auto input = b;
        chain.process (b, GetParam());

        const double tolerance = GetParam() == Precision::Double ? 1e-13 : 1e-7;
        EXPECT_NEAR (c.peakOut, b.getSample (0, peak), tolerance);
        EXPECT_NEAR (-0.0388, 20.0 * std::log10 (b.getSample (0, peak)), 1e-4);
        if (c.mainChannels == 2)
            EXPECT_NEAR (c.otherOut, b.getSample (1, peak), tolerance) << "the reduction is shared";
        for (int ch = 0; ch < c.mainChannels; ++ch)
        {
            EXPECT_NEAR (0.24896, b.getSample (ch, peak + 1), 1e-5) << "held: 6.0594 dB x exp(-1/2400)";
            EXPECT_NEAR (0.38682, b.getSample (ch, peak + 2400), 1e-5) << "held: 6.0594 dB / e";
            for (int i = quiet; i < fullScale; ++i)
                ASSERT_EQ (input.getSample (ch, i), b.getSample (ch, i)) << "channel " << ch << " sample " << i;
            EXPECT_NEAR (c.fullScaleOut, b.getSample (ch, fullScale), tolerance);
        }
    }
}

// A non-finite or huge key sample used to poison the detector's running sum for good; it must
// now count as a 0, so the run matches one whose bad sample was 0.
TEST_P (SignalChain, BadKeySampleDoesNotBreakLaterDetection)
{
    std::vector<double> badValues { notANumber, inf, -inf, 1e5, -3e5, 1e300 };
    if (GetParam() == Precision::Double)
        badValues.push_back (subnormal); // a float cannot carry a subnormal double
    for (const double bad : badValues)
    {
        SCOPED_TRACE (bad);
        juce::AudioBuffer<double> results[2];
        double meters[2];
        for (int run = 0; run < 2; ++run)
        {
            Chain chain (2, 2);
            chain.compressHard();
            Chain::set (chain.p.dbSideChain, 1.0f);
            Chain::set (chain.p.dbRMS, 0.5f);
            auto b = chain.silence (12000);
            fillNoise (b, 0, 0.01, 90);
            fillNoise (b, 1, 0.01, 91);
            fillConstant (b, chain.key (0), 0.5);
            fillConstant (b, chain.key (1), 0.25);
            for (int k = 0; k < 2; ++k)
                b.setSample (chain.key (k), 100, run == 0 ? bad : 0.0);
            chain.process (b, GetParam());
            results[run] = b;
            meters[run] = chain.p.gainReductionDb.load();
        }
        for (int ch = 0; ch < 2; ++ch)
            expectSameChannel (results[1], results[0], ch);
        EXPECT_EQ (meters[1], meters[0]);
        EXPECT_GT (meters[0], 20.0) << "detection keeps working after the bad sample";
    }
}

// An empty block publishes the meter and changes nothing else.
TEST_P (SignalChain, EmptyBlockOnlyRefreshesTheMeter)
{
    Chain chain (2, 2), twin (2, 2);
    auto first = chain.silence (3000);
    fillNoise (first, 0, 0.5, 100);
    fillNoise (first, 1, 0.5, 101);
    for (Chain* c : { &chain, &twin })
    {
        c->compressHard();
        auto b = first;
        c->process (b, GetParam());
    }
    const double meter = chain.p.gainReductionDb.load();
    ASSERT_GT (meter, 10.0);

    chain.p.gainReductionDb.store (-999.0);
    auto empty = chain.silence (0);
    chain.process (empty, GetParam());
    EXPECT_EQ (meter, chain.p.gainReductionDb.load());

    auto next = chain.silence (3000);
    fillNoise (next, 0, 0.3, 102);
    fillNoise (next, 1, 0.3, 103);
    auto nextTwin = next;
    chain.process (next, GetParam());
    twin.process (nextTwin, GetParam());
    expectSameBuffer (nextTwin, next);
    EXPECT_EQ (twin.p.gainReductionDb.load(), chain.p.gainReductionDb.load());
}

// Mono: only main channel 0 is written (the key channels come back as they went in), and the
// mid/side switch and the width have nothing to work on.
TEST_P (SignalChain, MonoLayoutWritesOnlyItsChannelAndIgnoresStereoControls)
{
    juce::AudioBuffer<double> results[2];
    for (int run = 0; run < 2; ++run)
    {
        Chain chain (1, 2);
        chain.compressHard();
        Chain::set (chain.p.dbHPEnable, 1.0f);
        Chain::set (chain.p.dbHP, 0.2f);
        Chain::set (chain.p.dbLimit, 1.0f);
        Chain::set (chain.p.dbOutput, 1.0f);
        Chain::set (chain.p.dbMSInput, run == 0 ? 1.0f : 0.0f);
        Chain::set (chain.p.dbWide, run == 0 ? 1.0f : 0.0f);
        auto b = chain.silence (6000);
        for (int ch = 0; ch < chain.channels(); ++ch)
            fillNoise (b, ch, 0.5, 110 + ch);
        const auto input = b;
        chain.process (b, GetParam());
        ASSERT_EQ (3, b.getNumChannels());
        expectSameChannel (input, b, 1);
        expectSameChannel (input, b, 2);
        EXPECT_NE (input.getSample (0, 5000), b.getSample (0, 5000));
        results[run] = b;
    }
    expectSameBuffer (results[1], results[0]);
}
