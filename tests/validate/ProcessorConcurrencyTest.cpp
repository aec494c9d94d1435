// The processor in-process under the load brisca-validate's concurrency check puts on a hosted
// instance: an audio thread processing, two automation threads writing every parameter, a meter
// reader like the editor's timer, and the message thread selecting programs and saving and
// restoring the state. Hosted, the plug-in's own code is out of a sanitizer's sight; here it is
// all instrumented, which is what the ThreadSanitizer job runs this for.
#include "PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 512;
constexpr auto runTime = std::chrono::milliseconds (1500);

struct Layout
{
    const char* name;
    int sideChannels; // 0: no key input, so the processor switches dbSideChain off itself
};

void PrintTo (const Layout& layout, std::ostream* os) { *os << layout.name; }

class ProcessorConcurrency : public ::testing::TestWithParam<Layout>
{
};

juce::MemoryBlock save (BriscaAudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation (block);
    return block;
}
} // namespace

TEST_P (ProcessorConcurrency, AutomationProgramsAndStateWhileProcessing)
{
    BriscaAudioProcessor p;
    auto layout = p.getBusesLayout();
    layout.inputBuses.getReference (1) = GetParam().sideChannels == 0 ? juce::AudioChannelSet::disabled()
                                                                       : juce::AudioChannelSet::canonicalChannelSet (GetParam().sideChannels);
    ASSERT_TRUE (p.setBusesLayout (layout));
    p.setRateAndBufferSizeDetails (rate, blockSize);
    p.prepareToPlay (rate, blockSize);
    const auto parameters = p.getParameters();

    std::atomic<bool> stop { false }, nonFinite { false };
    std::atomic<long> blocks { 0 };
    std::thread audio ([&] {
        const int channels = juce::jmax (p.getTotalNumInputChannels(), p.getTotalNumOutputChannels());
        juce::AudioBuffer<float> buffer (channels, blockSize);
        juce::MidiBuffer midi;
        std::minstd_rand random (1);
        std::uniform_real_distribution<float> noise (-0.9f, 0.9f);
        while (! stop)
        {
            for (int ch = 0; ch < channels; ++ch)
                for (int i = 0; i < blockSize; ++i)
                    buffer.setSample (ch, i, noise (random));
            p.processBlock (buffer, midi);
            for (int ch = 0; ch < p.getTotalNumOutputChannels(); ++ch)
                for (int i = 0; i < blockSize; ++i)
                    if (! std::isfinite (buffer.getSample (ch, i)))
                        nonFinite = true;
            ++blocks;
        }
    });
    std::vector<std::thread> automation;
    for (unsigned t = 0; t < 2; ++t)
        automation.emplace_back ([&, t] {
            std::minstd_rand random (10 + t);
            std::uniform_real_distribution<float> value (0.0f, 1.0f);
            while (! stop)
            {
                for (auto* parameter : parameters)
                    parameter->setValueNotifyingHost (value (random));
                std::this_thread::yield();
            }
        });
    std::thread meter ([&] {
        double sum = 0.0;
        while (! stop)
        {
            sum += p.gainReductionDb.load (std::memory_order_relaxed);
            for (auto* parameter : parameters)
                sum += parameter->getValue();
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
        EXPECT_FALSE (std::isnan (sum));
    });

    // This thread is the message thread: programs and state, as a host calls them.
    std::minstd_rand random (3);
    const auto end = std::chrono::steady_clock::now() + runTime;
    int rounds = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        p.setCurrentProgram (static_cast<int> (random() % static_cast<unsigned> (p.getNumPrograms())));
        const auto state = save (p);
        p.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
        ++rounds;
    }
    stop = true;
    audio.join();
    meter.join();
    for (auto& t : automation)
        t.join();

    EXPECT_FALSE (nonFinite);
    EXPECT_GT (blocks.load(), 10);
    EXPECT_GT (rounds, 10);
    // Quiet again, the state still reads back exactly.
    const auto settled = save (p);
    p.setStateInformation (settled.getData(), static_cast<int> (settled.getSize()));
    EXPECT_EQ (settled, save (p));
}

INSTANTIATE_TEST_SUITE_P (Layouts, ProcessorConcurrency,
                          ::testing::Values (Layout { "StereoKey", 2 }, Layout { "MonoKey", 1 }, Layout { "NoKey", 0 }),
                          [] (const auto& info) { return std::string (info.param.name); });
