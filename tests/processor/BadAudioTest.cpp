// Bursts of unusable samples (NaN, infinities, subnormals, out-of-range values, negative zero)
// on the main input or on the side chain, in every mode: the output stays finite at every
// sample, and within one second after the burst the gain reduction and the output are back to
// what an identical processor fed the clean signal gives. A burst on a side chain the detectors
// do not listen to changes nothing at all.
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 512;
constexpr int burstStart = 24000 + 300; // inside a block, so the burst straddles block edges
constexpr int burstLength = 700;
constexpr int recovery = 48000;         // one second after the burst
constexpr int compared = 24000;         // then half a second compared with the clean run
constexpr int length = burstStart + burstLength + recovery + compared;

// Recovered means: the meter within 0.001 dB and every output sample within 1e-6 of the clean
// run's. Both differences decay exponentially after the burst (detector release of 80 ms, a
// 10 ms RMS window, filters at 200 Hz and above); a second leaves them far below these bounds.
constexpr double meterTolerance = 1e-3;
constexpr double outputTolerance = 1e-6;

enum class Precision { Double, Float };

struct Mode
{
    const char* name;
    int mainChannels;
    bool detectorsOnSideChain;
    std::vector<std::pair<const char*, float>> values; // on top of the default program
};

const Mode modes[] = {
    { "stereo", 2, false, {} },
    { "mono", 1, false, {} },
    { "midSide", 2, false, { { "dbMSInput", 1.0f }, { "dbWide", 0.5f } } },
    { "splitOn", 2, false, { { "dbHPEnable", 1.0f }, { "dbHP", 0.3f } } },
    { "limiterOn", 2, false, { { "dbLimit", 1.0f }, { "dbOutput", 0.75f } } },
    { "sideChainOn", 2, true, { { "dbSideChain", 1.0f }, { "dbRMS", 0.5f } } },
    { "wetHalf", 2, false, { { "dbWet", 0.5f }, { "dbRMS", 0.3f }, { "dbThreshold", 0.3f } } },
};

struct Burst
{
    const char* name;
    double value;          // for the double path
    float floatValue;      // for the float path, which a host drives
};

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

const Burst bursts[] = {
    { "NaN", nan, std::numeric_limits<float>::quiet_NaN() },
    { "+Inf", inf, std::numeric_limits<float>::infinity() },
    { "-Inf", -inf, -std::numeric_limits<float>::infinity() },
    { "subnormal", 4.9e-320, 1.0e-40f },
    { "+1e5", 1.0e5, 1.0e5f },
    { "-1e5", -1.0e5, -1.0e5f },
    { "-0.0", -0.0, -0.0f },
};

enum class Target { Main, SideChain };

juce::RangedAudioParameter* parameter (BriscaAudioProcessor& p, const juce::String& id)
{
    for (auto* candidate : p.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (candidate); ranged != nullptr && ranged->getParameterID() == id)
            return ranged;
    return nullptr;
}

std::unique_ptr<BriscaAudioProcessor> makeProcessor (const Mode& mode)
{
    auto p = std::make_unique<BriscaAudioProcessor>();
    auto layout = p->getBusesLayout();
    layout.inputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mode.mainChannels);
    layout.outputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mode.mainChannels);
    EXPECT_TRUE (p->setBusesLayout (layout));
    p->setRateAndBufferSizeDetails (rate, blockSize);
    p->prepareToPlay (rate, blockSize);
    for (const auto& [id, value] : mode.values)
        parameter (*p, id)->setValueNotifyingHost (value);
    return p;
}

// Main input loud enough for about 4.5 dB of reduction with the default program; the side
// chain louder still, and different, so that listening to it changes the reduction.
juce::AudioBuffer<double> cleanSignal (const Mode& mode)
{
    const int channels = mode.mainChannels + 2;
    juce::AudioBuffer<double> signal (channels, length);
    juce::Random random (7);
    for (int i = 0; i < length; ++i)
    {
        const double t = i / rate;
        const double swell = 0.9 + 0.1 * std::sin (2.0 * M_PI * 1.5 * t);
        for (int ch = 0; ch < mode.mainChannels; ++ch)
            signal.setSample (ch, i, static_cast<float> (swell * (0.6 * std::sin (2.0 * M_PI * (220.0 + 110.0 * ch) * t)
                                                                  + 0.3 * std::sin (2.0 * M_PI * 3100.0 * t))
                                                         + 0.05 * (random.nextDouble() - 0.5)));
        for (int k = 0; k < 2; ++k)
            signal.setSample (mode.mainChannels + k, i,
                              static_cast<float> (0.95 * std::sin (2.0 * M_PI * (90.0 + 40.0 * k) * t) * (i % 12000 < 6000 ? 1.0 : 0.4)));
    }
    return signal;
}

struct Run
{
    juce::AudioBuffer<double> output;
    std::vector<double> meter; // gainReductionDb after each block
};

Run process (BriscaAudioProcessor& p, const juce::AudioBuffer<double>& input, Precision precision)
{
    Run run { juce::AudioBuffer<double> (input.getNumChannels(), length), {} };
    juce::MidiBuffer midi;
    juce::AudioBuffer<double> block (input.getNumChannels(), blockSize);
    juce::AudioBuffer<float> floatBlock (input.getNumChannels(), blockSize);
    for (int start = 0; start < length; start += blockSize)
    {
        const int n = std::min (blockSize, length - start);
        block.setSize (input.getNumChannels(), n, false, false, true);
        floatBlock.setSize (input.getNumChannels(), n, false, false, true);
        for (int ch = 0; ch < input.getNumChannels(); ++ch)
            block.copyFrom (ch, 0, input, ch, start, n);
        if (precision == Precision::Double)
            p.processBlock (block, midi);
        else
        {
            floatBlock.makeCopyOf (block, true);
            p.processBlock (floatBlock, midi);
            block.makeCopyOf (floatBlock, true);
        }
        for (int ch = 0; ch < input.getNumChannels(); ++ch)
            run.output.copyFrom (ch, start, block, ch, 0, n);
        run.meter.push_back (p.gainReductionDb.load());
    }
    return run;
}

// The burst's value as the chosen path sees it: a float burst is stored as its double value so
// that the float bridge gets exactly that float back.
double burstValue (const Burst& burst, Precision precision)
{
    return precision == Precision::Double ? burst.value : static_cast<double> (burst.floatValue);
}

void PrintTo (const Mode& mode, std::ostream* os) { *os << mode.name; }
void PrintTo (Target target, std::ostream* os) { *os << (target == Target::Main ? "main input" : "side chain"); }
void PrintTo (Precision precision, std::ostream* os) { *os << (precision == Precision::Double ? "double" : "float"); }

using Case = std::tuple<Mode, Target, Precision>;

class BadAudio : public ::testing::TestWithParam<Case>
{
};

std::string caseName (const ::testing::TestParamInfo<Case>& info)
{
    const auto& [mode, target, precision] = info.param;
    return std::string (mode.name) + (target == Target::Main ? "_Main" : "_SideChain")
           + (precision == Precision::Double ? "_Double" : "_Float");
}
} // namespace

TEST_P (BadAudio, OutputStaysFiniteAndTheMeterRecoversWithinASecond)
{
    const auto& [mode, target, precision] = GetParam();
    const auto signal = cleanSignal (mode);
    auto cleanProcessor = makeProcessor (mode);
    const auto clean = process (*cleanProcessor, signal, precision);
    ASSERT_GT (clean.meter[(size_t) (burstStart / blockSize)], 1.0) << "the clean run must be compressing when the burst comes";

    const int firstChannel = target == Target::Main ? 0 : mode.mainChannels;
    const int lastChannel = target == Target::Main ? mode.mainChannels : mode.mainChannels + 2;
    const bool burstIsHeard = target == Target::Main || mode.detectorsOnSideChain;

    for (const auto& burst : bursts)
    {
        SCOPED_TRACE (burst.name);
        auto dirtySignal = signal;
        for (int ch = firstChannel; ch < lastChannel; ++ch)
            for (int i = burstStart; i < burstStart + burstLength; ++i)
                dirtySignal.setSample (ch, i, burstValue (burst, precision));
        auto processor = makeProcessor (mode);
        const auto dirty = process (*processor, dirtySignal, precision);

        for (int ch = 0; ch < mode.mainChannels; ++ch)
            for (int i = 0; i < length; ++i)
                ASSERT_TRUE (std::isfinite (dirty.output.getSample (ch, i))) << "channel " << ch << " sample " << i;

        if (! burstIsHeard)
        {
            // Nobody listens to this side chain: not one output bit or meter value may change.
            for (int ch = 0; ch < mode.mainChannels; ++ch)
                for (int i = 0; i < length; ++i)
                    ASSERT_EQ (clean.output.getSample (ch, i), dirty.output.getSample (ch, i)) << "channel " << ch << " sample " << i;
            EXPECT_EQ (clean.meter, dirty.meter);
            continue;
        }

        const size_t firstComparedBlock = (size_t) ((burstStart + burstLength + recovery + blockSize - 1) / blockSize);
        double meterError = 0.0;
        for (size_t b = firstComparedBlock; b < clean.meter.size(); ++b)
            meterError = std::max (meterError, std::abs (dirty.meter[b] - clean.meter[b]));
        EXPECT_LE (meterError, meterTolerance) << "gain reduction one second after the burst";

        double outputError = 0.0;
        for (int ch = 0; ch < mode.mainChannels; ++ch)
            for (int i = (int) firstComparedBlock * blockSize; i < length; ++i)
                outputError = std::max (outputError, std::abs (dirty.output.getSample (ch, i) - clean.output.getSample (ch, i)));
        EXPECT_LE (outputError, outputTolerance) << "output one second after the burst";
    }
}

INSTANTIATE_TEST_SUITE_P (Table, BadAudio,
                          ::testing::Combine (::testing::ValuesIn (modes), ::testing::Values (Target::Main, Target::SideChain),
                                              ::testing::Values (Precision::Double, Precision::Float)),
                          caseName);
