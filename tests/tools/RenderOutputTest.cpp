#include "RenderHarness.h"

#include <gtest/gtest.h>

// The renderer's audio must be the processor's audio: the same samples as running the
// processor in-process with the same settings, for every bus shape and format it accepts.
using namespace render_test;

namespace
{
bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * static_cast<size_t> (a.getNumSamples())) != 0)
            return false;
    return true;
}

float largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    float largest = 0.0f;
    for (int ch = 0; ch < a.getNumChannels(); ++ch)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = std::max (largest, std::abs (a.getSample (ch, i) - b.getSample (ch, i)));
    return largest;
}

struct MatchCase
{
    const char* name;
    int channels, sideChannels, sideLength, blockSize;
    juce::StringArray arguments;
    std::function<void (BriscaAudioProcessor&)> configure;
};

// Grid indices from the plain-unit inverses, worked out by hand: -24 dB -> 0.0536 -> 54,
// ratio 6 -> 5.5 / 19.5 -> 282, -30 dB -> 0.0218 -> 22, ratio 8 -> 385, 300 Hz -> 128, +6 dB -> 650.
const MatchCase matchCases[] = {
    { "MonoPlainSettings", 1, 0, 0, 512, { "dbThreshold=-24dB", "dbRatio=6", "dbAttack=5ms", "dbRelease=120ms", "dbRMS=30" },
      [] (BriscaAudioProcessor& p) {
          setGrid (p, "dbThreshold", 54); setGrid (p, "dbRatio", 282); setGrid (p, "dbAttack", 50);
          setGrid (p, "dbRelease", 400); setGrid (p, "dbRMS", 300);
      } },
    { "StereoProgramThenMidSide", 2, 0, 0, 512, { "--program", "master loud", "dbWide=40", "dbMSInput=on" },
      [] (BriscaAudioProcessor& p) {
          p.setCurrentProgram (10); setGrid (p, "dbWide", 400); setSwitch (p, "dbMSInput", true);
      } },
    { "StereoWithShortMonoSideChain", 2, 1, 2000, 100, { "dbSideChain=on", "dbThreshold=-30dB", "dbRatio=8", "--block", "100" },
      [] (BriscaAudioProcessor& p) {
          setSwitch (p, "dbSideChain", true); setGrid (p, "dbThreshold", 22); setGrid (p, "dbRatio", 385);
      } },
    { "MonoWithStereoSideChainSplitAndLimiter", 1, 2, 6000, 1000,
      { "dbSideChain=true", "dbHPEnable=1", "dbHP=300Hz", "dbLimit=on", "dbOutput=+6dB", "dbThreshold=-30", "--block=1000" },
      [] (BriscaAudioProcessor& p) {
          setSwitch (p, "dbSideChain", true); setSwitch (p, "dbHPEnable", true); setGrid (p, "dbHP", 128);
          setSwitch (p, "dbLimit", true); setGrid (p, "dbOutput", 650); setGrid (p, "dbThreshold", 22);
      } },
};

void PrintTo (const MatchCase& c, std::ostream* os) { *os << c.name; }

class RenderMatchesProcessor : public ::testing::TestWithParam<MatchCase> {};
} // namespace

TEST_P (RenderMatchesProcessor, BitForBitInFloatWav)
{
    const auto& c = GetParam();
    constexpr double rate = 44100.0;
    constexpr int length = 6000;
    ScratchFolder scratch;
    const auto main = testSignal (c.channels, length, rate, 1);
    ASSERT_TRUE (writeAudio (scratch.file ("in.wav"), main, rate, 32));
    juce::StringArray arguments { scratch.file ("in.wav").getFullPathName(), "--float", "-o", scratch.file ("out.wav").getFullPathName() };
    juce::AudioBuffer<float> side;
    if (c.sideChannels > 0)
    {
        // A side chain of its own: loud where the main signal is quiet.
        side = testSignal (c.sideChannels, c.sideLength, rate, 7);
        ASSERT_TRUE (writeAudio (scratch.file ("side.wav"), side, rate, 32));
        arguments.addArray ({ "--sidechain", scratch.file ("side.wav").getFullPathName() });
    }
    arguments.addArray (c.arguments);

    const auto run = runTool (arguments);
    ASSERT_EQ (0, run.exitCode) << run.output;
    const auto rendered = readAudio (scratch.file ("out.wav"));
    ASSERT_TRUE (rendered.ok);
    EXPECT_TRUE (rendered.floatingPoint);
    EXPECT_EQ (rate, rendered.sampleRate);

    const auto expected = processInProcess (main, c.sideChannels > 0 ? &side : nullptr, rate, c.blockSize, c.configure);
    EXPECT_TRUE (identical (expected, rendered.samples)) << "largest difference " << largestDifference (expected, rendered.samples);
    if (c.sideChannels > 0) // the side-chain file must have been heard, or the case proves nothing
        EXPECT_FALSE (identical (expected, processInProcess (main, nullptr, rate, c.blockSize, c.configure)));
}

INSTANTIATE_TEST_SUITE_P (Cases, RenderMatchesProcessor, ::testing::ValuesIn (matchCases),
                          [] (const auto& info) { return std::string (info.param.name); });

namespace
{
struct FormatCase
{
    const char* extension;
    int bits, channels;
    double rate;
};
void PrintTo (const FormatCase& c, std::ostream* os) { *os << c.extension << ", " << c.bits << "-bit, " << c.rate << " Hz"; }

class RenderKeepsFormat : public ::testing::TestWithParam<FormatCase> {};
} // namespace

// Without --float the output is the input's format and depth, next to it, and differs from the
// in-process result only by the final rounding to that depth.
TEST_P (RenderKeepsFormat, SameFormatDepthAndRate)
{
    const auto& c = GetParam();
    ScratchFolder scratch;
    const auto input = scratch.file (juce::String ("in.") + c.extension);
    ASSERT_TRUE (writeAudio (input, testSignal (c.channels, 5000, c.rate, 3), c.rate, c.bits));
    const auto run = runTool ({ input.getFullPathName(), "dbThreshold=-24dB", "dbRatio=6" });
    ASSERT_EQ (0, run.exitCode) << run.output;

    const auto decodedInput = readAudio (input);
    const auto output = readAudio (scratch.file (juce::String ("in-brisca.") + c.extension));
    ASSERT_TRUE (output.ok);
    EXPECT_EQ (c.bits, output.bits);
    EXPECT_EQ (c.rate, output.sampleRate);
    EXPECT_FALSE (output.floatingPoint);
    const auto expected = processInProcess (decodedInput.samples, nullptr, c.rate, 512, [] (BriscaAudioProcessor& p) {
        setGrid (p, "dbThreshold", 54); setGrid (p, "dbRatio", 282);
    });
    ASSERT_EQ (expected.getNumSamples(), output.samples.getNumSamples());
    ASSERT_EQ (expected.getNumChannels(), output.samples.getNumChannels());
    const float lsb = 1.0f / static_cast<float> (1 << (c.bits - 1));
    EXPECT_LE (largestDifference (expected, output.samples), 1.01f * lsb);
}

INSTANTIATE_TEST_SUITE_P (Formats, RenderKeepsFormat,
                          ::testing::Values (FormatCase { "wav", 24, 2, 44100.0 }, FormatCase { "flac", 16, 1, 96000.0 },
                                             FormatCase { "aiff", 24, 2, 22050.0 }, FormatCase { "wav", 16, 1, 8000.0 }),
                          [] (const auto& info) {
                              return std::string (info.param.extension) + std::to_string (info.param.bits) + "bit"
                                     + std::to_string (static_cast<int> (info.param.rate));
                          });

// A state saved by the processor (as a host stores it) drives the renderer to the same audio,
// and the renderer saves the very same bytes back.
TEST (RenderState, StateFromTheProcessorRendersTheSameAndSavesBack)
{
    ScratchFolder scratch;
    constexpr double rate = 48000.0;
    const auto main = testSignal (2, 4000, rate, 5);
    ASSERT_TRUE (writeAudio (scratch.file ("in.wav"), main, rate, 32));
    auto configure = [] (BriscaAudioProcessor& p) {
        p.setCurrentProgram (4);
        setGrid (p, "dbRatio", 333); setGrid (p, "dbKnee", 125); setSwitch (p, "dbMSInput", true);
    };
    BriscaAudioProcessor source;
    configure (source);
    juce::MemoryBlock saved;
    source.getStateInformation (saved);
    ASSERT_TRUE (scratch.file ("saved.state").replaceWithData (saved.getData(), saved.getSize()));

    const auto run = runTool ({ scratch.file ("in.wav").getFullPathName(), "--float", "-o", scratch.file ("out.wav").getFullPathName(),
                                "--state-in", scratch.file ("saved.state").getFullPathName(),
                                "--state-out", scratch.file ("again.state").getFullPathName() });
    ASSERT_EQ (0, run.exitCode) << run.output;

    juce::MemoryBlock again;
    ASSERT_TRUE (scratch.file ("again.state").loadFileAsData (again));
    EXPECT_EQ (saved, again);
    const auto rendered = readAudio (scratch.file ("out.wav"));
    EXPECT_TRUE (identical (processInProcess (main, nullptr, rate, 512, configure), rendered.samples));
}

// The README's main job: no input, a PNG asked for, nothing but the tool on a machine without
// a display. The demo is 8 s of 48 kHz stereo, normalised to -1 dBFS, the same on every run.
TEST (RenderDemo, WritesDemoFilesAndPlotWithoutADisplay)
{
    ScratchFolder scratch;
    const auto first = runTool ({ "--plot", "demo.png" }, scratch.path());
    ASSERT_EQ (0, first.exitCode) << first.output;

    const auto output = readAudio (scratch.file ("demo-out.wav"));
    const auto input = readAudio (scratch.file ("demo-in.wav"));
    ASSERT_TRUE (output.ok);
    ASSERT_TRUE (input.ok);
    EXPECT_EQ (2, output.samples.getNumChannels());
    EXPECT_EQ (48000.0, output.sampleRate);
    EXPECT_EQ (8 * 48000, output.samples.getNumSamples());
    EXPECT_EQ (8 * 48000, input.samples.getNumSamples());
    EXPECT_NEAR (std::pow (10.0f, -1.0f / 20.0f), input.samples.getMagnitude (0, input.samples.getNumSamples()), 1e-6f);
    EXPECT_TRUE (first.output.contains ("-1.0 dB")) << first.output; // the input's peak in the summary
    EXPECT_FALSE (identical (input.samples, output.samples));

    const auto image = juce::ImageFileFormat::loadFrom (scratch.file ("demo.png"));
    EXPECT_EQ (1200, image.getWidth());
    EXPECT_EQ (600, image.getHeight());

    juce::MemoryBlock firstInput, firstOutput, secondInput, secondOutput;
    ASSERT_TRUE (scratch.file ("demo-in.wav").loadFileAsData (firstInput));
    ASSERT_TRUE (scratch.file ("demo-out.wav").loadFileAsData (firstOutput));
    ASSERT_EQ (0, runTool ({}, scratch.path()).exitCode);
    ASSERT_TRUE (scratch.file ("demo-in.wav").loadFileAsData (secondInput));
    ASSERT_TRUE (scratch.file ("demo-out.wav").loadFileAsData (secondOutput));
    EXPECT_EQ (firstInput, secondInput);
    EXPECT_EQ (firstOutput, secondOutput);
}
