// With fixed parameters the result must not depend on how the host cuts the audio into blocks:
// every split, through the double processBlock and through the float bridge, gives the bits of
// one long double block, and the same meter at the end.
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace
{
constexpr double rate = 48000.0;
constexpr int length = 20000; // not a multiple of any block size below

struct Mode
{
    const char* name;
    int mainChannels, sideChannels;
    // Parameter values to set, by parameter ID, on top of the default program.
    std::vector<std::pair<const char*, float>> values;
};

void PrintTo (const Mode& m, std::ostream* os) { *os << m.name; }

const Mode modes[] = {
    { "stereo default", 2, 2, {} },
    { "mid/side, RMS, soft knee", 2, 2,
      { { "dbMSInput", 1.0f }, { "dbWide", 0.6f }, { "dbRMS", 0.4f }, { "dbKnee", 0.3f }, { "dbThreshold", 0.2f },
        { "dbRatio", 0.5f }, { "dbAttack", 0.05f }, { "dbRelease", 0.1f } } },
    { "split, limiter, width, gains", 2, 0,
      { { "dbHPEnable", 1.0f }, { "dbHP", 0.3f }, { "dbLimit", 1.0f }, { "dbWide", 0.8f }, { "dbInput", 0.7f },
        { "dbOutput", 0.65f }, { "dbThreshold", 0.1f }, { "dbRatio", 1.0f }, { "dbWet", 0.8f } } },
    { "side chain, expanding", 2, 2,
      { { "dbSideChain", 1.0f }, { "dbRMS", 1.0f }, { "dbThreshold", 0.05f }, { "dbRatio", 0.0f }, { "dbRelease", 0.02f } } },
    { "side chain switched off for want of a key", 2, 0, { { "dbSideChain", 1.0f }, { "dbThreshold", 0.1f } } },
    { "mono, mono key, split, limiter", 1, 1,
      { { "dbSideChain", 1.0f }, { "dbHPEnable", 1.0f }, { "dbLimit", 1.0f }, { "dbOutput", 0.9f }, { "dbRMS", 0.7f },
        { "dbKnee", 0.5f }, { "dbThreshold", 0.15f } } },
};

juce::RangedAudioParameter* findParameter (BriscaAudioProcessor& p, const juce::String& id)
{
    for (auto* candidate : p.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (candidate); ranged != nullptr && ranged->getParameterID() == id)
            return ranged;
    return nullptr;
}

std::unique_ptr<BriscaAudioProcessor> makeProcessor (const Mode& mode, int blockSize)
{
    auto p = std::make_unique<BriscaAudioProcessor>();
    auto layout = p->getBusesLayout();
    layout.inputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mode.mainChannels);
    layout.outputBuses.getReference (0) = juce::AudioChannelSet::canonicalChannelSet (mode.mainChannels);
    layout.inputBuses.getReference (1) = mode.sideChannels == 0 ? juce::AudioChannelSet::disabled()
                                                                : juce::AudioChannelSet::canonicalChannelSet (mode.sideChannels);
    EXPECT_TRUE (p->setBusesLayout (layout));
    p->setRateAndBufferSizeDetails (rate, blockSize);
    p->prepareToPlay (rate, blockSize);
    for (const auto& [id, value] : mode.values)
    {
        auto* parameter = findParameter (*p, id);
        EXPECT_NE (nullptr, parameter) << id;
        if (parameter != nullptr)
            parameter->setValue (value);
    }
    return p;
}

// Drum-like bursts over noise, a key of its own, and a few samples the input cleaning must
// catch; all float values so that both precisions start from the same samples.
juce::AudioBuffer<double> makeSignal (int channels, int mainChannels)
{
    juce::AudioBuffer<double> b (channels, length);
    std::mt19937 rng (99);
    std::normal_distribution<double> noise (0.0, 1.0);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < length; ++i)
        {
            const bool key = ch >= mainChannels;
            const int period = key ? 3100 : 2300;
            const double envelope = std::exp (-static_cast<double> (i % period) / (key ? 900.0 : 400.0));
            const double x = 0.05 * noise (rng) + 0.8 * envelope * std::sin (0.03 * i + ch);
            b.setSample (ch, i, static_cast<double> (static_cast<float> (x)));
        }
    b.setSample (0, 777, std::numeric_limits<double>::quiet_NaN());
    b.setSample (0, 778, 2e5);
    return b;
}

void processInBlocks (BriscaAudioProcessor& p, juce::AudioBuffer<double>& b, int blockSize)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < b.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<double> view (b.getArrayOfWritePointers(), b.getNumChannels(), start,
                                        juce::jmin (blockSize, b.getNumSamples() - start));
        p.processBlock (view, midi);
    }
}

void processInFloatBlocks (BriscaAudioProcessor& p, juce::AudioBuffer<double>& b, int blockSize)
{
    juce::AudioBuffer<float> f;
    f.makeCopyOf (b);
    juce::MidiBuffer midi;
    for (int start = 0; start < f.getNumSamples(); start += blockSize)
    {
        juce::AudioBuffer<float> view (f.getArrayOfWritePointers(), f.getNumChannels(), start,
                                       juce::jmin (blockSize, f.getNumSamples() - start));
        p.processBlock (view, midi);
    }
    b.makeCopyOf (f);
}

class BlockSplit : public ::testing::TestWithParam<Mode>
{
};
} // namespace

TEST_P (BlockSplit, AnySplitGivesTheBitsOfOneLongBlock)
{
    const Mode& mode = GetParam();
    auto reference = makeProcessor (mode, length);
    const int channels = juce::jmax (reference->getTotalNumInputChannels(), reference->getTotalNumOutputChannels());
    const auto input = makeSignal (channels, mode.mainChannels);
    auto expected = input;
    processInBlocks (*reference, expected, length);
    ASSERT_GT (std::fabs (reference->gainReductionDb.load()), 1.0) << "the mode should be acting at the end";

    for (const bool viaFloat : { false, true })
        for (const int blockSize : { 1, 7, 64, 512, 4096, length })
        {
            SCOPED_TRACE (testing::Message() << (viaFloat ? "float" : "double") << " blocks of " << blockSize);
            auto p = makeProcessor (mode, blockSize);
            auto b = input;
            if (viaFloat)
                processInFloatBlocks (*p, b, blockSize);
            else
                processInBlocks (*p, b, blockSize);

            for (int ch = 0; ch < channels; ++ch)
                for (int i = 0; i < length; ++i)
                {
                    const double want = viaFloat ? static_cast<double> (static_cast<float> (expected.getSample (ch, i)))
                                                 : expected.getSample (ch, i);
                    ASSERT_EQ (want, b.getSample (ch, i)) << "channel " << ch << " sample " << i;
                }
            EXPECT_EQ (reference->gainReductionDb.load(), p->gainReductionDb.load());
            EXPECT_EQ (reference->dbSideChain->get(), p->dbSideChain->get());
        }
}

INSTANTIATE_TEST_SUITE_P (Modes, BlockSplit, ::testing::ValuesIn (modes), [] (const auto& info) {
    std::string name;
    bool wordStart = true;
    for (const char* c = info.param.name; *c != 0; ++c)
    {
        const auto ch = static_cast<unsigned char> (*c);
        if (std::isalnum (ch))
            name += static_cast<char> (wordStart ? std::toupper (ch) : ch);
        wordStart = ! std::isalnum (ch);
    }
    return name;
});
