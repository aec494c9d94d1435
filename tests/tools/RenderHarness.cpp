#include "RenderHarness.h"

#include "ParameterWrite.h"

#include <cmath>

namespace render_test
{
ToolRun runTool (const juce::StringArray& arguments, const juce::File& workingDirectory)
{
    // Always without a display, as on a build server; ChildProcess has no working-directory
    // option, so a shell changes into it first.
    juce::String line;
    if (workingDirectory != juce::File())
        line << "cd " << workingDirectory.getFullPathName().quoted ('\'') << " && ";
    line << "exec env -u DISPLAY " << juce::String (BRISCA_RENDER).quoted ('\'');
    for (const auto& a : arguments)
        line << " " << a.quoted ('\'');

    ToolRun run;
    juce::ChildProcess process;
    if (! process.start (juce::StringArray { "/bin/sh", "-c", line }, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return run;
    run.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    run.exitCode = static_cast<int> (process.getExitCode());
    return run;
}

juce::AudioBuffer<float> testSignal (int channels, int length, double sampleRate, unsigned seed)
{
    juce::AudioBuffer<float> audio (channels, length);
    juce::Random random (static_cast<juce::int64> (seed));
    for (int ch = 0; ch < channels; ++ch)
    {
        const double frequency = 220.0 * (ch + 1) + seed;
        for (int i = 0; i < length; ++i)
        {
            const double t = i / sampleRate;
            const bool loud = (static_cast<int> (t / 0.05) + ch) % 2 == 0;
            const double tone = (loud ? 0.8 : 0.05) * std::sin (2.0 * juce::MathConstants<double>::pi * frequency * t);
            audio.setSample (ch, i, static_cast<float> (tone + 0.01 * (random.nextDouble() - 0.5)));
        }
    }
    return audio;
}

bool writeAudio (const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    auto* format = formats.findFormatForFileExtension (file.getFileExtension());
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (format == nullptr || stream == nullptr)
        return false;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format->createWriterFor (stream.get(), sampleRate, static_cast<unsigned> (audio.getNumChannels()), bits, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

Audio readAudio (const juce::File& file)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    Audio result;
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    if (reader == nullptr)
        return result;
    result.samples.setSize (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    result.sampleRate = reader->sampleRate;
    result.bits = static_cast<int> (reader->bitsPerSample);
    result.floatingPoint = reader->usesFloatingPointData;
    result.ok = reader->read (result.samples.getArrayOfWritePointers(), result.samples.getNumChannels(), 0,
                              result.samples.getNumSamples());
    return result;
}

juce::AudioBuffer<float> processInProcess (const juce::AudioBuffer<float>& main, const juce::AudioBuffer<float>* sideChain,
                                           double sampleRate, int blockSize,
                                           const std::function<void (BriscaAudioProcessor&)>& configure)
{
    BriscaAudioProcessor processor;
    configure (processor);
    const int mainChannels = main.getNumChannels();
    const int sideChannels = sideChain != nullptr ? sideChain->getNumChannels() : 0;
    auto set = [] (int n) { return n == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo(); };

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set (mainChannels));
    layout.inputBuses.add (sideChannels > 0 ? set (sideChannels) : juce::AudioChannelSet::disabled());
    layout.outputBuses.add (set (mainChannels));
    if (! processor.setBusesLayout (layout))
        return {};
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> result (mainChannels, main.getNumSamples());
    juce::MidiBuffer midi;
    for (int start = 0; start < main.getNumSamples(); start += blockSize)
    {
        const int n = juce::jmin (blockSize, main.getNumSamples() - start);
        juce::AudioBuffer<float> block (mainChannels + sideChannels, n);
        block.clear();
        for (int ch = 0; ch < mainChannels; ++ch)
            block.copyFrom (ch, 0, main, ch, start, n);
        for (int ch = 0; ch < sideChannels; ++ch)
        {
            const int available = juce::jlimit (0, n, sideChain->getNumSamples() - start);
            if (available > 0)
                block.copyFrom (mainChannels + ch, 0, *sideChain, ch, start, available);
        }
        processor.processBlock (block, midi);
        for (int ch = 0; ch < mainChannels; ++ch)
            result.copyFrom (ch, start, block, ch, 0, n);
    }
    return result;
}

namespace
{
juce::RangedAudioParameter& parameter (BriscaAudioProcessor& processor, const char* id)
{
    for (auto* p : processor.getParameters())
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (p); ranged != nullptr && ranged->getParameterID() == id)
            return *ranged;
    throw std::runtime_error (std::string ("no parameter ") + id);
}
} // namespace

void setGrid (BriscaAudioProcessor& processor, const char* id, int index)
{
    auto& p = parameter (processor, id);
    setAndNotify (p, p.convertTo0to1 (static_cast<float> (index) / 1000.0f));
}

void setSwitch (BriscaAudioProcessor& processor, const char* id, bool on)
{
    setAndNotify (parameter (processor, id), on ? 1.0f : 0.0f);
}

ScratchFolder::ScratchFolder()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("brisca-render-test", {}, false))
{
    folder.createDirectory();
}

ScratchFolder::~ScratchFolder() { folder.deleteRecursively(); }
} // namespace render_test
