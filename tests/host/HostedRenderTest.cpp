#include "PluginProcessor.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include "HostedBundles.h"

#include <gtest/gtest.h>

// The built VST3 and LV2, run by JUCE's plug-in hosting with a few settings, give exactly the
// samples brisca-render writes for the same settings: one engine, whatever carries it.
namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 512, length = 12 * blockSize;


juce::AudioBuffer<float> signal (unsigned seed)
{
    juce::AudioBuffer<float> audio (2, length);
    juce::Random random (static_cast<juce::int64> (seed));
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < length; ++i)
        {
            const double t = i / rate;
            const double level = ((i / 1200 + ch + static_cast<int> (seed)) % 3 == 0) ? 0.9 : 0.08;
            audio.setSample (ch, i, static_cast<float> (level * std::sin (6.283185307179586 * (150.0 + 90.0 * ch + 40.0 * seed) * t)
                                                        + 0.02 * (random.nextDouble() - 0.5)));
        }
    return audio;
}

bool writeFloatWav (const juce::File& file, const juce::AudioBuffer<float>& audio)
{
    juce::WavAudioFormat wav;
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return false;
    std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), rate, 2, 32, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

juce::AudioBuffer<float> readWav (const juce::File& file)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (wav.createReaderFor (file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> audio (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    reader->read (audio.getArrayOfWritePointers(), audio.getNumChannels(), 0, audio.getNumSamples());
    return audio;
}

struct Setting
{
    const char* argument; // as typed for brisca-render
    const char* id;
    int gridIndex;        // value * 1000 by the inverse formula; switches: 1 on, 0 off
    bool isSwitch;
};

struct RenderCase
{
    const char* name;
    std::vector<Setting> settings;
};

// Grid indices: -24 dB -> 54, ratio 6 -> 282, -30 dB -> 22, ratio 8 -> 385, 300 Hz -> 128, +6 dB -> 650.
const RenderCase renderCases[] = {
    { "StereoLinkedWidthLimiter",
      { { "dbThreshold=-24dB", "dbThreshold", 54, false }, { "dbRatio=6", "dbRatio", 282, false },
        { "dbAttack=5ms", "dbAttack", 50, false }, { "dbRelease=120ms", "dbRelease", 400, false },
        { "dbRMS=30", "dbRMS", 300, false }, { "dbWide=40", "dbWide", 400, false }, { "dbLimit=on", "dbLimit", 1, true } } },
    { "SideChainSplitMidSide",
      { { "dbSideChain=on", "dbSideChain", 1, true }, { "dbThreshold=-30dB", "dbThreshold", 22, false },
        { "dbRatio=8", "dbRatio", 385, false }, { "dbHPEnable=on", "dbHPEnable", 1, true }, { "dbHP=300Hz", "dbHP", 128, false },
        { "dbOutput=+6dB", "dbOutput", 650, false }, { "dbMSInput=on", "dbMSInput", 1, true } } },
};

struct Combination
{
    const char* format;
    RenderCase renderCase;
};

void PrintTo (const Combination& c, std::ostream* os) { *os << c.format << " " << c.renderCase.name; }

class HostedRender : public ::testing::TestWithParam<Combination> {};
} // namespace

TEST_P (HostedRender, SameSamplesAsBriscaRender)
{
#ifndef BRISCA_RENDER
    GTEST_SKIP() << "brisca-render is not part of this build";
#else
    const auto& [formatName, renderCase] = GetParam();
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("brisca-hosted-render", {}, false);
    ASSERT_TRUE (folder.createDirectory());
    const auto main = signal (1), side = signal (2);
    ASSERT_TRUE (writeFloatWav (folder.getChildFile ("in.wav"), main));
    ASSERT_TRUE (writeFloatWav (folder.getChildFile ("side.wav"), side));

    juce::StringArray command { BRISCA_RENDER, folder.getChildFile ("in.wav").getFullPathName(), "--sidechain",
                                folder.getChildFile ("side.wav").getFullPathName(), "--float", "-o",
                                folder.getChildFile ("out.wav").getFullPathName(), "--block", juce::String (blockSize) };
    for (const auto& s : renderCase.settings)
        command.add (s.argument);
    juce::ChildProcess tool;
    ASSERT_TRUE (tool.start (command));
    const auto toolOutput = tool.readAllProcessOutput();
    ASSERT_EQ (0u, tool.getExitCode()) << toolOutput;
    const auto rendered = readWav (folder.getChildFile ("out.wav"));
    folder.deleteRecursively();
    ASSERT_EQ (length, rendered.getNumSamples());

    auto plugin = loadHostedBrisca (formatName, rate, blockSize);
    ASSERT_NE (nullptr, plugin);
    ASSERT_EQ (4, plugin->getTotalNumInputChannels());

    // The normalised value a writer of the plug-in stores: the grid snap of the processor's own
    // parameter, handed over unchanged by the host.
    BriscaAudioProcessor snapper;
    for (const auto& s : renderCase.settings)
    {
        auto* hosted = hostedParameter (*plugin, formatName, s.id);
        ASSERT_NE (nullptr, hosted) << s.id;
        float value = s.gridIndex != 0 ? 1.0f : 0.0f;
        if (! s.isSwitch)
            for (auto* p : snapper.getParameters())
                if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (p); ranged != nullptr && ranged->getParameterID() == s.id)
                    value = ranged->convertTo0to1 (static_cast<float> (s.gridIndex) / 1000.0f);
        hosted->setValue (value);
    }

    plugin->prepareToPlay (rate, blockSize);
    juce::AudioBuffer<float> buffer (4, blockSize);
    juce::MidiBuffer midi;
    int mismatches = 0, firstMismatch = -1;
    for (int start = 0; start < length; start += blockSize)
    {
        for (int ch = 0; ch < 2; ++ch)
        {
            buffer.copyFrom (ch, 0, main, ch, start, blockSize);
            buffer.copyFrom (2 + ch, 0, side, ch, start, blockSize);
        }
        plugin->processBlock (buffer, midi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                if (std::memcmp (buffer.getReadPointer (ch) + i, rendered.getReadPointer (ch) + start + i, sizeof (float)) != 0 && mismatches++ == 0)
                    firstMismatch = start + i;
    }
    plugin->releaseResources();
    EXPECT_EQ (0, mismatches) << "first at sample " << firstMismatch;
#endif
}

INSTANTIATE_TEST_SUITE_P (Formats, HostedRender,
                          ::testing::Values (Combination { "VST3", renderCases[0] }, Combination { "VST3", renderCases[1] },
                                             Combination { "LV2", renderCases[0] }, Combination { "LV2", renderCases[1] }),
                          [] (const auto& info) { return std::string (info.param.format) + "_" + info.param.renderCase.name; });
