#include "ChainKernel.h"
#include "ReferenceChain.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

// The plug-in's chain against the literal reference, over random settings and signals, on
// every mode. Identical bits are required: the arithmetic is part of the design.
namespace
{
struct Mode
{
    const char* name;
    int mainChannels;
    int sideChannels;
};

// Random settings, processing mostly on, and now and then the edges of the ranges.
void randomise (BriscaAudioProcessor& p, std::mt19937& rng)
{
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    for (auto* param : p.getParameters())
    {
        const float u = unit (rng);
        const float edge = unit (rng);
        param->setValue (edge < 0.1f ? 0.0f : edge > 0.9f ? 1.0f : u);
    }
    if (unit (rng) < 0.85f)
        static_cast<juce::AudioProcessorParameter*> (p.dbEnable)->setValue (1.0f);
}

// Noise bursts, slow swells (levels that creep through the knee) and identical channels.
juce::AudioBuffer<double> makeSignal (int channels, int length, std::mt19937& rng)
{
    juce::AudioBuffer<double> b (channels, length);
    std::normal_distribution<double> noise (0.0, 0.3);
    std::uniform_int_distribution<int> kind (0, 3);
    const int k = kind (rng);
    const double swellStart = std::uniform_real_distribution<double> (0.001, 0.5) (rng);
    for (int i = 0; i < length; ++i)
    {
        const double n = noise (rng);
        for (int ch = 0; ch < channels; ++ch)
        {
            double x;
            switch (k)
            {
                case 0:  x = noise (rng) * ((i / 150) % 3 == 0 ? 3.0 : 0.2) * (ch == 1 ? 0.6 : 1.0); break;
                case 1:  x = swellStart * (1.0 + 4.0 * i / length) * std::sin (0.03 * i + ch); break;
                case 2:  x = n; break;
                default: x = (ch == 0 ? 1.0 : -0.5) * std::fabs (n) * 2.0; break;
            }
            b.setSample (ch, i, x);
        }
    }
    return b;
}

void configure (BriscaAudioProcessor& p, const Mode& m, double rate, int block)
{
    auto layout = p.getBusesLayout();
    const auto mainSet = juce::AudioChannelSet::canonicalChannelSet (m.mainChannels);
    layout.inputBuses.getReference (0) = mainSet;
    layout.outputBuses.getReference (0) = mainSet;
    layout.inputBuses.getReference (1) = m.sideChannels == 0 ? juce::AudioChannelSet::disabled()
                                                              : juce::AudioChannelSet::canonicalChannelSet (m.sideChannels);
    ASSERT_TRUE (p.setBusesLayout (layout));
    p.setRateAndBufferSizeDetails (rate, block);
    p.prepareToPlay (rate, block);
}
} // namespace

class ReferenceEquivalence : public ::testing::TestWithParam<ChainKernelIsa>
{
protected:
    void SetUp() override
    {
        if (GetParam() == ChainKernelIsa::avx && ! __builtin_cpu_supports ("avx"))
            GTEST_SKIP() << "no AVX on this processor";
        previous = chainKernelIsa();
        setChainKernelIsa (GetParam());
    }
    void TearDown() override { setChainKernelIsa (previous); }
    ChainKernelIsa previous = ChainKernelIsa::sse2;
};

TEST_P (ReferenceEquivalence, OptimisedChainMatchesLiteralChainBitForBit)
{
    const Mode modes[] = { { "stereo", 2, 2 }, { "stereo, mono key", 2, 1 }, { "stereo, no key", 2, 0 },
                           { "mono", 1, 1 }, { "mono, no key", 1, 0 } };
    std::mt19937 rng (1234);
    for (const auto& mode : modes)
        for (int trial = 0; trial < 60; ++trial)
        {
            SCOPED_TRACE (std::string (mode.name) + " trial " + std::to_string (trial));
            BriscaAudioProcessor fast, reference;
            const double rate = trial % 3 == 0 ? 44100.0 : 48000.0;
            configure (fast, mode, rate, 512);
            configure (reference, mode, rate, 512);
            const int channels = fast.getTotalNumInputChannels();

            juce::MidiBuffer midi;
            for (int block = 0; block < 12; ++block)
            {
                std::mt19937 settings (rng());
                auto s2 = settings;
                randomise (fast, settings);
                randomise (reference, s2);
                auto a = makeSignal (channels, 512, rng);
                juce::AudioBuffer<double> b (a);
                fast.processBlock (a, midi);
                referenceProcessBlock (reference, b);
                for (int ch = 0; ch < channels; ++ch)
                    ASSERT_EQ (0, std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (double) * 512))
                        << "channel " << ch << " block " << block;
                ASSERT_EQ (fast.gainReductionDb.load(), reference.gainReductionDb.load());
                ASSERT_EQ (fast.dbSideChain->get(), reference.dbSideChain->get());
            }
        }
}

INSTANTIATE_TEST_SUITE_P (InstructionSets, ReferenceEquivalence, ::testing::Values (ChainKernelIsa::sse2, ChainKernelIsa::avx),
                          [] (const auto& info) { return std::string (info.param == ChainKernelIsa::avx ? "Avx" : "Sse2"); });
